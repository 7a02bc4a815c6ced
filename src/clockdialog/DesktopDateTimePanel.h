#pragma once

#include "clockdialog/SystemClockSetter.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Opens the platform's own date and time settings without waiting for them. On Windows that is
// the Settings app's date and time page, or the Date and Time panel started minimised where the
// page cannot be opened; elsewhere the settings program of the desktop in use, or of any
// desktop installed.
class DesktopDateTimePanel : public DateTimePanel
{
public:
    struct Command
    {
        QString program; // full path
        QStringList arguments;
    };
    using Starter = std::function<bool(const Command &)>;

    // Empty values mean the real ones: QProcess::startDetached, the PATH, and
    // XDG_CURRENT_DESKTOP.
    explicit DesktopDateTimePanel(Starter starter = {}, QStringList searchPaths = {},
                                  std::optional<QString> currentDesktop = std::nullopt);

    bool open() override;

    // The settings program to start here, the current desktop's first. None when no desktop
    // has one installed.
    std::optional<Command> findCommand() const;

private:
    Starter m_starter;
    QStringList m_searchPaths;
    QString m_currentDesktop;
};
