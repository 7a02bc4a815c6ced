#pragma once

#include <QDate>
#include <QTime>

#include <memory>

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

// The real ones (tirvelon_platform): SetLocalTime on Windows, the desktop's time service
// org.freedesktop.timedate1 on the system bus elsewhere; the panel is the platform's own
// date and time settings.
std::unique_ptr<SystemClockSetter> makeSystemClockSetter();
std::unique_ptr<DateTimePanel> makeDateTimePanel();
