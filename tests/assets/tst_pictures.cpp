#include "AssetFiles.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <QtMath>
#include <QtTest>

#include <algorithm>

// The pictures are drawn by tools/assets/make_pictures; these checks hold whatever the drawing.
class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sizeAndDepth_data();
    void sizeAndDepth();
    void backgroundIsATexture();
    void textReadsOnItsBackground_data();
    void textReadsOnItsBackground();
    void titleBoxesStandOut_data();
    void titleBoxesStandOut();
    void pointerHotSpotIsTheFingerTip();
    void aboutPicturesCarryTheirOwnText();
    void aboutMarkAreasStayFree_data();
    void aboutMarkAreasStayFree();
    void drawnAgainAtTwice_data();
    void drawnAgainAtTwice();
};

namespace {

// Relative luminance of sRGB, as used for contrast ratios.
qreal luminance(const QColor &c)
{
    const auto channel
            = [](qreal v) { return v <= 0.03928 ? v / 12.92 : qPow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

qreal contrast(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor meanColour(const QImage &image, const QRect &area, const QRect &except = QRect())
{
    qint64 r = 0, g = 0, b = 0, n = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (except.contains(x, y))
                continue;
            const QRgb p = image.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

qreal distance(const QColor &a, const QColor &b)
{
    return qSqrt(qPow(a.red() - b.red(), 2) + qPow(a.green() - b.green(), 2)
                 + qPow(a.blue() - b.blue(), 2));
}

QImage load(const QString &name)
{
    return QImage(assetPath("resources/" + name));
}

// The colour most of an area has: the one behind the text drawn there, even when the area also
// holds a frame line or an edge.
QColor backgroundColour(const QImage &image, const QRect &area)
{
    QList<QRgb> pixels;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            pixels.append(image.pixel(x, y));
    if (pixels.isEmpty())
        return QColor();
    const auto middle = pixels.begin() + pixels.size() / 2;
    std::nth_element(pixels.begin(), middle, pixels.end(),
                     [](QRgb a, QRgb b) { return luminance(QColor(a)) < luminance(QColor(b)); });
    return QColor(*middle);
}

// Pixels dark enough to be the about text's ink (the page, its frame and its gold are lighter).
int inkPixels(const QImage &image, const QRect &area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += luminance(QColor(image.pixel(x, y))) < 0.2;
    return n;
}

} // namespace

void TestPictures::initTestCase()
{
    QVERIFY2(!assetPath("resources").isEmpty(), "TIRVELON_SOURCE_DIR is not set");
}

namespace {
struct Picture
{
    const char *what;
    const char *name;
    QSize size;
    bool mayBeTransparent;
};
const Picture pictures[] = {
    { "main window background", "background", QSize(491, 272), false },
    { "window and tray icon", "icon", QSize(32, 32), false },
    { "hand pointer", "pointer", QSize(32, 32), true },
    { "alert strip", "alert", QSize(288, 30), false },
    { "about in Arabic", "about_ar", QSize(372, 209), false },
    { "about in Kurdish", "about_ku", QSize(372, 209), false },
    { "about window background", "about_background", QSize(372, 209), false },
};

// Mean difference per channel (0..255) of two pictures of one size.
qreal meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    qint64 sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q))
                    + qAbs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * x.width() * x.height());
}

// Each 2 x 2 block of a picture averaged into one pixel.
QImage halved(const QImage &image)
{
    const QImage in = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(in.size() / 2, QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            int r = 0, g = 0, b = 0, a = 0;
            for (const QPoint d : { QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1) }) {
                const QRgb p = in.pixel(2 * x + d.x(), 2 * y + d.y());
                r += qRed(p);
                g += qGreen(p);
                b += qBlue(p);
                a += qAlpha(p);
            }
            out.setPixel(x, y, qRgba((r + 2) / 4, (g + 2) / 4, (b + 2) / 4, (a + 2) / 4));
        }
    }
    return out;
}
} // namespace

void TestPictures::sizeAndDepth_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("mayBeTransparent");
    for (const Picture &p : pictures) {
        QTest::newRow(p.what) << QString(p.name) + ".png" << p.size << p.mayBeTransparent;
        QTest::addRow("%s, 2x", p.what)
                << QString(p.name) + "@2x.png" << p.size * 2 << p.mayBeTransparent;
    }
}

void TestPictures::sizeAndDepth()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, mayBeTransparent);

    QFile file(assetPath("resources/" + name));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\x89PNG\r\n\x1a\n"));
    // IHDR: width, height, bit depth, colour type.
    const QByteArray header = bytes.mid(16, 10);
    QCOMPARE(qFromBigEndian<quint32>(header.constData()), quint32(size.width()));
    QCOMPARE(qFromBigEndian<quint32>(header.constData() + 4), quint32(size.height()));
    QCOMPARE(int(header.at(8)), 8);
    const int colourType = header.at(9);
    if (mayBeTransparent)
        QVERIFY2(colourType == 2 || colourType == 6, "RGB or RGBA expected");
    else
        QVERIFY2(colourType == 2, "24-bit RGB expected, without alpha or palette");

    const QImage image = QImage::fromData(bytes, "PNG");
    QCOMPARE(image.size(), size);
}

void TestPictures::backgroundIsATexture()
{
    const QImage image = load("background.png");
    QVERIFY(!image.isNull());
    QSet<QRgb> colours;
    qreal sum = 0, squares = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            colours.insert(p);
            const qreal l = qGray(p);
            sum += l;
            squares += l * l;
        }
    }
    const qreal n = image.width() * image.height();
    const qreal deviation = qSqrt(squares / n - qPow(sum / n, 2));
    QVERIFY2(colours.size() > 5000, qPrintable(QString::number(colours.size())));
    QVERIFY2(deviation > 8, qPrintable(QString::number(deviation)));
    // A green picture: green leads in the mean colour.
    const QColor mean = meanColour(image, image.rect());
    QVERIFY(mean.green() > mean.red() && mean.green() > mean.blue());
}

void TestPictures::textReadsOnItsBackground_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<qreal>("minimum");
    // Contrast ratios: 4.5 for body text, 3 for the bold marks.
    QTest::newRow("white title on the title strip")
            << "background.png" << QRect(48, 4, 377, 23) << QColor(Qt::white) << 4.5;
    QTest::newRow("white about link on its teal box")
            << "background.png" << QRect(41, 4, 90, 17) << QColor(Qt::white) << 3.0;
    QTest::newRow("black minimise mark on its box")
            << "background.png" << QRect(433, 5, 23, 17) << QColor(Qt::black) << 4.5;
    QTest::newRow("red close mark on its box")
            << "background.png" << QRect(459, 6, 23, 17) << QColor(Qt::red) << 3.0;
    QTest::newRow("red close mark on the about pictures")
            << "about_ar.png" << QRect(344, 0, 23, 17) << QColor(Qt::red) << 3.0;
    QTest::newRow("black version mark on the about pictures")
            << "about_ku.png" << QRect(312, 124, 33, 17) << QColor(Qt::black) << 4.5;
}

void TestPictures::textReadsOnItsBackground()
{
    QFETCH(QString, name);
    QFETCH(QRect, area);
    QFETCH(QColor, text);
    QFETCH(qreal, minimum);
    const QImage image = load(name);
    QVERIFY(!image.isNull());
    const qreal ratio = contrast(text, backgroundColour(image, area));
    QVERIFY2(ratio >= minimum, qPrintable(QString::number(ratio)));
}

void TestPictures::titleBoxesStandOut_data()
{
    QTest::addColumn<QRect>("box");
    QTest::newRow("under the about link Label5") << QRect(41, 4, 90, 17);
    QTest::newRow("under the minimise mark Label4") << QRect(433, 5, 23, 17);
    QTest::newRow("under the close mark Label1") << QRect(459, 6, 23, 17);
}

void TestPictures::titleBoxesStandOut()
{
    QFETCH(QRect, box);
    const QImage image = load("background.png");
    QVERIFY(!image.isNull());
    const QColor inside = meanColour(image, box.adjusted(2, 2, -2, -2));
    // The ring just outside the box, not reaching into the neighbouring box.
    const QColor around = meanColour(image, box.adjusted(-2, -2, 2, 2), box);
    QVERIFY2(distance(inside, around) > 40,
             qPrintable(inside.name() + " against " + around.name()));
}

void TestPictures::pointerHotSpotIsTheFingerTip()
{
    const QImage pointer = load("pointer.png").convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!pointer.isNull());
    const QPoint hotSpot(11, 0); // the main window sets its cursor with this hot spot
    QVERIFY(qAlpha(pointer.pixel(hotSpot)) >= 128);
    int opaqueInTipRow = 0;
    for (int x = 0; x < pointer.width(); ++x) {
        if (qAlpha(pointer.pixel(x, hotSpot.y())) >= 128) {
            ++opaqueInTipRow;
            QVERIFY2(qAbs(x - hotSpot.x()) <= 2, "the top row holds only the finger tip");
        }
    }
    QVERIFY(opaqueInTipRow >= 1);
    // A cursor shape, not a square: its corners are see-through.
    for (const QPoint corner : { QPoint(0, 0), QPoint(31, 0), QPoint(31, 31) })
        QCOMPARE(qAlpha(pointer.pixel(corner)), 0);
}

void TestPictures::aboutPicturesCarryTheirOwnText()
{
    const QImage arabic = load("about_ar.png");
    const QImage kurdish = load("about_ku.png");
    QVERIFY(!arabic.isNull() && !kurdish.isNull());
    QVERIFY(arabic != kurdish);
    // Lines of text inside the frame, not an empty page.
    const QRect page = arabic.rect().adjusted(8, 8, -8, -8);
    QVERIFY(inkPixels(arabic, page) > 800);
    QVERIFY(inkPixels(kurdish, page) > 800);
}

void TestPictures::aboutMarkAreasStayFree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("area");
    for (const char *name : { "about_ar.png", "about_ku.png" }) {
        QTest::addRow("%s: close mark corner", name) << QString(name) << QRect(344, 0, 28, 17);
        QTest::addRow("%s: version mark", name) << QString(name) << QRect(312, 124, 33, 17);
        QTest::addRow("%s: own recordings text", name) << QString(name) << QRect(20, 154, 332, 32);
    }
}

void TestPictures::aboutMarkAreasStayFree()
{
    QFETCH(QString, name);
    QFETCH(QRect, area);
    const QImage image = load(name);
    QVERIFY(!image.isNull());
    QCOMPARE(inkPixels(image, area), 0);
}

void TestPictures::drawnAgainAtTwice_data()
{
    QTest::addColumn<QString>("name");
    for (const Picture &p : pictures)
        QTest::newRow(p.what) << QString(p.name);
}

// The name@2x.png pictures shown at 125 % and more are the 1x ones drawn again at twice the
// pixels: halved, they are the 1x picture (same places, same colours), yet they are not the 1x
// picture enlarged, which would be as blurred or as blocky as the window without them.
void TestPictures::drawnAgainAtTwice()
{
    QFETCH(QString, name);
    const QImage once = load(name + ".png");
    const QImage twice = load(name + "@2x.png");
    QVERIFY(!once.isNull());
    QVERIFY2(!twice.isNull(), qPrintable(name + "@2x.png is missing"));
    QCOMPARE(twice.size(), once.size() * 2);

    const qreal halvedOff = meanDifference(halved(twice), once);
    const qreal blocky = meanDifference(
            twice, once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    const qreal blurred = meanDifference(
            twice, once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    qInfo("%s: halved 2x against 1x %.2f, 2x against 1x enlarged %.2f (blocks) %.2f (smooth)",
          qPrintable(name), halvedOff, blocky, blurred);
    QVERIFY2(halvedOff < 3.0, qPrintable(QString::number(halvedOff)));
    // An enlarged copy is nearer to the 1x picture enlarged than to the 1x picture once halved
    // (nearest: 0 against 0; smooth: 0 against a little); a drawing has detail of its own.
    QVERIFY2(blocky > 1.5 * halvedOff, qPrintable(QString::number(blocky)));
    QVERIFY2(blurred > 1.5 * halvedOff, qPrintable(QString::number(blurred)));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
