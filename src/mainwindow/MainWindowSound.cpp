// The muezzin's voice, the preview, the volume and the alert strip.
#include "mainwindow/MainWindow.h"

#include "mainwindow/PreviewGlyphs.h"
#include "mainwindow/TickRules.h"
#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "sound/AlertWindow.h"
#include "sound/MediaPlayer.h"

#include <QComboBox>

void MainWindow::Combo2_Click()
{
    Command1->setText(PreviewGlyphs::Play);
}

void MainWindow::Command1_Click()
{
    if (Command1->text() == PreviewGlyphs::Stop) {
        stopPreview();
        return;
    }
    startPreview(m_platform.data.pick(TickRules::muezzinRecordingName(Combo2->currentIndex())),
                 Combo2->currentText());
}

void MainWindow::startPreview(const QString &path, const QString &text)
{
    // The user's own recording plays as loud as the shipped ones.
    WindowsMediaPlayer1.setTrim(m_own.gainFor(path));
    WindowsMediaPlayer1.setUrl(path);
    WindowsMediaPlayer1.play();
    Command1->setText(PreviewGlyphs::Stop);

    // Touching the alert's text loads the strip first; the muezzin's name replaces its text.
    AlertWindow &alert = loadedAlertWindow();
    QFont font = alert.Label1->font();
    font.setFamily(Combo4->currentText());
    alert.Label1->setFont(font);
    setCharset(alert.Label1, 178);
    alert.Label1->setText(text);
    alert.openedForPreview = true;
    alert.show();
    // During a preview the strip closes only from the main window.
    alert.Label2->setEnabled(false);
}

void MainWindow::stopPreview()
{
    WindowsMediaPlayer1.stop();
    Command1->setText(PreviewGlyphs::Play);
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
        refreshMediaKeys();
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
    refreshMediaKeys();
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
