#pragma once

#include "clockdialog/SystemClockSetter.h"

#include <QList>
#include <QStringList>

// Records what the program would set the computer's clock to, and answers as told.
class FakeSystemClockSetter : public SystemClockSetter
{
public:
    Result setTimeOfDay(const QTime &time) override;
    Result setDate(const QDate &date) override;

    Result timeAnswer = Result::Done;
    Result dateAnswer = Result::Done;

    QList<QTime> times;
    QList<QDate> dates;
    // "time hh:mm:ss" and "date yyyy-MM-dd" in the order of the calls.
    QStringList calls;
};
