#include "sound/AlertWindow.h"

#include "mainwindow/MainWindow.h"
#include "presentation/Captions.h"
#include "presentation/Pictures.h"
#include "presentation/Twips.h"
#include "presentation/VbLabel.h"
#include "sound/MediaPlayer.h"
#include "sound/SlideOut.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>

namespace {
QRect twips(int left, int top, int width, int height)
{
    return Twips::rect(left, top, width, height);
}
} // namespace

AlertWindow::AlertWindow(MainWindow &main)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                      | Qt::WindowDoesNotAcceptFocus)
    , m_main(main)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Its own title keeps it apart from the main window in window lists.
    setWindowTitle(QStringLiteral("Tirvelon alert"));
    setFocusPolicy(Qt::NoFocus);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips(0, 0, 4320, 450));
    Image1->setPixmap(Pictures::load(QStringLiteral(":/alert.png"), Pictures::screenRatio()));
    Image1->setScaledContents(true);

    Label1 = new VbLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleDescription(QStringLiteral("AlertWindow.Label1"));
    Label1->setGeometry(twips(90, 120, 3900, 240));
    Label1->setForeColor(Qt::white);
    Label1->setBackColor(QColor(0x00, 0x40, 0x00));
    QFont text(QStringLiteral("Tahoma-Varnek"));
    text.setPointSizeF(8.25);
    Label1->setFont(text);

    Label2 = new VbLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAccessibleDescription(QStringLiteral("AlertWindow.Label2"));
    Label2->setGeometry(twips(3960, 120, 255, 240));
    Label2->setText(QStringLiteral("X"));
    Label2->setForeColor(QColor(0xFF, 0xFF, 0x00));
    Label2->setBackColor(QColor(0xFF, 0x00, 0x00));
    Label2->setBorderStyle(1);
    QFont mark(QStringLiteral("Arial"));
    mark.setPointSizeF(8.25);
    mark.setBold(true);
    Label2->setFont(mark);
    MainForm::setCharset(Label2, 178);
    connect(Label2, &VbLabel::clicked, this, [this] {
        if (Label2->isEnabled())
            Label2_Click();
    });

    Timer1.setInterval(0);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    Form_Load();
}

int AlertWindow::areaHeightTwips() const
{
    return m_area.height() * TwipsPerPixel;
}

int AlertWindow::topTwips() const
{
    return (y() - m_area.top()) * TwipsPerPixel;
}

void AlertWindow::setTopTwips(int top)
{
    move(x(), m_area.top() + Twips::toPixels(top));
}

void AlertWindow::Form_Load()
{
    // 1. Topmost comes with the window's flags.
    // 2.
    MainForm::setCharset(Label1, 178);
    // 3.
    setFixedSize(Image1->size());
    // 4. The corner of the work area, so that a taskbar does not cover the strip; the slide-out
    // runs toward the same area's bottom. The strip is loaded afresh for each call or preview,
    // so a taskbar moved or resized since the last one is seen.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect whole = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QRect available = screen ? screen->availableGeometry() : whole;
    m_area = SlideOut::alertArea(whole, available);
    move(SlideOut::alertGeometry(whole, available, size()).topLeft());
    // 5.
    QFont font = Label1->font();
    font.setFamily(m_main.Combo4->currentText());
    Label1->setFont(font);
    MainForm::setCharset(Label1, 178);
    // 6. The time as "04:32 AM", then "now it is the time of" and the prayer's name; for a
    // reminder, the minutes left and the prayer's name; for a call that came long ago, when.
    const QString reminder = m_main.silentStripText();
    const int s = m_main.AnnouncedSlot;
    if (!reminder.isEmpty()) {
        Label1->setText(reminder);
    } else if (s >= 0 && s < 6) {
        // The announced time may be another day's, moved over midnight.
        const QString time = m_main.AnnouncedTimeText.isEmpty() ? m_main.LB[s]->text()
                                                                : m_main.AnnouncedTimeText;
        Label1->setText(time.left(5) + QStringLiteral(" ") + time.right(2) + Captions::alertPhrase()
                        + m_main.LB[s + 18]->text());
    }
}

void AlertWindow::Label2_Click()
{
    SlideTop = float(topTwips());
    FadeVolume = 0;
    FadeRatio = SlideOut::fadeRatio(m_main.WindowsMediaPlayer1.volume(), areaHeightTwips(),
                                    topTwips());
    Timer1.setInterval(SlideOut::StepIntervalMs);
    Timer1.start();
}

void AlertWindow::Timer1_Timer()
{
    SlideTop += SlideOut::StepTwips;
    setTopTwips(int(SlideTop));
    FadeVolume = SlideOut::fadeVolume(FadeRatio, areaHeightTwips(), int(SlideTop));
    if (m_main.WindowsMediaPlayer1.volume() > 1) {
        m_main.WindowsMediaPlayer1.setVolume(FadeVolume);
        m_main.WindowsMediaPlayer3.setVolume(FadeVolume);
    }
    if (SlideTop > areaHeightTwips()) {
        // Parked far below the screen; the call plays on, nearly silent, until it ends.
        SlideTop *= 3;
        setTopTwips(int(SlideTop));
        // Window managers keep a few pixels of a window on the screen: hide it too.
        hide();
        Timer1.setInterval(0);
        Timer1.stop();
        m_main.WindowsMediaPlayer1.setVolume(1);
        m_main.WindowsMediaPlayer3.setVolume(1);
    }
}

void AlertWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape stops the call as the close mark does; a sounding call only, not a preview.
    if (event->key() == Qt::Key_Escape) {
        m_main.StopCall();
        return;
    }
    QWidget::keyPressEvent(event);
}
