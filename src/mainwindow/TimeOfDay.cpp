#include "mainwindow/TimeOfDay.h"

int timeOfDaySeconds(const QTime &time)
{
    const int ms = time.msecsSinceStartOfDay();
    const int whole = ms / 1000;
    const int rest = ms % 1000;
    if (rest > 500 || (rest == 500 && whole % 2 == 1))
        return whole + 1;
    return whole;
}

QString clockText(const QTime &time)
{
    const int hour = time.hour();
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return QStringLiteral("%1:%2:%3 %4")
            .arg(hour12, 2, 10, QLatin1Char('0'))
            .arg(time.minute(), 2, 10, QLatin1Char('0'))
            .arg(time.second(), 2, 10, QLatin1Char('0'))
            .arg(hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

int msecsToNextTick(const QTime &time)
{
    // A few milliseconds past the second: a timer that fires on the dot still reads the new one.
    return 1000 - time.msec() + 3;
}
