#pragma once

#include <QString>
#include <QTime>

// Whole seconds after midnight: milliseconds since midnight / 1000, halves to even.
int timeOfDaySeconds(const QTime &time);

// The clock text "hh:mm:ss AM": two-digit 12-hour clock, noon and midnight hours as 12.
QString clockText(const QTime &time);

// How long until the tick just after the next whole second, so that the clock's text turns on
// the second. A timer that woke this little early is armed again for the rest.
int msecsToNextTick(const QTime &time);
constexpr int EarlyTickLimitMs = 100;
