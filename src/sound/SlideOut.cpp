#include "sound/SlideOut.h"

#include "presentation/Twips.h"

#include <cmath>

namespace SlideOut {

double fadeRatio(int previewVolume, int areaHeight, int top)
{
    const int distance = areaHeight - top;
    return distance > 0 ? double(previewVolume) / distance : 0.0;
}

int fadeVolume(double ratio, int areaHeight, int top)
{
    return int(std::floor(ratio * (areaHeight - top)));
}

int alertLeft(int areaWidth, int width)
{
    return areaWidth - width - 30;
}

int alertTop(int areaHeight, int height)
{
    return areaHeight - height - 580;
}

QRect alertArea(const QRect &screen, const QRect &workArea)
{
    const QRect area = workArea.intersected(screen);
    return area.isEmpty() ? screen : area;
}

QRect alertGeometry(const QRect &screen, const QRect &workArea, const QSize &size)
{
    const QRect area = alertArea(screen, workArea);
    // Counted in twips from the area's own corner, then rounded once, as the slide counts.
    const int left = alertLeft(area.width() * Twips::PerPixel, size.width() * Twips::PerPixel);
    const int top = alertTop(area.height() * Twips::PerPixel, size.height() * Twips::PerPixel);
    return QRect(area.left() + Twips::toPixels(left), area.top() + Twips::toPixels(top),
                 size.width(), size.height());
}

} // namespace SlideOut
