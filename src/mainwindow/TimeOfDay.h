#pragma once

#include <QString>
#include <QTime>

// Whole seconds after midnight: milliseconds since midnight / 1000, halves to even.
int timeOfDaySeconds(const QTime &time);

// The clock text "hh:mm:ss AM": two-digit 12-hour clock, noon and midnight hours as 12.
QString clockText(const QTime &time);
