#pragma once

#include <QDateTime>

// Where the program reads the local date and time. The real clock is the computer's;
// tests put a clock of their own in its place.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
