#pragma once

#include "clockdialog/ClockDialog.h"
#include "mainwindow/MainWindowPlatform.h"
#include "mainwindow/PrayerRules.h"
#include "mainwindow/TrayIconData.h"
#include "presentation/MainForm.h"
#include "settings/SettingsStore.h"
#include "sound/AlertWindow.h"
#include "sound/OwnRecordings.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <tuple>

class QSystemTrayIcon;

// The program's one window: the day's times, the clock, the choices. It lives for the whole run;
// its one-second tick detects each prayer time and raises the alert.
class MainWindow : public QWidget, public MainForm
{
    Q_OBJECT
public:
    explicit MainWindow(const MainWindowPlatform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up; false when another copy runs and this one must end at once.
    bool Form_Load();
    void Form_Unload();
    void SaveChoices();

    // The day's times.
    void List1_Click();
    void Combo1_Click();
    void VScroll1_Change();

    // The clock tick. Timer1 fires once, on the next whole second, and is armed again after each
    // tick; a wake or a clock change asks for a tick at once.
    void Timer1_Timer();
    void tickNow();
    void Timer2_Timer();
    void RestoreMainWindow();
    void HighlightCurrentSlot();

    // The Hijri date's adjustment: the context menu of LB(35) and its choice.
    void LB35_ContextMenu(const QPoint &at);
    void HijriMenu_Click(int days);

    // Each prayer's own choices: the context menu of its row (its time or its name) and the
    // choices made in it, kept at once.
    void PrayerRow_ContextMenu(int slot, const QPoint &globalAt);
    void PrayerMenu_ModeClick(int slot, PrayerRules::CallMode mode);
    void PrayerMenu_MinutesChange(int slot, int minutes);
    void PrayerMenu_RemindClick(int slot, int minutes);
    // Today's six times as moved by their minutes, in seconds after today's midnight: negative
    // for a time moved onto the evening before, 86400 or more for one moved past midnight. What
    // the rows show, mark, detect and announce.
    std::array<int, 6> slotSeconds() const;
    // A day's dawn as moved by its minutes, in seconds after that day's midnight (negative when
    // it falls on the evening before); nullopt when the table has no row for the day.
    std::optional<int> movedDawnSeconds(const QDate &day) const;
    // The strip's text while a reminder shows, "" otherwise.
    QString reminderStripText() const;
    static const QString ReminderStrip;
    // The silent strip that says when a prayer's call came, for a wake long after it.
    static const QString CameStrip;
    // The text of a silent strip of a reminder or of a call that came, "" for any other strip.
    QString silentStripText() const;

    // The call to prayer.
    void Combo2_Click();
    void Command1_Click();
    void Slider1_Scroll();
    void Slider1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &at);
    void Label9_Change();
    // The alert strip, loaded on first use; nullptr when it is not loaded.
    AlertWindow *alertWindow() const { return m_alert; }
    AlertWindow &loadedAlertWindow();
    void unloadAlertWindow();

    // The user's own recordings: the menu of the muezzin list and the play button, a file chosen
    // in the platform's file dialog and taken for an entry ("5.mp3", "7.mp3", "Wave.wav"), the
    // shipped recording back, and the list's marks of the muezzins who play one.
    void Recordings_ContextMenu(const QPoint &globalAt);
    void RecordingMenu_Choose(const QString &name);
    void RecordingMenu_Shipped(const QString &name);
    void takeRecording(const QString &name, const QString &file);
    void markOwnRecordings();
    // How a call sounds while the user is busy: the slider's menu and its choice (0 as always,
    // 1 quietly, 2 the strip alone).
    void Slider1_ContextMenu(const QPoint &globalAt);
    void MeetingMenu_Click(int choice);
    int meetingChoice() const;
    // Stops a sounding call as its strip's close mark does: from the icon, the media keys and
    // Escape. Nothing while no call sounds (a preview included).
    void StopCall();
    bool callSounds() const;

    // Chrome and the notification-area icon.
    void Form_Resize();
    void Form_MouseMove(int button, int shift, int x, int y);
    void Label1_MouseDown();
    void Label1_MouseUp();
    void Label1_Click();
    void Label4_MouseDown();
    void Label4_MouseUp();
    void Label6_MouseDown();

    // Logon start.
    void Check1_Click();

    // The clock dialog and the about window.
    void Command2_Click();
    void Label5_MouseDown();
    void Label5_MouseUp();
    ClockDialog *clockDialog() const { return m_clockDialog; }

    // Shared state.
    NotifyIconRecord TrayIconData;
    int AnnouncedSlot = 0;
    int SunriseCountdown = 0;
    int CallGraceCountdown = 0;
    // Ticks a call's strip stays at least, whether or not its output could be opened.
    int CallStripCountdown = 0;
    QString ClockDialogOpen;
    QString HeavyLam;
    int HijriAdjust = 0; // days added to the shown Hijri date
    PrayerRules::DayChoices PrayerChoices;
    int ReminderCountdown = 0; // ticks left of a reminder's strip
    // The announced prayer's time as the strip shows it ("hh:mm:00 AM"), moved minutes included.
    QString AnnouncedTimeText;
    // The mark of a moved time, left of each row.
    VbLabel *PrayerMark[6] = {};

    MediaPlayer &WindowsMediaPlayer1;
    MediaPlayer &WindowsMediaPlayer2;
    MediaPlayer &WindowsMediaPlayer3;
    QSystemTrayIcon *trayIcon() const { return m_tray; }

    // The time of day in whole seconds: the tick's own reading during a tick, else read afresh.
    int now() const;
    QDateTime moment() const;
    // Whether the window shows in its normal state (display work is done only then).
    bool isNormalState() const;

signals:
    // The program must end at once (the close label answered Yes).
    void endRequested();
    // The tray icon was given a new tip.
    void trayTipWritten(const QString &tip);
    // The window was closed normally and has saved the choices.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void connectHandlers();
    void arrive(int slot);
    void detectArrivals(const QDateTime &moment);
    void countDownAlert();
    void armTimer1();
    void Timer1_Fired();
    void refreshTrayTip();
    void buildPrayerMarks();
    void putNamesLastInTabOrder();
    void loadPrayerChoices();
    void showPrayerRows();
    std::optional<PrayerRules::DaySeconds> tableSeconds(const QDate &day) const;
    void takeEvent(const PrayerRules::DueEvent &due, const QDateTime &moment);
    void serveAnnouncements(qint64 now, const QDateTime &moment);
    void startArrival(const PrayerRules::Event &event);
    void startReminder(const PrayerRules::Event &event, const QDateTime &moment);
    void startCameStrip(const PrayerRules::Event &event);
    void closeSilentStrip();
    PrayerRules::Showing showing() const;
    void stopPreview();
    void startPreview(const QString &path, const QString &text);
    void refreshMediaKeys();
    void showTrayNote();
    void installTrayIcon();
    void setPressedLook(VbLabel *label, bool pressed);
    void dropStaleNativeWindow();
    void bringForward();

    MainWindowPlatform m_platform;
    SettingsStore m_settings;
    QPointer<AlertWindow> m_alert;
    QPointer<ClockDialog> m_clockDialog;
    QSystemTrayIcon *m_tray = nullptr;
    // The moment of the last tick that looked for arrivals, for catching up after a gap.
    std::optional<QDateTime> m_lastDetection;
    // The one reading of the clock a tick hands to every step; empty between ticks.
    std::optional<QDateTime> m_tickMoment;
    // When the armed Timer1 should fire: the start of the next whole second.
    QDateTime m_timer1Due;
    // Ticks the start-up sound has waited for an output.
    int m_startupSoundWait = 0;
    static constexpr int StartupSoundWaitTicks = 5;
    // The second copy's request was answered but could not be cleared from the store.
    bool m_requestAnswered = false;
    // What the tip's line of the next prayer was last worked out from (the day's minute, the
    // day's times, the language, the city), and an arrival since then.
    std::optional<std::tuple<qint64, std::array<int, 6>, int, int>> m_tipBasis;
    bool m_tipArrival = false;
    // Prayers reached and waiting for the strip, in order, and how each is announced; those
    // taken for their days, with the moment they were taken (a prayer is reached during two
    // ticks, and is announced once for its day, however the clock is set back); the one the
    // strip shows.
    QList<PrayerRules::DueEvent> m_pending;
    QList<std::pair<PrayerRules::Event, QDateTime>> m_taken;
    std::optional<PrayerRules::Event> m_shown;
    QDateTime m_reminderDue; // the moment the reminder's prayer arrives
    QColor m_timeColor;      // the time labels' own text colour
    OwnRecordings m_own;
    bool m_mediaKeysTaken = false;

    // Waking the computer for the dawn call.
public:
    // Once a second from the tick: arms the wake timer a minute before the next dawn call while
    // the choice is on (again when that moment moves), cancels it when off, and keeps the
    // computer awake while the dawn call sounds.
    void WakeTimer_Refresh(const QDateTime &moment);
    void PrayerMenu_WakeClick(bool on);
    bool wakeForDawn() const;

private:
    // Cancels the timer and lets the computer sleep: at the close and at the window's end.
    void WakeTimer_Release();
    struct WakeRelease
    {
        explicit WakeRelease(MainWindow *window);
        ~WakeRelease();
        MainWindow *window;
    };
    mutable std::optional<bool> m_wakeForDawn; // read from the store on first use
    std::optional<QDateTime> m_wakeDue;        // what the timer is armed for
    bool m_keptAwake = false;
    WakeRelease m_wakeRelease { this }; // last, so the first to go
};
