#pragma once

#include "clockdialog/SystemClockSetter.h"

#include <QDBusConnection>
#include <QDateTime>

#include <functional>

// Sets the clock through the desktop's time service (org.freedesktop.timedate1). The call is
// interactive, so the desktop asks for the password where the user needs one. The service
// takes an absolute UTC time: the changed part is joined with the current local date or time.
class TimedateClockSetter : public SystemClockSetter
{
public:
    using NowFunction = std::function<QDateTime()>;

    // Long enough for a person to type a password into the desktop's prompt.
    static constexpr int DefaultTimeoutMs = 120000;

    explicit TimedateClockSetter(const QDBusConnection &bus,
                                 NowFunction now = &QDateTime::currentDateTime,
                                 int timeoutMs = DefaultTimeoutMs);

    Result setTimeOfDay(const QTime &time) override;
    Result setDate(const QDate &date) override;
    Result setLocalDateTime(const QDateTime &local);

private:
    Result callSetTime(qint64 usecUtc);

    QDBusConnection m_bus;
    NowFunction m_now;
    int m_timeoutMs;
};
