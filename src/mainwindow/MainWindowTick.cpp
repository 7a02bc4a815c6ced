// The day's times and the one-second tick: detecting each prayer, the alert's count-down, the
// next prayer in the tray icon's tip, the marked slot, the Hijri date and the restore after a
// call.
#include "mainwindow/MainWindow.h"

#include "clockdialog/ClockDialog.h"
#include "mainwindow/Clock.h"
#include "mainwindow/HijriMenu.h"
#include "mainwindow/NextPrayer.h"
#include "mainwindow/PreviewGlyphs.h"
#include "mainwindow/TickRules.h"
#include "mainwindow/TimeOfDay.h"
#include "mainwindow/UnicodeMessageBox.h"
#include "presentation/Captions.h"
#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "settings/SettingsKeys.h"
#include "sound/MediaPlayer.h"
#include "timetable/DailyTable.h"
#include "timetable/DayTimes.h"

#include <QComboBox>
#include <QScrollBar>
#include <QSystemTrayIcon>

namespace {
const QString TwoSpaces = QStringLiteral("  ");
} // namespace

// The sound trigger's text while a reminder, or a call that came long ago, shows: silent strips
// of their own (a call's trigger is its recording's path, longer than four characters).
const QString MainWindow::ReminderStrip = QStringLiteral("   ");
const QString MainWindow::CameStrip = QStringLiteral("    ");

void MainWindow::List1_Click()
{
    if (List1.listIndex() == -1)
        return;
    const QString row = List1.text();
    const std::array<int, SlotCount> minutes = dayMinutes(row, Combo1->currentIndex());
    for (int j = 0; j < SlotCount; ++j)
        TimA1[j] = QString::number(60 * minutes[j]);
    // The rows show the times as each prayer's own minutes move them.
    showPrayerRows();
}

void MainWindow::Combo1_Click()
{
    if (Combo1->currentIndex() > 4) {
        UnicodeMessageBox(Captions::cityApologyStart() + Combo1->currentText()
                                  + Captions::cityApologyEnd(),
                          MbOk);
        Combo1->setCurrentIndex(0);
    }
    // The next tick selects today's row again, for the city now chosen.
    List1.setListIndex(-1);
}

void MainWindow::VScroll1_Change()
{
    LB0->setText(QString::number(-VScroll1->value()));
}

std::array<int, 6> MainWindow::slotSeconds() const
{
    std::array<int, 6> seconds {};
    for (int i = 0; i < 6; ++i)
        seconds[i] = lenientFieldNumber(TimA1[i]);
    return PrayerRules::movedDay(seconds, PrayerChoices);
}

void MainWindow::Timer1_Timer()
{
    // The clock is read once: every step below, and every handler it runs, sees the same
    // moment, so that over midnight the date and the seconds come from the same side of it.
    m_tickMoment = m_platform.clock.now();
    const QDateTime moment = *m_tickMoment;

    // 1. A second copy asked for this window. A request the store will not let go of (a full
    // disk, a read-only home) is answered once, not every second: the user could never minimise.
    if (m_settings.GetSetting(SettingsKeys::Close) == QLatin1String("Close")) {
        if (!m_requestAnswered) {
            m_requestAnswered = !m_settings.SaveSetting(SettingsKeys::Close, QString());
            RestoreMainWindow();
        }
    } else {
        m_requestAnswered = false;
    }

    // 2. to 7. Neither today's row nor the arrivals change while a preview plays; a button
    // left at stop (a preview that could not be read) holds off the arrivals and the countdowns
    // until it is reset.
    bool countDown = true;
    if (WindowsMediaPlayer1.playState() == MediaPlayer::Playing) {
        m_lastDetection.reset();
    } else {
        // A preview that played to its end is over as if the user had stopped it: the button,
        // the strip and the arrivals must not wait for a user who walked away.
        if (WindowsMediaPlayer1.playState() == MediaPlayer::MediaEnded)
            stopPreview();
        if (!WindowsMediaPlayer1.url().isEmpty())
            WindowsMediaPlayer1.setUrl(QString());
        Label2 = DayKey(moment.date());
        List1.setListIndex(findRowByPrefix(List1.rows(), Label2));
        if (Command1->text() == PreviewGlyphs::Stop) {
            m_lastDetection.reset();
            countDown = false;
        } else {
            detectArrivals(moment);
        }
    }
    if (countDown)
        countDownAlert();
    refreshMediaKeys();
    // The start-up sound may wait a few seconds for a sound server that comes up with the
    // session, no longer: late, it would be a sound out of nowhere, and a machine with no output
    // would be tried every second for the whole run.
    if (WindowsMediaPlayer2.playState() == MediaPlayer::WaitingForOutput
        && ++m_startupSoundWait > StartupSoundWaitTicks)
        WindowsMediaPlayer2.stop();
    refreshTrayTip();
    WakeTimer_Refresh(moment);

    // 9. Only a window the user can see is refreshed.
    if (isNormalState()) {
        LB[35]->setText(TickRules::hijriDateText(moment.date(), HijriAdjust));
        const QString time = clockText(moment.time());
        Label3->setText(time);
        if (ClockDialogOpen == QLatin1String("Yes") && m_clockDialog)
            m_clockDialog->T1[3]->setText(time.mid(6, 2));
        HighlightCurrentSlot();
    }
    m_tickMoment.reset();
}

void MainWindow::armTimer1()
{
    const QDateTime clock = m_platform.clock.now();
    const int wait = msecsToNextTick(clock.time());
    m_timer1Due = clock.addMSecs(wait);
    Timer1.start(wait);
}

void MainWindow::Timer1_Fired()
{
    // A coarse timer may wake a little before its second: it waits for the rest. One that is
    // far off (the clock was set back meanwhile) ticks: the tick judges the clock as it is.
    const qint64 early = m_platform.clock.now().msecsTo(m_timer1Due);
    if (early > 0 && early < EarlyTickLimitMs) {
        Timer1.start(int(early));
        return;
    }
    Timer1_Timer();
    armTimer1();
}

void MainWindow::tickNow()
{
    // After a wake or a clock change the next tick must not wait for a timer that the
    // machine's sleep or the step has put out of time.
    if (!Timer1.isActive())
        return; // not running (tests drive the tick by hand), or within a tick
    Timer1.stop();
    Timer1_Timer();
    armTimer1();
}

void MainWindow::detectArrivals(const QDateTime &moment)
{
    using namespace PrayerRules;
    const QDate today = moment.date();
    const qint64 nowSeconds = timeOfDaySeconds(moment.time());
    // The previous tick on today's time line, however long ago (a sleep, a clock set forward
    // over days); a clock set back puts it after now, and nothing is then stepped over.
    std::optional<qint64> previous;
    if (m_lastDetection)
        previous = timeOfDaySeconds(m_lastDetection->time())
                - m_lastDetection->date().daysTo(today) * qint64(SecondsPerDay);
    const DaySeconds todays = slotSeconds();
    const auto neighbour = [&](int days) {
        const std::optional<DaySeconds> table = tableSeconds(today.addDays(days));
        return table ? movedDay(*table, PrayerChoices) : todays;
    };
    const QList<Event> events = eventsAround(today, { neighbour(-1), todays, neighbour(1) },
                                             { PrayerChoices, PrayerChoices, PrayerChoices },
                                             lenientFieldNumber(LB0->text()));
    for (const DueEvent &due : dueEvents(events, nowSeconds, previous))
        takeEvent(due, moment);
    serveAnnouncements(nowSeconds, moment);
    m_lastDetection = moment;
}

void MainWindow::countDownAlert()
{
    if (SunriseCountdown > 0) {
        if (Label9.caption() != TwoSpaces)
            Label9.setCaption(TwoSpaces);
        --SunriseCountdown;
    } else if (Label9.caption() == TwoSpaces) {
        Label9.setCaption(QString());
    }
    // A call whose output could not be opened yet (no device just after a wake, one held by
    // another program) is tried again while its strip shows for its minute, so the prayer is
    // still seen; it gives up with the strip, or it would sound after the strip has gone.
    const int call = WindowsMediaPlayer3.playState();
    const bool waiting = call == MediaPlayer::WaitingForOutput && CallStripCountdown > 0;
    if (CallStripCountdown > 0)
        --CallStripCountdown;
    if (CallGraceCountdown > 0) {
        --CallGraceCountdown;
    } else if (Label9.caption().size() > 4 && call != MediaPlayer::Playing && !waiting) {
        if (call == MediaPlayer::WaitingForOutput)
            WindowsMediaPlayer3.stop();
        Label9.setCaption(QString());
    }
    // A reminder's strip counts the minutes down; it and the strip of a call that came close
    // by themselves.
    if (ReminderCountdown > 0) {
        --ReminderCountdown;
        if (m_alert && Label9.caption() == ReminderStrip)
            m_alert->Label1->setText(reminderStripText());
    } else if (Label9.caption() == ReminderStrip || Label9.caption() == CameStrip) {
        Label9.setCaption(QString());
    }
}

void MainWindow::arrive(int slot)
{
    m_tipArrival = true;
    AnnouncedSlot = slot;
    CallGraceCountdown = 5;
    CallStripCountdown = PrayerRules::StripTicks;
    // Sunrise, and a prayer set to its strip alone, show the silent notice.
    if (slot == 1 || PrayerChoices[slot].mode == PrayerRules::CallMode::StripOnly) {
        SunriseCountdown = PrayerRules::StripTicks;
        return;
    }
    // In a meeting or a presentation the call may sound quietly, or its strip alone shows.
    const bool busy = m_platform.userBusy && m_platform.userBusy();
    const std::optional<float> meeting = TickRules::meetingTrim(meetingChoice(), busy);
    if (!meeting) {
        SunriseCountdown = PrayerRules::StripTicks;
        return;
    }
    // The user's own recording, when there is one, is looked for afresh at every call, and
    // plays as loud as the shipped ones.
    const QString recording
            = m_platform.data.pick(TickRules::callRecordingName(slot, Combo2->currentIndex()));
    WindowsMediaPlayer3.setTrim(m_own.gainFor(recording) * *meeting);
    Label9.setCaption(recording);
    WindowsMediaPlayer1.setVolume(Slider1->value());
    WindowsMediaPlayer3.setVolume(Slider1->value());
}

void MainWindow::refreshTrayTip()
{
    // Worked out at the first tick of each minute, at an arrival, and when the day's times, the
    // language or the city changed; handed to the icon only when its text changed.
    const QDateTime moment = this->moment();
    const int seconds = timeOfDaySeconds(moment.time());
    const std::array<int, 6> today = slotSeconds();
    const int language = Combo3->currentIndex();
    const int city = Combo1->currentIndex();
    const auto basis = std::make_tuple(moment.date().toJulianDay() * 1440 + seconds / 60, today,
                                       language, city);
    if (!m_tipArrival && m_tipBasis == basis)
        return;
    m_tipArrival = false;
    m_tipBasis = basis;

    // Tomorrow's dawn as it will sound, its minutes moved too; a day past the table's end
    // (none exists) would take today's.
    const int tomorrowDawn = movedDawnSeconds(moment.date().addDays(1)).value_or(today[0]);
    const NextPrayer::Upcoming next = NextPrayer::after(today, tomorrowDawn, seconds);
    const QString tip = NextPrayer::trayTip(NextPrayer::tipLine(next, seconds, language));
    if (tip == TrayIconData.shownTip())
        return;
    TrayIconData.setTip(tip);
    if (m_tray)
        m_tray->setToolTip(TrayIconData.shownTip());
    emit trayTipWritten(TrayIconData.shownTip());
}

void MainWindow::HighlightCurrentSlot()
{
    for (int i = 0; i < 6; ++i)
        LB[i]->setBackColor(NormalSlotColor);
    LB[TickRules::currentSlot(slotSeconds(), now())]->setBackColor(CurrentSlotColor);
}

void MainWindow::LB35_ContextMenu(const QPoint &at)
{
    auto *menu = new HijriMenu(Combo3->currentIndex(), HijriAdjust, LB[36]->font(), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &HijriMenu::chosen, this, &MainWindow::HijriMenu_Click);
    menu->popup(LB[35]->mapToGlobal(at));
}

void MainWindow::HijriMenu_Click(int days)
{
    // Kept at once, like the logon box; the next tick shows the moved date.
    HijriAdjust = days;
    m_settings.SaveSetting(SettingsKeys::HijriAdjust, QString::number(days));
}

void MainWindow::RestoreMainWindow()
{
    if (m_clockDialog)
        m_clockDialog->reject();
    dropStaleNativeWindow();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    setWindowTitle(QStringLiteral("1"));
    show();
    bringForward();
    HighlightCurrentSlot();
}

void MainWindow::bringForward()
{
    // Restored under other windows it would seem not to come back at all. Desktops that prevent
    // focus stealing may only flag it for attention.
    raise();
    activateWindow();
}

void MainWindow::dropStaleNativeWindow()
{
    // Hidden from the minimised state, the native window keeps its iconic hint: shown again it
    // would come up minimised and be hidden at once. A fresh one shows in the normal state.
    if (isHidden() && testAttribute(Qt::WA_WState_Created))
        destroy();
}

void MainWindow::Timer2_Timer()
{
    setWindowState(windowState() | Qt::WindowMinimized);
    Timer2.setInterval(0);
    Timer2.stop();
}
