#pragma once

#include "settings/LogonStart.h"

#include <QString>

// The real logon start entry "Delkaro".
// Windows: the value under HKCU\Software\Microsoft\Windows\CurrentVersion\Run, and the value
// of the same name under HKCU\...\CurrentVersion\Explorer\StartupApproved\Run by which Task
// Manager and Settings turn it off. Turning it on marks that one approved as well; turning it
// off empties the Run value and leaves the approval as it is.
// Elsewhere: the XDG autostart entry Delkaro.desktop. Turning it off keeps the file with
// Hidden=true and X-GNOME-Autostart-enabled=false and keeps the Exec line of the last program
// written, so the file stays a valid entry that a desktop's autostart settings can turn back on.
class SystemLogonStart : public LogonStart
{
public:
    // place empty: the user's real one. Tests always pass their own: on Windows a registry key
    // standing in for the Run key ("HKEY_CURRENT_USER\\Software\\..."), whose subkey
    // "StartupApproved" stands in for Explorer's StartupApproved\Run key; elsewhere a folder
    // standing in for the autostart folder.
    explicit SystemLogonStart(QString place = {});

    bool write(const QString &programPath) override;
    // Windows: read from the Run value and its approval. Elsewhere nullopt: the desktop's own
    // autostart settings may override the entry in ways this program does not follow.
    std::optional<LogonStartState> state(const QString &programPath) const override;

    // The file of the entry, or the registry value's full name on Windows.
    QString entryLocation() const;
    // The full name of the StartupApproved value on Windows; empty elsewhere.
    QString approvalLocation() const;

private:
    QString autostartFolder() const;
    bool writeDesktopEntry(const QString &programPath) const;
    bool writeRunValue(const QString &programPath) const;
    QString runKey() const;
    QString approvalKey() const;

    QString m_place;
};
