#pragma once

#include "presentation/Twips.h"

#include <QTimer>
#include <QWidget>

class MainWindow;
class QLabel;
class VbLabel;

// The strip in the lower right corner, above all windows, while a call sounds, during the
// silent sunrise notice and during a preview. Its close mark slides it out and fades the call.
class AlertWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TwipsPerPixel = Twips::PerPixel;

    explicit AlertWindow(MainWindow &main);

    void Form_Load();
    void Label2_Click();
    void Timer1_Timer();

    QLabel *Image1 = nullptr;
    VbLabel *Label1 = nullptr; // the text line
    VbLabel *Label2 = nullptr; // the close mark
    QTimer Timer1;

    float SlideTop = 0;
    double FadeRatio = 0;
    int FadeVolume = 0;
    // Shown for a preview: it names a muezzin, not a prayer.
    bool openedForPreview = false;

    // Place and work area in twips from the work area's top, as the slide-out counts them.
    int topTwips() const;
    void setTopTwips(int top);
    int areaHeightTwips() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    MainWindow &m_main;
    // The work area the strip was placed in when loaded; its slide-out ends at its bottom.
    QRect m_area;
};
