// The alert strip's corner place against the work area: taskbars on each edge, an auto-hidden
// one, a second monitor left of or above the primary one. Wherever the taskbar is, the strip and
// its close mark stay inside the work area at the same distance from its lower right corner.
#include "sound/SlideOut.h"

#include <QtTest>

namespace {
const QSize Strip(288, 30);
// The close mark inside the strip: 3960, 120 twips from its corner, 255 x 240 twips.
const QRect CloseMark(264, 8, 17, 16);
} // namespace

class SlideOutTest : public QObject
{
    Q_OBJECT

private slots:
    void stripStandsInTheWorkAreaCorner_data();
    void stripStandsInTheWorkAreaCorner();
};

void SlideOutTest::stripStandsInTheWorkAreaCorner_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QRect>("expected");

    const QRect fullHd(0, 0, 1920, 1080);
    // No taskbar in the way: the place the strip has always had, 2 px from the right edge and
    // 39 px between its bottom and the screen's.
    QTest::newRow("work area is the whole screen")
            << fullHd << fullHd << QRect(1630, 1011, 288, 30);
    QTest::newRow("auto-hidden taskbar")
            << QRect(0, 0, 1366, 768) << QRect(0, 0, 1366, 768) << QRect(1076, 699, 288, 30);
    QTest::newRow("bottom taskbar 40 px")
            << fullHd << QRect(0, 0, 1920, 1040) << QRect(1630, 971, 288, 30);
    QTest::newRow("bottom taskbar 48 px")
            << fullHd << QRect(0, 0, 1920, 1032) << QRect(1630, 963, 288, 30);
    QTest::newRow("top taskbar") << fullHd << QRect(0, 48, 1920, 1032)
                                 << QRect(1630, 1011, 288, 30);
    QTest::newRow("left taskbar") << fullHd << QRect(62, 0, 1858, 1080)
                                  << QRect(1630, 1011, 288, 30);
    QTest::newRow("right taskbar")
            << fullHd << QRect(0, 0, 1858, 1080) << QRect(1568, 1011, 288, 30);
    QTest::newRow("primary left of the other monitor, bottom taskbar")
            << QRect(-1920, 0, 1920, 1080) << QRect(-1920, 0, 1920, 1032)
            << QRect(-290, 963, 288, 30);
    QTest::newRow("primary above the other monitor, right taskbar")
            << QRect(-300, -1024, 1280, 1024) << QRect(-300, -1024, 1232, 1024)
            << QRect(642, -69, 288, 30);
    // A work area that is empty or off this screen is no guide: the screen's corner is.
    QTest::newRow("no work area reported") << fullHd << QRect() << QRect(1630, 1011, 288, 30);
    QTest::newRow("work area off this screen")
            << fullHd << QRect(1920, 0, 1280, 1024) << QRect(1630, 1011, 288, 30);
}

void SlideOutTest::stripStandsInTheWorkAreaCorner()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, workArea);
    QFETCH(QRect, expected);

    const QRect strip = SlideOut::alertGeometry(screen, workArea, Strip);
    QCOMPARE(strip, expected);

    const QRect area = workArea.intersected(screen).isEmpty() ? screen : workArea;
    QVERIFY(area.contains(strip));
    QVERIFY(area.contains(CloseMark.translated(strip.topLeft())));
    // The same distance from the corner as ever: 2 px right, 39 px below (38 2/3 rounded).
    QCOMPARE(area.x() + area.width() - (strip.x() + strip.width()), 2);
    QCOMPARE(area.y() + area.height() - (strip.y() + strip.height()), 39);
    // The slide-out counts from the same area's top and ends at its bottom.
    QCOMPARE(SlideOut::alertArea(screen, workArea), area);
}

QTEST_APPLESS_MAIN(SlideOutTest)
#include "tst_slideout.moc"
