#include "settings/SystemLogonStart.h"

#include "settings/LogonStartCommand.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <utility>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <string>
#endif

namespace {
const QString entryName = QStringLiteral("Delkaro");
const QString realRunKey
        = QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString realApprovalKey = QStringLiteral(
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
        "StartupApproved\\Run");

#ifdef Q_OS_WIN
// QSettings writes a QByteArray as "@ByteArray(...)" text, never as REG_BINARY, so the approval
// goes through the registry functions themselves. Only keys of the current user are reached.
bool splitUserKey(const QString &name, std::wstring &subKey)
{
    for (const QLatin1String root :
         { QLatin1String("HKEY_CURRENT_USER\\"), QLatin1String("HKCU\\") }) {
        if (name.startsWith(root, Qt::CaseInsensitive)) {
            subKey = name.mid(root.size()).toStdWString();
            return true;
        }
    }
    return false;
}

// The value's bytes; empty when it is missing or not binary.
QByteArray readBinaryValue(const QString &key, const QString &value)
{
    std::wstring subKey;
    if (!splitUserKey(key, subKey))
        return {};
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_QUERY_VALUE, &handle)
        != ERROR_SUCCESS)
        return {};
    const std::wstring name = value.toStdWString();
    DWORD type = 0;
    DWORD size = 0;
    QByteArray bytes;
    if (RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS
        && type == REG_BINARY && size > 0) {
        bytes.resize(int(size));
        if (RegQueryValueExW(handle, name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE *>(bytes.data()), &size)
                    == ERROR_SUCCESS
            && type == REG_BINARY)
            bytes.truncate(int(size));
        else
            bytes.clear();
    }
    RegCloseKey(handle);
    return bytes;
}

bool writeBinaryValue(const QString &key, const QString &value, const QByteArray &bytes)
{
    std::wstring subKey;
    if (!splitUserKey(key, subKey))
        return false;
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr)
        != ERROR_SUCCESS)
        return false;
    const std::wstring name = value.toStdWString();
    const LONG status = RegSetValueExW(handle, name.c_str(), 0, REG_BINARY,
                                       reinterpret_cast<const BYTE *>(bytes.constData()),
                                       DWORD(bytes.size()));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}
#endif

// The Exec value of an existing entry, as written in its file.
QString existingExec(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inMainGroup && eq > 0 && line.left(eq).trimmed() == QLatin1String("Exec"))
            return line.mid(eq + 1).trimmed();
    }
    return {};
}
} // namespace

SystemLogonStart::SystemLogonStart(QString place)
    : m_place(std::move(place))
{ }

QString SystemLogonStart::autostartFolder() const
{
    if (!m_place.isEmpty())
        return m_place;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QStringLiteral("/autostart");
}

QString SystemLogonStart::runKey() const
{
    return m_place.isEmpty() ? realRunKey : m_place;
}

QString SystemLogonStart::approvalKey() const
{
    return m_place.isEmpty() ? realApprovalKey : m_place + QStringLiteral("\\StartupApproved");
}

QString SystemLogonStart::entryLocation() const
{
#ifdef Q_OS_WIN
    return runKey() + QLatin1Char('\\') + entryName;
#else
    return autostartFolder() + QLatin1Char('/') + entryName + QStringLiteral(".desktop");
#endif
}

QString SystemLogonStart::approvalLocation() const
{
#ifdef Q_OS_WIN
    return approvalKey() + QLatin1Char('\\') + entryName;
#else
    return {};
#endif
}

bool SystemLogonStart::write(const QString &programPath)
{
#ifdef Q_OS_WIN
    if (!writeRunValue(programPath))
        return false;
    // Turned off in Task Manager, a Run value alone starts nothing: ticking the box must undo
    // that. 02 and a zero time rather than deleting the value, as Windows itself writes when
    // the user turns the program back on, so its own lists show it on.
    if (programPath.isEmpty())
        return true;
    return writeBinaryValue(approvalKey(), entryName, approvedOnBytes());
#else
    return writeDesktopEntry(programPath);
#endif
}

std::optional<LogonStartState> SystemLogonStart::state(const QString &programPath) const
{
#ifdef Q_OS_WIN
    const QVariant run = QSettings(runKey(), QSettings::NativeFormat).value(entryName);
    return windowsLogonStartState(run.isValid() ? run.toString() : QString(),
                                  QDir::toNativeSeparators(programPath),
                                  readBinaryValue(approvalKey(), entryName));
#else
    Q_UNUSED(programPath);
    return std::nullopt;
#endif
}

bool SystemLogonStart::writeRunValue(const QString &programPath) const
{
    QSettings run(runKey(), QSettings::NativeFormat);
    // "" empties the value and keeps it, as turning the choice off always did.
    run.setValue(entryName, runValueCommand(QDir::toNativeSeparators(programPath)));
    run.sync();
    return run.status() == QSettings::NoError;
}

bool SystemLogonStart::writeDesktopEntry(const QString &programPath) const
{
    if (!QDir().mkpath(autostartFolder()))
        return false;
    const QString path = entryLocation();
    const bool on = !programPath.isEmpty();
    const QString exec = on ? desktopExecCommand(programPath) : existingExec(path);

    QByteArray text;
    text += "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Name=Tirvelon\n";
    text += "Exec=" + exec.toUtf8() + '\n';
    text += "Terminal=false\n";
    text += on ? "Hidden=false\n" : "Hidden=true\n";
    text += on ? "X-GNOME-Autostart-enabled=true\n" : "X-GNOME-Autostart-enabled=false\n";

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
