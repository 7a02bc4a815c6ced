// Waking the computer for the dawn call: the timer armed a minute before it, the computer kept
// awake while it sounds, both let go when the choice goes off or the window goes.
#include "mainwindow/Clock.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WakeRules.h"
#include "mainwindow/WakeTimer.h"
#include "presentation/VbLabel.h"
#include "settings/SettingsKeys.h"
#include "sound/MediaPlayer.h"
#include "timetable/DayTimes.h"

MainWindow::WakeRelease::WakeRelease(MainWindow *owner)
    : window(owner)
{
    // At the close too: the program ends after it, and its end may not come as far as this
    // window's.
    QObject::connect(owner, &MainWindow::unloaded, owner, [owner] { owner->WakeTimer_Release(); });
}

MainWindow::WakeRelease::~WakeRelease()
{
    window->WakeTimer_Release();
}

bool MainWindow::wakeForDawn() const
{
    if (!m_wakeForDawn)
        m_wakeForDawn = readSetting(SettingKeyTable::wakeForDawn(),
                                    m_settings.GetSetting(SettingsKeys::WakeForDawn))
                == 1;
    return *m_wakeForDawn;
}

void MainWindow::PrayerMenu_WakeClick(bool on)
{
    m_wakeForDawn = on;
    m_settings.SaveSetting(SettingsKeys::WakeForDawn, on ? 1 : 0);
    // Off cancels at once, on arms at once: the user may put the computer to sleep right now.
    WakeTimer_Refresh(m_platform.clock.now());
}

void MainWindow::WakeTimer_Refresh(const QDateTime &moment)
{
    WakeTimer &timer = m_platform.wakeTimer;
    if (!timer.isAvailable())
        return;
    std::optional<QDateTime> due;
    if (wakeForDawn())
        due = WakeRules::dawnWakeDue(
                moment, [this](const QDate &day) { return movedDawnSeconds(day); },
                lenientFieldNumber(LB0->text()));
    if (due != m_wakeDue) {
        if (due)
            timer.arm(*due);
        else
            timer.cancel();
        m_wakeDue = due;
    }
    const bool dawnSounding = AnnouncedSlot == 0 && Label9.caption().size() > 4
            && WindowsMediaPlayer3.playState() == MediaPlayer::Playing;
    const bool awake = wakeForDawn() && dawnSounding;
    if (awake != m_keptAwake) {
        timer.keepAwake(awake);
        m_keptAwake = awake;
    }
}

void MainWindow::WakeTimer_Release()
{
    WakeTimer &timer = m_platform.wakeTimer;
    if (m_keptAwake)
        timer.keepAwake(false);
    if (m_wakeDue)
        timer.cancel();
    m_keptAwake = false;
    m_wakeDue.reset();
}
