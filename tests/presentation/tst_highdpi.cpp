#include "presentation/Pictures.h"
#include "presentation/ScalableFaces.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QtTest>

// What the window is drawn with on screens scaled to 125 %, 150 % and 200 %, against 100 %.
class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void picturesForTheRatio_data();
    void picturesForTheRatio();
    void bitmapFacesOnScaledScreens_data();
    void bitmapFacesOnScaledScreens();
};

void TestHighDpi::picturesForTheRatio_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("size"); // in the window's pixels, whatever the ratio
    QTest::addColumn<int>("scale");  // pixels of the picture for one of the window's
    QTest::newRow("background at 100 %") << "background" << 1.0 << QSize(491, 272) << 1;
    QTest::newRow("background at 125 %") << "background" << 1.25 << QSize(491, 272) << 2;
    QTest::newRow("background at 150 %") << "background" << 1.5 << QSize(491, 272) << 2;
    QTest::newRow("background at 200 %") << "background" << 2.0 << QSize(491, 272) << 2;
    QTest::newRow("alert strip at 100 %") << "alert" << 1.0 << QSize(288, 30) << 1;
    QTest::newRow("alert strip at 150 %") << "alert" << 1.5 << QSize(288, 30) << 2;
    QTest::newRow("about (Kurdish) at 150 %") << "about_ku" << 1.5 << QSize(372, 209) << 2;
    QTest::newRow("about background at 125 %")
            << "about_background" << 1.25 << QSize(372, 209) << 2;
}

void TestHighDpi::picturesForTheRatio()
{
    QFETCH(QString, name);
    QFETCH(qreal, ratio);
    QFETCH(QSize, size);
    QFETCH(int, scale);

    const QString oneX = ":/" + name + ".png";
    const QPixmap picture = Pictures::load(oneX, ratio);
    QCOMPARE(picture.size(), size * scale);
    QCOMPARE(picture.devicePixelRatio(), qreal(scale));
    QCOMPARE(picture.deviceIndependentSize().toSize(), size);
    // At 100 % the window keeps the very picture it always had; above, the one drawn at 2x.
    const QString expected = scale == 1 ? oneX : ":/" + name + "@2x.png";
    QCOMPARE(picture.toImage().convertToFormat(QImage::Format_RGB32),
             QImage(expected).convertToFormat(QImage::Format_RGB32));
}

void TestHighDpi::bitmapFacesOnScaledScreens_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("bitmapFace"); // stood in for where it resolves to itself
    QTest::newRow("clock, Fixedsys 18, at 100 %") << "Fixedsys" << 18.0 << 1.0 << false;
    QTest::newRow("clock, Fixedsys 18, at 125 %") << "Fixedsys" << 18.0 << 1.25 << true;
    QTest::newRow("clock, Fixedsys 18, at 150 %") << "Fixedsys" << 18.0 << 1.5 << true;
    QTest::newRow("dialog fields, Fixedsys 9, at 200 %") << "Fixedsys" << 9.0 << 2.0 << true;
    QTest::newRow("LB(26), MS Sans Serif 9.75, at 100 %")
            << "MS Sans Serif" << 9.75 << 1.0 << false;
    QTest::newRow("LB(26), MS Sans Serif 9.75, at 150 %") << "MS Sans Serif" << 9.75 << 1.5 << true;
    QTest::newRow("Arial, scalable, at 150 %") << "Arial" << 8.25 << 1.5 << false;
    QTest::newRow("Tahoma, scalable, at 200 %") << "Tahoma" << 8.25 << 2.0 << false;
}

void TestHighDpi::bitmapFacesOnScaledScreens()
{
    QFETCH(QString, family);
    QFETCH(qreal, points);
    QFETCH(qreal, ratio);
    QFETCH(bool, bitmapFace);

    QFont asked(family);
    asked.setPointSizeF(points);
    const QFont drawn = ScalableFaces::forScreen(asked, ratio);
    // Windows and Wine have the bitmap face itself; Linux has a scalable desktop face in its
    // place, which stays at every ratio.
    const bool installed = QFontInfo(asked).family().compare(family, Qt::CaseInsensitive) == 0;
    qInfo("%s %.2f pt resolves to %s, at %.2f to %s %d px", qPrintable(family), points,
          qPrintable(QFontInfo(asked).family()), ratio, qPrintable(QFontInfo(drawn).family()),
          QFontInfo(drawn).pixelSize());
    if (!bitmapFace || !installed) {
        QCOMPARE(drawn, asked);
        return;
    }
    const QString face = QFontInfo(drawn).family();
    qInfo("%s stands in for %s", qPrintable(face), qPrintable(family));
    QVERIFY2(face.compare(family, Qt::CaseInsensitive) != 0, "the bitmap face is still used");
    QVERIFY2(QFontDatabase::isSmoothlyScalable(face), qPrintable(face + " does not scale"));
    if (family == "Fixedsys") {
        // The clock's text keeps the bitmap face's width: 8 pixels a character at 100 %.
        const qreal width = QFontMetricsF(drawn).horizontalAdvance("00:00:00 AM");
        QVERIFY2(qAbs(width - 88) <= 5, qPrintable(QString::number(width)));
        QVERIFY(drawn.fixedPitch() || QFontInfo(drawn).fixedPitch());
    } else {
        QCOMPARE(drawn.pointSizeF(), points);
    }
}

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
