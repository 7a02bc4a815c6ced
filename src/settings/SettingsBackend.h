#pragma once

#include <QString>

// The per-user key-value store under application "Tirvelon", section "Settings".
// Every read goes to the store itself, so a value written by another process is seen.
class SettingsBackend
{
public:
    virtual ~SettingsBackend() = default;
    // "" when the key does not exist or the store cannot be read.
    virtual QString value(const QString &key) const = 0;
    // Creates or replaces the key's text at once; false when the store refused the write.
    virtual bool setValue(const QString &key, const QString &text) = 0;
};
