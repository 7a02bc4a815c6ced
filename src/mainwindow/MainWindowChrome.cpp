// The window's own chrome (close, minimise, drag), the notification-area icon, and the labels
// that open the clock dialog and the about window.
#include "mainwindow/MainWindow.h"

#include "about/AboutWindow.h"
#include "clockdialog/ClockDialog.h"
#include "mainwindow/Clock.h"
#include "mainwindow/PreviewGlyphs.h"
#include "mainwindow/UnicodeMessageBox.h"
#include "presentation/Captions.h"
#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "sound/AlertWindow.h"
#include "sound/MediaPlayer.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QWindow>

namespace {
// Window messages the notification-area icon reports through the mouse-move handler.
constexpr int WmLButtonUp = 514;
constexpr int WmLButtonDblClk = 515;
constexpr int WmRButtonUp = 517;
constexpr int WmMButtonUp = 520;
} // namespace

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
                // A click on the icon stops a sounding call, and does what it always did.
                if (reason == QSystemTrayIcon::Trigger)
                    StopCall();
                // The icon's id 1 reads as the left button.
                Form_MouseMove(1, 0, message * Twips::PerPixel, 0);
            });
    m_tray->show();
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
        && m_platform.trayAvailable()) {
        hide();
        showTrayNote();
    }
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
    if (WindowsMediaPlayer1.playState() == MediaPlayer::Playing
        && Command1->text() == PreviewGlyphs::Play)
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
    Command1->setText(PreviewGlyphs::Play);
    unloadAlertWindow();
}

void MainWindow::Label6_MouseDown()
{
    if (QWindow *window = windowHandle())
        window->startSystemMove();
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
