#include "presentation/MainForm.h"

#include "presentation/Captions.h"
#include "presentation/GlyphButton.h"
#include "presentation/Pictures.h"
#include "presentation/ScalableFaces.h"
#include "presentation/Twips.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QSysInfo>
#include <QWidget>

const QColor MainForm::NormalSlotColor(0xBC, 0xCD, 0x94);
const QColor MainForm::CurrentSlotColor(0xFF, 0xC0, 0xC0);

namespace {

const QColor Yellow(0xFF, 0xFF, 0x00);
const QColor CaptionBack(0x2C, 0x34, 0x18);
const QColor FrameBack(0xAC, 0xC8, 0x11);
const QColor ListBack(0x40, 0x40, 0x00);
const QColor DarkGreen(0x00, 0x40, 0x00);
const QString DesignFace = QStringLiteral("Tahoma-Varnek");

// Places are kept in twips as designed.
QRect twips(int left, int top, int width, int height)
{
    return Twips::rect(left, top, width, height);
}

QFont face(const QString &family, qreal points, bool bold = false)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void name(QWidget *control, const QString &controlName)
{
    control->setObjectName(controlName);
    // Screen readers hear the control's own text; its name goes into the description.
    control->setAccessibleDescription(controlName);
}

VbLabel *label(QWidget *parent, const QString &controlName, const QRect &place,
               const QString &caption = {})
{
    auto *l = new VbLabel(parent);
    name(l, controlName);
    l->setGeometry(place);
    l->setText(caption);
    return l;
}

VbLabel *band(QWidget *parent, int index, const QRect &place)
{
    VbLabel *l = label(parent, QStringLiteral("LB(%1)").arg(index), place);
    l->setBackColor(Yellow);
    l->setBorderStyle(1);
    return l;
}

VbLabel *captionLabel(QWidget *parent, const QString &controlName, const QRect &place)
{
    VbLabel *l = label(parent, controlName, place, Captions::design(controlName));
    l->setFont(face(DesignFace, 8.25));
    l->setForeColor(Qt::white);
    l->setBackColor(CaptionBack);
    l->setBorderStyle(1);
    return l;
}

// A drop-down list that shows its entry as right-to-left text reads: from the right edge, cut
// at its end when it is too long, rather than from the arrow with its start cut off.
class RightToLeftList : public QComboBox
{
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QString text = option.currentText;
        option.currentText.clear();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this)
                                    .adjusted(3, 0, -3, 0);
        painter.setPen(option.palette.color(QPalette::ButtonText));
        painter.drawText(field, Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter,
                         fontMetrics().elidedText(text, Qt::ElideRight, field.width()));
    }
};

QComboBox *dropDown(QWidget *parent, const QString &controlName, const QRect &place,
                    const QStringList &items)
{
    auto *combo = new RightToLeftList(parent);
    name(combo, controlName);
    combo->setGeometry(place);
    combo->setLayoutDirection(Qt::RightToLeft);
    combo->setStyleSheet(QStringLiteral(
            "QComboBox { color: white; background: #404000; border: 1px solid black; "
            "padding: 0 4px; }"
            "QComboBox QAbstractItemView { color: white; background: #404000; "
            "selection-background-color: #6a6a10; }"));
    {
        const QSignalBlocker quiet(combo);
        combo->addItems(items);
        combo->setCurrentIndex(-1);
    }
    return combo;
}

QGroupBox *frame(QWidget *parent, const QString &controlName, const QRect &place)
{
    auto *box = new QGroupBox(parent);
    name(box, controlName);
    box->setGeometry(place);
    box->setTitle(Captions::design(controlName));
    box->setFont(face(DesignFace, 8.25));
    box->setLayoutDirection(Qt::RightToLeft);
    box->setStyleSheet(QStringLiteral(
            "QGroupBox { background: #ACC811; color: black; border: 1px solid #6f820b; "
            "margin-top: 0px; }"
            // Positions in a right-to-left frame are mirrored: "left" puts the title at the right.
            "QGroupBox::title { subcontrol-origin: border; subcontrol-position: top left; "
            "left: 8px; top: -1px; padding: 0 2px; background: #ACC811; }"));
    return box;
}

} // namespace

void MainForm::setCharset(QWidget *control, int charset)
{
    control->setProperty("charset", charset);
}

int MainForm::charset(const QWidget *control)
{
    return control->property("charset").toInt();
}

void MainForm::buildForm(QWidget *window)
{
    const qreal ratio = Pictures::screenRatio();
    window->setFont(face(QStringLiteral("Arial"), 8.25));
    setCharset(window, 178);
    {
        QPalette p = window->palette();
        p.setColor(QPalette::Window, DarkGreen);
        window->setPalette(p);
        window->setAutoFillBackground(true);
    }

    // Back to front: pictures, then bands, then text labels, then the windowed controls.
    Image3 = new QLabel(window);
    name(Image3, QStringLiteral("Image3"));
    Image3->setGeometry(twips(0, 0, 7365, 4080));
    Image3->setScaledContents(true);
    Image3->setPixmap(Pictures::load(QStringLiteral(":/background.png"), ratio));

    Image1 = new QLabel(window);
    name(Image1, QStringLiteral("Image1"));
    Image1->setGeometry(twips(-7200, 0, 7365, 4080));
    Image1->setScaledContents(true);

    Image2 = new QLabel(window);
    name(Image2, QStringLiteral("Image2"));
    Image2->setGeometry(twips(120, 60, 255, 255));
    Image2->setScaledContents(true);

    LB[33] = band(window, 33, twips(150, 450, 3405, 2505));
    LB[34] = band(window, 34, twips(3660, 1200, 3555, 2235));
    LB[32] = label(window, QStringLiteral("LB(32)"), twips(3930, 450, 3045, 555));
    LB[32]->setBackColor(QColor(0xCC, 0xFF, 0xFB));
    LB[32]->setBorderStyle(1);
    LB[37] = band(window, 37, twips(4320, 3645, 2865, 315));
    LB[25] = band(window, 25, twips(210, 3645, 3585, 315));
    Label7 = label(window, QStringLiteral("Label7"), twips(1200, 3030, 2295, 420));
    Label7->setBackColor(FrameBack);
    Label7->setBorderStyle(1);
    Label7->setToolTip(Captions::design(QStringLiteral("Label7.tooltip")));

    LB[26] = label(window, QStringLiteral("LB(26)"), twips(240, 3675, 3525, 255),
                   Captions::design(QStringLiteral("LB(26)")));
    LB[26]->setFont(ScalableFaces::forScreen(face(QStringLiteral("MS Sans Serif"), 9.75), ratio));
    LB[26]->setBackColor(DarkGreen);
    LB[26]->setBorderStyle(1);

    Label3 = label(window, QStringLiteral("Label3"), twips(3960, 480, 2985, 495),
                   Captions::design(QStringLiteral("Label3")));
    Label3->setFont(ScalableFaces::forScreen(face(QStringLiteral("Fixedsys"), 18), ratio));
    Label3->setBackColor(QColor(0xDD, 0xFE, 0x1F));
    Label3->setBorderStyle(1);

    LB[35] = label(window, QStringLiteral("LB(35)"), twips(4350, 3675, 1575, 255),
                   Captions::design(QStringLiteral("LB(35)")));
    LB[35]->setFont(face(QStringLiteral("Arial"), 9.75, true));
    LB[35]->setBackColor(NormalSlotColor);
    LB[35]->setBorderStyle(1);
    LB[35]->setLayoutDirection(Qt::RightToLeft);
    LB[36] = captionLabel(window, QStringLiteral("LB(36)"), twips(5940, 3675, 1215, 255));

    Label8 = label(window, QStringLiteral("Label8"), twips(2760, 3120, 615, 255),
                   Captions::design(QStringLiteral("Label8")));
    Label8->setFont(face(DesignFace, 8.25));
    Label8->setForeColor(Qt::black);
    Label8->setLayoutDirection(Qt::RightToLeft);

    Label6 = label(window, QStringLiteral("Label6"), twips(720, 60, 5655, 375),
                   Captions::design(QStringLiteral("Label6")));
    Label6->setFont(face(DesignFace, 9));
    Label6->setForeColor(Qt::white);
    Label6->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);

    // The about link lies over the left end of the title, so it gets its own clicks.
    Label5 = label(window, QStringLiteral("Label5"), twips(615, 60, 1350, 255),
                   Captions::design(QStringLiteral("Label5")));
    Label5->setFont(face(DesignFace, 8.25));
    Label5->setForeColor(Qt::white);

    Label4 = label(window, QStringLiteral("Label4"), twips(6495, 75, 345, 255),
                   Captions::design(QStringLiteral("Label4")));
    Label4->setFont(face(QStringLiteral("Microsoft Sans Serif"), 9, true));

    Label1 = label(window, QStringLiteral("Label1"), twips(6885, 90, 345, 255),
                   Captions::design(QStringLiteral("Label1")));
    Label1->setFont(face(QStringLiteral("Microsoft Sans Serif"), 9, true));
    Label1->setForeColor(QColor(0xFF, 0x00, 0x00));

    const QCursor pointer(QPixmap(QStringLiteral(":/pointer.png")), 11, 0);
    for (QLabel *chrome : { Label5, Label4, Label1 })
        chrome->setCursor(pointer);

    // The six times.
    Frame1 = frame(window, QStringLiteral("Frame1"), twips(180, 480, 3345, 2445));
    for (int k = 0; k < 6; ++k) {
        LB[11 - k] = band(Frame1, 11 - k, twips(240, 240 + 360 * k, 2865, 315));
        LB[k] = label(Frame1, QStringLiteral("LB(%1)").arg(k), twips(270, 270 + 360 * k, 1095, 255),
                      QStringLiteral("00:00:00 AM"));
        LB[k]->setFont(face(QStringLiteral("Arial"), 8.25));
        LB[k]->setBackColor(NormalSlotColor);
        LB[k]->setBorderStyle(1);
        LB[12 + k]
                = label(Frame1, QStringLiteral("LB(%1)").arg(12 + k),
                        twips(1380, 270 + 360 * k, 1695, 255), Captions::designSlotNames().at(k));
        LB[12 + k]->setFont(face(DesignFace, 8.25));
        LB[12 + k]->setForeColor(Qt::white);
        LB[12 + k]->setBackColor(CaptionBack);
        LB[12 + k]->setBorderStyle(1);
        LB[12 + k]->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    }

    // The choices.
    Frame2 = frame(window, QStringLiteral("Frame2"), twips(3690, 1230, 3495, 2175));
    LB[27] = band(Frame2, 27, twips(120, 360, 3315, 375));
    LB[30] = captionLabel(Frame2, QStringLiteral("LB(30)"), twips(2220, 390, 1185, 315));
    LB[28] = band(Frame2, 28, twips(120, 750, 3315, 375));
    LB[29] = captionLabel(Frame2, QStringLiteral("LB(29)"), twips(2220, 780, 1185, 315));
    LB[40] = band(Frame2, 40, twips(120, 1200, 3300, 315));
    LB[39] = captionLabel(Frame2, QStringLiteral("LB(39)"), twips(420, 1230, 2970, 255));
    LB[39]->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    LB0 = label(Frame2, QStringLiteral("LB0"), twips(150, 1230, 255, 255), QStringLiteral("0"));
    LB0->setFont(face(QStringLiteral("Arial"), 8.25));
    LB0->setBackColor(NormalSlotColor);
    LB0->setBorderStyle(1);
    LB[24] = band(Frame2, 24, twips(120, 1560, 3315, 450));
    LB[31] = captionLabel(Frame2, QStringLiteral("LB(31)"), twips(2610, 1590, 795, 390));

    Combo2 = dropDown(Frame2, QStringLiteral("Combo2"), twips(150, 390, 2055, 315),
                      Captions::designMuezzins());
    Combo1 = dropDown(Frame2, QStringLiteral("Combo1"), twips(150, 780, 2055, 315),
                      Captions::designCities());
    VScroll1 = new QScrollBar(Qt::Vertical, Frame2);
    name(VScroll1, QStringLiteral("VScroll1"));
    VScroll1->setGeometry(twips(420, 1230, 255, 255));
    VScroll1->setRange(0, 10);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    VScroll1->setValue(0);
    VScroll1->setLayoutDirection(Qt::LeftToRight);

    Command1 = new GlyphButton(Frame2);
    name(Command1, QStringLiteral("Command1"));
    Command1->setGeometry(twips(150, 1590, 465, 390));
    Command1->setText(QStringLiteral("4"));
    Command1->setFont(face(QStringLiteral("Webdings"), 14.25));
    setCharset(Command1, 2);
    Command1->setFaceColor(QColor(0xBA, 0xD0, 0x62));

    Slider1 = new VolumeSlider(Frame2);
    name(Slider1, QStringLiteral("Slider1"));
    Slider1->setGeometry(twips(630, 1590, 1965, 390));
    Slider1->setLayoutDirection(Qt::LeftToRight);

    // The language row and the status strip.
    Command2 = new QPushButton(window);
    name(Command2, QStringLiteral("Command2"));
    Command2->setGeometry(twips(240, 3030, 855, 420));
    Command2->setText(Captions::design(QStringLiteral("Command2")));
    Command2->setFont(face(DesignFace, 8.25));
    {
        QPalette p = Command2->palette();
        p.setColor(QPalette::Button, QColor(0xA5, 0xD6, 0xC5));
        Command2->setPalette(p);
    }
    Combo3 = dropDown(window, QStringLiteral("Combo3"), twips(1260, 3075, 1455, 315),
                      Captions::languageNames());
    Combo3->setFont(face(DesignFace, 8.25));

    Check1 = new QCheckBox(window);
    name(Check1, QStringLiteral("Check1"));
    Check1->setGeometry(twips(360, 3675, 3375, 255));
    Check1->setText(Captions::design(QStringLiteral("Check1")));
    Check1->setFont(face(DesignFace, 8.25));
    // The style draws the unticked box in the window's own dark green, where nobody can tell it
    // is a box: it gets a white outline. The ticked box keeps the style's light tick.
    Check1->setStyleSheet(QStringLiteral(
            "QCheckBox { color: white; background: #004000; }"
            "QCheckBox::indicator:unchecked { width: 11px; height: 11px; border: 1px solid white; "
            "background: #004000; }"));

    // Hidden controls: they hold data and are never shown.
    Combo4 = new QComboBox(window);
    name(Combo4, QStringLiteral("Combo4"));
    Combo4->setGeometry(twips(1200, 3360, 1695, 315));
    {
        const QSignalBlocker quiet(Combo4);
        Combo4->addItems(Captions::fontFaces());
        Combo4->setCurrentIndex(-1);
    }
    Combo4->hide();
    for (int k = 0; k < 6; ++k) {
        VbLabel *phrase
                = label(window, QStringLiteral("LB(%1)").arg(18 + k),
                        twips(1800, 4920 + 240 * k, 3615, 255), Captions::alertPhrases().at(k));
        phrase->setForeColor(Qt::white);
        phrase->setBackColor(CaptionBack);
        phrase->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        phrase->hide();
        LB[18 + k] = phrase;
    }
    LL = new QLabel(window);
    name(LL, QStringLiteral("LL"));
    LL->setGeometry(twips(2520, 120, 2055, 255));
    LL->hide();

    // Armed once a second for the next whole second. On Windows a coarse timer, which Windows
    // may coalesce: a precise one is a 1-ms multimedia timer there, which keeps the processor
    // out of its power-saving states for the whole run. Elsewhere a precise timer costs nothing
    // more, and a coarse one may come up to 5 % of its interval late.
    Timer1.setInterval(1000);
    Timer1.setSingleShot(true);
    Timer1.setTimerType(QSysInfo::productType() == QLatin1String("windows") ? Qt::CoarseTimer
                                                                            : Qt::PreciseTimer);
    Timer2.setInterval(0);
    Timer2.setSingleShot(false);

    // Fonts given above carry the Arabic character set, as the design sets it.
    for (QWidget *control : window->findChildren<QWidget *>())
        if (!control->property("charset").isValid())
            setCharset(control, 178);
}

QList<QWidget *> MainForm::fontSwitchedControls() const
{
    return { Combo2, Combo1, LB[12],   LB[13], LB[14], LB[15], LB[16],
             LB[17], LB[29], LB[30],   LB[39], LB[31], LB[36], Frame1,
             Frame2, Check1, Command2, Combo3, Label6, Label5, Label8 };
}

QWidget *MainForm::captionedControl(const QString &controlName) const
{
    if (controlName.startsWith(QLatin1String("LB(")))
        return LB[controlName.mid(3, controlName.size() - 4).toInt()];
    const QHash<QString, QWidget *> byName = {
        { QStringLiteral("Frame1"), Frame1 }, { QStringLiteral("Frame2"), Frame2 },
        { QStringLiteral("Check1"), Check1 }, { QStringLiteral("Command2"), Command2 },
        { QStringLiteral("Label6"), Label6 }, { QStringLiteral("Label5"), Label5 },
        { QStringLiteral("Label8"), Label8 },
    };
    return byName.value(controlName);
}

void MainForm::setCaption(QWidget *control, const QString &caption)
{
    if (auto *l = qobject_cast<QLabel *>(control))
        l->setText(caption);
    else if (auto *b = qobject_cast<QAbstractButton *>(control))
        b->setText(caption);
    else if (auto *g = qobject_cast<QGroupBox *>(control))
        g->setTitle(caption);
}

void MainForm::refill(QComboBox *list, const QStringList &items)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(-1);
}

void MainForm::Combo3_Click()
{
    // 1. The face follows the language; the font switch runs to completion first.
    Combo4->setCurrentIndex(Combo3->currentIndex());

    // 2. Remember the choices the refill would lose.
    const int city = Combo1->currentIndex();
    const int muezzin = Combo2->currentIndex();

    const int language = Combo3->currentIndex();
    const QList<Captions::LanguageCaption> &table = Captions::languageTable();
    if (language == 1) {
        // 3. Kurdish: the captions, then the lists, then the language list's own caption.
        for (const Captions::LanguageCaption &row : table)
            if (row.control != QLatin1String("Label8"))
                setCaption(captionedControl(row.control), row.kurdish);
        refill(Combo2, Captions::kurdishMuezzins());
        refill(Combo1, Captions::kurdishCities());
        for (const Captions::LanguageCaption &row : table)
            if (row.control == QLatin1String("Label8"))
                setCaption(Label8, row.kurdish);
    } else if (language == 0) {
        // 4. Arabic: the language list's caption first, then the others, then the lists.
        for (const Captions::LanguageCaption &row : table)
            if (row.control == QLatin1String("Label8"))
                setCaption(Label8, row.arabic);
        for (const Captions::LanguageCaption &row : table)
            if (row.control != QLatin1String("Label8"))
                setCaption(captionedControl(row.control), row.arabic);
        refill(Combo2, Captions::arabicMuezzins());
        refill(Combo1, Captions::arabicCities());
    }

    // 5. Restoring the selections runs the lists' own handlers.
    Combo1->setCurrentIndex(city);
    Combo2->setCurrentIndex(muezzin);
}

void MainForm::Combo4_Click()
{
    const QString faceName = Combo4->currentText();
    for (QWidget *control : fontSwitchedControls()) {
        QFont font = control->font();
        font.setFamily(faceName);
        control->setFont(font);
    }
    for (QWidget *control : fontSwitchedControls())
        setCharset(control, 178);
}
