#pragma once

#include "mainwindow/Clock.h"

// A clock that stands still until the test sets or advances it, or that moves on by a step at
// each reading (to catch code that reads it more than once where once is meant).
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    QDateTime now() const override
    {
        const QDateTime read = m_now;
        m_now = m_now.addMSecs(m_stepPerRead);
        return read;
    }
    void setStepPerRead(qint64 ms) { m_stepPerRead = ms; }
    void set(const QDateTime &when) { m_now = when; }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }
    void advanceSeconds(int seconds) { m_now = m_now.addSecs(seconds); }

private:
    mutable QDateTime m_now;
    qint64 m_stepPerRead = 0;
};
