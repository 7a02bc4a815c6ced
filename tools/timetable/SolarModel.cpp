#include "SolarModel.h"

#include <itl/prayer.h>

namespace TimetableGen {

SolarModel::SolarModel(const SolarParameters &parameters)
    : m_parameters(parameters)
{ }

std::array<double, SlotCount> SolarModel::cityTimes(const City &city, const CalendarDay &day) const
{
    Location location {};
    location.degreeLong = city.longitude;
    location.degreeLat = city.latitude;
    location.gmtDiff = UtcOffsetHours;
    location.dst = 0;
    // Sea-level horizon and standard refraction: the fitted precaution minutes absorb the
    // cities' elevation, which the table never carried.
    location.seaLevel = 0;
    location.pressure = 1010;
    location.temperature = 10;

    Method method {};
    getMethod(0, &method);
    method.fajrAng = m_parameters.dawnAngle;
    method.mathhab = m_parameters.shadowFactor;
    method.round = 0; // keep the seconds: rounding happens once, after the corrections
    method.offset = 0;

    Date date {};
    date.day = day.day;
    date.month = day.month;
    date.year = TableYear;

    Prayer prayers[6] = {};
    getPrayerTimes(&location, &method, &date, prayers);

    std::array<double, SlotCount> minutes {};
    // libitl's six results are dawn, sunrise, noon, afternoon, sunset, night in table order;
    // its night (an angle) is replaced by the fixed interval after sunset.
    for (int slot = 0; slot < NightSlot; ++slot) {
        const Prayer &p = prayers[slot];
        minutes[slot] = p.hour * 60.0 + p.minute + p.second / 60.0;
    }
    minutes[NightSlot] = minutes[SunsetSlot] + NightAfterSunsetMinutes;
    return minutes;
}

DayValues SolarModel::dayTimes(const CalendarDay &day) const
{
    DayValues values {};
    for (int city = 0; city < CityCount; ++city)
        values[city] = cityTimes(cities()[city], day);
    return values;
}

} // namespace TimetableGen
