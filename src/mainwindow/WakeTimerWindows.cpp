// The Windows wake timer: a waitable timer that resumes the computer, and the thread's
// execution state. Built for Windows only.
#include "mainwindow/WakeRules.h"
#include "mainwindow/WakeTimer.h"
#include "mainwindow/Win32Wake.h"

namespace {

class WindowsWakeTimer : public WakeTimer
{
public:
    ~WindowsWakeTimer() override
    {
        keepAwake(false);
        cancel();
    }
    bool isAvailable() const override { return true; }
    void arm(const QDateTime &utcDue) override { Win32Wake::arm(WakeRules::fileTimeOf(utcDue)); }
    void cancel() override { Win32Wake::cancel(); }
    void keepAwake(bool on) override { Win32Wake::keepAwake(on); }
    bool wakeTimersAllowed() const override { return Win32Wake::wakeTimersAllowed(); }
};

} // namespace

std::unique_ptr<WakeTimer> makeWakeTimer()
{
    return std::make_unique<WindowsWakeTimer>();
}
