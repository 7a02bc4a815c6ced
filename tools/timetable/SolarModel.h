#pragma once

#include "TimetableTypes.h"

namespace TimetableGen {

// The free parameters of the astronomy: how deep the sun is at the dawn call and the shadow
// rule of the afternoon call (1: shadow = object + noon shadow, 2: twice the object).
struct SolarParameters
{
    double dawnAngle = 18.0;
    int shadowFactor = 1;
};

// Prayer times from the sun's position (libitl), before any precaution minutes.
class SolarModel
{
public:
    explicit SolarModel(const SolarParameters &parameters);

    // Minutes after local midnight of the six times of one city on one day of TableYear;
    // the night call is sunset + NightAfterSunsetMinutes.
    std::array<double, SlotCount> cityTimes(const City &city, const CalendarDay &day) const;
    DayValues dayTimes(const CalendarDay &day) const;

private:
    SolarParameters m_parameters;
};

} // namespace TimetableGen
