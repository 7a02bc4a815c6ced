// The real clock setter and date-time panel of each platform.
#include "clockdialog/DesktopDateTimePanel.h"
#include "clockdialog/SystemClockSetter.h"

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(QT_DBUS_LIB)
#include "clockdialog/TimedateClockSetter.h"
#endif

namespace {

#if defined(Q_OS_WIN)

class WindowsClockSetter : public SystemClockSetter
{
public:
    Result setTimeOfDay(const QTime &time) override
    {
        SYSTEMTIME local;
        GetLocalTime(&local);
        local.wHour = WORD(time.hour());
        local.wMinute = WORD(time.minute());
        local.wSecond = WORD(time.second());
        local.wMilliseconds = 0;
        return apply(local);
    }

    Result setDate(const QDate &date) override
    {
        SYSTEMTIME local;
        GetLocalTime(&local);
        local.wYear = WORD(date.year());
        local.wMonth = WORD(date.month());
        local.wDay = WORD(date.day());
        return apply(local);
    }

private:
    static Result apply(const SYSTEMTIME &local)
    {
        // The first call converts with the daylight-saving offset in force before the change;
        // when the new time lies on the other side of a switch only a second call ends right.
        if (!SetLocalTime(&local)) {
            const DWORD error = GetLastError();
            return error == ERROR_PRIVILEGE_NOT_HELD || error == ERROR_ACCESS_DENIED
                    ? Result::Refused
                    : Result::Failed;
        }
        SetLocalTime(&local);
        return Result::Done;
    }
};

#elif !defined(QT_DBUS_LIB)

// No known way to set the clock here: let the caller offer the panel.
class UnsupportedClockSetter : public SystemClockSetter
{
public:
    Result setTimeOfDay(const QTime &) override { return Result::Failed; }
    Result setDate(const QDate &) override { return Result::Failed; }
};

#endif

} // namespace

std::unique_ptr<SystemClockSetter> makeSystemClockSetter()
{
#if defined(Q_OS_WIN)
    return std::make_unique<WindowsClockSetter>();
#elif defined(QT_DBUS_LIB)
    return std::make_unique<TimedateClockSetter>(QDBusConnection::systemBus());
#else
    return std::make_unique<UnsupportedClockSetter>();
#endif
}

std::unique_ptr<DateTimePanel> makeDateTimePanel()
{
    return std::make_unique<DesktopDateTimePanel>();
}
