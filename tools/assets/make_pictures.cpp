// Renders the program's pictures into resources/: the main window's background, the icon, the
// hand pointer, the alert strip and the about window's three pictures, each also as name@2x.png;
// on request the window icon's sizes and the icon theme's.
// Usage: make_pictures --font Data/KCOURK.Fnt --out resources [--icon-sizes DIR]
//                      [--theme-icons DIR] [--preview DIR]

#include "AboutPictures.h"
#include "ChromePictures.h"
#include "ThemeIcons.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextStream>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Pictures without transparency are written as 24-bit RGB, which is what the windows expect.
bool save(const QImage &image, const QString &path, bool keepAlpha = false)
{
    const QImage out = keepAlpha ? image.convertToFormat(QImage::Format_ARGB32)
                                 : image.convertToFormat(QImage::Format_RGB888);
    if (!out.save(path, "PNG")) {
        err() << "cannot write " << path << Qt::endl;
        return false;
    }
    QTextStream(stdout) << path << " " << image.width() << "x" << image.height() << Qt::endl;
    return true;
}

// True when the text left the zone exactly as the bare page has it.
bool untouched(const QImage &bare, const QImage &done, const QRect &zone)
{
    return bare.copy(zone) == done.copy(zone);
}

QString loadFamily(const QString &file)
{
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

} // namespace

int main(int argc, char *argv[])
{
    // Runs on build machines without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption fontOption("font", "The private font (KCOURK.Fnt).", "file");
    const QCommandLineOption latinOption("latin-font", "Font file of the Latin name.", "file",
                                         "/usr/share/fonts/truetype/noto/NotoSerif-Bold.ttf");
    const QCommandLineOption outOption("out", "Folder of the pictures.", "dir", "resources");
    const QCommandLineOption iconOption("icon-sizes", "Write icon-16/32/48.png here.", "dir");
    const QCommandLineOption themeOption("theme-icons", "Write the hicolor icons here.", "dir");
    const QCommandLineOption previewOption("preview", "Write copies scaled x2 here.", "dir");
    parser.addOptions(
            { fontOption, latinOption, outOption, iconOption, themeOption, previewOption });
    parser.process(app);

    const QString scriptFamily = loadFamily(parser.value(fontOption));
    if (scriptFamily.isEmpty()) {
        err() << "cannot load the font " << parser.value(fontOption) << Qt::endl;
        return 1;
    }
    QString latinFamily = loadFamily(parser.value(latinOption));
    if (latinFamily.isEmpty())
        latinFamily = QStringLiteral("serif");

    const QDir out(parser.value(outOption));
    if (!out.mkpath(".")) {
        err() << "cannot create " << out.path() << Qt::endl;
        return 1;
    }

    // Every picture twice: name.png for screens at 100 %, name@2x.png drawn at twice the pixels
    // for the others; Qt picks the second where the device pixel ratio is above 1.
    const AboutPictures about(scriptFamily, latinFamily);
    struct Output
    {
        QString name;
        QImage image;
        bool alpha;
    };
    QList<Output> outputs;
    bool ok = true;
    for (const int scale : { 1, 2 }) {
        const QImage page = about.page(scale);
        const QImage arabic = about.picture(AboutPictures::Language::Arabic, scale);
        const QImage kurdish = about.picture(AboutPictures::Language::Kurdish, scale);
        for (const QImage *picture : { &arabic, &kurdish }) {
            for (const QRect &zone :
                 { AboutPictures::closeMarkArea(), AboutPictures::versionMarkArea(),
                   AboutPictures::ownRecordingsArea() }) {
                const QRect pixels(zone.topLeft() * scale, zone.size() * scale);
                if (!untouched(page, *picture, pixels)) {
                    err() << "about text runs into the mark area at " << zone.x() << "," << zone.y()
                          << " (x" << scale << ")" << Qt::endl;
                    return 1;
                }
            }
        }
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        const QList<Output> drawn = {
            { "background" + suffix, ChromePictures::background(scale), false },
            { "icon" + suffix, ChromePictures::icon(32 * scale), false },
            { "pointer" + suffix, ChromePictures::pointer(scale), true },
            { "alert" + suffix, ChromePictures::alertStrip(scale), false },
            { "about_ar" + suffix, arabic, false },
            { "about_ku" + suffix, kurdish, false },
            { "about_background" + suffix, AboutPictures::windowBackground(scale), false },
        };
        for (const Output &o : drawn) {
            ok = save(o.image, out.filePath(o.name), o.alpha) && ok;
            if (scale == 1)
                outputs.append(o);
        }
    }

    if (parser.isSet(iconOption)) {
        const QDir icons(parser.value(iconOption));
        icons.mkpath(".");
        for (const int size : { 16, 32, 48 })
            ok = save(ChromePictures::icon(size), icons.filePath(QString("icon-%1.png").arg(size)))
                    && ok;
    }
    if (parser.isSet(themeOption)) {
        const QDir theme(parser.value(themeOption));
        for (const int size : ThemeIcons::sizes) {
            const QString path = theme.filePath(ThemeIcons::relativePath(size));
            QDir().mkpath(QFileInfo(path).path());
            ok = save(ThemeIcons::icon(size), path, true) && ok;
        }
    }
    if (parser.isSet(previewOption)) {
        const QDir preview(parser.value(previewOption));
        preview.mkpath(".");
        for (const Output &o : outputs) {
            const QImage big = o.image.scaled(o.image.size() * 2, Qt::IgnoreAspectRatio,
                                              Qt::FastTransformation);
            ok = big.save(preview.filePath("x2-" + o.name)) && ok;
        }
    }
    const QPoint hot = ChromePictures::pointerHotSpot();
    QTextStream(stdout) << "pointer hot spot " << hot.x() << "," << hot.y() << Qt::endl;
    return ok ? 0 : 1;
}
