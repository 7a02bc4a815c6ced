#include "clockdialog/ClockDialog.h"

#include "clockdialog/ClockDialogCaptions.h"
#include "clockdialog/ClockFields.h"
#include "clockdialog/SystemTimeText.h"
#include "clockdialog/ZoneNote.h"
#include "mainwindow/TimeOfDay.h"
#include "mainwindow/UnicodeMessageBox.h"
#include "presentation/Pictures.h"
#include "presentation/ScalableFaces.h"
#include "presentation/Twips.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

using namespace ClockFields;

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return Twips::rect(left, top, width, height);
}

void setColours(QWidget *widget, const QColor &text, const QColor &background)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont fixedsysFont()
{
    QFont font(QStringLiteral("Fixedsys"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9);
    return ScalableFaces::forScreen(font, Pictures::screenRatio());
}

QFont bandFont()
{
    QFont font(QStringLiteral("Tahoma-Varnek"));
    font.setPointSizeF(8.25);
    return font;
}

// The zone's line goes below the button, across the dialog; the dialog grows by it only when
// it shows.
constexpr int DialogHeight = 2235;
constexpr int ZoneLineTop = 2130;
constexpr int ZoneLineHeight = 300;
constexpr int ZoneLineGrowth = 390;

// The band's face, made smaller until text fits on one line, down to 8 pixels; the tip holds
// the whole text anyway.
QFont fittingFont(const QString &text, int width)
{
    QFont font = bandFont();
    font.setPixelSize(QFontInfo(font).pixelSize());
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

} // namespace

ClockDialog::ClockDialog(int uiLanguage, const QDateTime &now, SystemClockSetter &setter,
                         DateTimePanel &panel, QWidget *parent)
    : QDialog(parent)
    , m_setter(setter)
    , m_panel(panel)
    , m_uiLanguage(uiLanguage)
{
    buildControls();
    Form_Load(uiLanguage, now);
    // Centred on the screen, not on the main window; after the load, which may make it taller.
    QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void ClockDialog::buildControls()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Twips::toPixels(3390), Twips::toPixels(DialogHeight));
    setColours(this, palette().color(QPalette::WindowText), QColor(0x7D, 0x72, 0x62));

    const ClockDialogCaptions design = ClockDialogCaptions::design();
    setWindowTitle(design.windowTitle);

    // Created back to front: the panel, then the bands, then the fields and arrows on them.
    const auto band = [this](const QString &caption, const QRect &place, const QColor &face,
                             Qt::Alignment alignment) {
        auto *label = new QLabel(caption, this);
        label->setGeometry(place);
        label->setFont(bandFont());
        setColours(label, Qt::white, face);
        label->setAlignment(alignment | Qt::AlignAbsolute);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
        label->setLayoutDirection(Qt::RightToLeft);
        return label;
    };
    Label3 = band(design.heading, twipsRect(150, 120, 3080, 1455), QColor(0xBC, 0xB9, 0x92),
                  Qt::AlignHCenter | Qt::AlignTop);
    Label1 = band(design.timeBand, twipsRect(330, 450, 2730, 375), QColor(0x7E, 0x74, 0x5F),
                  Qt::AlignRight | Qt::AlignTop);
    Label2 = band(design.dateBand, twipsRect(330, 1050, 2745, 375), QColor(0x7E, 0x74, 0x5F),
                  Qt::AlignRight | Qt::AlignTop);

    const QFont fieldFont = fixedsysFont();
    const auto field = [this, &fieldFont](const QString &caption, const QRect &place) {
        auto *label = new QLabel(caption, this);
        label->setGeometry(place);
        label->setFont(fieldFont);
        setColours(label, Qt::black, Qt::white);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
        return label;
    };
    const auto arrows = [this](const QRect &place) {
        auto *bar = new QScrollBar(Qt::Vertical, this);
        bar->setGeometry(place);
        bar->setRange(0, 2);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setValue(1);
        return bar;
    };

    const QString design1 = QStringLiteral("Label1");
    T1[0] = field(design1, twipsRect(360, 480, 375, 300));
    VS1[0] = arrows(twipsRect(720, 480, 195, 300));
    T1[1] = field(design1, twipsRect(930, 480, 375, 300));
    VS1[1] = arrows(twipsRect(1320, 480, 195, 300));
    T1[3] = field(QStringLiteral("00"), twipsRect(1500, 480, 375, 300));
    T1[2] = field(design1, twipsRect(1875, 480, 375, 300));
    VS1[2] = arrows(twipsRect(2250, 480, 195, 300));

    T2[2] = field(design1, twipsRect(360, 1080, 735, 300));
    VS2[2] = arrows(twipsRect(1080, 1080, 195, 300));
    T2[1] = field(design1, twipsRect(1320, 1080, 375, 300));
    VS2[1] = arrows(twipsRect(1680, 1080, 195, 300));
    T2[0] = field(design1, twipsRect(1920, 1080, 375, 300));
    VS2[0] = arrows(twipsRect(2280, 1080, 195, 300));

    // Screen readers and tests know each control by its name; the shown text stays its name.
    for (int i = 0; i < 4; ++i)
        T1[i]->setAccessibleDescription(QStringLiteral("T1(%1)").arg(i));
    for (int i = 0; i < 3; ++i) {
        VS1[i]->setAccessibleDescription(QStringLiteral("VS1(%1)").arg(i));
        T2[i]->setAccessibleDescription(QStringLiteral("T2(%1)").arg(i));
        VS2[i]->setAccessibleDescription(QStringLiteral("VS2(%1)").arg(i));
    }
    Label1->setAccessibleDescription(QStringLiteral("ClockDialog.Label1"));
    Label2->setAccessibleDescription(QStringLiteral("ClockDialog.Label2"));
    Label3->setAccessibleDescription(QStringLiteral("ClockDialog.Label3"));

    // Direct connections: putting a bar back at rest runs its handler again, nested, before
    // the first run goes on.
    for (int i = 0; i < 3; ++i) {
        connect(VS1[i], &QScrollBar::valueChanged, this, [this, i] { VS1_Change(i); });
        connect(VS2[i], &QScrollBar::valueChanged, this, [this, i] { VS2_Change(i); });
    }

    Command1 = new QPushButton(design.applyButton, this);
    Command1->setGeometry(twipsRect(960, 1680, 1575, 375));
    Command1->setAccessibleDescription(QStringLiteral("ClockDialog.Command1"));
    Command1->setFont(bandFont());
    // A style sheet, because the native Windows style ignores a palette's button colour.
    Command1->setStyleSheet(
            QStringLiteral("QPushButton { background-color: #BCB992; border: 2px outset #BCB992; }"
                           "QPushButton:pressed { border-style: inset; }"
                           "QPushButton:disabled { color: #808080; }"));
    connect(Command1, &QPushButton::clicked, this, &ClockDialog::Command1_Click);

    ZoneLabel = new QLabel(this);
    ZoneLabel->setGeometry(twipsRect(60, ZoneLineTop, 3270, ZoneLineHeight));
    ZoneLabel->setAccessibleDescription(QStringLiteral("ClockDialog.ZoneLabel"));
    setColours(ZoneLabel, Qt::white, QColor(0x7D, 0x72, 0x62));
    ZoneLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute);
    ZoneLabel->setLayoutDirection(Qt::RightToLeft);
    ZoneLabel->setTextFormat(Qt::PlainText);
    ZoneLabel->hide();

    List1 = monthLengthList();
}

void ClockDialog::Form_Load(int uiLanguage, const QDateTime &now)
{
    // 1. The fields are Gregorian: QDate is, whatever calendar the main window shows.
    // 2. One reading of the clock gives hour and minute.
    const QString timeText = clockText(now.time());
    T1[0]->setText(timeText.mid(0, 2));
    T1[1]->setText(timeText.mid(3, 2));
    T1[3]->setText(QStringLiteral("00"));
    // 3. AM or PM of that same reading, so that the half second before noon cannot pair
    //    hour 11 with PM.
    T1[2]->setText(timeText.mid(9, 2));
    // 4.
    const QDate today = now.date();
    T2[0]->setText(QString::number(today.day()));
    T2[1]->setText(QString::number(today.month()));
    T2[2]->setText(QString::number(today.year()));
    // 5.
    T1[0]->setText(zeroFilled(T1[0]->text()));
    T1[1]->setText(zeroFilled(T1[1]->text()));
    T2[0]->setText(zeroFilled(T2[0]->text()));
    T2[1]->setText(zeroFilled(T2[1]->text()));
    // 6.
    List1Index = today.month() - 1;
    // 7.
    const ClockDialogCaptions captions = ClockDialogCaptions::forLanguage(uiLanguage);
    Label1->setText(captions.timeBand);
    Label2->setText(captions.dateBand);
    Label3->setText(captions.heading);
    Command1->setText(captions.applyButton);
    setWindowTitle(captions.windowTitle);
    // 8. A zone other than Iraq's gets its line, and the dialog grows by it.
    const QString note
            = ZoneNote::zoneNote(now.timeZone(), now, uiLanguage, ZoneNote::thisPlatform());
    if (!note.isEmpty()) {
        ZoneLabel->setFont(fittingFont(note, ZoneLabel->contentsRect().width()));
        ZoneLabel->setText(note);
        ZoneLabel->setToolTip(note);
        ZoneLabel->show();
        setFixedSize(width(), Twips::toPixels(DialogHeight + ZoneLineGrowth));
    }
}

void ClockDialog::VS1_Change(int index)
{
    Command1->setEnabled(true);
    const int step = VS1[index]->value() - 1;
    switch (index) {
    case 0:
        T1[0]->setText(steppedHour(T1[0]->text(), step));
        break;
    case 1:
        T1[1]->setText(steppedMinute(T1[1]->text(), step));
        break;
    case 2:
        T1[2]->setText(steppedMeridiem(T1[2]->text(), step));
        break;
    }
    VS1[index]->setValue(1);
}

void ClockDialog::VS2_Change(int index)
{
    Command1->setEnabled(true);
    const int step = VS2[index]->value() - 1;
    T2[index]->setText(steppedDateField(T2[index]->text(), step));
    // The month selected before this change; the resting pass below sees the new one.
    const int length = monthLength(List1.value(List1Index), T2[2]->text());
    T2[0]->setText(limitedDay(T2[0]->text(), length));
    T2[1]->setText(limitedMonth(T2[1]->text()));
    List1Index = fieldNumber(T2[1]->text()) - 1;
    T2[2]->setText(limitedYear(T2[2]->text()));
    VS2[index]->setValue(1);
}

void ClockDialog::Command1_Click()
{
    const QString timeText = T1[0]->text() + QLatin1Char(':') + T1[1]->text() + QLatin1Char(':')
            + T1[3]->text() + QLatin1Char(' ') + T1[2]->text();
    const QString dateText
            = T2[0]->text() + QLatin1Char('/') + T2[1]->text() + QLatin1Char('/') + T2[2]->text();

    // The time first; a date is only worth asking for once the time went through.
    if (!applied(SetSystemTime(timeText, m_setter)))
        return;
    if (!applied(SetSystemDate(dateText, m_setter)))
        return;
    Command1->setEnabled(false);
}

bool ClockDialog::applied(SystemClockSetter::Result answer)
{
    using Result = SystemClockSetter::Result;
    // The dialog may have been closed while the desktop asked for the password: whatever the
    // answer, nobody is left to read it.
    if (m_dismissed)
        return false;
    switch (answer) {
    case Result::Done:
        return true;
    case Result::Refused:
        // Said before the settings open, or their window would hide why they came up. The
        // button stays enabled: with the rights given, applying again works.
        UnicodeMessageBox(ClockDialogCaptions::forLanguage(m_uiLanguage).refusal, MbOk);
        m_panel.open();
        return false;
    case Result::Failed:
        m_panel.open();
        return false;
    case Result::Skipped:
        return false;
    }
    return false;
}

void ClockDialog::done(int result)
{
    m_dismissed = true;
    QDialog::done(result);
}
