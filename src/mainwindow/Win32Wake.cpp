#include "mainwindow/Win32Wake.h"

#include <windows.h>

#include <powrprof.h>

namespace Win32Wake {

namespace {

HANDLE timer = nullptr;

// Spelled out rather than taken from the SDK, whose GUIDs need initguid.h in one unit.
const GUID SleepSubgroup
        = { 0x238c9fa8, 0x0aad, 0x41ed, { 0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20 } };
const GUID AllowWakeTimers
        = { 0xbd3b718a, 0x0680, 0x4d9d, { 0x8a, 0xb2, 0xe1, 0xd2, 0xb4, 0xac, 0x80, 0x6d } };

} // namespace

bool arm(long long fileTimeUtc)
{
    if (!timer)
        timer = CreateWaitableTimerW(nullptr, TRUE, nullptr);
    if (!timer)
        return false;
    // Positive: an absolute time. fResume: wake the computer for it.
    LARGE_INTEGER due;
    due.QuadPart = fileTimeUtc;
    return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, TRUE) != FALSE;
}

void cancel()
{
    if (!timer)
        return;
    CancelWaitableTimer(timer);
    CloseHandle(timer);
    timer = nullptr;
}

void keepAwake(bool on)
{
    SetThreadExecutionState(on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

bool wakeTimersAllowed()
{
    GUID *scheme = nullptr;
    if (PowerGetActiveScheme(nullptr, &scheme) != ERROR_SUCCESS)
        return true;
    SYSTEM_POWER_STATUS power {};
    const bool battery = GetSystemPowerStatus(&power) && power.ACLineStatus == 0;
    DWORD value = 1;
    const DWORD read = battery
            ? PowerReadDCValueIndex(nullptr, scheme, &SleepSubgroup, &AllowWakeTimers, &value)
            : PowerReadACValueIndex(nullptr, scheme, &SleepSubgroup, &AllowWakeTimers, &value);
    LocalFree(scheme);
    // 0 disables them all; 2 (Windows 10 on) lets only the system's important ones through.
    return read != ERROR_SUCCESS || value == 1;
}

} // namespace Win32Wake
