#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// "Fixedsys" (the clock and the clock dialog's fields) and "MS Sans Serif" (LB(26)) are bitmap
// faces on Windows, and under Wine: drawn in the one size they were made in for a 100 % screen.
// On a screen scaled to 125 %, 150 % or 200 % they come out in blocks, or too small. There a
// scalable face with the same character width stands in for them; at 100 % they stay, and so do
// the scalable desktop faces that stand in for them on Linux.
namespace ScalableFaces {

// The scalable faces, best first, that stand in for a bitmap face; empty for any other face.
QStringList standInFamilies(const QString &family);

// Pixels a character of the bitmap face takes at 100 % (its advance), 0 where the stand-in keeps
// the point size asked for (a metric-compatible face, as Microsoft Sans Serif is).
qreal bitmapAdvance(const QString &family);

// The font to draw with on screens of this device pixel ratio: font itself at a ratio of 1 or
// where it does not resolve to a bitmap face, else the first installed stand-in, sized to the
// bitmap face's character width.
QFont forScreen(const QFont &font, qreal devicePixelRatio);

} // namespace ScalableFaces
