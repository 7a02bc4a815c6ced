#pragma once

#include <QDate>
#include <QTime>

#include <memory>

// Changes the computer's clock. Each call reports what the platform made of it; seams report
// by their answer, never by an exception.
class SystemClockSetter
{
public:
    enum class Result {
        Done,
        // The user may not change the clock: no rights, or the password prompt was cancelled or
        // denied. The user is told and sent to the platform's date and time settings.
        Refused,
        // The clock could not be set this way (no clock service, the computer takes its time
        // from the network): the platform's date and time settings are the way.
        Failed,
        // Nothing was asked of the platform (text that does not read), or no answer will come
        // because the program is ending meanwhile: nothing to tell, nothing more to do.
        Skipped
    };

    virtual ~SystemClockSetter() = default;
    virtual Result setTimeOfDay(const QTime &time) = 0;
    virtual Result setDate(const QDate &date) = 0;
};

// The platform's own date and time settings, opened when applying fails or is refused.
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
