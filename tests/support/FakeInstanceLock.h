#pragma once

#include "settings/InstanceLock.h"

// Answers whatever the test set.
class FakeInstanceLock : public InstanceLock
{
public:
    explicit FakeInstanceLock(bool running = false)
        : m_running(running)
    { }

    bool anotherInstanceRunning() override;

    void setAnotherInstanceRunning(bool running) { m_running = running; }
    int askCount() const { return m_asks; }

private:
    bool m_running;
    int m_asks = 0;
};
