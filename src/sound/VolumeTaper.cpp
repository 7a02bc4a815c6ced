#include "sound/VolumeTaper.h"

#include <QtGlobal>

#include <cmath>

float VolumeTaper::gain(int volume)
{
    const int v = qBound(0, volume, 100);
    if (v >= 99)
        return 1.0f; // the curve reaches unity at 99 and is infinite at 100
    // -ln(1 - x) / ln(100): 0 at 0, 1 at 0.99; the taper users of the program have heard so far.
    const double x = v / 100.0;
    return float(qMin(1.0, -std::log(1.0 - x) / std::log(100.0)));
}
