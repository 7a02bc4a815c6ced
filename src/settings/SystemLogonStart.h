#pragma once

#include "settings/LogonStart.h"

#include <QString>

// The real logon start entry "Delkaro".
// Windows: the value under HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
// Elsewhere: the XDG autostart entry Delkaro.desktop. Turning it off keeps the file with
// Hidden=true and X-GNOME-Autostart-enabled=false and keeps the Exec line of the last program
// written, so the file stays a valid entry that a desktop's autostart settings can turn back on.
class SystemLogonStart : public LogonStart
{
public:
    // place empty: the user's real one. Tests always pass their own: on Windows a registry key
    // standing in for the Run key ("HKEY_CURRENT_USER\\Software\\..."), elsewhere a folder
    // standing in for the autostart folder.
    explicit SystemLogonStart(QString place = {});

    bool write(const QString &programPath) override;

    // The file of the entry, or the registry value's full name on Windows.
    QString entryLocation() const;

private:
    QString autostartFolder() const;
    bool writeDesktopEntry(const QString &programPath) const;
    bool writeRunValue(const QString &programPath) const;

    QString m_place;
};
