// Wires the real platform into the main window: the computer's clock, the user's settings
// store, three sound players, the logon start entry, the instance lock, the clock setter, the
// wake timer, the media keys and the question whether the user is busy.
#include "clockdialog/SystemClockSetter.h"
#include "mainwindow/Clock.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MediaKeys.h"
#include "mainwindow/UserBusy.h"
#include "mainwindow/WakeEvents.h"
#include "mainwindow/WakeTimer.h"
#include "settings/FileInstanceLock.h"
#include "settings/QSettingsBackend.h"
#include "settings/SystemLogonStart.h"
#include "sound/MiniaudioPlayer.h"
#include "sound/SoundEngine.h"

#include <QApplication>
#include <QDir>
#include <QSessionManager>
#include <QSystemTrayIcon>

int main(int argc, char *argv[])
{
#ifndef Q_OS_WIN
    // Wayland ignores where a window asks to be and whether it stays on top, so the alert strip
    // would not sit in its corner. Where the user has not chosen a platform and an X server is
    // at hand (XWayland), the program runs on it; Wayland stays the fallback.
    const bool waylandSession = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
            || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && waylandSession
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tirvelon"));
    QApplication::setOrganizationName(QStringLiteral("Tirvelon"));
    // The alert strip and dialogs come and go; the program ends only when the user says so.
    QApplication::setQuitOnLastWindowClosed(false);

    SystemClock clock;
    QSettingsBackend settings;
    // One output for the three players, opened while something sounds.
    SoundEngine soundEngine;
    MiniaudioPlayer preview(soundEngine);
    MiniaudioPlayer startup(soundEngine);
    MiniaudioPlayer call(soundEngine);
    SystemLogonStart logonStart;
    FileInstanceLock instanceLock;
    const std::unique_ptr<SystemClockSetter> clockSetter = makeSystemClockSetter();
    const std::unique_ptr<DateTimePanel> dateTimePanel = makeDateTimePanel();
    // Outlives the window, which cancels it when it goes; its own end cancels it again.
    const std::unique_ptr<WakeTimer> wakeTimer = makeWakeTimer();
    const std::unique_ptr<MediaKeys> mediaKeys = makeMediaKeys();

    const MainWindowPlatform platform {
        clock,
        settings,
        preview,
        startup,
        call,
        logonStart,
        instanceLock,
        *clockSetter,
        *dateTimePanel,
        *wakeTimer,
        *mediaKeys,
        { DataFolders::shippedFor(QCoreApplication::applicationDirPath()),
          DataFolders::userForThisAccount(), &MiniaudioPlayer::canDecode,
          &MiniaudioPlayer::measure },
        QDir::toNativeSeparators(QCoreApplication::applicationFilePath()),
        [] { return QSystemTrayIcon::isSystemTrayAvailable(); },
        &userIsBusy
    };

    MainWindow window(platform);
    if (!window.Form_Load())
        return 0; // another copy runs and has been asked to show itself
    // A wake or a changed clock is looked at at once, not up to a second later.
    WakeEvents wakeEvents;
    QObject::connect(&wakeEvents, &WakeEvents::woke, &window, &MainWindow::tickNow);
    QObject::connect(&window, &MainWindow::endRequested, &app, [] { QCoreApplication::exit(0); });
    // A normal close (window manager, end of the session) unloads the window and ends.
    QObject::connect(&window, &MainWindow::unloaded, &app, &QCoreApplication::quit);
    // The end of the user's session unloads the window too, so the choices are kept.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window] { window.Form_Unload(); });
    window.show();
    return app.exec();
}
