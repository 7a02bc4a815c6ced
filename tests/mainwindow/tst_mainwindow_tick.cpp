// The one-second tick on fakes: arrivals with every lead, the alert's countdowns, the preview
// guards, the day change, late ticks and the mark of the current prayer.
#include "MainWindowRig.h"

#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "settings/SettingsKeys.h"
#include "sound/AlertWindow.h"

#include <QComboBox>
#include <QScrollBar>
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
    void previewPlayingHoldsOffDetectionAndDaySelection();
    void endedPreviewStillHoldsOffUntilButtonReset();
    void midnightSelectsTheNewDay();
    void leapDayFoundOnlyInLeapYears_data();
    void leapDayFoundOnlyInLeapYears();
    void minimisedWindowIsNotRefreshedButStillAnnounces();
    void lateTickCatchesUpOnce();
    void lateTickBeyondAMinuteDoesNotCatchUp();
    void highlightMovesFiveMinutesAhead();
    void secondCopysRequestRestoresWindow();
    void requestThatCannotBeClearedIsAnsweredOnce();
    void cityChangeShowsAtNextTick();
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

void MainWindowTickTest::lateTickBeyondAMinuteDoesNotCatchUp()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 40));
    rig.tickAt(at(Noon + 30)); // 70 seconds later: the clock was probably changed
    QCOMPARE(rig.callStarts(), 0);
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

QTEST_MAIN(MainWindowTickTest)
#include "tst_mainwindow_tick.moc"
