#pragma once

#include <QDateTime>

#include <memory>

// Wakes the computer from sleep at a moment, and keeps it from falling asleep meanwhile. Only
// Windows has it; elsewhere isAvailable() is false and the rest does nothing.
class WakeTimer
{
public:
    virtual ~WakeTimer() = default;
    virtual bool isAvailable() const = 0;
    // Sets the one timer to utcDue, replacing any earlier one; it lasts while the program runs.
    virtual void arm(const QDateTime &utcDue) = 0;
    virtual void cancel() = 0;
    // Keeps the system from sleeping (not the screen) while on.
    virtual void keepAwake(bool on) = 0;
    // False when the power plan forbids wake timers: an armed timer will not wake the computer.
    virtual bool wakeTimersAllowed() const = 0;
};

// The real one (tirvelon_platform): a waitable timer on Windows, nothing elsewhere.
std::unique_ptr<WakeTimer> makeWakeTimer();
