#pragma once

#include <QDate>
#include <QTime>

// Changes the computer's clock. Each call reports whether the platform accepted it;
// a refusal (no rights, automatic time sync) is not an error for the caller.
class SystemClockSetter
{
public:
    enum class Result { Done, Refused, Failed };

    virtual ~SystemClockSetter() = default;
    virtual Result setTimeOfDay(const QTime &time) = 0;
    virtual Result setDate(const QDate &date) = 0;
};

// The platform's own date and time settings, opened when applying fails.
class DateTimePanel
{
public:
    virtual ~DateTimePanel() = default;
    virtual bool open() = 0;
};
