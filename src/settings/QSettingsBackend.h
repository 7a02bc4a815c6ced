#pragma once

#include "settings/SettingsBackend.h"

#include <QSettings>
#include <QString>

#include <memory>

// The real store: QSettings under organisation and application "Tirvelon", group "Settings".
// On Windows the registry (HKCU\Software\Tirvelon\Tirvelon\Settings), elsewhere the INI file
// $XDG_CONFIG_HOME/Tirvelon/Tirvelon.ini.
//
// A file whose bytes are not settings text (see looksLikeSettingsText) reads as empty for every
// key. The first write to such a file first moves it aside as "<file>.corrupt-<UTC time>", so
// that nothing in it is lost, and then starts a fresh file.
class QSettingsBackend : public SettingsBackend
{
public:
    QSettingsBackend();
    // An INI file of the caller's choice, on every platform (tests).
    explicit QSettingsBackend(const QString &iniPath);
    // A registry key of the caller's choice, "HKEY_CURRENT_USER\\Software\\..." (Windows tests).
    static QSettingsBackend registryKey(const QString &key);

    QString value(const QString &key) const override;
    bool setValue(const QString &key, const QString &text) override;

    // The file path, or the registry path of the section on Windows.
    QString location() const;

private:
    std::unique_ptr<QSettings> open() const;
    bool fileIsCorrupt() const;
    bool moveCorruptFileAside() const;

    QString m_iniPath;     // empty: the Windows registry
    QString m_registryKey; // empty: the program's own key
};
