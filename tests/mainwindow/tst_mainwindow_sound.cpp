// The call to prayer on fakes: which recording each slot plays, the sound trigger, the preview
// toggle, the volume slider, the alert strip's text, place and flags, and its slide-out.
#include "MainWindowRig.h"

#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "settings/SettingsKeys.h"
#include "sound/AlertWindow.h"

#include <QComboBox>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QtTest>

#include <cmath>

namespace {
// 1 January for the base city: dawn 06:02, sunrise 07:21, noon 12:16, afternoon 14:45,
// sunset 17:06, night 18:21.
const QDate NewYear(2026, 1, 1);
const int SlotMinutes[6] = { 362, 441, 736, 885, 1026, 1101 };
const int Noon = 736 * 60;
const int Afternoon = 885 * 60;

QTime at(int seconds)
{
    return QTime(0, 0).addSecs(seconds);
}

// The strip stands in the work area and slides out of it (on the offscreen platform, and on a
// desktop without panels, the work area is the whole screen).
QRect screen()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

int screenHeightTwips()
{
    return screen().height() * 15;
}

int topTwips(const AlertWindow &alert)
{
    return (alert.y() - screen().top()) * 15;
}

// A rig standing at noon on 1 January with the noon call sounding at the given volume.
void arriveAtNoon(MainWindowRig &rig, int volume = 50)
{
    QVERIFY(rig.load());
    rig.window->Slider1->setValue(volume);
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    QVERIFY(rig.window->alertWindow());
}
} // namespace

class MainWindowSoundTest : public QObject
{
    Q_OBJECT

private slots:
    void eachSlotPlaysItsRecording_data();
    void eachSlotPlaysItsRecording();
    void soundTrigger_data();
    void soundTrigger();
    void previewToggle_data();
    void previewToggle();
    void missingPreviewStaysUntilClicked();
    void muezzinChangeDuringPreview();
    void sliderSetsBothPlayers_data();
    void sliderSetsBothPlayers();
    void restoredVolumeOfZeroReachesThePlayers();
    void previewEndingByItselfIsOverAtTheNextTick();
    void alertTextForEachSlot_data();
    void alertTextForEachSlot();
    void alertPlaceSizeAndFlags();
    void closeMarkDisabledDuringPreview();
    void slideOutFadesAndParks();
    void secondCloseClickRecomputesTheFade();
    void closeClickWithNoDistanceLeft();
    void sunriseStripStillSlidesOut();
    void missingRecordingClosesAfterGraceAndNextPrayerComes();
    void callAfterAFinishedPreviewGetsItsOwnStrip();
    void usersRecordingIsTakenAtTheNextCall();
    void meetingDecidesHowTheCallSounds_data();
    void meetingDecidesHowTheCallSounds();
    void soundingCallStopsFromAnywhere_data();
    void soundingCallStopsFromAnywhere();
};

void MainWindowSoundTest::eachSlotPlaysItsRecording_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("muezzin");
    QTest::addColumn<QString>("recording");
    QTest::newRow("dawn plays its own call with muezzin 6") << 0 << 6 << "7.mp3";
    QTest::newRow("noon plays the chosen muezzin") << 2 << 0 << "0.mp3";
    QTest::newRow("afternoon plays the chosen muezzin") << 3 << 6 << "6.mp3";
    QTest::newRow("night plays the chosen muezzin") << 5 << 1 << "1.mp3";
}

void MainWindowSoundTest::eachSlotPlaysItsRecording()
{
    QFETCH(int, slot);
    QFETCH(int, muezzin);
    QFETCH(QString, recording);
    const int time = SlotMinutes[slot] * 60;
    MainWindowRig rig(QDateTime(NewYear, at(time - 10)));
    QVERIFY(rig.load());
    rig.window->Combo2->setCurrentIndex(muezzin);
    rig.window->Slider1->setValue(35);
    rig.tickAt(at(time - 5));
    rig.tickAt(at(time));
    QCOMPARE(rig.window->AnnouncedSlot, slot);
    QCOMPARE(rig.call.url(), QStringLiteral("/opt/tirvelon/Data/") + recording);
    QVERIFY(rig.call.isPlaying());
    QCOMPARE(rig.callStarts(), 1);
    // The volume is given after the call was started, to both players.
    const QStringList events = rig.call.events();
    QCOMPARE(events.mid(events.lastIndexOf(QStringLiteral("url:/opt/tirvelon/Data/") + recording)),
             QStringList({ QStringLiteral("url:/opt/tirvelon/Data/") + recording,
                           QStringLiteral("volume:35") }));
    QCOMPARE(rig.preview.volume(), 35);
}

void MainWindowSoundTest::soundTrigger_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("plays");
    QTest::newRow("two spaces show the strip silently") << "  " << false;
    QTest::newRow("four characters play nothing") << "abcd" << false;
    QTest::newRow("five characters are a recording") << "a.mp3" << true;
    QTest::newRow("a full path plays") << "/opt/tirvelon/Data/2.mp3" << true;
}

void MainWindowSoundTest::soundTrigger()
{
    QFETCH(QString, caption);
    QFETCH(bool, plays);
    MainWindowRig rig;
    QVERIFY(rig.load());
    rig.window->Label9.setCaption(caption);
    // Every non-empty trigger shows the strip; only a recording's path sounds.
    QVERIFY(rig.window->alertWindow() && rig.window->alertWindow()->isVisible());
    QCOMPARE(rig.callStarts(), plays ? 1 : 0);
    if (plays)
        QCOMPARE(rig.call.url(), caption);
    // Emptying the trigger unloads the strip and leaves the player alone.
    rig.call.clearEvents();
    rig.window->Label9.setCaption(QString());
    QVERIFY(!rig.window->alertWindow());
    QVERIFY(rig.call.events().isEmpty());
}

void MainWindowSoundTest::previewToggle_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("muezzin");
    QTest::addColumn<QString>("face");
    QTest::newRow("Kurdish names in the Kurdish face") << 1 << 3 << "Tahoma-K";
    QTest::newRow("Arabic names in the Arabic face") << 0 << 6 << "Tahoma";
}

void MainWindowSoundTest::previewToggle()
{
    QFETCH(int, language);
    QFETCH(int, muezzin);
    QFETCH(QString, face);
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Combo3->setCurrentIndex(language);
    w.Combo2->setCurrentIndex(muezzin);
    rig.tick();
    rig.preview.clearEvents();

    QTest::mouseClick(w.Command1, Qt::LeftButton);
    const QString path = QStringLiteral("/opt/tirvelon/Data/%1.mp3").arg(muezzin);
    QCOMPARE(rig.preview.events(), QStringList({ QStringLiteral("url:") + path, "play" }));
    QVERIFY(rig.preview.isPlaying());
    QCOMPARE(w.Command1->text(), QStringLiteral("<"));
    AlertWindow *alert = w.alertWindow();
    QVERIFY(alert);
    QVERIFY(alert->isVisible());
    QCOMPARE(alert->Label1->text(), w.Combo2->currentText());
    QCOMPARE(alert->Label1->font().family(), face);
    QCOMPARE(MainForm::charset(alert->Label1), 178);
    QVERIFY(!alert->Label2->isEnabled());
    QCOMPARE(rig.callStarts(), 0);

    rig.preview.clearEvents();
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QCOMPARE(rig.preview.events(), QStringList({ "stop" }));
    QVERIFY(!rig.preview.isPlaying());
    QCOMPARE(w.Command1->text(), QStringLiteral("4"));
    QVERIFY(!w.alertWindow());
}

void MainWindowSoundTest::missingPreviewStaysUntilClicked()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    rig.preview.markMissing(QStringLiteral("5.mp3"));
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Command1_Click();
    QVERIFY(!rig.preview.isPlaying());
    for (int t = 1; t <= 5; ++t)
        rig.tickAt(QTime(10, 0, t));
    // The tick released the file; the button and the strip wait for the user.
    QCOMPARE(rig.preview.url(), QString());
    QCOMPARE(w.Command1->text(), QStringLiteral("<"));
    QVERIFY(w.alertWindow());
    w.Command1_Click();
    QCOMPARE(w.Command1->text(), QStringLiteral("4"));
    QVERIFY(!w.alertWindow());
}

void MainWindowSoundTest::muezzinChangeDuringPreview()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Combo2->setCurrentIndex(1);
    w.Command1_Click();
    rig.preview.clearEvents();

    w.Combo2->setCurrentIndex(4);
    QCOMPARE(w.Command1->text(), QStringLiteral("4"));
    QVERIFY(rig.preview.events().isEmpty());
    QVERIFY(rig.preview.isPlaying());
    QCOMPARE(rig.preview.url(), QStringLiteral("/opt/tirvelon/Data/1.mp3"));
    QVERIFY(w.alertWindow());

    w.Command1_Click();
    QCOMPARE(rig.preview.events(),
             QStringList({ QStringLiteral("url:/opt/tirvelon/Data/4.mp3"), "play" }));
    QCOMPARE(w.Command1->text(), QStringLiteral("<"));
    QCOMPARE(w.alertWindow()->Label1->text(), w.Combo2->itemText(4));
}

void MainWindowSoundTest::sliderSetsBothPlayers_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("silent at 0") << 0;
    QTest::newRow("in between") << 37;
    QTest::newRow("full at 100") << 100;
}

void MainWindowSoundTest::sliderSetsBothPlayers()
{
    QFETCH(int, value);
    MainWindowRig rig;
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Command1_Click(); // a preview is running
    rig.startup.clearEvents();
    w.Slider1->setValue(value);
    QCOMPARE(rig.preview.volume(), value);
    QCOMPARE(rig.call.volume(), value);
    QCOMPARE(w.Slider1->selLength(), value);
    QVERIFY(rig.preview.isPlaying());
    // The start-up sound keeps its own volume.
    QCOMPARE(rig.startup.volume(), 50);
    QVERIFY(rig.startup.events().isEmpty());

    // A click on the slider that leaves its value gives the value to the players again.
    rig.preview.setVolume(1);
    rig.call.setVolume(1);
    w.Slider1_MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(rig.preview.volume(), value);
    QCOMPARE(rig.call.volume(), value);
}

void MainWindowSoundTest::restoredVolumeOfZeroReachesThePlayers()
{
    // The slider starts at 0, so restoring a saved 0 is no change of its own.
    MainWindowRig rig;
    rig.settings.put(SettingsKeys::Volume, QStringLiteral("0"));
    QVERIFY(rig.load());
    QCOMPARE(rig.window->Slider1->value(), 0);
    QCOMPARE(rig.preview.volume(), 0);
    QCOMPARE(rig.call.volume(), 0);
    QCOMPARE(rig.startup.volume(), 50);
}

void MainWindowSoundTest::previewEndingByItselfIsOverAtTheNextTick()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Command1_Click();
    rig.tickAt(at(Noon - 3));
    MainWindowRig::finish(rig.preview);
    rig.tickAt(at(Noon - 2));
    QCOMPARE(w.Command1->text(), QStringLiteral("4"));
    QVERIFY(!w.alertWindow());
    // The walk-away user still hears the noon call, in a strip of its own.
    rig.tickAt(at(Noon));
    QCOMPARE(rig.callStarts(), 1);
    QVERIFY(w.alertWindow());
    QVERIFY(w.alertWindow()->Label2->isEnabled());
}

void MainWindowSoundTest::alertTextForEachSlot_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("text");
    const QString phrase = QStringLiteral("       ئيَستا كاتـــى ");
    QTest::newRow("dawn") << 0
                          << QStringLiteral("06:02 AM") + phrase
                    + QStringLiteral(" بانگى بهيانـيه");
    QTest::newRow("sunrise") << 1
                             << QStringLiteral("07:21 AM") + phrase
                    + QStringLiteral(" شــــــــروقه ");
    QTest::newRow("noon") << 2
                          << QStringLiteral("12:16 PM") + phrase
                    + QStringLiteral(" بانگى نيوهروَيه ");
    QTest::newRow("afternoon") << 3
                               << QStringLiteral("02:45 PM") + phrase
                    + QStringLiteral(" بانگى عةســـره ");
    QTest::newRow("sunset") << 4
                            << QStringLiteral("05:06 PM") + phrase
                    + QStringLiteral(" بانگى مـهغريبه ");
    QTest::newRow("night") << 5
                           << QStringLiteral("06:21 PM") + phrase
                    + QStringLiteral(" بانگى عيشــايه ");
}

void MainWindowSoundTest::alertTextForEachSlot()
{
    QFETCH(int, slot);
    QFETCH(QString, text);
    const int time = SlotMinutes[slot] * 60;
    MainWindowRig rig(QDateTime(NewYear, at(time - 10)));
    QVERIFY(rig.load());
    rig.window->Combo3->setCurrentIndex(0); // the phrases stay Kurdish in Arabic too
    rig.tickAt(at(time - 5));
    rig.tickAt(at(time));
    AlertWindow *alert = rig.window->alertWindow();
    QVERIFY(alert);
    QCOMPARE(alert->Label1->text(), text);
    QCOMPARE(alert->Label1->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(MainForm::charset(alert->Label1), 178);
}

void MainWindowSoundTest::alertPlaceSizeAndFlags()
{
    MainWindowRig rig;
    QVERIFY(rig.load());
    rig.window->Label9.setCaption(QStringLiteral("  "));
    AlertWindow *alert = rig.window->alertWindow();
    QVERIFY(alert);
    QCOMPARE(alert->size(), QSize(288, 30));
    // 30 twips (2 pixels) from the right edge, 580 twips (38 2/3 pixels) above the bottom.
    const QRect s = screen();
    QCOMPARE(alert->x(), s.left() + s.width() - 288 - 2);
    QCOMPARE(alert->y(), s.top() + s.height() - 30 - 39);
    const Qt::WindowFlags flags = alert->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QCOMPARE(alert->windowType(), Qt::Tool);
    QVERIFY(alert->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(!alert->parentWidget());
}

void MainWindowSoundTest::closeMarkDisabledDuringPreview()
{
    MainWindowRig rig;
    QVERIFY(rig.load());
    rig.window->Command1_Click();
    AlertWindow *alert = rig.window->alertWindow();
    QVERIFY(alert);
    const QPoint place = alert->pos();
    QTest::mouseClick(alert->Label2, Qt::LeftButton);
    QCOMPARE(alert->Timer1.interval(), 0);
    QVERIFY(!alert->Timer1.isActive());
    QCOMPARE(alert->pos(), place);
}

void MainWindowSoundTest::slideOutFadesAndParks()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    arriveAtNoon(rig, 60);
    AlertWindow *alert = rig.window->alertWindow();
    QVERIFY(alert);
    const int start = topTwips(*alert);
    QCOMPARE(start, screenHeightTwips() - 1035); // 450 high, 580 up, on a whole pixel

    QTest::mouseClick(alert->Label2, Qt::LeftButton);
    QCOMPARE(alert->Timer1.interval(), 20);
    QVERIFY(alert->Timer1.isActive());
    QCOMPARE(alert->FadeVolume, 0);
    QCOMPARE(alert->FadeRatio, 60.0 / 1035);
    QCOMPARE(double(alert->SlideTop), double(start));

    int steps = 0;
    while (alert->Timer1.isActive() && steps < 200) {
        alert->Timer1_Timer();
        ++steps;
        if (!alert->Timer1.isActive())
            break;
        const int left = 1035 - 15 * steps;
        QCOMPARE(topTwips(*alert), start + 15 * steps);
        QCOMPARE(alert->FadeVolume, int(std::floor(60.0 / 1035 * left)));
        // The fade stops once the volume is down to 1.
        QCOMPARE(rig.preview.volume(), qMax(1, alert->FadeVolume));
        QCOMPARE(rig.call.volume(), rig.preview.volume());
        if (steps == 1)
            QCOMPARE(rig.call.volume(), 59);
        if (steps == 35)
            QCOMPARE(rig.call.volume(), 29);
    }
    // 70 steps of 15 twips take the top past the bottom; then it is parked far below.
    QCOMPARE(steps, 70);
    QCOMPARE(alert->Timer1.interval(), 0);
    QCOMPARE(topTwips(*alert), 3 * (screenHeightTwips() + 15));
    QVERIFY(alert->y() > screen().bottom());
    QCOMPARE(rig.preview.volume(), 1);
    QCOMPARE(rig.call.volume(), 1);
    // The call plays on, nearly silent, and the strip stays loaded until it ends.
    QVERIFY(rig.call.isPlaying());
    QCOMPARE(rig.window->alertWindow(), alert);
    MainWindowRig::finish(rig.call);
    for (int t = 2; t <= 10; ++t)
        rig.tickAt(at(Noon + t));
    QVERIFY(!rig.window->alertWindow());
    // Closing the strip gives the players the slider's value back: a preview now is heard.
    QCOMPARE(rig.preview.volume(), 60);
    QCOMPARE(rig.call.volume(), 60);

    // The next call comes back to the corner at the slider's volume.
    rig.tickAt(at(Afternoon - 3));
    rig.tickAt(at(Afternoon));
    alert = rig.window->alertWindow();
    QVERIFY(alert);
    QCOMPARE(topTwips(*alert), start);
    QCOMPARE(alert->Timer1.interval(), 0);
    QCOMPARE(rig.call.volume(), 60);
    QCOMPARE(rig.preview.volume(), 60);
}

void MainWindowSoundTest::secondCloseClickRecomputesTheFade()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    arriveAtNoon(rig, 60);
    AlertWindow *alert = rig.window->alertWindow();
    QVERIFY(alert);
    const int start = topTwips(*alert);
    alert->Label2_Click();
    for (int i = 0; i < 20; ++i)
        alert->Timer1_Timer();
    QCOMPARE(rig.preview.volume(), 42); // floor(60 * 735 / 1035)

    // The user turned the volume up meanwhile; a second click starts from here.
    rig.preview.setVolume(80);
    alert->Label2_Click();
    QCOMPARE(double(alert->SlideTop), double(start + 300));
    QCOMPARE(alert->FadeRatio, 80.0 / 735);
    QCOMPARE(alert->Timer1.interval(), 20);
    alert->Timer1_Timer();
    QCOMPARE(topTwips(*alert), start + 315);
    QCOMPARE(alert->FadeVolume, int(std::floor(80.0 / 735 * 720)));
    QCOMPARE(rig.call.volume(), 78);
    int steps = 21;
    while (alert->Timer1.isActive() && steps < 200) {
        alert->Timer1_Timer();
        ++steps;
    }
    QCOMPARE(steps, 70);
    QCOMPARE(rig.call.volume(), 1);
}

void MainWindowSoundTest::closeClickWithNoDistanceLeft()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    arriveAtNoon(rig, 60);
    AlertWindow *alert = rig.window->alertWindow();
    QVERIFY(alert);
    // Top exactly at the bottom edge: no distance to share the volume over.
    alert->setTopTwips(screenHeightTwips());
    alert->Label2_Click();
    QCOMPARE(alert->FadeRatio, 0.0);
    alert->Timer1_Timer();
    QVERIFY(!alert->Timer1.isActive());
    QCOMPARE(rig.preview.volume(), 1);
    QCOMPARE(rig.call.volume(), 1);
}

void MainWindowSoundTest::sunriseStripStillSlidesOut()
{
    const int sunrise = SlotMinutes[1] * 60;
    MainWindowRig rig(QDateTime(NewYear, at(sunrise - 10)));
    QVERIFY(rig.load());
    rig.tickAt(at(sunrise - 5));
    rig.tickAt(at(sunrise));
    AlertWindow *alert = rig.window->alertWindow();
    QVERIFY(alert);
    QVERIFY(alert->Label2->isEnabled());
    QTest::mouseClick(alert->Label2, Qt::LeftButton);
    QCOMPARE(alert->Timer1.interval(), 20);
    alert->Timer1_Timer();
    QCOMPARE(topTwips(*alert), screenHeightTwips() - 1035 + 15);
    QCOMPARE(rig.callStarts(), 0);
}

void MainWindowSoundTest::missingRecordingClosesAfterGraceAndNextPrayerComes()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    rig.call.markMissing(QStringLiteral("5.mp3"));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    QCOMPARE(rig.call.url(), QStringLiteral("/opt/tirvelon/Data/5.mp3"));
    QVERIFY(!rig.call.isPlaying());
    QVERIFY(rig.window->alertWindow());
    // Grace: the arrival tick leaves 4; the player is asked once the count is down to 0.
    for (int t = 2; t <= 5; ++t)
        rig.tickAt(at(Noon + t));
    QVERIFY(rig.window->alertWindow());
    rig.tickAt(at(Noon + 6));
    QVERIFY(!rig.window->alertWindow());
    QCOMPARE(rig.window->Label9.caption(), QString());

    rig.tickAt(at(Afternoon - 3));
    rig.tickAt(at(Afternoon));
    QCOMPARE(rig.window->AnnouncedSlot, 3);
    QVERIFY(rig.window->alertWindow());
    QCOMPARE(rig.callStarts(), 2);
}

void MainWindowSoundTest::callAfterAFinishedPreviewGetsItsOwnStrip()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Command1_Click();                 // preview of the chosen muezzin
    w.Combo2->setCurrentIndex(1);       // the button is reset to "4", the preview goes on
    MainWindowRig::finish(rig.preview); // and ends by itself; the strip stays
    rig.tickAt(at(Noon - 2));
    rig.tickAt(at(Noon));
    QVERIFY(w.alertWindow());
    QVERIFY(w.alertWindow()->Label1->text().startsWith(QStringLiteral("12:16 PM")));
    QVERIFY(w.alertWindow()->Label2->isEnabled());
    QCOMPARE(rig.callStarts(), 1);
}

void MainWindowSoundTest::usersRecordingIsTakenAtTheNextCall()
{
    QTemporaryDir user;
    QVERIFY(user.isValid());
    const auto put = [&user](const QString &name) {
        QFile file(user.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write("ID3") == 3;
    };
    QVERIFY(put(QStringLiteral("Wave.wav")));
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)), nullptr, user.path());
    QVERIFY(rig.load());
    QCOMPARE(rig.startup.url(), user.filePath(QStringLiteral("Wave.wav")));

    // Put while the program runs: the very next call plays it, no restart.
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    QCOMPARE(rig.call.url(), QStringLiteral("/opt/tirvelon/Data/5.mp3"));
    MainWindowRig::finish(rig.call);
    for (int t = 2; t <= 6; ++t)
        rig.tickAt(at(Noon + t));
    QVERIFY(!rig.window->alertWindow());
    QVERIFY(put(QStringLiteral("5.mp3")));
    rig.tickAt(at(Afternoon - 3));
    rig.tickAt(at(Afternoon));
    QCOMPARE(rig.window->Label9.caption(), user.filePath(QStringLiteral("5.mp3")));
    QCOMPARE(rig.call.url(), user.filePath(QStringLiteral("5.mp3")));
    // The preview plays what the call would.
    MainWindowRig::finish(rig.call);
    for (int t = 1; t <= 6; ++t)
        rig.tickAt(at(Afternoon + t));
    rig.window->Command1_Click();
    QCOMPARE(rig.preview.url(), user.filePath(QStringLiteral("5.mp3")));
    rig.window->Command1_Click();

    // Taken away again: the shipped one is back at the next call.
    QVERIFY(QFile::remove(user.filePath(QStringLiteral("5.mp3"))));
    const int sunset = SlotMinutes[4] * 60;
    rig.tickAt(at(sunset - 3));
    rig.tickAt(at(sunset));
    QCOMPARE(rig.call.url(), QStringLiteral("/opt/tirvelon/Data/5.mp3"));
}

void MainWindowSoundTest::meetingDecidesHowTheCallSounds_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<double>("trim"); // 0: the strip alone, nothing sounds
    QTest::newRow("not busy, strip alone chosen: the call") << "2" << false << 1.0;
    QTest::newRow("busy, nothing chosen: quietly") << "" << true << 0.25;
    QTest::newRow("busy, as always") << "0" << true << 1.0;
    QTest::newRow("busy, quietly") << "1" << true << 0.25;
    QTest::newRow("busy, the strip alone") << "2" << true << 0.0;
    QTest::newRow("busy, a hand-edited 3: quietly") << "3" << true << 0.25;
}

void MainWindowSoundTest::meetingDecidesHowTheCallSounds()
{
    QFETCH(QString, stored);
    QFETCH(bool, busy);
    QFETCH(double, trim);
    MainWindowRig rig;
    rig.settings.put(SettingsKeys::Meeting, stored);
    rig.userBusy = busy;
    arriveAtNoon(rig);
    QVERIFY(rig.window->alertWindow()->isVisible()); // never silently lost
    QCOMPARE(rig.callStarts(), trim > 0 ? 1 : 0);
    if (trim > 0)
        QCOMPARE(rig.call.trim(), float(trim));
    else
        QCOMPARE(rig.window->Label9.caption(), QStringLiteral("  "));
}

void MainWindowSoundTest::soundingCallStopsFromAnywhere_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the icon") << "icon";
    QTest::newRow("a media key") << "key";
    QTest::newRow("Escape") << "escape";
}

void MainWindowSoundTest::soundingCallStopsFromAnywhere()
{
    QFETCH(QString, how);
    MainWindowRig rig;
    const auto stop = [&] {
        if (how == QLatin1String("icon"))
            emit rig.window->trayIcon()->activated(QSystemTrayIcon::Trigger);
        else if (how == QLatin1String("key"))
            emit rig.mediaKeys.stopPressed();
        else
            QTest::keyClick(rig.window.get(), Qt::Key_Escape);
    };
    QVERIFY(rig.load());
    rig.window->show();
    QApplication::setActiveWindow(rig.window.get());
    // A preview is not a call: it plays on. The keys are named after the prayer (Kurdish).
    rig.window->Command1_Click();
    stop();
    QVERIFY(rig.preview.isPlaying());
    QVERIFY(!rig.window->alertWindow()->Timer1.isActive());
    rig.window->Command1_Click();
    QVERIFY(rig.mediaKeys.calls.isEmpty());

    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    QCOMPARE(rig.mediaKeys.calls, QStringList { QStringLiteral("take بانگى نيوةرِؤ") });
    stop();
    // As the close mark: the strip slides out, the sound fades, the keys go back.
    QVERIFY(rig.window->alertWindow()->Timer1.isActive());
    QVERIFY(rig.call.isPlaying());
    QCOMPARE(rig.mediaKeys.calls.size(), 2);
    QCOMPARE(rig.mediaKeys.calls.last(), QStringLiteral("release"));
}

QTEST_MAIN(MainWindowSoundTest)
#include "tst_mainwindow_sound.moc"
