#include "mainwindow/MainWindow.h"

#include "mainwindow/Clock.h"
#include "mainwindow/MediaKeys.h"
#include "mainwindow/TimeOfDay.h"
#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "sound/MediaPlayer.h"
#include <QPushButton>

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>

MainWindow::MainWindow(const MainWindowPlatform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , WindowsMediaPlayer1(platform.WindowsMediaPlayer1)
    , WindowsMediaPlayer2(platform.WindowsMediaPlayer2)
    , WindowsMediaPlayer3(platform.WindowsMediaPlayer3)
    , m_platform(platform)
    , m_settings(platform.settings)
    , m_own(platform.data.user, platform.data.measure)
{
    setWindowTitle(QStringLiteral("Tirvelon"));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    setFixedSize(491, 272);
    buildForm(this);
    buildPrayerMarks();
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
    connect(Combo3, &QComboBox::currentIndexChanged, this, [this] {
        Combo3_Click();
        showPrayerRows(); // the marks' tips follow the language
        markOwnRecordings();
    });
    connect(Combo4, &QComboBox::currentIndexChanged, this, [this] { Combo4_Click(); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    connect(Check1, &QCheckBox::stateChanged, this, [this] { Check1_Click(); });
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Scroll(); });
    connect(Slider1, &VolumeSlider::mouseUp, this, &MainWindow::Slider1_MouseUp);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    // The muezzin list and the play button open the recordings' menu, the slider the meeting's.
    for (QWidget *control : { static_cast<QWidget *>(Combo2), static_cast<QWidget *>(Command1) }) {
        control->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(control, &QWidget::customContextMenuRequested, this,
                [this, control](const QPoint &at) {
                    Recordings_ContextMenu(control->mapToGlobal(at));
                });
    }
    Slider1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Slider1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { Slider1_ContextMenu(Slider1->mapToGlobal(at)); });
    connect(&m_platform.mediaKeys, &MediaKeys::stopPressed, this, &MainWindow::StopCall);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &MainWindow::StopCall);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Fired(); });
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
    return timeOfDaySeconds(moment().time());
}

QDateTime MainWindow::moment() const
{
    return m_tickMoment ? *m_tickMoment : m_platform.clock.now();
}

bool MainWindow::isNormalState() const
{
    return !(windowState() & Qt::WindowMinimized);
}
