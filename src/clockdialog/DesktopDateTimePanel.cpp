#include "clockdialog/DesktopDateTimePanel.h"

#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

struct Candidate
{
    const char *desktop; // as named in XDG_CURRENT_DESKTOP
    const char *program;
    QStringList arguments;
};

const QList<Candidate> &candidates()
{
    static const QList<Candidate> list = {
        { "GNOME", "gnome-control-center", { QStringLiteral("datetime") } },
        { "KDE", "systemsettings", { QStringLiteral("kcm_clock") } },
        { "KDE", "kcmshell5", { QStringLiteral("clock") } },
        { "X-Cinnamon", "cinnamon-settings", { QStringLiteral("calendar") } },
        { "MATE", "mate-time-admin", {} },
        { "XFCE", "time-admin", {} },
        { "Unity", "unity-control-center", { QStringLiteral("datetime") } },
        { "Budgie", "budgie-control-center", { QStringLiteral("datetime") } },
    };
    return list;
}

bool startDetached(const DesktopDateTimePanel::Command &command)
{
    return QProcess::startDetached(command.program, command.arguments);
}

} // namespace

DesktopDateTimePanel::DesktopDateTimePanel(Starter starter, QStringList searchPaths,
                                           std::optional<QString> currentDesktop)
    : m_starter(starter ? std::move(starter) : Starter(&startDetached))
    , m_searchPaths(std::move(searchPaths))
    , m_currentDesktop(currentDesktop ? *currentDesktop
                                      : qEnvironmentVariable("XDG_CURRENT_DESKTOP"))
{ }

std::optional<DesktopDateTimePanel::Command> DesktopDateTimePanel::findCommand() const
{
    // XDG_CURRENT_DESKTOP is a colon-separated list, e.g. "ubuntu:GNOME".
    const QStringList desktops = m_currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    QList<const Candidate *> ordered;
    for (const Candidate &candidate : candidates()) {
        if (desktops.contains(QLatin1String(candidate.desktop), Qt::CaseInsensitive))
            ordered.append(&candidate);
    }
    for (const Candidate &candidate : candidates()) {
        if (!ordered.contains(&candidate))
            ordered.append(&candidate);
    }
    for (const Candidate *candidate : ordered) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(candidate->program),
                                                            m_searchPaths);
        if (!path.isEmpty())
            return Command { path, candidate->arguments };
    }
    return std::nullopt;
}

bool DesktopDateTimePanel::open()
{
#ifdef Q_OS_WIN
    // Windows 10 and 11 keep the date and time in their Settings app. Where nothing answers to
    // the address (a stripped-down edition, Wine), the Control Panel's Date and Time panel.
    SHELLEXECUTEINFOW settings = {};
    settings.cbSize = sizeof settings;
    settings.fMask = SEE_MASK_FLAG_NO_UI; // no "look for an app" box when nothing answers
    settings.lpVerb = L"open";
    settings.lpFile = L"ms-settings:dateandtime";
    settings.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&settings))
        return true;

    QProcess process;
    process.setProgram(QStringLiteral("rundll32.exe"));
    process.setNativeArguments(QStringLiteral("shell32.dll,Control_RunDLL timedate.cpl"));
    // Minimised, with focus (SW_SHOWMINIMIZED).
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
    return process.startDetached();
#else
    const std::optional<Command> command = findCommand();
    if (!command)
        return false;
    return m_starter(*command);
#endif
}
