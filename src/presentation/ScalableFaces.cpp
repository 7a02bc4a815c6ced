#include "presentation/ScalableFaces.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

namespace ScalableFaces {

namespace {
const QString Fixedsys = QStringLiteral("Fixedsys");
const QString MsSansSerif = QStringLiteral("MS Sans Serif");

bool is(const QString &family, const QString &name)
{
    return family.compare(name, Qt::CaseInsensitive) == 0;
}
} // namespace

QStringList standInFamilies(const QString &family)
{
    // Microsoft Sans Serif is the TrueType face drawn to MS Sans Serif's metrics (Windows 2000
    // on); Tahoma and Arial, close to it, are what a Wine prefix may have instead.
    if (is(family, MsSansSerif))
        return { QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                 QStringLiteral("Arial") };
    // Lucida Console is on every Windows from 2000 to 11: fixed pitch, made for screens, with
    // even, heavy strokes and a large x-height, the nearest to Fixedsys's look. Consolas (Vista
    // on) is lighter; Courier New, thin, is the last resort, and what a Wine prefix maps to a
    // metric-compatible Linux face.
    if (is(family, Fixedsys))
        return { QStringLiteral("Lucida Console"), QStringLiteral("Consolas"),
                 QStringLiteral("Courier New") };
    return {};
}

qreal bitmapAdvance(const QString &family)
{
    // Fixedsys has one size, 8 x 15 pixels a character, whatever point size is asked for.
    return is(family, Fixedsys) ? 8.0 : 0.0;
}

QFont forScreen(const QFont &font, qreal devicePixelRatio)
{
    if (devicePixelRatio <= 1.0)
        return font;
    const QString resolved = QFontInfo(font).family();
    const QStringList candidates = standInFamilies(resolved);
    const QStringList installed = QFontDatabase::families();
    for (const QString &candidate : candidates) {
        if (!installed.contains(candidate, Qt::CaseInsensitive)
            || !QFontDatabase::isSmoothlyScalable(candidate))
            continue;
        QFont standIn = font;
        standIn.setFamilies({ candidate });
        const qreal advance = bitmapAdvance(resolved);
        if (advance > 0) {
            // The size at which a digit is as wide as the bitmap face's: the clock's text keeps
            // its width and its place in the label.
            QFont probe(candidate);
            probe.setPixelSize(100);
            const qreal perPixel = QFontMetricsF(probe).horizontalAdvance(QLatin1Char('0')) / 100;
            if (perPixel > 0)
                standIn.setPixelSize(qRound(advance / perPixel));
        }
        return standIn;
    }
    return font;
}

} // namespace ScalableFaces
