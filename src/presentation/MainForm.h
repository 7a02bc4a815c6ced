#pragma once

#include "presentation/HiddenControls.h"

#include <QString>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;
class GlyphButton;
class VbLabel;
class VolumeSlider;

// The controls of the main window in their design state: names, places, looks and stacking.
// Handlers live in MainWindow; the language and font switch lives here because it touches
// nothing but these controls.
class MainForm
{
public:
    static constexpr int LabelCount = 41; // LB(0)..LB(40); LB(38) does not exist
    static constexpr int MissingLabel = 38;
    static bool hasLabel(int index)
    {
        return index >= 0 && index < LabelCount && index != MissingLabel;
    }

    // Colours of the time labels (HighlightCurrentSlot).
    static const QColor NormalSlotColor;
    static const QColor CurrentSlotColor;

    virtual ~MainForm() = default;

    // Creates every control on window, back to front.
    void buildForm(QWidget *window);

    // The language switch (Combo3's click) and the font switch (Combo4's click).
    void Combo3_Click();
    void Combo4_Click();

    // Marks a font as carrying the Arabic character set (kept as a property: Qt fonts have none).
    static void setCharset(QWidget *control, int charset);
    static int charset(const QWidget *control);

    VbLabel *LB[LabelCount] = {};
    QString TimA1[6] = { QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                         QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0") };
    QString Label2 = QStringLiteral("Label2");
    TriggerLabel Label9;
    DayList List1;

    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    VbLabel *Label1 = nullptr; // close
    VbLabel *Label3 = nullptr; // clock
    VbLabel *Label4 = nullptr; // minimise
    VbLabel *Label5 = nullptr; // about
    VbLabel *Label6 = nullptr; // title
    VbLabel *Label7 = nullptr;
    VbLabel *Label8 = nullptr;
    QLabel *LL = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QComboBox *Combo1 = nullptr; // city
    QComboBox *Combo2 = nullptr; // muezzin
    QComboBox *Combo3 = nullptr; // language
    QComboBox *Combo4 = nullptr; // font face (hidden)
    VbLabel *LB0 = nullptr;      // lead
    QScrollBar *VScroll1 = nullptr;
    GlyphButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    VolumeSlider *Slider1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QTimer Timer1;
    QTimer Timer2;

protected:
    // The 21 controls whose face the font switch sets, in its order.
    QList<QWidget *> fontSwitchedControls() const;
    QWidget *captionedControl(const QString &name) const;
    static void setCaption(QWidget *control, const QString &caption);
    // Clearing and refilling a list runs no handler, and leaves no entry selected.
    static void refill(QComboBox *list, const QStringList &items);
};
