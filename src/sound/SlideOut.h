#pragma once

// The alert strip's slide-out, in twips: the strip moves down 15 twips each step and the volume
// falls in proportion to the distance left between its top and the bottom of the screen.
namespace SlideOut {

constexpr int StepTwips = 15;
constexpr int StepIntervalMs = 20;

// Volume units per twip of distance left. A strip already at or below the bottom has no
// distance left: the ratio is 0 rather than a division by zero.
double fadeRatio(int previewVolume, int screenHeight, int top);

// The volume for the distance left, rounded down.
int fadeVolume(double ratio, int screenHeight, int top);

// The strip's corner place: 30 twips from the right edge and 580 from the bottom.
int alertLeft(int screenWidth, int width);
int alertTop(int screenHeight, int height);

} // namespace SlideOut
