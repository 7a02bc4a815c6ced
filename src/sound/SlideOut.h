#pragma once

#include <QRect>
#include <QSize>

// The alert strip's place and slide-out. The strip stands in the lower right corner of the work
// area (the screen less the taskbar or panels), so a taskbar never covers its text or close mark.
// The slide counts in twips from the work area's top: the strip moves down 15 twips each step and
// the volume falls in proportion to the distance left between its top and the work area's bottom.
namespace SlideOut {

constexpr int StepTwips = 15;
constexpr int StepIntervalMs = 20;

// Volume units per twip of distance left. A strip already at or below the bottom has no
// distance left: the ratio is 0 rather than a division by zero.
double fadeRatio(int previewVolume, int areaHeight, int top);

// The volume for the distance left, rounded down.
int fadeVolume(double ratio, int areaHeight, int top);

// The strip's corner place: 30 twips from the right edge and 580 from the bottom.
int alertLeft(int areaWidth, int width);
int alertTop(int areaHeight, int height);

// The area the strip stands in: the work area, or the whole screen when no usable work area is
// reported (none at all, or one off this screen).
QRect alertArea(const QRect &screen, const QRect &workArea);

// The strip's window in pixels, for a strip of the given size, at its corner place in the area
// alertArea() picks. A work area equal to the screen places it against the screen's corner.
QRect alertGeometry(const QRect &screen, const QRect &workArea, const QSize &size);

} // namespace SlideOut
