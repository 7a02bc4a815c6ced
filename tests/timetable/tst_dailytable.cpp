#include "timetable/DailyTable.h"
#include "timetable/DayTimes.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int CityCount = 5;

struct Bounds
{
    int low;
    int high;
};
// Minutes after midnight allowed for each slot: the base city, and any of the five cities.
const Bounds baseBounds[SlotCount] = { { 195, 363 }, { 297, 441 },   { 716, 748 },
                                       { 874, 970 }, { 1015, 1170 }, { 1090, 1253 } };
const Bounds cityBounds[SlotCount] = { { 185, 363 }, { 282, 441 },   { 707, 750 },
                                       { 870, 970 }, { 1010, 1175 }, { 1080, 1262 } };

// The stored value of a field: base time for city 0, offset for cities 1..4.
using FieldGrid = std::array<std::array<int, SlotCount>, CityCount>;

FieldGrid maxDayToDayStep(const QStringList &rows)
{
    FieldGrid steps {};
    for (int r = 0; r < rows.size(); ++r) {
        // 31 December is followed by 1 January of the next year.
        const QString &next = rows.at((r + 1) % rows.size());
        for (int city = 0; city < CityCount; ++city) {
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int step
                        = std::abs(readField(next, city, slot) - readField(rows.at(r), city, slot));
                steps[city][slot] = std::max(steps[city][slot], step);
            }
        }
    }
    return steps;
}
} // namespace

class TestDailyTable : public QObject
{
    Q_OBJECT

private slots:
    void rowsHaveTheStoredFormat();
    void keysFollowLeapYearOrder();
    void fieldsAreWrittenAsStored();
    void timesStayWithinTheirRanges_data();
    void timesStayWithinTheirRanges();
    void offsetsStayWithinTheirRange();
    void timesIncreaseThroughTheDay();
    void anchorRowsAreKeptExactly_data();
    void anchorRowsAreKeptExactly();
    void pinningAddsNoJumpBeyondTheSun();
};

void TestDailyTable::rowsHaveTheStoredFormat()
{
    const QStringList &rows = DailyTable::rows();
    QCOMPARE(rows.size(), DailyTable::RowCount);
    const QRegularExpression allowed(QStringLiteral("^[0-9 -]*$"));
    for (int r = 0; r < rows.size(); ++r) {
        const QString &row = rows.at(r);
        QVERIFY2(row.size() == DailyTable::DayRecordLength, qPrintable(QString::number(r)));
        QVERIFY2(allowed.match(row).hasMatch(), qPrintable(row));
    }
}

void TestDailyTable::keysFollowLeapYearOrder()
{
    const QStringList &rows = DailyTable::rows();
    QSet<QString> keys;
    QDate date(2024, 1, 1);
    for (int r = 0; r < rows.size(); ++r, date = date.addDays(1)) {
        const QString key = rows.at(r).left(4);
        QCOMPARE(key, DayKey(date));
        keys.insert(key);
    }
    QCOMPARE(date, QDate(2025, 1, 1));
    QCOMPARE(keys.size(), DailyTable::RowCount);
    QCOMPARE(rows.at(58).left(4), QStringLiteral("2802"));
    QCOMPARE(rows.at(59).left(4), QStringLiteral("2902"));
    QCOMPARE(rows.at(182).left(4), QStringLiteral("0107"));
}

void TestDailyTable::fieldsAreWrittenAsStored()
{
    // Base times: four digits with leading zeros. Offsets: right-aligned, no plus sign, no
    // leading zeros ("   0", "  -2", " -15").
    const QRegularExpression baseField(QStringLiteral("^[0-9]{4}$"));
    const QRegularExpression offsetField(QStringLiteral("^ *(0|-?[1-9][0-9]*)$"));
    for (const QString &row : DailyTable::rows()) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            QVERIFY2(baseField.match(row.mid(4 + 4 * slot, 4)).hasMatch(), qPrintable(row));
            for (int city = 1; city < CityCount; ++city) {
                const QString field = row.mid(24 * city + 4 * slot + 4, 4);
                QVERIFY2(offsetField.match(field).hasMatch(),
                         qPrintable(QStringLiteral("'%1' in %2").arg(field, row)));
            }
        }
    }
}

void TestDailyTable::timesStayWithinTheirRanges_data()
{
    QTest::addColumn<int>("slot");
    const char *names[SlotCount] = { "dawn call",      "sunrise",     "noon call",
                                     "afternoon call", "sunset call", "night call" };
    for (int slot = 0; slot < SlotCount; ++slot)
        QTest::newRow(names[slot]) << slot;
}

void TestDailyTable::timesStayWithinTheirRanges()
{
    QFETCH(int, slot);
    for (const QString &row : DailyTable::rows()) {
        for (int city = 0; city < CityCount; ++city) {
            const int minutes = dayMinutes(row, city)[slot];
            const Bounds b = city == 0 ? baseBounds[slot] : cityBounds[slot];
            QVERIFY2(minutes >= b.low && minutes <= b.high,
                     qPrintable(
                             QStringLiteral("city %1: %2 in %3").arg(city).arg(minutes).arg(row)));
        }
    }
}

void TestDailyTable::offsetsStayWithinTheirRange()
{
    for (const QString &row : DailyTable::rows()) {
        for (int city = 1; city < CityCount; ++city) {
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int offset = readField(row, city, slot);
                QVERIFY2(offset >= -31 && offset <= 20, qPrintable(row));
            }
        }
    }
}

void TestDailyTable::timesIncreaseThroughTheDay()
{
    for (const QString &row : DailyTable::rows()) {
        for (int city = 0; city < CityCount; ++city) {
            const std::array<int, SlotCount> minutes = dayMinutes(row, city);
            for (int slot = 1; slot < SlotCount; ++slot)
                QVERIFY2(minutes[slot] > minutes[slot - 1],
                         qPrintable(QStringLiteral("city %1 slot %2: %3")
                                            .arg(city)
                                            .arg(slot)
                                            .arg(row)));
        }
    }
}

void TestDailyTable::anchorRowsAreKeptExactly_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("1 January") << 0 << QStringLiteral("0101036204410736088510261101 -15  -2  -1   4   0   1 -19 -16 -11  -3  -4  -9 -13  -7  -3   5   0   5 -17  -2   4   7   0   5");
    QTest::newRow("29 February") << 59 << QStringLiteral("2902031704010746093110821157  -1   1  -2   5   2   2 -14 -11 -11 -16  -6 -11 -11  -2  -3   7   0   5  -3   3  -6   8   5  13");
    QTest::newRow("1 July") << 182 << QStringLiteral("0107020003020740096811691244  -6  -1  -5  -3   4  13  -7 -16 -14 -16  -8 -13  -5  -4  -7  -2   0   5  -9  -1   0   0   6  18");
    QTest::newRow("31 December") << 365 << QStringLiteral("3112036204400737088510251100 -16  -2  -3   3   0   1 -20 -16 -12  -3  -4  -9 -14  -6  -5   4   1   6 -18  -2   2   6   0   5");
    // clang-format on
}

void TestDailyTable::anchorRowsAreKeptExactly()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    QCOMPARE(DailyTable::rows().at(row), text);
}

void TestDailyTable::pinningAddsNoJumpBeyondTheSun()
{
    // The correction that keeps the anchor rows must not add day-to-day jumps of its own: no
    // field may step further than the plain computation does, plus one minute of rounding.
    const QString path = qEnvironmentVariable("TIRVELON_SOURCE_DIR")
            + QStringLiteral("/tools/timetable/unpinned-rows.txt");
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(path));
    const QStringList unpinned
            = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(unpinned.size(), DailyTable::RowCount);

    const FieldGrid finalSteps = maxDayToDayStep(DailyTable::rows());
    const FieldGrid plainSteps = maxDayToDayStep(unpinned);
    for (int city = 0; city < CityCount; ++city) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            QVERIFY2(finalSteps[city][slot] <= plainSteps[city][slot] + 1,
                     qPrintable(QStringLiteral("city %1 slot %2: %3 against %4")
                                        .arg(city)
                                        .arg(slot)
                                        .arg(finalSteps[city][slot])
                                        .arg(plainSteps[city][slot])));
        }
    }
}

QTEST_GUILESS_MAIN(TestDailyTable)
#include "tst_dailytable.moc"
