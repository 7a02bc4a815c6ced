#pragma once

// Tells whether another copy of the program already runs for this user.
class InstanceLock
{
public:
    virtual ~InstanceLock() = default;
    // Takes the lock when nobody holds it; true when another live copy holds it.
    virtual bool anotherInstanceRunning() = 0;
};
