// The one-second tick on fakes: arrivals with every lead, the alert's countdowns, the preview
// guards, the day change, late ticks and the mark of the current prayer.
#include "MainWindowRig.h"

#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "settings/SettingsKeys.h"
#include "sound/AlertWindow.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QtTest>

namespace {
// 1 January for the base city: dawn 06:02, sunrise 07:21, noon 12:16, afternoon 14:45,
// sunset 17:06, night 18:21.
const QDate NewYear(2026, 1, 1);
const int Dawn = 362 * 60;
const int Sunrise = 441 * 60;
const int Noon = 736 * 60;

QTime at(int seconds)
{
    return QTime(0, 0).addSecs(seconds);
}

// The tip's two lines of old, and its line of the next prayer: right to left, with the clock time
// kept left to right inside it.
const QString TipStart = QStringLiteral("    Tirvelon\r\n  دوو كليك داگره  ");
QString tipLine(const QString &name, const QString &time, const QString &in, const QString &left)
{
    return QStringLiteral("\u202B%1 \u202A%2\u202C %3 %4\u202C").arg(name, time, in, left);
}

// "dd/MM/yyyy", then space, heh, tatweel, space.
QString hijri(const char *date)
{
    return QLatin1String(date) + QStringLiteral(" \u0647\u0640 ");
}
} // namespace

class MainWindowTickTest : public QObject
{
    Q_OBJECT

private slots:
    void arrivalWindowFollowsTheLead_data();
    void arrivalWindowFollowsTheLead();
    void twoArrivalTicksStartTheCallOnce();
    void dawnPlaysItsOwnRecordingWhateverTheMuezzin();
    void sunriseShowsSixtyTicksWithoutSound();
    void callClosesAfterGraceWhenPlaybackEnds();
    void callStaysWhilePlaying();
    void callWaitingForItsOutputKeepsItsStripAMinute();
    void previewPlayingHoldsOffDetectionAndDaySelection();
    void endedPreviewStillHoldsOffUntilButtonReset();
    void midnightSelectsTheNewDay();
    void leapDayFoundOnlyInLeapYears_data();
    void leapDayFoundOnlyInLeapYears();
    void minimisedWindowIsNotRefreshedButStillAnnounces();
    void lateTickCatchesUpOnce();
    void oneReadingOfTheClockPerTick();
    void highlightMovesFiveMinutesAhead();
    void secondCopysRequestRestoresWindow();
    void requestThatCannotBeClearedIsAnsweredOnce();
    void cityChangeShowsAtNextTick();
    void hijriAdjustmentFollowsTheCalendar_data();
    void hijriAdjustmentFollowsTheCalendar();
    void hijriMenuChoosesAndKeepsTheAdjustment_data();
    void hijriMenuChoosesAndKeepsTheAdjustment();
    void tipNamesTheNextPrayerFromTheFirstTick();
    void tipIsWrittenOnceAMinute_data();
    void tipIsWrittenOnceAMinute();
    void tipAfterTheNightCallIsTomorrowsDawn_data();
    void tipAfterTheNightCallIsTomorrowsDawn();
};

void MainWindowTickTest::arrivalWindowFollowsTheLead_data()
{
    QTest::addColumn<int>("lead");
    for (int lead = 0; lead <= 10; ++lead)
        QTest::addRow("lead %d", lead) << lead;
}

void MainWindowTickTest::arrivalWindowFollowsTheLead()
{
    QFETCH(int, lead);
    MainWindowRig rig(QDateTime(NewYear, QTime(11, 0)));
    QVERIFY(rig.load());
    rig.window->VScroll1->setValue(lead);
    QCOMPARE(rig.window->LB0->text(), QString::number(-lead));
    rig.tickAt(QTime(11, 0, 1));
    QCOMPARE(rig.window->TimA1[2], QString::number(Noon));

    const int arrival = Noon - 60 * lead;
    rig.tickAt(at(arrival - 1));
    QCOMPARE(rig.window->Label9.caption(), QString());
    rig.tickAt(at(arrival));
    QCOMPARE(rig.window->AnnouncedSlot, 2);
    QCOMPARE(rig.window->Label9.caption(), QStringLiteral("/opt/tirvelon/Data/5.mp3"));
    QVERIFY(rig.window->alertWindow());
    QCOMPARE(rig.callStarts(), 1);
    // The highlight still follows the slot's own time, not the lead.
    QCOMPARE(rig.window->LB[2]->backColor() == MainForm::CurrentSlotColor, lead < 5);
}

void MainWindowTickTest::twoArrivalTicksStartTheCallOnce()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 1));
    rig.tickAt(at(Noon));
    rig.tickAt(at(Noon + 1));
    rig.tickAt(at(Noon + 2));
    QCOMPARE(rig.callStarts(), 1);
    QCOMPARE(rig.window->CallGraceCountdown, 3); // set again by the second arrival tick
}

void MainWindowTickTest::dawnPlaysItsOwnRecordingWhateverTheMuezzin()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(5, 0)));
    QVERIFY(rig.load());
    rig.window->Combo2->setCurrentIndex(2);
    rig.tickAt(at(Dawn - 10));
    rig.tickAt(at(Dawn));
    QCOMPARE(rig.window->Label9.caption(), QStringLiteral("/opt/tirvelon/Data/7.mp3"));
    QCOMPARE(rig.call.url(), QStringLiteral("/opt/tirvelon/Data/7.mp3"));
    QCOMPARE(rig.call.volume(), rig.window->Slider1->value());
}

void MainWindowTickTest::sunriseShowsSixtyTicksWithoutSound()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(7, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Sunrise - 5));
    rig.tickAt(at(Sunrise));
    QCOMPARE(rig.window->AnnouncedSlot, 1);
    QCOMPARE(rig.window->Label9.caption(), QStringLiteral("  "));
    QCOMPARE(rig.window->SunriseCountdown, 59);
    QVERIFY(rig.window->alertWindow());
    QVERIFY(rig.window->alertWindow()->Label1->text().contains(rig.window->LB[19]->text()));
    int shownTicks = 1;
    for (int s = 1; s < 120 && !rig.window->Label9.caption().isEmpty(); ++s) {
        rig.tickAt(at(Sunrise + 1 + s)); // past the two-second window
        if (!rig.window->Label9.caption().isEmpty())
            ++shownTicks;
    }
    QCOMPARE(shownTicks, 60);
    QVERIFY(!rig.window->alertWindow());
    QCOMPARE(rig.callStarts(), 0);
}

void MainWindowTickTest::callClosesAfterGraceWhenPlaybackEnds()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    MainWindowRig::finish(rig.call);
    // The arrival tick leaves 4 in the grace count; the player is asked once it is down to 0.
    for (int t = 1; t <= 4; ++t) {
        rig.tickAt(at(Noon + 1 + t));
        QVERIFY2(!rig.window->Label9.caption().isEmpty(), qPrintable(QString::number(t)));
    }
    rig.tickAt(at(Noon + 6));
    QCOMPARE(rig.window->Label9.caption(), QString());
    QVERIFY(!rig.window->alertWindow());
}

void MainWindowTickTest::callStaysWhilePlaying()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    for (int t = 2; t < 40; ++t)
        rig.tickAt(at(Noon + t));
    QVERIFY(rig.window->alertWindow());
    MainWindowRig::finish(rig.call);
    rig.tickAt(at(Noon + 40));
    QVERIFY(!rig.window->alertWindow());
}

void MainWindowTickTest::callWaitingForItsOutputKeepsItsStripAMinute()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    rig.call.setPlayState(MediaPlayer::WaitingForOutput);
    // Sixty ticks from the second of its two arrival ticks, as the sunrise notice.
    for (int t = 1; t <= 60; ++t)
        rig.tickAt(at(Noon + t));
    QVERIFY(!rig.window->Label9.caption().isEmpty());
    QVERIFY(rig.window->alertWindow());
    // The minute is over: the strip closes and the player stops waiting, or the call would
    // sound with no strip.
    rig.tickAt(at(Noon + 61));
    QCOMPARE(rig.window->Label9.caption(), QString());
    QVERIFY(rig.call.events().contains(QStringLiteral("stop")));
}

void MainWindowTickTest::previewPlayingHoldsOffDetectionAndDaySelection()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    MainWindowRig::setPlaying(rig.preview, true);
    rig.window->List1.setListIndex(-1);
    rig.tickAt(at(Noon));
    rig.tickAt(at(Noon + 1));
    QCOMPARE(rig.window->List1.listIndex(), -1);
    QCOMPARE(rig.callStarts(), 0);
    // The prayer passed during the preview: it is not announced afterwards either.
    MainWindowRig::setPlaying(rig.preview, false);
    rig.tickAt(at(Noon + 4));
    QCOMPARE(rig.callStarts(), 0);
    QCOMPARE(rig.window->List1.listIndex(), 0);
}

void MainWindowTickTest::endedPreviewStillHoldsOffUntilButtonReset()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon)); // a call is running
    rig.window->Command1->setText(QStringLiteral("<"));
    const int grace = rig.window->CallGraceCountdown;
    rig.tickAt(at(Noon + 5));
    QCOMPARE(rig.window->CallGraceCountdown, grace); // countdowns stand still
    rig.window->Command1->setText(QStringLiteral("4"));
    rig.tickAt(at(Noon + 6));
    QCOMPARE(rig.window->CallGraceCountdown, grace - 1);
}

void MainWindowTickTest::midnightSelectsTheNewDay()
{
    MainWindowRig rig(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)));
    QVERIFY(rig.load());
    rig.tick();
    QCOMPARE(rig.window->Label2, QStringLiteral("3112"));
    QCOMPARE(rig.window->List1.listIndex(), 365);
    QCOMPARE(rig.window->LB[0]->text(), QStringLiteral("06:02:00 AM"));
    rig.tickAt(QDate(2027, 1, 1), QTime(0, 0, 0));
    QCOMPARE(rig.window->Label2, QStringLiteral("0101"));
    QCOMPARE(rig.window->List1.listIndex(), 0);
    QCOMPARE(rig.window->TimA1[5], QString::number(1101 * 60));
}

void MainWindowTickTest::leapDayFoundOnlyInLeapYears_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("row");
    QTest::newRow("28 February of a common year") << QDate(2027, 2, 28) << 58;
    QTest::newRow("1 March of a common year") << QDate(2027, 3, 1) << 60;
    QTest::newRow("29 February of a leap year") << QDate(2028, 2, 29) << 59;
    QTest::newRow("1 March of a leap year") << QDate(2028, 3, 1) << 60;
}

void MainWindowTickTest::leapDayFoundOnlyInLeapYears()
{
    QFETCH(QDate, date);
    QFETCH(int, row);
    MainWindowRig rig(QDateTime(date, QTime(9, 0)));
    QVERIFY(rig.load());
    rig.tick();
    QCOMPARE(rig.window->List1.listIndex(), row);
}

void MainWindowTickTest::minimisedWindowIsNotRefreshedButStillAnnounces()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    const QString clock = rig.window->Label3->text();
    const QString hijri = rig.window->LB[35]->text();
    rig.window->setWindowState(Qt::WindowMinimized);
    rig.tickAt(at(Noon));
    QCOMPARE(rig.window->Label3->text(), clock);
    QCOMPARE(rig.window->LB[35]->text(), hijri);
    QCOMPARE(rig.callStarts(), 1);
    rig.window->RestoreMainWindow();
    rig.tickAt(at(Noon + 5));
    QCOMPARE(rig.window->Label3->text(), QStringLiteral("12:16:05 PM"));
}

void MainWindowTickTest::lateTickCatchesUpOnce()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 4));
    rig.tickAt(at(Noon + 6)); // the machine was busy for ten seconds
    QCOMPARE(rig.callStarts(), 1);
    QCOMPARE(rig.window->AnnouncedSlot, 2);
    rig.tickAt(at(Noon + 7));
    rig.tickAt(at(Noon + 30));
    QCOMPARE(rig.callStarts(), 1);
}

void MainWindowTickTest::oneReadingOfTheClockPerTick()
{
    // Read twice, the tick would take the day from one side of midnight and the clock from the
    // other.
    MainWindowRig rig(QDateTime(NewYear, QTime(23, 0)));
    QVERIFY(rig.load());
    rig.tick();
    rig.clock.set(QDateTime(NewYear, QTime(23, 59, 59, 900)));
    rig.clock.setStepPerRead(150);
    rig.tick();
    QCOMPARE(rig.window->Label2, QStringLiteral("0101"));
    QCOMPARE(rig.window->Label3->text(), QStringLiteral("11:59:59 PM"));
    QCOMPARE(rig.window->LB[35]->text(), hijri("12/07/1447"));
}

void MainWindowTickTest::highlightMovesFiveMinutesAhead()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    QVERIFY(rig.load());
    rig.tick();
    QCOMPARE(rig.window->LB[1]->backColor(), MainForm::CurrentSlotColor);
    rig.tickAt(at(Noon - 300));
    QCOMPARE(rig.window->LB[1]->backColor(), MainForm::CurrentSlotColor);
    QCOMPARE(rig.window->LB[2]->backColor(), MainForm::NormalSlotColor);
    rig.tickAt(at(Noon - 299));
    QCOMPARE(rig.window->LB[2]->backColor(), MainForm::CurrentSlotColor);
    QCOMPARE(rig.window->LB[1]->backColor(), MainForm::NormalSlotColor);
    rig.tickAt(QTime(3, 0));
    QCOMPARE(rig.window->LB[0]->backColor(), MainForm::CurrentSlotColor);
}

void MainWindowTickTest::secondCopysRequestRestoresWindow()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    QVERIFY(rig.load());
    rig.window->setWindowState(Qt::WindowMinimized);
    rig.settings.put(SettingsKeys::Close, QStringLiteral("Close"));
    rig.tick();
    QCOMPARE(rig.settings.stored(SettingsKeys::Close), QString());
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("1"));
    QVERIFY(rig.window->isNormalState());
}

void MainWindowTickTest::requestThatCannotBeClearedIsAnsweredOnce()
{
    // A full disk or a read-only home: the request stays in the store.
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    QVERIFY(rig.load());
    rig.settings.refuseWritesOf(SettingsKeys::Close);
    rig.settings.put(SettingsKeys::Close, QStringLiteral("Close"));
    rig.window->setWindowState(Qt::WindowMinimized);
    rig.tickAt(QTime(10, 0, 1));
    QVERIFY(rig.window->isNormalState());
    QCOMPARE(rig.settings.stored(SettingsKeys::Close), QStringLiteral("Close"));
    rig.window->setWindowState(Qt::WindowMinimized);
    for (int t = 2; t <= 4; ++t)
        rig.tickAt(QTime(10, 0, t));
    QVERIFY(!rig.window->isNormalState());
    // Once the key has been emptied, a new request is answered again.
    rig.settings.put(SettingsKeys::Close, QString());
    rig.tickAt(QTime(10, 0, 5));
    QVERIFY(!rig.window->isNormalState());
    rig.settings.put(SettingsKeys::Close, QStringLiteral("Close"));
    rig.tickAt(QTime(10, 0, 6));
    QVERIFY(rig.window->isNormalState());
}

void MainWindowTickTest::cityChangeShowsAtNextTick()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    QVERIFY(rig.load());
    rig.tick();
    QCOMPARE(rig.window->LB[0]->text(), QStringLiteral("06:02:00 AM"));
    rig.window->Combo1->setCurrentIndex(1);
    QCOMPARE(rig.window->LB[0]->text(), QStringLiteral("06:02:00 AM"));
    rig.tick();
    QCOMPARE(rig.window->LB[0]->text(), QStringLiteral("05:47:00 AM"));
    QCOMPARE(rig.window->TimA1[0], QStringLiteral("20820"));
}

void MainWindowTickTest::hijriAdjustmentFollowsTheCalendar_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("stored"); // "Hijri-Adjust"; null: never written
    QTest::addColumn<QString>("shown");
    // 1447 is a leap year of the civil calendar: its twelfth month has 30 days; the tenth
    // has 29. Dates by the arithmetic calendar (epoch 16 July 622, 11 leap years in 30).
    const QDate lastOf1447(2026, 6, 16);   // 30/12/1447
    const QDate endOfShawwal(2026, 4, 17); // 29/10/1447
    QTest::newRow("never adjusted") << lastOf1447 << QString() << hijri("30/12/1447");
    QTest::newRow("+1 into the new year") << lastOf1447 << "1" << hijri("01/01/1448");
    QTest::newRow("+2 into the new year") << lastOf1447 << "2" << hijri("02/01/1448");
    QTest::newRow("-1 back into the old year") << QDate(2026, 6, 17) << "-1" << hijri("30/12/1447");
    QTest::newRow("-2 back into the old year") << QDate(2026, 6, 17) << "-2" << hijri("29/12/1447");
    QTest::newRow("+1 over a 29-day month") << endOfShawwal << "1" << hijri("01/11/1447");
    QTest::newRow("-1 over a 29-day month") << QDate(2026, 4, 18) << "-1" << hijri("29/10/1447");
    QTest::newRow("a written plus sign") << endOfShawwal << "+1" << hijri("01/11/1447");
    // Whatever else is stored reads as no adjustment.
    QTest::newRow("empty") << lastOf1447 << "" << hijri("30/12/1447");
    QTest::newRow("not a number") << lastOf1447 << "one" << hijri("30/12/1447");
    QTest::newRow("a number and more") << lastOf1447 << "1d" << hijri("30/12/1447");
    QTest::newRow("beyond +2") << lastOf1447 << "3" << hijri("30/12/1447");
    QTest::newRow("beyond -2") << lastOf1447 << "-3" << hijri("30/12/1447");
    QTest::newRow("far beyond") << lastOf1447 << "99999999999" << hijri("30/12/1447");
}

void MainWindowTickTest::hijriAdjustmentFollowsTheCalendar()
{
    QFETCH(QDate, date);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    FakeSettingsBackend settings;
    if (!stored.isNull())
        settings.put(SettingsKeys::HijriAdjust, stored);
    MainWindowRig rig(QDateTime(date, QTime(9, 0)), &settings);
    QVERIFY(rig.load());
    rig.tick();
    QCOMPARE(rig.window->LB[35]->text(), shown);
    // Start-up and the tick leave the key as they found it.
    QCOMPARE(settings.contains(SettingsKeys::HijriAdjust), !stored.isNull());
    QCOMPARE(settings.stored(SettingsKeys::HijriAdjust), stored);
}

void MainWindowTickTest::hijriMenuChoosesAndKeepsTheAdjustment_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("unit");
    QTest::newRow("Arabic") << 0 << QStringLiteral("تعديل التاريخ الهجري") << QStringLiteral("يوم");
    QTest::newRow("Kurdish") << 1 << QStringLiteral("راستكردنهوهى بهروارى هيجرى")
                             << QStringLiteral("روَژ");
}

void MainWindowTickTest::hijriMenuChoosesAndKeepsTheAdjustment()
{
    QFETCH(int, language);
    QFETCH(QString, title);
    QFETCH(QString, unit);
    FakeSettingsBackend settings;
    settings.put(SettingsKeys::HijriAdjust, QStringLiteral("-1"));
    MainWindowRig rig(QDateTime(QDate(2026, 6, 16), QTime(9, 0)), &settings);
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Combo3->setCurrentIndex(language);
    rig.tick();
    QCOMPARE(w.LB[35]->text(), hijri("29/12/1447"));

    emit w.LB[35]->customContextMenuRequested(QPoint(5, 5));
    auto *menu = w.findChild<QMenu *>(QStringLiteral("HijriMenu"));
    QVERIFY(menu);
    QCOMPARE(menu->layoutDirection(), Qt::RightToLeft);
    QStringList texts;
    QStringList checked;
    QAction *plusOne = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        // The signed numbers are isolated left to right within the right-to-left text.
        const QString text
                = action->text().remove(QChar(0x200F)).remove(QChar(0x2066)).remove(QChar(0x2069));
        texts << text;
        if (action->isChecked())
            checked << text;
        if (text.startsWith(QLatin1String("+1 ")))
            plusOne = action;
    }
    QCOMPARE(texts,
             QStringList({ title, "-2 " + unit, "-1 " + unit, "0 " + unit, "+1 " + unit,
                           "+2 " + unit }));
    QCOMPARE(checked, QStringList({ "-1 " + unit }));
    QVERIFY(plusOne);
    plusOne->trigger();
    QCOMPARE(settings.stored(SettingsKeys::HijriAdjust), QStringLiteral("1"));
    rig.tick();
    QCOMPARE(w.LB[35]->text(), hijri("01/01/1448"));
    menu->close();

    // The next start shows the same date, and the menu checks the choice.
    rig.window.reset();
    MainWindowRig again(QDateTime(QDate(2026, 6, 16), QTime(9, 0, 5)), &settings);
    QVERIFY(again.load());
    again.tick();
    QCOMPARE(again.window->LB[35]->text(), hijri("01/01/1448"));
}

void MainWindowTickTest::tipNamesTheNextPrayerFromTheFirstTick()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(11, 0)));
    QVERIFY(rig.load());
    QCOMPARE(rig.window->TrayIconData.shownTip(), TipStart);
    rig.tickAt(QTime(11, 0, 1));
    const QString kurdish = TipStart + "\r\n" + tipLine("بانگى نيوةرِؤ", "12:16 PM", "پاش", "1:16");
    QCOMPARE(rig.window->TrayIconData.shownTip(), kurdish);
    QCOMPARE(rig.window->trayIcon()->toolTip(), kurdish);
    // Another language or city shows at the next tick, not at the next minute.
    rig.window->Combo3->setCurrentIndex(0);
    rig.tickAt(QTime(11, 0, 20));
    QCOMPARE(rig.window->trayIcon()->toolTip(),
             TipStart + "\r\n" + tipLine("أذان الظهر", "12:16 PM", "بعد", "1:16"));
    rig.window->Combo1->setCurrentIndex(1); // Nineveh: noon a minute earlier
    rig.tickAt(QTime(11, 0, 30));
    QCOMPARE(rig.window->trayIcon()->toolTip(),
             TipStart + "\r\n" + tipLine("أذان الظهر", "12:15 PM", "بعد", "1:15"));
}

void MainWindowTickTest::tipIsWrittenOnceAMinute_data()
{
    QTest::addColumn<int>("lead");
    QTest::addColumn<QString>("atArrival");
    // The lead brings the call forward, not the prayer: noon stays next until its own time.
    QTest::newRow("no lead") << 0 << tipLine("بانگى عهسر", "02:45 PM", "پاش", "2:29");
    QTest::newRow("three minutes' lead") << 3 << tipLine("بانگى نيوةرِؤ", "12:16 PM", "پاش", "0:03");
}

void MainWindowTickTest::tipIsWrittenOnceAMinute()
{
    QFETCH(int, lead);
    QFETCH(QString, atArrival);
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 11, 30)));
    QVERIFY(rig.load());
    rig.window->VScroll1->setValue(lead);
    QSignalSpy written(rig.window.get(), &MainWindow::trayTipWritten);
    QStringList writtenAt;
    for (int s = Noon - 270; s <= Noon + 90; ++s) {
        const int before = written.count();
        rig.tickAt(at(s));
        QVERIFY(written.count() - before <= 1);
        if (written.count() > before)
            writtenAt << at(s).toString(QStringLiteral("HH:mm:ss"));
        if (s == Noon - 60 * lead) {
            QCOMPARE(rig.callStarts(), 1);
            QCOMPARE(written.count(), before + 1);
            QCOMPARE(written.last().first().toString(), TipStart + "\r\n" + atArrival);
        }
    }
    QCOMPARE(writtenAt,
             QStringList({ "12:11:30", "12:12:00", "12:13:00", "12:14:00", "12:15:00", "12:16:00",
                           "12:17:00" }));
}

void MainWindowTickTest::tipAfterTheNightCallIsTomorrowsDawn_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("dawnMinutes"); // the stored move of dawn, "" for none
    QTest::addColumn<QString>("dawn");
    QTest::addColumn<QString>("left");
    QTest::newRow("28 February of a common year") << QDate(2026, 2, 28) << ""
                                                  << "05:16 AM"
                                                  << "9:16";
    QTest::newRow("28 February of a leap year") << QDate(2028, 2, 28) << ""
                                                << "05:17 AM"
                                                << "9:17";
    QTest::newRow("29 February") << QDate(2028, 2, 29) << ""
                                 << "05:16 AM"
                                 << "9:16";
    QTest::newRow("31 December") << QDate(2026, 12, 31) << ""
                                 << "06:02 AM"
                                 << "10:02";
    // Tomorrow's dawn as it will sound: 1 March's 05:16 moved ten minutes earlier.
    QTest::newRow("dawn moved -10") << QDate(2026, 2, 28) << "-10"
                                    << "05:06 AM"
                                    << "9:06";
}

void MainWindowTickTest::tipAfterTheNightCallIsTomorrowsDawn()
{
    QFETCH(QDate, date);
    QFETCH(QString, dawnMinutes);
    QFETCH(QString, dawn);
    QFETCH(QString, left);
    FakeSettingsBackend settings;
    if (!dawnMinutes.isEmpty())
        settings.put(QStringLiteral("Minutes-1"), dawnMinutes);
    MainWindowRig rig(QDateTime(date, QTime(20, 0)), &settings);
    QVERIFY(rig.load());
    rig.tick();
    QCOMPARE(rig.window->TrayIconData.shownTip(),
             TipStart + "\r\n" + tipLine("بانگى بهيانى", dawn, "پاش", left));
}

QTEST_MAIN(MainWindowTickTest)
#include "tst_mainwindow_tick.moc"
