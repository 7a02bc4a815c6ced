// Start-up and shutdown: the day list, the stored choices, the single copy, logon start, the save.
#include "mainwindow/MainWindow.h"

#include "mainwindow/Clock.h"
#include "mainwindow/TimeOfDay.h"
#include "presentation/Captions.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "settings/InstanceLock.h"
#include "settings/LogonStart.h"
#include "settings/SettingsKeys.h"
#include "sound/MediaPlayer.h"
#include "timetable/DailyTable.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QScrollBar>

namespace {
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
    const QString startupSound = m_platform.data.pick(QStringLiteral("Wave.wav"));
    WindowsMediaPlayer2.setTrim(m_own.gainFor(startupSound));
    WindowsMediaPlayer2.setUrl(startupSound);

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
    // The language switch marks them when it runs; the same language runs no switch.
    markOwnRecordings();
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
    loadPrayerChoices();

    // 15. The first tick selects today's row.
    List1.setListIndex(-1);

    armTimer1();
    return true;
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

void MainWindow::Check1_Click()
{
    const int value = Check1->isChecked() ? 1 : 0;
    const bool written = m_platform.logonStart.write(value ? m_platform.programPath : QString());
    // A refused entry ends the handler: the choice is not remembered either.
    if (!written)
        return;
    m_settings.SaveSetting(SettingsKeys::LogonStart, value);
}
