#pragma once

#include <QPixmap>
#include <QString>

// The compiled-in pictures at the screen's resolution. Every picture ":/name.png" has a
// ":/name@2x.png" drawn at twice the pixels; QPixmap does not look for it by itself (only QIcon
// does), and a label that stretches its picture would otherwise enlarge the 1x one, blurred.
namespace Pictures {

// The picture for a device pixel ratio: the 1x one at 1 (100 %, as it always was), the 2x one,
// marked with a ratio of 2 so that it keeps its size in the window's pixels, above 1.
QPixmap load(const QString &resource, qreal devicePixelRatio);

// The largest device pixel ratio of the screens, which is what pictures are chosen for.
qreal screenRatio();

} // namespace Pictures
