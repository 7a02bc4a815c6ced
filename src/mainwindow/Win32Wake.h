#pragma once

// The Win32 calls behind the Windows wake timer, free of Qt so that they build with the MinGW
// compiler alone.
namespace Win32Wake {

// Opens the timer on first use and sets it to an absolute FILETIME (UTC), waking the computer.
bool arm(long long fileTimeUtc);
// Cancels and closes the timer; nothing when none is open.
void cancel();
void keepAwake(bool on);
// Whether the active power plan lets timers like this one wake the computer on the present
// power source; true when it cannot be read.
bool wakeTimersAllowed();

} // namespace Win32Wake
