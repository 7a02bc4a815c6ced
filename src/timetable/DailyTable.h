#pragma once

#include <QString>
#include <QStringList>

// A DayRecord is one 124-character row of the table: "ddMM", the base city's six times as
// four-digit minutes after midnight, then OffsetGroup 1..4, six right-aligned signed minute
// offsets each for the other four cities.
using DayRecord = QString;

namespace DailyTable {

constexpr int RowCount = 366;
constexpr int DayRecordLength = 124;
constexpr int OffsetGroupCount = 4;

// The 366 DayRecord texts in leap-year order: row 0 is 1 January, row 59 29 February,
// row 365 31 December. The same rows serve every year.
const QStringList &rows();

} // namespace DailyTable
