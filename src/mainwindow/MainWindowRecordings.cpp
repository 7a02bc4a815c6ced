// The user's own recordings chosen in the window, the call in a meeting, and the stop of a call
// from the icon, the media keys and Escape.
#include "mainwindow/MainWindow.h"

#include "mainwindow/MediaKeys.h"
#include "mainwindow/PreviewGlyphs.h"
#include "mainwindow/SoundMenus.h"
#include "mainwindow/TickRules.h"
#include "mainwindow/UnicodeMessageBox.h"
#include "presentation/Captions.h"
#include "presentation/GlyphButton.h"
#include "presentation/SoundCaptions.h"
#include "presentation/VolumeSlider.h"
#include "settings/SettingsKeys.h"
#include "sound/MediaPlayer.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QStandardPaths>
#include <QSystemTrayIcon>

namespace {

const QString DawnRecording = TickRules::callRecordingName(0, 0);
const QString StartupSound = QStringLiteral("Wave.wav");

// A muezzin's name as the captions write it, without the mark of an own recording.
QString withoutMark(QString name)
{
    for (int language : { 0, 1 })
        if (name.endsWith(SoundCaptions::ownMark(language)))
            name.chop(SoundCaptions::ownMark(language).size());
    return name;
}

} // namespace

void MainWindow::Recordings_ContextMenu(const QPoint &globalAt)
{
    const int language = Combo3->currentIndex();
    const QString muezzin = TickRules::muezzinRecordingName(Combo2->currentIndex());
    const QList<RecordingMenu::Entry> entries {
        { muezzin, withoutMark(Combo2->currentText()), m_own.has(muezzin) },
        { DawnRecording, SoundCaptions::dawnHeading(language), m_own.has(DawnRecording) },
        { StartupSound, SoundCaptions::startupHeading(language), m_own.has(StartupSound) },
    };
    auto *menu = new RecordingMenu(language, entries, Combo2->font(), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Both open a modal dialog: run from the menu's own activation, its loop would delete the
    // menu (deleted on close) under the activation, which then goes on with it.
    connect(menu, &RecordingMenu::chooseRequested, this, &MainWindow::RecordingMenu_Choose,
            Qt::QueuedConnection);
    connect(menu, &RecordingMenu::shippedRequested, this, &MainWindow::RecordingMenu_Shipped,
            Qt::QueuedConnection);
    menu->popup(globalAt);
}

void MainWindow::RecordingMenu_Choose(const QString &name)
{
    const int language = Combo3->currentIndex();
    QFileDialog dialog(this, SoundCaptions::chooseTitle(language),
                       QStandardPaths::writableLocation(QStandardPaths::MusicLocation),
                       SoundCaptions::chooseFilters(language));
    dialog.setObjectName(QStringLiteral("RecordingDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setLayoutDirection(Qt::RightToLeft);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    takeRecording(name, dialog.selectedFiles().constFirst());
}

void MainWindow::takeRecording(const QString &name, const QString &file)
{
    const int language = Combo3->currentIndex();
    // A preview holds its file open, and Windows will not replace an open file.
    if (Command1->text() == PreviewGlyphs::Stop)
        stopPreview();
    // The whole file is decoded to be measured: seconds for a long one.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const OwnRecordings::Verdict verdict = m_own.take(name, file);
    QApplication::restoreOverrideCursor();
    if (verdict != OwnRecordings::Verdict::Taken) {
        UnicodeMessageBox(SoundCaptions::refusal(
                                  int(verdict), int(OwnRecordings::minimumSeconds(name)), language),
                          MbOk);
        return;
    }
    markOwnRecordings();
    QString text = withoutMark(Combo2->currentText());
    if (name == DawnRecording)
        text = SoundCaptions::dawnHeading(language);
    else if (name == StartupSound)
        text = SoundCaptions::startupHeading(language);
    startPreview(m_platform.data.pick(name), text);
}

void MainWindow::RecordingMenu_Shipped(const QString &name)
{
    const int language = Combo3->currentIndex();
    if (UnicodeMessageBox(SoundCaptions::shippedQuestion(language), MbYesNo) != IdYes)
        return;
    if (Command1->text() == PreviewGlyphs::Stop)
        stopPreview();
    if (!m_own.remove(name))
        UnicodeMessageBox(SoundCaptions::refusal(7, 0, language), MbOk);
    markOwnRecordings();
}

void MainWindow::markOwnRecordings()
{
    const int language = Combo3->currentIndex();
    for (int muezzin = 0; muezzin < Combo2->count(); ++muezzin) {
        const QString name = TickRules::muezzinRecordingName(muezzin);
        // What the call will play: a file of the user's own that cannot be played is not.
        const bool own = m_platform.data.pick(name) != m_platform.data.shippedFile(name);
        const QString shown = withoutMark(Combo2->itemText(muezzin))
                + (own ? SoundCaptions::ownMark(language) : QString());
        if (Combo2->itemText(muezzin) != shown)
            Combo2->setItemText(muezzin, shown);
    }
}

void MainWindow::Slider1_ContextMenu(const QPoint &globalAt)
{
    auto *menu = new MeetingMenu(Combo3->currentIndex(), meetingChoice(), Combo2->font(), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &MeetingMenu::chosen, this, &MainWindow::MeetingMenu_Click);
    menu->popup(globalAt);
}

void MainWindow::MeetingMenu_Click(int choice)
{
    m_settings.SaveSetting(SettingsKeys::Meeting, QString::number(choice));
}

int MainWindow::meetingChoice() const
{
    return readSetting(SettingKeyTable::meeting(), m_settings.GetSetting(SettingsKeys::Meeting));
}

bool MainWindow::callSounds() const
{
    if (Label9.caption().size() <= 4 || !m_alert || m_alert->openedForPreview
        || !m_alert->isVisible() || m_alert->Timer1.isActive())
        return false;
    const int call = WindowsMediaPlayer3.playState();
    return call == MediaPlayer::Playing || call == MediaPlayer::WaitingForOutput;
}

void MainWindow::StopCall()
{
    if (!callSounds())
        return;
    m_alert->Label2_Click();
    refreshMediaKeys();
}

void MainWindow::refreshMediaKeys()
{
    const bool sounds = callSounds();
    if (sounds == m_mediaKeysTaken)
        return;
    m_mediaKeysTaken = sounds;
    if (sounds)
        m_platform.mediaKeys.take(Captions::tipSlotName(AnnouncedSlot, Combo3->currentIndex()));
    else
        m_platform.mediaKeys.release();
}

void MainWindow::showTrayNote()
{
    // Windows 11 puts a new program's icon into the hidden overflow: the first time the window
    // goes there, the icon says where it is.
    if (!m_tray || m_settings.GetSetting(SettingsKeys::TrayNote) == QLatin1String("1"))
        return;
    const bool windows = QSysInfo::productType() == QLatin1String("windows");
    m_tray->showMessage(QStringLiteral("Tirvelon"),
                        SoundCaptions::trayNote(Combo3->currentIndex(), windows),
                        QSystemTrayIcon::Information, 15000);
    m_settings.SaveSetting(SettingsKeys::TrayNote, QStringLiteral("1"));
}
