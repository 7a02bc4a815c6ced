#pragma once

#include <QString>
#include <QStringList>

// The arithmetic behind the clock dialog's spin arrows. Every field is text: a rule reads the
// number in it, computes, and gives back the text the field shows next. A step is the arrow's
// scroll-bar value less one: -1 for the upper arrow, +1 for the lower, 0 for the pass that runs
// when the bar is put back at rest. Fields subtract the step, so the upper arrow counts up.
namespace ClockFields {

// The leading number of a field's text, 0 when it has none.
int fieldNumber(const QString &text);

// One character gets a leading "0"; anything else is left alone.
QString zeroFilled(const QString &text);

// The hour runs 00..12 and wraps both ways; the minute 00..59.
QString steppedHour(const QString &hour, int step);
QString steppedMinute(const QString &minute, int step);

// Either arrow swaps "AM" and "PM"; the resting pass (step 0) leaves it be.
QString steppedMeridiem(const QString &meridiem, int step);

// The editable field of the date row moved by one arrow, written without leading zeros.
QString steppedDateField(const QString &field, int step);

// Every fourth year is a leap year, century years included: the dialog only reaches 2012..2035,
// where the plain rule is right.
bool isPlainLeapYear(int year);

// The length of the month whose List1 item reads lengthText, for the year in the year field.
int monthLength(const QString &lengthText, const QString &year);

// The date fields never wrap: they stop at their limits.
QString limitedDay(const QString &day, int monthLength);
QString limitedMonth(const QString &month);
QString limitedYear(const QString &year);

constexpr int FirstYear = 2012;
constexpr int LastYear = 2035;

// The hidden month list: item m - 1 is the length of month m, February without its leap day.
QStringList monthLengthList();

} // namespace ClockFields
