#include "FakeInstanceLock.h"

bool FakeInstanceLock::anotherInstanceRunning()
{
    ++m_asks;
    return m_running;
}
