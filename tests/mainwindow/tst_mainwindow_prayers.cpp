// Each prayer's own choices on fakes: detection with moved minutes, modes and reminders over
// every road a call can take (one table), the menu in both languages, the stored keys.
#include "MainWindowRig.h"

#include "mainwindow/PrayerMenu.h"
#include "presentation/VbLabel.h"
#include "settings/SettingsKeys.h"
#include "sound/AlertWindow.h"

#include <QAction>
#include <QComboBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QtTest>

namespace {

using Segments = QList<int>; // pairs: first and last second of a run of ticks, one a second

// A table row with the same six base minutes, no offsets for the other cities.
QString row(const QString &key, const QList<int> &minutes)
{
    QString text = key;
    for (int m : minutes)
        text += QStringLiteral("%1").arg(m, 4, 10, QLatin1Char('0'));
    return text + QString(96, QLatin1Char('0'));
}

// Every day of the table given the same six minutes.
void giveEveryDay(MainWindow &w, const QList<int> &minutes)
{
    const QStringList rows = w.List1.rows();
    w.List1.clear();
    for (const QString &r : rows)
        w.List1.addItem(row(r.left(4), minutes));
}

// "hh:mm AM" of the strip, from the announced "hh:mm:00 AM".
QString shortTime(const QString &slotText)
{
    return slotText.left(5) + QLatin1Char(' ') + slotText.right(2);
}

// What the strip starts showing at a tick: "hh:mm:ss call|strip|remind slot [time]".
QString stripState(const MainWindow &w)
{
    const QString &trigger = w.Label9.caption();
    const QString slot = QString::number(w.AnnouncedSlot);
    if (trigger.size() > 4)
        return QStringLiteral("call ") + slot + QLatin1Char(' ') + shortTime(w.AnnouncedTimeText);
    if (trigger == QLatin1String("  "))
        return QStringLiteral("strip ") + slot + QLatin1Char(' ') + shortTime(w.AnnouncedTimeText);
    if (trigger == QLatin1String("   "))
        return QStringLiteral("remind ") + slot;
    if (trigger == QLatin1String("    ") && w.alertWindow())
        return QStringLiteral("came ") + slot + QLatin1Char(' ') + w.alertWindow()->Label1->text();
    return QString();
}

const QDate Day(2026, 3, 10);

} // namespace

class MainWindowPrayersTest : public QObject
{
    Q_OBJECT

private slots:
    void detectionStaysExact_data();
    void detectionStaysExact();
    void storedChoicesReadStrictly_data();
    void storedChoicesReadStrictly();
    void menuChoosesKeepsAndSurvivesARestart_data();
    void menuChoosesKeepsAndSurvivesARestart();
    void menuKeyOpensTheMenuOfTheNameWithTheKeyboard();
    void reminderStripCountsDownSilentlyAndCloses();
    void storeGainsNoKeyUnlessChosen();
    void movedDawnOfAnyDay();
};

void MainWindowPrayersTest::detectionStaysExact_data()
{
    QTest::addColumn<QList<int>>("minutes"); // the six base times of every day
    QTest::addColumn<QStringList>("stored"); // "key=text"
    QTest::addColumn<int>("lead");
    QTest::addColumn<Segments>("ticks"); // seconds after the midnight that starts Day
    QTest::addColumn<QStringList>("shown");

    const int midnight = 86400;
    const QList<int> plain = { 300, 400, 720, 900, 1000, 1200 };
    const QList<int> nearMidnight = { 20, 80, 720, 900, 1000, 1430 };

    // A gap in the ticks: the machine slept or stalled, or its clock was set forward or back.
    const auto came = [](const char *name, const char *time) {
        return QStringLiteral("came %1 \u200F%2 له كاتژميَر \u2066%3\u2069 بوو")
                .arg(QLatin1String(name).left(1), QString::fromUtf8(name + 2), QLatin1String(time));
    };
    QTest::newRow("unmoved noon, as ever")
            << plain << QStringList() << 0 << Segments { 43190, 43230 }
            << QStringList { "12:00:00 call 2 12:00 PM" };
    QTest::newRow("noon +2: at the moved minute, not the table's")
            << plain << QStringList { "Minutes-3=2" } << 0 << Segments { 43190, 43340 }
            << QStringList { "12:02:00 call 2 12:02 PM" };
    QTest::newRow("noon -30, lead 10: the lead on top of the move")
            << plain << QStringList { "Minutes-3=-30" } << -10 << Segments { 40790, 43300 }
            << QStringList { "11:20:00 call 2 11:30 AM" };
    QTest::newRow("noon +2, lead 3")
            << plain << QStringList { "Minutes-3=2" } << -3 << Segments { 43130, 43330 }
            << QStringList { "11:59:00 call 2 12:02 PM" };
    QTest::newRow("late tick steps over a moved noon")
            << plain << QStringList { "Minutes-3=2" } << 0
            << Segments { 43316, 43316, 43326, 43340 }
            << QStringList { "12:02:06 call 2 12:02 PM" };
    QTest::newRow("dawn -30 from 00:20 sounds at 23:50 the evening before, once")
            << QList<int> { 20, 80, 720, 900, 1000, 1200 } << QStringList { "Minutes-1=-30" } << 0
            << Segments { 1190, 1210, midnight - 620, midnight + 1250 }
            << QStringList { "23:49:40 " + came("5 بانگى عـــــيشاء", "08:00 PM"),
                             "23:50:00 call 0 11:50 PM" };
    QTest::newRow("night +30 from 23:50 sounds at 00:20 after midnight, once")
            << QList<int> { 300, 400, 720, 900, 1000, 1430 } << QStringList { "Minutes-6=30" } << 0
            << Segments { midnight - 620, midnight + 1250 }
            << QStringList { "00:20:00 call 5 00:20 AM" };
    QTest::newRow("dawn -30 and night +30 cross each other at midnight")
            << nearMidnight << QStringList { "Minutes-1=-30", "Minutes-6=30" } << 0
            << Segments { midnight - 620, midnight + 1250 }
            << QStringList { "23:50:00 call 0 11:50 PM", "00:20:00 call 5 00:20 AM" };
    QTest::newRow("dawn -30 lands on the night call before midnight: both, in order")
            << nearMidnight << QStringList { "Minutes-1=-30" } << 0
            << Segments { midnight - 620, midnight - 500 }
            << QStringList { "23:50:00 call 5 11:50 PM", "23:50:07 call 0 11:50 PM" };
    QTest::newRow("late tick over midnight catches a call at 00:00")
            << QList<int> { 300, 400, 720, 900, 1000, 1420 } << QStringList { "Minutes-6=20" } << 0
            << Segments { midnight - 10, midnight - 10, midnight + 20, midnight + 30 }
            << QStringList { "00:00:20 call 5 00:00 AM" };
    QTest::newRow("afternoon -30 lands on noon +30: both, in order")
            << QList<int> { 300, 400, 720, 780, 1000, 1200 }
            << QStringList { "Minutes-3=30", "Minutes-4=-30" } << 0 << Segments { 44990, 45100 }
            << QStringList { "12:30:00 call 2 12:30 PM", "12:30:07 call 3 12:30 PM" };
    QTest::newRow("a call on a strip-only prayer's time waits for its minute")
            << QList<int> { 300, 400, 720, 780, 1000, 1200 }
            << QStringList { "Minutes-3=30", "Minutes-4=-30", "Call-3=1" } << 0
            << Segments { 44990, 45100 }
            << QStringList { "12:30:00 strip 2 12:30 PM", "12:31:02 call 3 12:30 PM" };
    QTest::newRow("strip only: the strip, no call")
            << plain << QStringList { "Call-3=1" } << 0 << Segments { 43190, 43300 }
            << QStringList { "12:00:00 strip 2 12:00 PM" };
    QTest::newRow("nothing: neither") << plain << QStringList { "Call-3=2" } << 0
                                      << Segments { 43190, 43300 } << QStringList();
    QTest::newRow("sunrise set to nothing") << plain << QStringList { "Call-2=2" } << 0
                                            << Segments { 23990, 24100 } << QStringList();
    QTest::newRow("reminder 10 for noon, then the call")
            << plain << QStringList { "Remind-3=10" } << 0 << Segments { 42590, 43210 }
            << QStringList { "11:50:00 remind 2", "12:00:00 call 2 12:00 PM" };
    QTest::newRow("reminder with nothing: the reminder alone")
            << plain << QStringList { "Remind-3=10", "Call-3=2" } << 0 << Segments { 42590, 43300 }
            << QStringList { "11:50:00 remind 2" };
    QTest::newRow("a reminder due with a call waits for it")
            << QList<int> { 300, 400, 720, 725, 1000, 1200 } << QStringList { "Remind-4=5" } << 0
            << Segments { 43190, 43520 }
            << QStringList { "12:00:00 call 2 12:00 PM", "12:00:07 remind 3",
                             "12:05:00 call 3 12:05 PM" };
    QTest::newRow("a reminder gives way to the next minute's call")
            << QList<int> { 300, 400, 720, 716, 1000, 1200 } << QStringList { "Remind-3=5" } << 0
            << Segments { 42890, 43000 }
            << QStringList { "11:55:00 remind 2", "11:56:00 call 3 11:56 AM" };
    QTest::newRow("reminder before midnight for a dawn after it")
            << QList<int> { 10, 80, 720, 900, 1000, 1200 } << QStringList { "Remind-1=15" } << 0
            << Segments { midnight - 310, midnight + 620 }
            << QStringList { "23:55:00 remind 0", "00:10:00 call 0 00:10 AM" };
    QTest::newRow("gap of 30 s over noon")
            << plain << QStringList() << 0 << Segments { 43180, 43190, 43220, 43230 }
            << QStringList { "12:00:20 call 2 12:00 PM" };
    QTest::newRow("gap of 61 s") << plain << QStringList() << 0
                                 << Segments { 43150, 43170, 43231, 43240 }
                                 << QStringList { "12:00:31 call 2 12:00 PM" };
    QTest::newRow("gap of 3 min, lead 5: the call as at its time")
            << plain << QStringList() << -5 << Segments { 42800, 42810, 43080, 43090 }
            << QStringList { "11:58:00 call 2 12:00 PM" };
    QTest::newRow("gap of 10 min, strip only")
            << plain << QStringList { "Call-3=1" } << 0 << Segments { 43100, 43110, 43800, 43810 }
            << QStringList { "12:10:00 strip 2 12:00 PM" };
    QTest::newRow("gap of 11 min: a silent strip says when the call came")
            << plain << QStringList() << 0 << Segments { 43100, 43110, 43860, 43930 }
            << QStringList { "12:11:00 " + came("2 بانگى نـــــيوةرِؤ", "12:00 PM") };
    QTest::newRow("gap of 2 h") << plain << QStringList() << 0
                                << Segments { 43100, 43110, 50400, 50410 }
                                << QStringList { "14:00:00 "
                                                 + came("2 بانگى نـــــيوةرِؤ", "12:00 PM") };
    QTest::newRow("gap of 8 h: only the latest prayer of it")
            << plain << QStringList() << 0 << Segments { 43100, 43110, 71880, 71890 }
            << QStringList { "19:58:00 " + came("4 بانگى مـــهغريب", "04:40 PM") };
    QTest::newRow("gap of 8 h ending after a prayer set to nothing: nothing")
            << plain << QStringList { "Call-5=2" } << 0 << Segments { 43100, 43110, 60700, 60710 }
            << QStringList();
    QTest::newRow("overnight: the night call passed over, dawn called")
            << plain << QStringList() << 0
            << Segments { 71990, 71995, midnight + 18180, midnight + 18190 }
            << QStringList { "05:03:00 call 0 05:00 AM" };
    QTest::newRow("sunrise within ten minutes: its strip")
            << plain << QStringList() << 0 << Segments { 23900, 23910, 24300, 24310 }
            << QStringList { "06:45:00 strip 1 06:40 AM" };
    QTest::newRow("sunrise long ago: nothing")
            << plain << QStringList() << 0 << Segments { 23900, 23910, 25200, 25210 }
            << QStringList();
    QTest::newRow("clock set back over the noon call that ended: not again")
            << plain << QStringList() << 0 << Segments { 43190, 43260, 43190, 43260 }
            << QStringList { "12:00:00 call 2 12:00 PM" };
    QTest::newRow("clock set back hours after the call: not again")
            << plain << QStringList() << 0 << Segments { 43190, 43210, 50000, 50010, 43190, 43210 }
            << QStringList { "12:00:00 call 2 12:00 PM" };
    QTest::newRow("clock set back over a reminder: not again")
            << plain << QStringList { "Remind-3=10" } << 0
            << Segments { 42590, 42680, 42590, 42680 } << QStringList { "11:50:00 remind 2" };
    QTest::newRow("a reminder stepped over, its prayer ahead: shown")
            << plain << QStringList { "Remind-3=10" } << 0
            << Segments { 42500, 42510, 42900, 42910 } << QStringList { "11:55:00 remind 2" };
    QTest::newRow("a reminder stepped over more than ten minutes ago: dropped")
            << plain << QStringList { "Remind-3=30" } << 0
            << Segments { 41300, 41310, 42100, 42110 } << QStringList();
    QTest::newRow("a reminder and its prayer both stepped over: the call alone")
            << plain << QStringList { "Remind-3=10" } << 0
            << Segments { 42500, 42510, 43300, 43310 }
            << QStringList { "12:01:40 call 2 12:00 PM" };
    QTest::newRow("reminder 30 with dawn -30 and lead 10, all before midnight")
            << QList<int> { 20, 80, 720, 900, 1000, 1200 }
            << QStringList { "Remind-1=30", "Minutes-1=-30" } << -10
            << Segments { midnight - 3010, midnight - 1150 }
            << QStringList { "23:10:00 remind 0", "23:40:00 call 0 11:50 PM" };
}

void MainWindowPrayersTest::detectionStaysExact()
{
    QFETCH(QList<int>, minutes);
    QFETCH(QStringList, stored);
    QFETCH(int, lead);
    QFETCH(Segments, ticks);
    QFETCH(QStringList, shown);

    FakeSettingsBackend settings;
    for (const QString &pair : stored)
        settings.put(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    MainWindowRig rig(QDateTime(Day, QTime(0, 0)), &settings);
    // The recordings cannot be read: each call ends when its grace is over, as a short one would.
    rig.call.markMissing(QStringLiteral("7.mp3"));
    rig.call.markMissing(QStringLiteral("5.mp3"));
    QVERIFY(rig.load());
    giveEveryDay(*rig.window, minutes);
    rig.window->VScroll1->setValue(-lead);

    QStringList seen;
    QString before;
    for (int i = 0; i + 1 < ticks.size(); i += 2) {
        for (int t = ticks[i]; t <= ticks[i + 1]; ++t) {
            rig.tickAt(Day.addDays(t / 86400), QTime(0, 0).addSecs(t % 86400));
            const QString state = stripState(*rig.window);
            if (!state.isEmpty() && state != before)
                seen << QTime(0, 0).addSecs(t % 86400).toString(QStringLiteral("hh:mm:ss"))
                                + QLatin1Char(' ') + state;
            before = state;
        }
    }
    QCOMPARE(seen, shown);
    int calls = 0;
    for (const QString &s : shown)
        calls += s.contains(QLatin1String(" call ")) ? 1 : 0;
    QCOMPARE(rig.callStarts(), calls);
}

void MainWindowPrayersTest::storedChoicesReadStrictly_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("remind");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("movedBy");
    QTest::addColumn<int>("remindBy");
    const auto row = [](const char *name, int slot, const char *call, const char *minutes,
                        const char *remind, int mode, int movedBy, int remindBy) {
        QTest::newRow(name) << slot << QString::fromLatin1(call) << QString::fromLatin1(minutes)
                            << QString::fromLatin1(remind) << mode << movedBy << remindBy;
    };
    QTest::newRow("never written") << 2 << QString() << QString() << QString() << 0 << 0 << 0;
    row("sunrise never written: strip only", 1, "", "", "", 1, 0, 0);
    row("every choice at its edge", 4, "2", "-30", "30", 2, -30, 30);
    row("beyond the ranges", 3, "3", "31", "35", 0, 0, 0);
    row("below the ranges", 3, "-1", "-31", "-5", 0, 0, 0);
    row("not numbers", 5, "call", "2m", "ten", 0, 0, 0);
    row("a reminder not offered", 5, "0", "0", "7", 0, 0, 0);
    row("sunrise cannot sound", 1, "0", "5", "10", 1, 5, 10);
}

void MainWindowPrayersTest::storedChoicesReadStrictly()
{
    QFETCH(int, slot);
    QFETCH(QString, call);
    QFETCH(QString, minutes);
    QFETCH(QString, remind);
    QFETCH(int, mode);
    QFETCH(int, movedBy);
    QFETCH(int, remindBy);
    const QString number = QString::number(slot + 1);
    FakeSettingsBackend settings;
    if (!call.isNull()) {
        settings.put(QStringLiteral("Call-") + number, call);
        settings.put(QStringLiteral("Minutes-") + number, minutes);
        settings.put(QStringLiteral("Remind-") + number, remind);
    }
    MainWindowRig rig(QDateTime(Day, QTime(9, 0)), &settings);
    QVERIFY(rig.load());
    const PrayerRules::PrayerChoice choice = rig.window->PrayerChoices[slot];
    QCOMPARE(int(choice.mode), mode);
    QCOMPARE(choice.minutes, movedBy);
    QCOMPARE(choice.remind, remindBy);
    // Reading never writes.
    QCOMPARE(settings.stored(QStringLiteral("Call-") + number), call);
}

void MainWindowPrayersTest::menuChoosesKeepsAndSurvivesARestart_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("tip");
    const QString rlm(QChar(0x200F));
    QTest::newRow("Kurdish") << 1
                             << QStringList { "بانگى نـــــيوةرِؤ",
                                              "بانگدان",
                                              "بانگ و نيشاندان",
                                              "تهنها نيشاندان، بيَ دهنگ",
                                              "هيچ",
                                              "گوَرينى كات",
                                              "",
                                              "بيرخستنهوه پيَش كات",
                                              "بيَ بيرخستنهوه",
                                              "5 خولهك پيَش",
                                              "10 خولهك پيَش",
                                              "15 خولهك پيَش",
                                              "20 خولهك پيَش",
                                              "30 خولهك پيَش" }
                             << " خولهك"
                             << "كات گوَردراوه +2 خولهك";
    QTest::newRow("Arabic") << 0
                            << QStringList { "أذان الظهر",
                                             "الأذان",
                                             "الأذان مع الإظهار",
                                             "إظهار فقط، بدون صوت",
                                             "لا شيء",
                                             "تعديل الوقت",
                                             "",
                                             "تذكير قبل الوقت",
                                             "بدون تذكير",
                                             "قبل 5 دقائق",
                                             "قبل 10 دقائق",
                                             "قبل 15 دقيقة",
                                             "قبل 20 دقيقة",
                                             "قبل 30 دقيقة" }
                            << " دقيقة"
                            << "الوقت معدل +2 دقيقة";
}

void MainWindowPrayersTest::menuChoosesKeepsAndSurvivesARestart()
{
    QFETCH(int, language);
    QFETCH(QStringList, items);
    QFETCH(QString, suffix);
    QFETCH(QString, tip);
    const auto plain = [](QString text) {
        for (QChar c : { QChar(0x200F), QChar(0x2066), QChar(0x2069) })
            text.remove(c);
        return text;
    };
    FakeSettingsBackend settings;
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(11, 0)), &settings);
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Combo3->setCurrentIndex(language);
    rig.tick();
    QCOMPARE(w.LB[2]->text(), QStringLiteral("12:16:00 PM"));
    QVERIFY(!w.PrayerMark[2]->isVisibleTo(&w));

    // The menu opens on the time as on the name.
    emit w.LB[2]->customContextMenuRequested(QPoint(3, 3));
    auto *menu = w.findChild<PrayerMenu *>(QStringLiteral("PrayerMenu"));
    QVERIFY(menu);
    QCOMPARE(menu->layoutDirection(), Qt::RightToLeft);
    QStringList texts;
    QList<QAction *> actions;
    for (QAction *action : menu->actions())
        if (!action->isSeparator()) {
            texts << plain(action->text());
            actions << action;
        }
    QCOMPARE(texts, items);
    QCOMPARE(actions[2]->isChecked(), true); // the call, by default
    QCOMPARE(actions[8]->isChecked(), true); // no reminder
    QCOMPARE(menu->minutesField()->value(), 0);
    QCOMPARE(menu->minutesField()->suffix(), suffix);

    actions[3]->trigger();             // strip only
    menu->minutesField()->setValue(2); // moved two minutes later
    actions[10]->trigger();            // a reminder 10 minutes before
    QCOMPARE(settings.stored(QStringLiteral("Call-3")), QStringLiteral("1"));
    QCOMPARE(settings.stored(QStringLiteral("Minutes-3")), QStringLiteral("2"));
    QCOMPARE(settings.stored(QStringLiteral("Remind-3")), QStringLiteral("10"));
    menu->close();
    // The row shows the moved time at once, marked.
    QCOMPARE(w.LB[2]->text(), QStringLiteral("12:18:00 PM"));
    QVERIFY(w.PrayerMark[2]->isVisibleTo(&w));
    QCOMPARE(w.PrayerMark[2]->text(), QStringLiteral("+2"));
    QCOMPARE(plain(w.LB[2]->toolTip()), tip);
    QVERIFY(w.LB[2]->foreColor() != w.LB[1]->foreColor());

    // A new start reads them back: the row, the mark, the menu's checks, the strip alone.
    rig.window.reset();
    MainWindowRig again(QDateTime(QDate(2026, 1, 1), QTime(12, 7, 58)), &settings);
    QVERIFY(again.load());
    MainWindow &w2 = *again.window;
    w2.Combo3->setCurrentIndex(language);
    again.tick();
    QCOMPARE(w2.LB[2]->text(), QStringLiteral("12:18:00 PM"));
    QCOMPARE(w2.PrayerMark[2]->text(), QStringLiteral("+2"));
    emit w2.LB[14]->customContextMenuRequested(QPoint(3, 3));
    auto *menu2 = w2.findChild<PrayerMenu *>(QStringLiteral("PrayerMenu"));
    QVERIFY(menu2);
    QCOMPARE(menu2->minutesField()->value(), 2);
    QStringList checked;
    for (QAction *action : menu2->actions())
        if (action->isChecked())
            checked << plain(action->text());
    QCOMPARE(checked, QStringList({ items[3], items[10] }));
    menu2->close();
    again.tickAt(QTime(12, 8, 0));
    QCOMPARE(w2.Label9.caption(), QStringLiteral("   ")); // the reminder
    again.tickAt(QTime(12, 18, 0));
    QCOMPARE(w2.Label9.caption(), QStringLiteral("  ")); // the strip alone
    QCOMPARE(again.callStarts(), 0);
}

void MainWindowPrayersTest::menuKeyOpensTheMenuOfTheNameWithTheKeyboard()
{
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(11, 0)));
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    // The names come last in the Tab order of the shown controls, in slot order: the window
    // opens with the first control in focus that it always did.
    QList<QWidget *> chain;
    for (QWidget *c = w.nextInFocusChain(); c != &w; c = c->nextInFocusChain())
        if ((c->focusPolicy() & Qt::TabFocus) && !c->isHidden())
            chain << c;
    QCOMPARE(chain.first(), w.Combo2);
    QCOMPARE(chain.mid(chain.size() - 6),
             QList<QWidget *>({ w.LB[12], w.LB[13], w.LB[14], w.LB[15], w.LB[16], w.LB[17] }));
    QVERIFY(!chain.mid(0, chain.size() - 6).contains(w.LB[12]));

    w.show();
    w.LB[15]->setFocus(Qt::TabFocusReason);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(4, 4),
                          w.LB[15]->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(w.LB[15], &key);
    auto *menu = w.findChild<PrayerMenu *>(QStringLiteral("PrayerMenu"));
    QVERIFY(menu);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("بانگى عـــــهسر"));
    menu->close();
}

void MainWindowPrayersTest::reminderStripCountsDownSilentlyAndCloses()
{
    FakeSettingsBackend settings;
    settings.put(QStringLiteral("Remind-3"), QStringLiteral("10"));
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(12, 5, 58)), &settings);
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    const auto line = [&w] {
        return w.alertWindow()
                ->Label1->text()
                .remove(QChar(0x200F))
                .remove(QChar(0x2066))
                .remove(QChar(0x2069));
    };
    rig.tick();
    rig.tickAt(QTime(12, 6, 0)); // noon is at 12:16
    QVERIFY(w.alertWindow());
    // The Kurdish line: the minutes left, the prayer's name.
    QCOMPARE(line(), QStringLiteral("10 خولهك ماوه بوَ بانگى نـــــيوةرِؤ"));
    rig.tickAt(QTime(12, 6, 1));
    QCOMPARE(line(), QStringLiteral("10 خولهك ماوه بوَ بانگى نـــــيوةرِؤ"));
    rig.tickAt(QTime(12, 7, 0));
    QCOMPARE(line(), QStringLiteral("9 خولهك ماوه بوَ بانگى نـــــيوةرِؤ"));
    w.Combo3->setCurrentIndex(0);
    rig.tickAt(QTime(12, 7, 1));
    QCOMPARE(line(), QStringLiteral("بقي 9 دقائق على أذان الظهر"));
    int shownTicks = 4;
    for (int s = 2; s < 120 && w.alertWindow(); ++s) {
        rig.tickAt(QTime(12, 7, 0).addSecs(s));
        if (w.alertWindow())
            ++shownTicks;
    }
    QCOMPARE(shownTicks, 60);
    QCOMPARE(rig.callStarts(), 0);
    QVERIFY(rig.call.events().filter(QStringLiteral("play")).isEmpty());
}

void MainWindowPrayersTest::storeGainsNoKeyUnlessChosen()
{
    // A user who never opens the menus: a day of calls and a close leave the store as before.
    FakeSettingsBackend settings;
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(12, 15, 50)), &settings);
    QVERIFY(rig.load());
    for (int s = 0; s < 30; ++s)
        rig.tickAt(QTime(12, 15, 50).addSecs(s));
    QCOMPARE(rig.callStarts(), 1);
    rig.window->close();
    QStringList keys;
    for (const char *key : { "Salat-1", "Salat-2", "Salat-3", "Salat-4", "Salat-5", "Salat-6",
                             "Close", "Hijri-Adjust" })
        if (settings.contains(QString::fromLatin1(key)))
            keys << QString::fromLatin1(key);
    QCOMPARE(keys,
             QStringList({ "Salat-1", "Salat-2", "Salat-3", "Salat-4", "Salat-5", "Salat-6" }));
    for (int n = 1; n <= 6; ++n)
        for (const char *name : { "Call-%1", "Minutes-%1", "Remind-%1" })
            QVERIFY2(!settings.contains(QString::fromLatin1(name).arg(n)), name);
}

void MainWindowPrayersTest::movedDawnOfAnyDay()
{
    // 1 and 2 January for the base city: dawn at 06:02 (362 minutes) on both.
    FakeSettingsBackend settings;
    settings.put(QStringLiteral("Minutes-1"), QStringLiteral("-30"));
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(9, 0)), &settings);
    QVERIFY(rig.load());
    rig.tick();
    QCOMPARE(rig.window->movedDawnSeconds(QDate(2026, 1, 2)), std::optional<int>(332 * 60));
    QCOMPARE(rig.window->slotSeconds()[0], 332 * 60);
    QCOMPARE(rig.window->LB[0]->text(), QStringLiteral("05:32:00 AM"));
    giveEveryDay(*rig.window, { 10, 80, 720, 900, 1000, 1200 });
    QCOMPARE(rig.window->movedDawnSeconds(QDate(2026, 1, 2)), std::optional<int>(-20 * 60));
    QCOMPARE(rig.window->movedDawnSeconds(QDate(2027, 2, 29)), std::nullopt);
}

QTEST_MAIN(MainWindowPrayersTest)
#include "tst_mainwindow_prayers.moc"
