#include "settings/SettingsStore.h"

SettingsStore::SettingsStore(SettingsBackend &backend)
    : m_backend(backend)
{ }

QString SettingsStore::GetSetting(const QString &key) const
{
    return m_backend.value(key);
}

bool SettingsStore::SaveSetting(const QString &key, const QString &text)
{
    return m_backend.setValue(key, text);
}

bool SettingsStore::SaveSetting(const QString &key, int value)
{
    return m_backend.setValue(key, QString::number(value));
}
