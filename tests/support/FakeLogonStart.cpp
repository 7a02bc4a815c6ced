#include "FakeLogonStart.h"

bool FakeLogonStart::write(const QString &programPath)
{
    m_written.append(programPath);
    if (m_refuse)
        return false;
    m_entry = programPath;
    m_exists = true;
    return true;
}
