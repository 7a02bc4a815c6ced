// Waking the computer for the dawn call: when, and what the window asks of a fake timer.
#include "MainWindowRig.h"

#include "mainwindow/PrayerMenu.h"
#include "mainwindow/WakeRules.h"
#include "presentation/VbLabel.h"

#include <QAction>
#include <QScrollBar>
#include <QtTest>

class MainWindowWakeTest : public QObject
{
    Q_OBJECT

private slots:
    void dueIsAMinuteBeforeTheNextDawnCall_data();
    void dueIsAMinuteBeforeTheNextDawnCall();
    void dawnMenuArmsKeepsAwakeAndCancels();
};

void MainWindowWakeTest::dueIsAMinuteBeforeTheNextDawnCall_data()
{
    QTest::addColumn<QTime>("now"); // Baghdad (+03:00); today's dawn is at 04:30
    QTest::addColumn<int>("tomorrowsDawn");
    QTest::addColumn<int>("lead");
    QTest::addColumn<QString>("due"); // UTC
    QTest::newRow("today's still ahead") << QTime(2, 0) << 16260 << 0 << "03-10T01:29";
    QTest::newRow("the lead applied") << QTime(2, 0) << 16260 << -5 << "03-10T01:24";
    QTest::newRow("past: tomorrow's") << QTime(5, 0) << 16260 << 0 << "03-11T01:30";
    QTest::newRow("in its last minute: tomorrow's")
            << QTime(4, 29, 30) << 16260 << 0 << "03-11T01:30";
    QTest::newRow("tomorrow's moved before midnight") << QTime(22, 0) << -600 << 0 << "03-10T20:49";
}

void MainWindowWakeTest::dueIsAMinuteBeforeTheNextDawnCall()
{
    QFETCH(QTime, now);
    QFETCH(int, tomorrowsDawn);
    QFETCH(int, lead);
    QFETCH(QString, due);
    const QDate today(2026, 3, 10);
    const auto dawn = [&](const QDate &day) -> std::optional<int> {
        return day == today ? 16200 : tomorrowsDawn;
    };
    const auto wake
            = WakeRules::dawnWakeDue(QDateTime(today, now, QTimeZone("Asia/Baghdad")), dawn, lead);
    QCOMPARE(wake.value_or(QDateTime()).toString(QStringLiteral("MM-ddTHH:mm:ss")), due + ":00");
}

void MainWindowWakeTest::dawnMenuArmsKeepsAwakeAndCancels()
{
    FakeSettingsBackend settings;
    settings.put(QStringLiteral("Wake-1"), QStringLiteral("yes")); // reads as off
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(12, 0)), &settings);
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    const auto dawnMenu = [&w] {
        emit w.LB[0]->customContextMenuRequested(QPoint(3, 3));
        return w.findChild<PrayerMenu *>(QStringLiteral("PrayerMenu"));
    };
    PrayerMenu *menu = dawnMenu();
    QVERIFY(!menu->wakeItem()); // no timer, as on Linux: not offered
    delete menu;
    rig.wake.available = true;
    rig.wake.allowed = false;
    menu = dawnMenu();
    QVERIFY(menu->wakeItem() && !menu->wakeItem()->isChecked());
    QCOMPARE(menu->wakeItem()->text(), QStringLiteral("کۆمپیوتەرەکە بۆی بەئاگا بهێنە"));
    QVERIFY(!menu->actions().last()->isEnabled()); // the power plan's refusal, told
    menu->wakeItem()->trigger();
    menu->close();
    QCOMPARE(settings.stored(QStringLiteral("Wake-1")), QStringLiteral("1"));
    w.VScroll1->setValue(5); // a lead of five minutes moves the moment
    w.WakeTimer_Refresh(rig.clock.now());
    w.WakeTimer_Refresh(rig.clock.now());

    // The dawn call sounds, then ends; the choice goes off; on again, then the window goes.
    w.AnnouncedSlot = 0;
    w.Label9.setCaption(QStringLiteral("/opt/tirvelon/Data/call.mp3"));
    MainWindowRig::setPlaying(rig.call, true);
    w.WakeTimer_Refresh(rig.clock.now());
    MainWindowRig::finish(rig.call);
    w.WakeTimer_Refresh(rig.clock.now());
    w.PrayerMenu_WakeClick(false);
    w.PrayerMenu_WakeClick(true);
    const QDate day(2026, 1, 2);
    const auto armed = [&](int lead) {
        const QDateTime due = day.startOfDay().addSecs(*w.movedDawnSeconds(day) + 60 * lead - 60);
        return "arm " + due.toUTC().toString(Qt::ISODate);
    };
    const QStringList calls {
        armed(0), armed(-5), "awake", "asleep", "cancel", armed(-5), "cancel"
    };
    rig.window.reset();
    QCOMPARE(rig.wake.calls, calls);
    QCOMPARE(WakeRules::fileTimeOf(QDateTime::fromSecsSinceEpoch(1, Qt::UTC)),
             Q_INT64_C(116444736010000000));
}

QTEST_MAIN(MainWindowWakeTest)
#include "tst_mainwindow_wake.moc"
