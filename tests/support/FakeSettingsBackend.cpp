#include "FakeSettingsBackend.h"

QString FakeSettingsBackend::value(const QString &key) const
{
    m_readKeys.append(key);
    return m_values.value(key);
}

bool FakeSettingsBackend::setValue(const QString &key, const QString &text)
{
    if (m_refuseAll || m_refusedKeys.contains(key)) {
        m_refused.append({ key, text });
        return false;
    }
    m_writes.append({ key, text });
    m_values.insert(key, text);
    return true;
}

void FakeSettingsBackend::resetCounts()
{
    m_readKeys.clear();
    m_writes.clear();
    m_refused.clear();
}
