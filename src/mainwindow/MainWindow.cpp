#include "mainwindow/MainWindow.h"

#include "about/AboutWindow.h"
#include "clockdialog/ClockDialog.h"
#include "mainwindow/Clock.h"
#include "mainwindow/HijriMenu.h"
#include "mainwindow/TickRules.h"
#include "mainwindow/TimeOfDay.h"
#include "mainwindow/UnicodeMessageBox.h"
#include "presentation/Captions.h"
#include "presentation/GlyphButton.h"
#include "presentation/Twips.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "settings/InstanceLock.h"
#include "settings/LogonStart.h"
#include "settings/SettingsKeys.h"
#include "sound/AlertWindow.h"
#include "sound/MediaPlayer.h"
#include "timetable/DailyTable.h"
#include "timetable/DayTimes.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QWindow>

namespace {
const QString TwoSpaces = QStringLiteral("  ");
const QString PreviewStop = QStringLiteral("<");
const QString PreviewPlay = QStringLiteral("4");

// Window messages the notification-area icon reports through the mouse-move handler.
constexpr int WmLButtonUp = 514;
constexpr int WmLButtonDblClk = 515;
constexpr int WmRButtonUp = 517;
constexpr int WmMButtonUp = 520;

void makeFontsAvailable(const QString &fontFile)
{
    // Only Windows has "Fixedsys" (the clock and the clock dialog's fields): the desktop's own
    // fixed-pitch face stands in for it.
    const QString fixedsys = QStringLiteral("Fixedsys");
    if (!QFontDatabase::families().contains(fixedsys, Qt::CaseInsensitive))
        QFont::insertSubstitution(fixedsys,
                                  QFontDatabase::systemFont(QFontDatabase::FixedFont).family());

    const int id = QFontDatabase::addApplicationFont(fontFile);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return;
    // The faces the captions ask for find the bundled font where the desktop lacks them.
    const QString bundled = families.first();
    const QStringList installed = QFontDatabase::families();
    for (const QString &face :
         { QStringLiteral("Tahoma"), QStringLiteral("Tahoma-K"), QStringLiteral("Tahoma-Varnek") })
        if (!installed.contains(face, Qt::CaseInsensitive))
            QFont::insertSubstitution(face, bundled);
}
} // namespace

MainWindow::MainWindow(const MainWindowPlatform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , WindowsMediaPlayer1(platform.WindowsMediaPlayer1)
    , WindowsMediaPlayer2(platform.WindowsMediaPlayer2)
    , WindowsMediaPlayer3(platform.WindowsMediaPlayer3)
    , m_platform(platform)
    , m_settings(platform.settings)
{
    setWindowTitle(QStringLiteral("Tirvelon"));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    setFixedSize(491, 272);
    buildForm(this);
    // The pictures are part of the background: the window itself gets their mouse moves.
    for (QWidget *picture : { static_cast<QWidget *>(Image1), static_cast<QWidget *>(Image2),
                              static_cast<QWidget *>(Image3) })
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    connectHandlers();
}

MainWindow::~MainWindow()
{
    delete m_alert;
}

void MainWindow::connectHandlers()
{
    List1.onClick([this] { List1_Click(); });
    Label9.onChange([this] { Label9_Change(); });
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
    connect(Combo2, &QComboBox::currentIndexChanged, this, [this] { Combo2_Click(); });
    connect(Combo3, &QComboBox::currentIndexChanged, this, [this] { Combo3_Click(); });
    connect(Combo4, &QComboBox::currentIndexChanged, this, [this] { Combo4_Click(); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    connect(Check1, &QCheckBox::stateChanged, this, [this] { Check1_Click(); });
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Scroll(); });
    connect(Slider1, &VolumeSlider::mouseUp, this, &MainWindow::Slider1_MouseUp);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(&Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });

    connect(Label1, &VbLabel::mousePressed, this, [this] { Label1_MouseDown(); });
    connect(Label1, &VbLabel::mouseReleased, this, [this] { Label1_MouseUp(); });
    connect(Label1, &VbLabel::clicked, this, [this] { Label1_Click(); });
    connect(Label4, &VbLabel::mousePressed, this, [this] { Label4_MouseDown(); });
    connect(Label4, &VbLabel::mouseReleased, this, [this] { Label4_MouseUp(); });
    connect(Label5, &VbLabel::mousePressed, this, [this] { Label5_MouseDown(); });
    connect(Label5, &VbLabel::mouseReleased, this, [this] { Label5_MouseUp(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    LB[35]->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LB[35], &QWidget::customContextMenuRequested, this, &MainWindow::LB35_ContextMenu);
    connect(Label6, &VbLabel::mousePressed, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            Label6_MouseDown();
    });
}

int MainWindow::now() const
{
    return timeOfDaySeconds(m_platform.clock.now().time());
}

bool MainWindow::isNormalState() const
{
    return !(windowState() & Qt::WindowMinimized);
}

bool MainWindow::Form_Load()
{
    // 1.
    List1.clear();

    // 2. and 3. The notification-area icon record.
    TrayIconData.size = 88;
    TrayIconData.ownerWindow = quintptr(winId());
    TrayIconData.iconId = 1;
    TrayIconData.flags = 7;
    TrayIconData.callbackMessage = 512;
    TrayIconData.icon = windowIcon();
    const QString tip = Captions::trayTipTitle() + QStringLiteral("\r\n") + Captions::trayTipHint()
            + QChar(0);
    TrayIconData.tip = tip.leftJustified(NotifyIconRecord::TipLength, QLatin1Char(' '), true);

    // 4. The private font; without it the captions fall back to the desktop's faces.
    makeFontsAvailable(m_platform.data.shippedFile(QStringLiteral("KCOURK.Fnt")));

    // 5. The start-up sound.
    WindowsMediaPlayer2.setUrl(m_platform.data.pick(QStringLiteral("Wave.wav")));

    // 6.
    for (const QString &row : DailyTable::rows())
        List1.addItem(row);

    // 7. The window has no picture of its own.
    Image1->setPixmap(QPixmap());

    // 8.
    HeavyLam = QString(QChar(0x06B5));

    // 9. A copy already runs: ask it to show itself, and end.
    if (m_platform.instanceLock.anotherInstanceRunning()) {
        m_settings.SaveSetting(SettingsKeys::Close, QStringLiteral("Close"));
        return false;
    }

    // 10. and 11.
    Image1->setGeometry(0, 0, width(), height());
    Image2->setPixmap(windowIcon().pixmap(32, 32));

    // 12.
    Label3->setText(clockText(m_platform.clock.now().time()));

    // 13.
    installTrayIcon();

    // 14. Restoring each choice runs that control's handler, in this order.
    Combo1->setCurrentIndex(
            readSetting(SettingKeyTable::city(), m_settings.GetSetting(SettingsKeys::City)));
    Combo2->setCurrentIndex(
            readSetting(SettingKeyTable::muezzin(), m_settings.GetSetting(SettingsKeys::Muezzin)));
    const QString volume = m_settings.GetSetting(SettingsKeys::Volume);
    const QString logonStart = m_settings.GetSetting(SettingsKeys::LogonStart);
    const QString language = m_settings.GetSetting(SettingsKeys::Language);
    VScroll1->setValue(
            readSetting(SettingKeyTable::lead(), m_settings.GetSetting(SettingsKeys::Lead)));
    Combo3->setCurrentIndex(readSetting(SettingKeyTable::language(), language));
    // Turned off in the system's own startup list, the program was started by hand: it neither
    // hides itself nor writes its entry back.
    const std::optional<LogonStartState> logonState
            = m_platform.logonStart.state(m_platform.programPath);
    const bool turnedOff = logonState == LogonStartState::TurnedOff;
    Timer2.setInterval(turnedOff ? 0 : logonMinimiseIntervalMs(logonStart));
    if (Timer2.interval() > 0)
        Timer2.start();
    Check1->setChecked(
            logonBoxAtStart(readSetting(SettingKeyTable::logonBox(), logonStart) != 0, logonState));
    const int restoredVolume = readSetting(SettingKeyTable::volume(), volume);
    // The slider starts at 0: a saved 0 is no change, yet the players must hold it too.
    if (Slider1->value() == restoredVolume)
        Slider1_Scroll();
    else
        Slider1->setValue(restoredVolume);
    HijriAdjust = readSetting(SettingKeyTable::hijriAdjust(),
                              m_settings.GetSetting(SettingsKeys::HijriAdjust));

    // 15. The first tick selects today's row.
    List1.setListIndex(-1);

    Timer1.start();
    return true;
}

void MainWindow::installTrayIcon()
{
    m_tray = new QSystemTrayIcon(TrayIconData.icon, this);
    m_tray->setToolTip(TrayIconData.shownTip());
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                int message = WmLButtonUp;
                if (reason == QSystemTrayIcon::DoubleClick)
                    message = WmLButtonDblClk;
                else if (reason == QSystemTrayIcon::Context)
                    message = WmRButtonUp;
                else if (reason == QSystemTrayIcon::MiddleClick)
                    message = WmMButtonUp;
                // The icon's id 1 reads as the left button.
                Form_MouseMove(1, 0, message * Twips::PerPixel, 0);
            });
    m_tray->show();
}

void MainWindow::Form_Unload()
{
    // Runs for every session save too: a cancelled logout must not freeze the saved choices.
    SaveChoices();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    if (m_alert)
        m_alert->close();
    event->accept();
    emit unloaded();
}

void MainWindow::SaveChoices()
{
    // A refused write ends the save: the keys after it are not written.
    m_settings.SaveSetting(SettingsKeys::City, Combo1->currentIndex())
            && m_settings.SaveSetting(SettingsKeys::Muezzin, Combo2->currentIndex())
            && m_settings.SaveSetting(SettingsKeys::Volume, Slider1->value())
            && m_settings.SaveSetting(SettingsKeys::Lead, VScroll1->value())
            && m_settings.SaveSetting(SettingsKeys::Language, Combo3->currentIndex());
}

void MainWindow::List1_Click()
{
    if (List1.listIndex() == -1)
        return;
    const QString row = List1.text();
    const std::array<int, SlotCount> minutes = dayMinutes(row, Combo1->currentIndex());
    for (int j = 0; j < SlotCount; ++j) {
        TimA1[j] = QString::number(60 * minutes[j]);
        LB[j]->setText(SlotTimeText(minutes[j]));
    }
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
    return seconds;
}

void MainWindow::Timer1_Timer()
{
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
        const QDateTime moment = m_platform.clock.now();
        Label2 = DayKey(moment.date());
        List1.setListIndex(findRowByPrefix(List1.rows(), Label2));
        if (Command1->text() == PreviewStop) {
            m_lastDetection.reset();
            countDown = false;
        } else {
            detectArrivals(moment);
        }
    }
    if (countDown)
        countDownAlert();

    // 9. Only a window the user can see is refreshed.
    if (!isNormalState())
        return;
    const QDateTime shown = m_platform.clock.now();
    LB[35]->setText(TickRules::hijriDateText(shown.date(), HijriAdjust));
    const QString time = clockText(shown.time());
    Label3->setText(time);
    if (ClockDialogOpen == QLatin1String("Yes") && m_clockDialog)
        m_clockDialog->T1[3]->setText(time.mid(6, 2));
    HighlightCurrentSlot();
}

void MainWindow::detectArrivals(const QDateTime &moment)
{
    // A late tick (busy machine) still reaches a slot whose moment it stepped over, once.
    const bool catchUp = m_lastDetection && m_lastDetection->date() == moment.date();
    const int previous = catchUp ? timeOfDaySeconds(m_lastDetection->time()) : 0;
    for (int i = 0; i < 6; ++i) {
        const int slot = lenientFieldNumber(TimA1[i]);
        const int lead = lenientFieldNumber(LB0->text());
        if (TickRules::slotReached(now(), slot, lead)
            || (catchUp && TickRules::slotMissedSince(previous, now(), slot, lead)))
            arrive(i);
    }
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
    if (CallGraceCountdown > 0) {
        --CallGraceCountdown;
    } else if (Label9.caption().size() > 4
               && WindowsMediaPlayer3.playState() != MediaPlayer::Playing) {
        Label9.setCaption(QString());
    }
}

void MainWindow::arrive(int slot)
{
    AnnouncedSlot = slot;
    CallGraceCountdown = 5;
    if (slot == 1) {
        SunriseCountdown = 60;
        return;
    }
    // The user's own recording, when there is one, is looked for afresh at every call.
    Label9.setCaption(
            m_platform.data.pick(TickRules::callRecordingName(slot, Combo2->currentIndex())));
    WindowsMediaPlayer1.setVolume(Slider1->value());
    WindowsMediaPlayer3.setVolume(Slider1->value());
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

void MainWindow::Combo2_Click()
{
    Command1->setText(PreviewPlay);
}

void MainWindow::Command1_Click()
{
    if (Command1->text() == PreviewStop) {
        stopPreview();
        return;
    }
    WindowsMediaPlayer1.setUrl(
            m_platform.data.pick(TickRules::muezzinRecordingName(Combo2->currentIndex())));
    WindowsMediaPlayer1.play();
    Command1->setText(PreviewStop);

    // Touching the alert's text loads the strip first; the muezzin's name replaces its text.
    AlertWindow &alert = loadedAlertWindow();
    QFont font = alert.Label1->font();
    font.setFamily(Combo4->currentText());
    alert.Label1->setFont(font);
    setCharset(alert.Label1, 178);
    alert.Label1->setText(Combo2->currentText());
    alert.openedForPreview = true;
    alert.show();
    // During a preview the strip closes only from the main window.
    alert.Label2->setEnabled(false);
}

void MainWindow::stopPreview()
{
    WindowsMediaPlayer1.stop();
    Command1->setText(PreviewPlay);
    if (m_alert)
        m_alert->Label1->setText(QString());
    unloadAlertWindow();
}

void MainWindow::Slider1_Scroll()
{
    WindowsMediaPlayer1.setVolume(Slider1->value());
    WindowsMediaPlayer3.setVolume(Slider1->value());
    Slider1->setSelLength(Slider1->value());
}

void MainWindow::Slider1_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, const QPoint &)
{
    Slider1_Scroll();
}

void MainWindow::Label9_Change()
{
    if (Label9.caption().isEmpty()) {
        unloadAlertWindow();
        // A slide-out parked the players at 1: the next preview must be heard again. Players
        // already at the slider's value are left alone.
        if (WindowsMediaPlayer1.volume() != Slider1->value()
            || WindowsMediaPlayer3.volume() != Slider1->value()) {
            WindowsMediaPlayer1.setVolume(Slider1->value());
            WindowsMediaPlayer3.setVolume(Slider1->value());
        }
        return;
    }
    // A strip left over from a finished preview names a muezzin and cannot be closed: a prayer
    // gets a strip of its own.
    if (m_alert && m_alert->openedForPreview)
        unloadAlertWindow();
    loadedAlertWindow().show();
    if (Label9.caption().size() > 4)
        WindowsMediaPlayer3.setUrl(Label9.caption());
}

AlertWindow &MainWindow::loadedAlertWindow()
{
    if (!m_alert)
        m_alert = new AlertWindow(*this);
    return *m_alert;
}

void MainWindow::unloadAlertWindow()
{
    delete m_alert;
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void MainWindow::Form_Resize()
{
    if (windowState() & Qt::WindowMaximized)
        setWindowState(windowState() & ~Qt::WindowMaximized);
    Image1->resize(Image1->width(), height());
    // Minimised, the window lives in the notification area; a desktop without one keeps it on
    // the taskbar, where the user can still bring it back.
    if ((windowState() & Qt::WindowMinimized) && m_platform.trayAvailable
        && m_platform.trayAvailable())
        hide();
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    Form_MouseMove(event->buttons() & Qt::LeftButton ? 1 : 0, 0, at.x() * Twips::PerPixel,
                   at.y() * Twips::PerPixel);
}

void MainWindow::Form_MouseMove(int button, int, int x, int)
{
    if (WindowsMediaPlayer1.playState() == MediaPlayer::Playing)
        return;
    const int message = x / Twips::PerPixel;
    if (message == WmLButtonDblClk) {
        dropStaleNativeWindow();
        show();
        repaint();
    } else if (message == WmRButtonUp) {
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    }
    if (button == 1) {
        if (m_clockDialog)
            m_clockDialog->reject();
        dropStaleNativeWindow();
        show();
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        setWindowTitle(QStringLiteral("1"));
        bringForward();
        HighlightCurrentSlot();
    }
}

void MainWindow::setPressedLook(VbLabel *label, bool pressed)
{
    label->setAppearance(pressed ? 1 : 0);
    label->setBorderStyle(pressed ? 1 : 0);
}

void MainWindow::Label1_MouseDown()
{
    setPressedLook(Label1, true);
    Label1->setForeColor(QColor(0xFF, 0x00, 0x00));
    SaveChoices();
}

void MainWindow::Label1_MouseUp()
{
    setPressedLook(Label1, false);
    Label1->setForeColor(QColor(0xFF, 0x00, 0x00));
}

void MainWindow::Label1_Click()
{
    // A preview whose list entry changed meanwhile: the close label waits for it.
    if (WindowsMediaPlayer1.playState() == MediaPlayer::Playing && Command1->text() == PreviewPlay)
        return;
    Label1_MouseUp();
    const QString question = Combo3->currentIndex() == 1
            ? Captions::exitQuestionKurdishStart() + HeavyLam + Captions::exitQuestionKurdishEnd()
            : Captions::exitQuestionArabic();
    if (UnicodeMessageBox(question, MbYesNo) == IdYes) {
        Label9.setCaption(QString());
        emit endRequested();
    }
}

void MainWindow::Label4_MouseDown()
{
    WindowsMediaPlayer1.setUrl(QString());
    setPressedLook(Label4, true);
    SaveChoices();
}

void MainWindow::Label4_MouseUp()
{
    setWindowState(windowState() | Qt::WindowMinimized);
    setPressedLook(Label4, false);
    WindowsMediaPlayer1.stop();
    Command1->setText(PreviewPlay);
    unloadAlertWindow();
}

void MainWindow::Label6_MouseDown()
{
    if (QWindow *window = windowHandle())
        window->startSystemMove();
}

void MainWindow::Check1_Click()
{
    const int value = Check1->isChecked() ? 1 : 0;
    const bool written = m_platform.logonStart.write(value ? m_platform.programPath : QString());
    // A refused entry ends the handler: the choice is not remembered either.
    if (!written)
        return;
    m_settings.SaveSetting(SettingsKeys::LogonStart, value);
}

void MainWindow::Command2_Click()
{
    ClockDialogOpen = QStringLiteral("Yes");
    {
        ClockDialog dialog(Combo3->currentIndex(), m_platform.clock.now(), m_platform.clockSetter,
                           m_platform.dateTimePanel);
        m_clockDialog = &dialog;
        dialog.exec();
    }
    ClockDialogOpen = QStringLiteral("No");
}

void MainWindow::Label5_MouseDown()
{
    Label5->setAppearance(1);
    Label5->setBorderStyle(1);
}

void MainWindow::Label5_MouseUp()
{
    Label5->setAppearance(0);
    Label5->setBorderStyle(0);
    {
        AboutWindow about(Combo3->currentIndex(), m_platform.data.user, this);
        about.exec();
    }
    Label5->setForeColor(palette().color(QPalette::Base));
}
