#pragma once

#include "TimetableTypes.h"

namespace TimetableGen {

// What the finished table must satisfy before it may replace the committed one.
class TableChecks
{
public:
    struct Bounds
    {
        int low;
        int high;
    };
    static const std::array<Bounds, SlotCount> &baseBounds();
    static const std::array<Bounds, SlotCount> &cityBounds();
    static constexpr Bounds OffsetBounds { -31, 20 };

    // Each finding is one line of text; an empty list means the check passed.
    static std::vector<std::string> rangeFindings(const Table &table);
    static std::vector<std::string> orderFindings(const Table &table);
    static std::vector<std::string> anchorFindings(const Table &table,
                                                   const std::vector<AnchorRow> &anchors);
    // Largest day-to-day change of each stored field [city][slot], 31 December to 1 January
    // included, since the table is used year after year.
    static DayMinutes maxSteps(const Table &table);
    static std::vector<std::string> stepFindings(const Table &pinned, const Table &unpinned);
};

} // namespace TimetableGen
