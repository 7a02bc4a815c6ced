#pragma once

#include <array>
#include <cmath>
#include <string>
#include <vector>

// Shared vocabulary of the timetable generator: the five cities, the leap-year day sequence
// and the per-day value grids (city x prayer slot).
namespace TimetableGen {

constexpr int CityCount = 5;
constexpr int SlotCount = 6;
constexpr int DayCount = 366;
constexpr int SunsetSlot = 4;
constexpr int NightSlot = 5;
// The night call follows sunset by a fixed interval in every row the table must reproduce.
constexpr int NightAfterSunsetMinutes = 75;
// Local clock of the region: UTC+3 all year, no daylight saving.
constexpr double UtcOffsetHours = 3.0;
// A leap year gives the 366-day order of the table (29 February is row 59).
constexpr int TableYear = 2024;

struct City
{
    const char *name;
    double latitude;
    double longitude;
};

// City index order of the table: 0 is the base city, 1..4 own an offset group each.
inline const std::array<City, CityCount> &cities()
{
    static const std::array<City, CityCount> list = { {
            { "Erbil", 36.19, 44.01 },
            { "Nineveh", 36.34, 43.13 },
            { "Sulaymaniyah", 35.56, 45.44 },
            { "Kirkuk", 35.47, 44.39 },
            { "Duhok", 36.87, 42.99 },
    } };
    return list;
}

struct CalendarDay
{
    int day;
    int month;
};

// Day and month of every row, in table order.
inline std::vector<CalendarDay> tableDays()
{
    static const int monthLengths[12] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    std::vector<CalendarDay> days;
    days.reserve(DayCount);
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= monthLengths[month - 1]; ++day)
            days.push_back({ day, month });
    }
    return days;
}

// Unrounded minutes after local midnight, [city][slot].
using DayValues = std::array<std::array<double, SlotCount>, CityCount>;
// Whole minutes after local midnight of each city's six times, [city][slot].
using DayMinutes = std::array<std::array<int, SlotCount>, CityCount>;
using Table = std::vector<DayMinutes>;

// A row the table must contain byte for byte.
struct AnchorRow
{
    int dayIndex = -1;
    std::string text;
    DayMinutes minutes {};
};

inline int roundHalfUp(double value)
{
    // Not the current rounding mode: the committed table must come out the same on every run.
    return static_cast<int>(std::floor(value + 0.5));
}

// The value stored in the table for a city and slot: the base time for city 0, the offset
// from the base time for the other cities.
inline int fieldValue(const DayMinutes &minutes, int city, int slot)
{
    return city == 0 ? minutes[0][slot] : minutes[city][slot] - minutes[0][slot];
}

} // namespace TimetableGen
