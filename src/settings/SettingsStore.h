#pragma once

#include "settings/SettingsBackend.h"

#include <QString>

// The program's view of the per-user settings: no cache, every read goes to the store and every
// write is immediate, so the "Close" request of a second copy is seen at the next read.
class SettingsStore
{
public:
    explicit SettingsStore(SettingsBackend &backend);

    // "" for a key that was never written or a store that cannot be read.
    QString GetSetting(const QString &key) const;
    // Creates or replaces the key's text; false when the store refused it.
    bool SaveSetting(const QString &key, const QString &text);
    // Numbers are kept as decimal text without spaces.
    bool SaveSetting(const QString &key, int value);

private:
    SettingsBackend &m_backend;
};
