#pragma once

#include "TimetableTypes.h"

namespace TimetableGen {

// The table's text format: "ddMM", six four-digit base times, then four groups of six offsets
// right-aligned in four characters each, 124 characters in all.
class TableText
{
public:
    static constexpr int RowLength = 124;

    static std::string formatRow(const CalendarDay &day, const DayMinutes &minutes);
    // Reads a stored row back into city times; false (and why) when it is not a table row.
    static bool parseRow(const std::string &text, AnchorRow *row, std::string *error);
    static bool readAnchors(const std::string &path, std::vector<AnchorRow> *anchors,
                            std::string *error);

    static std::string plainRows(const Table &table);
    // C++ initialiser lines, one string literal per row, preceded by comment lines.
    static std::string includeFile(const Table &table, const std::vector<std::string> &comments);
};

} // namespace TimetableGen
