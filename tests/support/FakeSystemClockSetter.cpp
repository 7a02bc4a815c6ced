#include "FakeSystemClockSetter.h"

SystemClockSetter::Result FakeSystemClockSetter::setTimeOfDay(const QTime &time)
{
    times.append(time);
    calls.append(QStringLiteral("time ") + time.toString(QStringLiteral("HH:mm:ss")));
    return timeAnswer;
}

SystemClockSetter::Result FakeSystemClockSetter::setDate(const QDate &date)
{
    dates.append(date);
    calls.append(QStringLiteral("date ") + date.toString(QStringLiteral("yyyy-MM-dd")));
    return dateAnswer;
}
