#include "timetable/DailyTable.h"
#include "timetable/DayTimes.h"

#include <QtTest>

using Times = std::array<int, SlotCount>;
Q_DECLARE_METATYPE(Times)

namespace {

const QString &firstOfJanuary()
{
    return DailyTable::rows().at(0);
}

// The display text exactly as the selection handler has always built it: a counting loop
// that runs minutes + 1 times, carrying whole hours out of the minutes.
QString literalLoopText(int v)
{
    const QString seconds = QString::number(60 * v); // what TimA1(j) holds
    int h = 0;
    int m = v;
    QString suffix = QStringLiteral(" AM");
    const int n = seconds.toInt() / 60;
    for (int i = 0; i < n + 1; ++i) {
        if (m >= 60) {
            h = h + 1;
            m = m - 60;
        }
        if (h >= 12)
            suffix = QStringLiteral(" PM");
        if (h > 12)
            h = 1;
    }
    QString mText = QString::number(m);
    QString hText = QString::number(h);
    if (mText.size() == 1)
        mText.prepend(QLatin1Char('0'));
    if (hText.size() == 1)
        hText.prepend(QLatin1Char('0'));
    return hText + QLatin1Char(':') + mText + QLatin1Char(':') + QStringLiteral("00") + suffix;
}

} // namespace

class TestDayTimes : public QObject
{
    Q_OBJECT

private slots:
    void dayKeyIsDayThenMonth_data();
    void dayKeyIsDayThenMonth();
    void lookupFindsRowByKey_data();
    void lookupFindsRowByKey();
    void lookupTakesFirstMatchIgnoringCase();
    void everyDateFindsExactlyOneRow_data();
    void everyDateFindsExactlyOneRow();
    void lenientParse_data();
    void lenientParse();
    void fieldsAreReadByPosition();
    void cityTimesAddTheOffsetGroup_data();
    void cityTimesAddTheOffsetGroup();
    void secondsOfTheFirstOfJanuary();
    void slotText_data();
    void slotText();
    void slotTextOfTheFirstOfJanuary();
    void slotTextMatchesTheCountingLoop();
};

void TestDayTimes::dayKeyIsDayThenMonth_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("key");
    QTest::newRow("1 July") << QDate(2026, 7, 1) << QStringLiteral("0107");
    QTest::newRow("1 January") << QDate(2025, 1, 1) << QStringLiteral("0101");
    QTest::newRow("29 February") << QDate(2024, 2, 29) << QStringLiteral("2902");
    QTest::newRow("31 December") << QDate(1999, 12, 31) << QStringLiteral("3112");
    QTest::newRow("invalid date has no key") << QDate() << QString();
}

void TestDayTimes::dayKeyIsDayThenMonth()
{
    QFETCH(QDate, date);
    QFETCH(QString, key);
    QCOMPARE(DayKey(date), key);
}

void TestDayTimes::lookupFindsRowByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("row");
    QTest::newRow("28 February") << QStringLiteral("2802") << 58;
    QTest::newRow("29 February") << QStringLiteral("2902") << 59;
    QTest::newRow("1 March") << QStringLiteral("0103") << 60;
    QTest::newRow("1 July") << QStringLiteral("0107") << 182;
    QTest::newRow("31 December") << QStringLiteral("3112") << 365;
    QTest::newRow("not a date") << QStringLiteral("3102") << -1;
    QTest::newRow("empty key finds nothing") << QString() << -1;
}

void TestDayTimes::lookupFindsRowByKey()
{
    QFETCH(QString, key);
    QFETCH(int, row);
    QCOMPARE(findRowByPrefix(DailyTable::rows(), key), row);
}

void TestDayTimes::lookupTakesFirstMatchIgnoringCase()
{
    const QStringList rows = { QStringLiteral("xyz"), QStringLiteral("ABc 1"),
                               QStringLiteral("abc 2"), QStringLiteral("ab") };
    QCOMPARE(findRowByPrefix(rows, QStringLiteral("abc")), 1);
    QCOMPARE(findRowByPrefix(rows, QStringLiteral("AB")), 1);
    QCOMPARE(findRowByPrefix(rows, QStringLiteral("abc 2")), 2);
    QCOMPARE(findRowByPrefix(rows, QStringLiteral("abcd")), -1);
    QCOMPARE(findRowByPrefix(QStringList(), QStringLiteral("ab")), -1);
}

void TestDayTimes::everyDateFindsExactlyOneRow_data()
{
    QTest::addColumn<int>("year");
    QTest::newRow("common year") << 2025;
    QTest::newRow("leap year") << 2028;
}

void TestDayTimes::everyDateFindsExactlyOneRow()
{
    QFETCH(int, year);
    const QStringList &rows = DailyTable::rows();
    QSet<int> found;
    for (QDate date(year, 1, 1); date.year() == year; date = date.addDays(1)) {
        const QString key = DayKey(date);
        int matches = 0;
        for (const QString &row : rows)
            matches += row.startsWith(key) ? 1 : 0;
        QCOMPARE(matches, 1);
        const int row = findRowByPrefix(rows, key);
        // The row of a date is the same in every year: its day of a leap year.
        QCOMPARE(row, QDate(2024, date.month(), date.day()).dayOfYear() - 1);
        found.insert(row);
    }
    QCOMPARE(found.size(), QDate(year, 1, 1).daysInYear());
    QCOMPARE(found.contains(59), QDate::isLeapYear(year));
}

void TestDayTimes::lenientParse_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::newRow("zero offset") << QStringLiteral("   0") << 0;
    QTest::newRow("small negative offset") << QStringLiteral("  -2") << -2;
    QTest::newRow("two-digit negative offset") << QStringLiteral(" -15") << -15;
    QTest::newRow("positive offset") << QStringLiteral("  14") << 14;
    QTest::newRow("base time with leading zero") << QStringLiteral("0362") << 362;
    QTest::newRow("blank field") << QStringLiteral("    ") << 0;
    QTest::newRow("empty field") << QString() << 0;
    QTest::newRow("minus without digits") << QStringLiteral("  - ") << 0;
    QTest::newRow("first other character ends") << QStringLiteral(" 12x4") << 12;
    QTest::newRow("space ends the digits") << QStringLiteral("1 2") << 1;
    QTest::newRow("plus sign is not read") << QStringLiteral("  +5") << 0;
    QTest::newRow("huge number saturates") << QStringLiteral("99999999999") << INT_MAX;
    QTest::newRow("huge negative saturates") << QStringLiteral("-99999999999") << -INT_MAX;
}

void TestDayTimes::lenientParse()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QCOMPARE(lenientFieldNumber(field), value);
}

void TestDayTimes::fieldsAreReadByPosition()
{
    // The last field, city 4 slot 5, is characters 121-124; nothing else reads them.
    QString record(DailyTable::DayRecordLength, QLatin1Char(' '));
    record.replace(120, 4, QStringLiteral("  42"));
    QCOMPARE(readField(record, 4, 5), 42);
    for (int city = 0; city < 5; ++city) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (city != 4 || slot != 5)
                QCOMPARE(readField(record, city, slot), 0);
        }
    }
    QCOMPARE(readField(firstOfJanuary(), 4, 5), 5);
    QCOMPARE(readField(firstOfJanuary(), 0, 0), 362);
    QCOMPARE(readField(firstOfJanuary(), 1, 0), -15);
    QCOMPARE(readField(firstOfJanuary(), 2, 3), -3);

    // Outside the record there is nothing to read.
    QCOMPARE(readField(firstOfJanuary(), 5, 0), 0);
    QCOMPARE(readField(firstOfJanuary(), -1, 0), 0);
    QCOMPARE(readField(firstOfJanuary(), 0, 6), 0);
    QCOMPARE(readField(QStringLiteral("0101036"), 0, 0), 36);
    QCOMPARE(readField(QStringLiteral("0101"), 0, 0), 0);
}

void TestDayTimes::cityTimesAddTheOffsetGroup_data()
{
    QTest::addColumn<int>("city");
    QTest::addColumn<Times>("minutes");
    const Times base = { 362, 441, 736, 885, 1026, 1101 };
    QTest::newRow("base city") << 0 << base;
    QTest::newRow("no city chosen gives the base") << -1 << base;
    QTest::newRow("city 1") << 1 << Times { 347, 439, 735, 889, 1026, 1102 };
    QTest::newRow("city 2") << 2 << Times { 343, 425, 725, 882, 1022, 1092 };
    QTest::newRow("city 3") << 3 << Times { 349, 434, 733, 890, 1026, 1106 };
    QTest::newRow("city 4") << 4 << Times { 345, 439, 740, 892, 1026, 1106 };
    QTest::newRow("no offset group beyond city 4") << 5 << base;
}

void TestDayTimes::cityTimesAddTheOffsetGroup()
{
    QFETCH(int, city);
    QFETCH(Times, minutes);
    QCOMPARE(dayMinutes(firstOfJanuary(), city), minutes);
}

void TestDayTimes::secondsOfTheFirstOfJanuary()
{
    QCOMPARE(daySeconds(firstOfJanuary(), 0), (Times { 21720, 26460, 44160, 53100, 61560, 66060 }));
    QCOMPARE(daySeconds(firstOfJanuary(), 1)[0], 20820);
    QCOMPARE(daySeconds(firstOfJanuary(), -1), daySeconds(firstOfJanuary(), 0));
}

void TestDayTimes::slotText_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("text");
    QTest::newRow("last minute of the morning") << 719 << QStringLiteral("11:59:00 AM");
    QTest::newRow("noon") << 720 << QStringLiteral("12:00:00 PM");
    QTest::newRow("one in the afternoon") << 780 << QStringLiteral("01:00:00 PM");
    QTest::newRow("hour after midnight shows 00") << 30 << QStringLiteral("00:30:00 AM");
    QTest::newRow("midnight") << 0 << QStringLiteral("00:00:00 AM");
    QTest::newRow("one in the morning") << 60 << QStringLiteral("01:00:00 AM");
    QTest::newRow("last minute of the day") << 1439 << QStringLiteral("11:59:00 PM");
    QTest::newRow("wraps before midnight") << -1 << QStringLiteral("11:59:00 PM");
}

void TestDayTimes::slotText()
{
    QFETCH(int, minutes);
    QFETCH(QString, text);
    QCOMPARE(SlotTimeText(minutes), text);
}

void TestDayTimes::slotTextOfTheFirstOfJanuary()
{
    const QStringList expected = { QStringLiteral("06:02:00 AM"), QStringLiteral("07:21:00 AM"),
                                   QStringLiteral("12:16:00 PM"), QStringLiteral("02:45:00 PM"),
                                   QStringLiteral("05:06:00 PM"), QStringLiteral("06:21:00 PM") };
    const Times minutes = dayMinutes(firstOfJanuary(), 0);
    for (int slot = 0; slot < SlotCount; ++slot)
        QCOMPARE(SlotTimeText(minutes[slot]), expected.at(slot));
    QCOMPARE(SlotTimeText(dayMinutes(firstOfJanuary(), 1)[0]), QStringLiteral("05:47:00 AM"));
}

void TestDayTimes::slotTextMatchesTheCountingLoop()
{
    // Two days' worth, so that the hour arithmetic is also checked past the first wrap.
    for (int v = 0; v < 2 * 1440; ++v)
        QCOMPARE(SlotTimeText(v), literalLoopText(v));
}

QTEST_GUILESS_MAIN(TestDayTimes)
#include "tst_daytimes.moc"
