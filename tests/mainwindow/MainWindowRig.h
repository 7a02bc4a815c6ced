#pragma once

#include "FakeClock.h"
#include "FakeInstanceLock.h"
#include "FakeLogonStart.h"
#include "FakeMediaPlayer.h"
#include "FakeSettingsBackend.h"
#include "FakeSystemClockSetter.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MediaKeys.h"
#include "mainwindow/WakeTimer.h"

#include <memory>

class FakeDateTimePanel : public DateTimePanel
{
public:
    bool open() override
    {
        ++opened;
        return true;
    }
    int opened = 0;
};

// Records what the window asks of the wake timer, one line a call; never touches the system.
class FakeWakeTimer : public WakeTimer
{
public:
    bool isAvailable() const override { return available; }
    void arm(const QDateTime &utcDue) override { calls << "arm " + utcDue.toString(Qt::ISODate); }
    void cancel() override { calls << "cancel"; }
    void keepAwake(bool on) override { calls << (on ? "awake" : "asleep"); }
    bool wakeTimersAllowed() const override { return allowed; }
    bool available = false; // as on Linux, unless a test says otherwise
    bool allowed = true;
    QStringList calls;
};

// Records when the window takes the media keys and gives them back.
class FakeMediaKeys : public MediaKeys
{
public:
    void take(const QString &title) override { calls << "take " + title; }
    void release() override { calls << "release"; }
    QStringList calls;
};

// A main window on fakes: the clock stands still until the test moves it, the players only
// record, the settings live in memory. Ticks are driven by hand.
struct MainWindowRig
{
    explicit MainWindowRig(const QDateTime &start = QDateTime(QDate(2026, 1, 1), QTime(12, 0)),
                           FakeSettingsBackend *sharedSettings = nullptr,
                           const QString &userDataFolder = QString());

    // Runs the start-up and stops the real timers, so only the test ticks.
    bool load();
    // Moves the clock to time on the clock's current date (or the given date) and ticks once.
    void tickAt(const QTime &time);
    void tickAt(const QDate &date, const QTime &time);
    void tick();

    // How often a recording was put into the call player.
    int callStarts() const;
    // The player stops by itself (its recording ended, or could not be read).
    static void finish(FakeMediaPlayer &player);
    static void setPlaying(FakeMediaPlayer &player, bool playing);

    FakeClock clock;
    FakeSettingsBackend ownSettings;
    FakeSettingsBackend &settings;
    FakeMediaPlayer preview;
    FakeMediaPlayer startup;
    FakeMediaPlayer call;
    FakeLogonStart logonStart;
    FakeInstanceLock instanceLock;
    FakeSystemClockSetter clockSetter;
    FakeDateTimePanel panel;
    FakeWakeTimer wake;
    FakeMediaKeys mediaKeys;
    bool trayAvailable = true;
    bool userBusy = false;
    std::unique_ptr<MainWindow> window;
};
