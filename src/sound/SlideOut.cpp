#include "sound/SlideOut.h"

#include <cmath>

namespace SlideOut {

double fadeRatio(int previewVolume, int screenHeight, int top)
{
    const int distance = screenHeight - top;
    return distance > 0 ? double(previewVolume) / distance : 0.0;
}

int fadeVolume(double ratio, int screenHeight, int top)
{
    return int(std::floor(ratio * (screenHeight - top)));
}

int alertLeft(int screenWidth, int width)
{
    return screenWidth - width - 30;
}

int alertTop(int screenHeight, int height)
{
    return screenHeight - height - 580;
}

} // namespace SlideOut
