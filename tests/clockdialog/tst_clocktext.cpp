// The dialog's texts as the clock setter reads them, and the field rules the arrows share.
#include "FakeSystemClockSetter.h"
#include "clockdialog/ClockFields.h"
#include "clockdialog/SystemTimeText.h"

#include <QtTest>

using Result = SystemClockSetter::Result;

class TestClockText : public QObject
{
    Q_OBJECT

private slots:
    void readsTwelveHourTime_data();
    void readsTwelveHourTime();
    void readsDayMonthYear_data();
    void readsDayMonthYear();
    void setterSeesOnlyReadableText();
    void plainLeapRuleAndMonthLength_data();
    void plainLeapRuleAndMonthLength();
};

void TestClockText::readsTwelveHourTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("expected");

    QTest::newRow("afternoon") << "07:05:30 PM" << QTime(19, 5, 30);
    QTest::newRow("morning") << "07:05:30 AM" << QTime(7, 5, 30);
    QTest::newRow("12 AM is midnight") << "12:00:00 AM" << QTime(0, 0, 0);
    QTest::newRow("12 PM is noon") << "12:30:00 PM" << QTime(12, 30, 0);
    QTest::newRow("00 AM reads like 12 AM") << "00:05:00 AM" << QTime(0, 5, 0);
    QTest::newRow("00 PM reads like 12 PM") << "00:05:00 PM" << QTime(12, 5, 0);
    QTest::newRow("last second of the day") << "11:59:59 PM" << QTime(23, 59, 59);
    QTest::newRow("hour above 12") << "13:00:00 PM" << QTime();
    QTest::newRow("minute 60") << "07:60:00 PM" << QTime();
    QTest::newRow("no seconds") << "07:05 PM" << QTime();
    QTest::newRow("no marker") << "07:05:30" << QTime();
    QTest::newRow("design captions") << "Label1:Label1:00 Label1" << QTime();
    QTest::newRow("empty") << "" << QTime();
}

void TestClockText::readsTwelveHourTime()
{
    QFETCH(QString, text);
    QFETCH(QTime, expected);
    QCOMPARE(parseClockText(text), expected);
}

void TestClockText::readsDayMonthYear_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("day comes first") << "09/03/2018" << QDate(2018, 3, 9);
    QTest::newRow("leap day in a leap year") << "29/02/2016" << QDate(2016, 2, 29);
    QTest::newRow("leap day in a common year") << "29/02/2017" << QDate();
    QTest::newRow("31st of a 30-day month") << "31/04/2020" << QDate();
    QTest::newRow("year first") << "2018/03/09" << QDate();
    QTest::newRow("design captions") << "Label1/Label1/Label1" << QDate();
}

void TestClockText::readsDayMonthYear()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QCOMPARE(parseDayMonthYear(text), expected);
}

void TestClockText::setterSeesOnlyReadableText()
{
    FakeSystemClockSetter setter;
    setter.timeAnswer = Result::Failed;
    setter.dateAnswer = Result::Failed;

    // Unreadable text is skipped silently: not even a failure to report.
    QCOMPARE(SetSystemTime(QStringLiteral("25:00:00 AM"), setter), Result::Skipped);
    QCOMPARE(SetSystemDate(QStringLiteral("30/02/2020"), setter), Result::Skipped);
    QVERIFY(setter.calls.isEmpty());

    SetSystemTime(QStringLiteral("00:05:00 PM"), setter);
    SetSystemDate(QStringLiteral("09/03/2018"), setter);
    QCOMPARE(setter.calls,
             QStringList({ QStringLiteral("time 12:05:00"), QStringLiteral("date 2018-03-09") }));
}

void TestClockText::plainLeapRuleAndMonthLength_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("year");
    QTest::addColumn<int>("expected");

    QTest::newRow("February of a fourth year") << "28"
                                               << "2016" << 29;
    QTest::newRow("February of a common year") << "28"
                                               << "2017" << 28;
    QTest::newRow("century year counts as leap") << "28"
                                                 << "2100" << 29;
    QTest::newRow("30-day month in a leap year") << "30"
                                                 << "2024" << 30;
}

void TestClockText::plainLeapRuleAndMonthLength()
{
    QFETCH(QString, length);
    QFETCH(QString, year);
    QFETCH(int, expected);
    QCOMPARE(ClockFields::monthLength(length, year), expected);
}

QTEST_APPLESS_MAIN(TestClockText)
#include "tst_clocktext.moc"
