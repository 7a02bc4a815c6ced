#include "MainWindowRig.h"

MainWindowRig::MainWindowRig(const QDateTime &start, FakeSettingsBackend *sharedSettings,
                             const QString &userDataFolder)
    : clock(start)
    , settings(sharedSettings ? *sharedSettings : ownSettings)
{
    const MainWindowPlatform platform {
        clock,
        settings,
        preview,
        startup,
        call,
        logonStart,
        instanceLock,
        clockSetter,
        panel,
        wake,
        mediaKeys,
        { QStringLiteral("/opt/tirvelon/Data"), userDataFolder, {}, {} },
        QStringLiteral("/opt/tirvelon/tirvelon"),
        [this] { return trayAvailable; },
        [this] { return userBusy; }
    };
    window = std::make_unique<MainWindow>(platform);
}

bool MainWindowRig::load()
{
    const bool loaded = window->Form_Load();
    window->Timer1.stop();
    window->Timer2.stop();
    return loaded;
}

void MainWindowRig::tick()
{
    window->Timer1_Timer();
}

void MainWindowRig::tickAt(const QTime &time)
{
    clock.set(QDateTime(clock.now().date(), time));
    tick();
}

void MainWindowRig::tickAt(const QDate &date, const QTime &time)
{
    clock.set(QDateTime(date, time));
    tick();
}

int MainWindowRig::callStarts() const
{
    int starts = 0;
    for (const QString &event : call.events())
        if (event.startsWith(QLatin1String("url:")) && event.size() > 4)
            ++starts;
    return starts;
}

void MainWindowRig::finish(FakeMediaPlayer &player)
{
    player.finish();
}

void MainWindowRig::setPlaying(FakeMediaPlayer &player, bool playing)
{
    player.setPlayState(playing ? MediaPlayer::Playing : FakeMediaPlayer::Stopped);
}
