// Linux has no wake timer a program may set without privileges: the choice is not offered.
#include "mainwindow/WakeTimer.h"

namespace {

class NoWakeTimer : public WakeTimer
{
public:
    bool isAvailable() const override { return false; }
    void arm(const QDateTime &) override { }
    void cancel() override { }
    void keepAwake(bool) override { }
    bool wakeTimersAllowed() const override { return false; }
};

} // namespace

std::unique_ptr<WakeTimer> makeWakeTimer()
{
    return std::make_unique<NoWakeTimer>();
}
