#include "settings/SystemLogonStart.h"

#include "settings/LogonStartCommand.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <utility>

namespace {
const QString entryName = QStringLiteral("Delkaro");
const QString runKey
        = QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

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

QString SystemLogonStart::entryLocation() const
{
#ifdef Q_OS_WIN
    return (m_place.isEmpty() ? runKey : m_place) + QLatin1Char('\\') + entryName;
#else
    return autostartFolder() + QLatin1Char('/') + entryName + QStringLiteral(".desktop");
#endif
}

bool SystemLogonStart::write(const QString &programPath)
{
#ifdef Q_OS_WIN
    return writeRunValue(programPath);
#else
    return writeDesktopEntry(programPath);
#endif
}

bool SystemLogonStart::writeRunValue(const QString &programPath) const
{
    QSettings run(m_place.isEmpty() ? runKey : m_place, QSettings::NativeFormat);
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
