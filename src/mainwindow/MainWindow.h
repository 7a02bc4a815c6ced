#pragma once

#include "clockdialog/ClockDialog.h"
#include "mainwindow/MainWindowPlatform.h"
#include "mainwindow/TrayIconData.h"
#include "presentation/MainForm.h"
#include "settings/SettingsStore.h"
#include "sound/AlertWindow.h"

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

    // The clock tick.
    void Timer1_Timer();
    void Timer2_Timer();
    void RestoreMainWindow();
    void HighlightCurrentSlot();

    // The Hijri date's adjustment: the context menu of LB(35) and its choice.
    void LB35_ContextMenu(const QPoint &at);
    void HijriMenu_Click(int days);

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
    QString ClockDialogOpen;
    QString HeavyLam;
    int HijriAdjust = 0; // days added to the shown Hijri date

    MediaPlayer &WindowsMediaPlayer1;
    MediaPlayer &WindowsMediaPlayer2;
    MediaPlayer &WindowsMediaPlayer3;
    QSystemTrayIcon *trayIcon() const { return m_tray; }

    // The time of day in whole seconds, read afresh.
    int now() const;
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
    void refreshTrayTip();
    void stopPreview();
    void installTrayIcon();
    std::array<int, 6> slotSeconds() const;
    void setPressedLook(VbLabel *label, bool pressed);
    void dropStaleNativeWindow();
    void bringForward();

    MainWindowPlatform m_platform;
    SettingsStore m_settings;
    QPointer<AlertWindow> m_alert;
    QPointer<ClockDialog> m_clockDialog;
    QSystemTrayIcon *m_tray = nullptr;
    // The moment of the last tick that looked for arrivals, for catching up after a late tick.
    std::optional<QDateTime> m_lastDetection;
    // The second copy's request was answered but could not be cleared from the store.
    bool m_requestAnswered = false;
    // What the tip's line of the next prayer was last worked out from (the day's minute, the
    // day's times, the language, the city), and an arrival since then.
    std::optional<std::tuple<qint64, std::array<int, 6>, int, int>> m_tipBasis;
    bool m_tipArrival = false;
};
