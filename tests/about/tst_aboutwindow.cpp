// The about window: its picture per language and the close mark's click.
#include "about/AboutWindow.h"

#include <QLabel>
#include <QtTest>

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void pictureFollowsLanguageAtEachOpening();
    void closeMark_data();
    void closeMark();
    void centredOnOwner();
};

void TestAboutWindow::pictureFollowsLanguageAtEachOpening()
{
    // Two openings in a row with the language switched in between: nothing carries over.
    for (const int language : { 0, 1, 0 }) {
        AboutWindow window(language);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.Image1[0]->isVisible(), language == 0);
        QCOMPARE(window.Image1[1]->isVisible(), language == 1);
        QCOMPARE(window.size(), QSize(372, 209));
        QCOMPARE(window.Image1[language]->geometry(), QRect(0, 0, 372, 209));
        QVERIFY2(window.windowFlags().testFlag(Qt::FramelessWindowHint), "no border or title");
        QCOMPARE(window.Label2->text(), QStringLiteral("V 6.0"));
        // The pictures are compiled in with the windows; where they are, the right one shows.
        const QString resource
                = QString::fromLatin1(language == 0 ? ":/about_ar.png" : ":/about_ku.png");
        if (QFile::exists(resource)) {
            QCOMPARE(window.Image1[language]->pixmap().toImage().convertToFormat(
                             QImage::Format_RGB32),
                     QImage(resource).convertToFormat(QImage::Format_RGB32));
        }
    }
}

void TestAboutWindow::closeMark_data()
{
    QTest::addColumn<QPoint>("releaseOffset"); // from the mark's centre
    QTest::addColumn<bool>("closes");

    QTest::newRow("press and release on the mark closes") << QPoint(0, 0) << true;
    QTest::newRow("release beside the mark keeps the window") << QPoint(-40, 0) << false;
    QTest::newRow("release below the mark keeps the window") << QPoint(0, 30) << false;
}

void TestAboutWindow::closeMark()
{
    QFETCH(QPoint, releaseOffset);
    QFETCH(bool, closes);

    AboutWindow window(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint centre = window.Label1->rect().center();

    QTest::mousePress(window.Label1, Qt::LeftButton, {}, centre);
    QCOMPARE(window.Label1->frameShape(), QFrame::Panel);
    QCOMPARE(window.Label1->frameShadow(), QFrame::Sunken);
    QVERIFY2(window.isVisible(), "a press alone does not close");

    QTest::mouseRelease(window.Label1, Qt::LeftButton, {}, centre + releaseOffset);
    QCOMPARE(window.Label1->frameShape(), QFrame::NoFrame);
    QCOMPARE(window.Label1->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    QCOMPARE(window.isVisible(), !closes);
}

void TestAboutWindow::centredOnOwner()
{
    QWidget owner;
    owner.setGeometry(100, 80, 600, 400);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    AboutWindow window(0, QString(), &owner);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint offset = window.frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
