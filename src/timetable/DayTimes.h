#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// PrayerSlot 0 dawn call, 1 sunrise, 2 noon call, 3 afternoon call, 4 sunset call,
// 5 night call: the order of the times in a DayRecord.
constexpr int SlotCount = 6;

// The key that opens a date's row, day first: "ddMM" (1 July -> "0107"). Empty for an
// invalid date, which therefore finds no row.
QString DayKey(const QDate &date);

// The first row, from the top, whose text begins with key, ignoring case; -1 when none does
// or when key is empty.
int findRowByPrefix(const QStringList &rows, const QString &key);

// Lenient number parse of a field: leading spaces skipped, an optional '-', then digits; the
// first other character ends the number, and no digits read as 0. Values beyond the range
// of int saturate.
int lenientFieldNumber(QStringView field);

// The 4 characters at offset 24 * city + 4 * slot + 4, read leniently: city 0 is the base
// time, cities 1..4 the offsets of OffsetGroup 1..4. Outside the record (or a city or slot
// out of range) it reads as 0.
int readField(const QString &record, int city, int slot);

// A city's group of six offsets, group 1..4; all 0 for any other group.
std::array<int, SlotCount> OffsetGroup(const QString &record, int group);

// The six times of a city in minutes after midnight: the base times, plus OffsetGroup c when
// c >= 1; c <= 0 (0 the base city, -1 no city chosen) gives the base times.
std::array<int, SlotCount> dayMinutes(const QString &record, int cityIndex);

// The same in whole seconds after midnight (60 * minutes).
std::array<int, SlotCount> daySeconds(const QString &record, int cityIndex);

// "hh:mm:00 AM": H = v div 60; hour "00" when H == 0, else ((H - 1) mod 12) + 1, and " PM"
// once H >= 12. A negative v, which no table time is, shows as the clock time it wraps to.
QString SlotTimeText(int minutes);
