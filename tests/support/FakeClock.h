#pragma once

#include "mainwindow/Clock.h"

// A clock that stands still until the test sets or advances it.
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &when) { m_now = when; }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }
    void advanceSeconds(int seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
