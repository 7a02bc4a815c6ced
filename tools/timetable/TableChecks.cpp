#include "TableChecks.h"

#include "TableText.h"

#include <algorithm>
#include <cstdlib>

namespace TimetableGen {

namespace {
const char *const slotNames[SlotCount]
        = { "dawn", "sunrise", "noon", "afternoon", "sunset", "night" };

std::string where(int day, int city, int slot)
{
    const CalendarDay date = tableDays()[day];
    return "row " + std::to_string(day) + " (" + std::to_string(date.day) + "/"
            + std::to_string(date.month) + ") " + cities()[city].name + " " + slotNames[slot];
}
} // namespace

const std::array<TableChecks::Bounds, SlotCount> &TableChecks::baseBounds()
{
    static const std::array<Bounds, SlotCount> bounds = {
        { { 195, 363 }, { 297, 441 }, { 716, 748 }, { 874, 970 }, { 1015, 1170 }, { 1090, 1253 } }
    };
    return bounds;
}

const std::array<TableChecks::Bounds, SlotCount> &TableChecks::cityBounds()
{
    static const std::array<Bounds, SlotCount> bounds = {
        { { 185, 363 }, { 282, 441 }, { 707, 750 }, { 870, 970 }, { 1010, 1175 }, { 1080, 1262 } }
    };
    return bounds;
}

std::vector<std::string> TableChecks::rangeFindings(const Table &table)
{
    std::vector<std::string> findings;
    for (size_t d = 0; d < table.size(); ++d) {
        for (int city = 0; city < CityCount; ++city) {
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int value = table[d][city][slot];
                const Bounds b = city == 0 ? baseBounds()[slot] : cityBounds()[slot];
                if (value < b.low || value > b.high) {
                    findings.push_back(where(int(d), city, slot) + ": " + std::to_string(value)
                                       + " outside " + std::to_string(b.low) + ".."
                                       + std::to_string(b.high));
                }
                const int offset = fieldValue(table[d], city, slot);
                if (city > 0 && (offset < OffsetBounds.low || offset > OffsetBounds.high)) {
                    findings.push_back(where(int(d), city, slot) + ": offset "
                                       + std::to_string(offset) + " outside -31..20");
                }
            }
        }
    }
    return findings;
}

std::vector<std::string> TableChecks::orderFindings(const Table &table)
{
    std::vector<std::string> findings;
    for (size_t d = 0; d < table.size(); ++d) {
        for (int city = 0; city < CityCount; ++city) {
            for (int slot = 1; slot < SlotCount; ++slot) {
                if (table[d][city][slot] <= table[d][city][slot - 1])
                    findings.push_back(where(int(d), city, slot) + ": not after the slot before");
            }
        }
    }
    return findings;
}

std::vector<std::string> TableChecks::anchorFindings(const Table &table,
                                                     const std::vector<AnchorRow> &anchors)
{
    std::vector<std::string> findings;
    const std::vector<CalendarDay> days = tableDays();
    for (const AnchorRow &anchor : anchors) {
        const std::string row = TableText::formatRow(days[anchor.dayIndex], table[anchor.dayIndex]);
        if (row != anchor.text)
            findings.push_back("row " + std::to_string(anchor.dayIndex) + " is \"" + row
                               + "\", not \"" + anchor.text + "\"");
    }
    return findings;
}

DayMinutes TableChecks::maxSteps(const Table &table)
{
    DayMinutes steps {};
    for (size_t d = 0; d < table.size(); ++d) {
        const DayMinutes &next = table[(d + 1) % table.size()];
        for (int city = 0; city < CityCount; ++city) {
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int step
                        = std::abs(fieldValue(next, city, slot) - fieldValue(table[d], city, slot));
                steps[city][slot] = std::max(steps[city][slot], step);
            }
        }
    }
    return steps;
}

std::vector<std::string> TableChecks::stepFindings(const Table &pinned, const Table &unpinned)
{
    std::vector<std::string> findings;
    const DayMinutes finalSteps = maxSteps(pinned);
    const DayMinutes plainSteps = maxSteps(unpinned);
    for (int city = 0; city < CityCount; ++city) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (finalSteps[city][slot] > plainSteps[city][slot] + 1) {
                findings.push_back(std::string(cities()[city].name) + " " + slotNames[slot]
                                   + ": day-to-day step " + std::to_string(finalSteps[city][slot])
                                   + " against " + std::to_string(plainSteps[city][slot])
                                   + " without pinning");
            }
        }
    }
    return findings;
}

} // namespace TimetableGen
