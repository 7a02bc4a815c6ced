// Which prayer is next and the tray tip's line about it: the times of 1 January for the base
// city, tomorrow's dawn across month and year ends, and the tip's length in every case.
#include "mainwindow/NextPrayer.h"
#include "timetable/DailyTable.h"
#include "timetable/DayTimes.h"

#include <QtTest>

namespace {
// 1 January, base city: 06:02, 07:21, 12:16, 14:45, 17:06, 18:21; 2 January's dawn 06:02.
const std::array<int, 6> NewYear { 21720, 26460, 44160, 53100, 61560, 66060 };
const int NextDawn = 21720;
// The line's marks: right-to-left embedding around it, left-to-right around the clock time.
const QString Rle = QStringLiteral("\u202B");
const QString Lre = QStringLiteral("\u202A");
const QString Pdf = QStringLiteral("\u202C");
} // namespace

class NextPrayerTest : public QObject
{
    Q_OBJECT

private slots:
    void nextIsTheFirstTimeStillAhead_data();
    void nextIsTheFirstTimeStillAhead();
    void lineInEachLanguage_data();
    void lineInEachLanguage();
    void tipKeepsWithinTheShellsLength();
};

void NextPrayerTest::nextIsTheFirstTimeStillAhead_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("tomorrow");
    QTest::addColumn<int>("minutesLeft");
    QTest::newRow("midnight: today's dawn") << 0 << 0 << false << 362;
    QTest::newRow("a second before dawn: one minute") << 21719 << 0 << false << 1;
    QTest::newRow("dawn's own second: dawn has come, sunrise is next") << 21720 << 1 << false << 79;
    QTest::newRow("a second later, still 79 minutes") << 21721 << 1 << false << 79;
    QTest::newRow("59 s after a minute: the count has not stepped yet")
            << 44100 + 59 << 2 << false << 1;
    QTest::newRow("sunset to night") << 61561 << 5 << false << 75;
    QTest::newRow("the night call's second: tomorrow's dawn") << 66060 << 0 << true << 701;
    QTest::newRow("the day's last second") << 86399 << 0 << true << 363;
}

void NextPrayerTest::nextIsTheFirstTimeStillAhead()
{
    QFETCH(int, now);
    QFETCH(int, slot);
    QFETCH(bool, tomorrow);
    QFETCH(int, minutesLeft);
    const NextPrayer::Upcoming next = NextPrayer::after(NewYear, NextDawn, now);
    QCOMPARE(next.slot, slot);
    QCOMPARE(next.tomorrow, tomorrow);
    QCOMPARE(NextPrayer::minutesLeft(next, now), minutesLeft);
}

void NextPrayerTest::lineInEachLanguage_data()
{
    QTest::addColumn<int>("now");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("line");
    QTest::newRow("Kurdish, dawn after midnight")
            << 1800 << 1 << Rle + "بانگى بهيانى " + Lre + "06:02 AM" + Pdf + " پاش 5:32" + Pdf;
    QTest::newRow("Kurdish, sunrise")
            << 22000 << 1 << Rle + "شروق " + Lre + "07:21 AM" + Pdf + " پاش 1:15" + Pdf;
    QTest::newRow("Kurdish, noon in its last minute")
            << 44159 << 1 << Rle + "بانگى نيوةرِؤ " + Lre + "12:16 PM" + Pdf + " پاش 0:01" + Pdf;
    QTest::newRow("Arabic, afternoon, minutes with a zero")
            << 50400 << 0 << Rle + "أذان العصر " + Lre + "02:45 PM" + Pdf + " بعد 0:45" + Pdf;
    QTest::newRow("Kurdish, sunset")
            << 60000 << 1 << Rle + "بانگى مهغريب " + Lre + "05:06 PM" + Pdf + " پاش 0:26" + Pdf;
    QTest::newRow("Arabic, night")
            << 61560 << 0 << Rle + "أذان العشاء " + Lre + "06:21 PM" + Pdf + " بعد 1:15" + Pdf;
    QTest::newRow("no language chosen yet: Arabic, tomorrow's dawn, two-digit hours")
            << 66060 << -1 << Rle + "أذان الصباح " + Lre + "06:02 AM" + Pdf + " بعد 11:41" + Pdf;
}

void NextPrayerTest::lineInEachLanguage()
{
    QFETCH(int, now);
    QFETCH(int, language);
    QFETCH(QString, line);
    QCOMPARE(NextPrayer::tipLine(NextPrayer::after(NewYear, NextDawn, now), now, language), line);
}

void NextPrayerTest::tipKeepsWithinTheShellsLength()
{
    const QString fixed = QStringLiteral("    Tirvelon\r\n  دوو كليك داگره  \r\n");
    // Every day, city, prayer and language, with the widest time left (two-digit hours).
    int longest = 0;
    for (const QString &row : DailyTable::rows()) {
        for (int city = 0; city < 5; ++city) {
            const std::array<int, SlotCount> times = daySeconds(row, city);
            for (int slot = 0; slot < 6; ++slot) {
                for (int language : { 0, 1 }) {
                    const QString line = NextPrayer::tipLine({ slot, times[slot], false },
                                                             times[slot] - 36000, language);
                    const QString tip = NextPrayer::trayTip(line);
                    QCOMPARE(tip, fixed + line);
                    longest = qMax(longest, int(tip.size()));
                }
            }
        }
    }
    qInfo("longest tip: %d characters of %d", longest, NextPrayer::TipCapacity - 1);
    QVERIFY(longest < NextPrayer::TipCapacity);
    // A line that would not fit is cut, never the two lines before it.
    const QString cut = NextPrayer::trayTip(QString(200, QLatin1Char('x')));
    QCOMPARE(cut.size(), NextPrayer::TipCapacity - 1);
    QVERIFY(cut.startsWith(fixed));
}

QTEST_GUILESS_MAIN(NextPrayerTest)
#include "tst_nextprayer.moc"
