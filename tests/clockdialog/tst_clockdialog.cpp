// The clock-adjust dialog driven through its real scroll bars and button.
#include "FakeSystemClockSetter.h"
#include "clockdialog/ClockDialog.h"
#include "clockdialog/ZoneNote.h"
#include "mainwindow/UnicodeMessageBox.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QtTest>

#include <functional>

namespace {

class FakeDateTimePanel : public DateTimePanel
{
public:
    bool open() override
    {
        ++openings;
        return true;
    }
    int openings = 0;
};

// The setter that lets a test act while a call is in progress, as the main window's
// hand-over to a second copy may close the dialog while the desktop asks for a password.
class InterruptingSetter : public FakeSystemClockSetter
{
public:
    Result setTimeOfDay(const QTime &time) override
    {
        const Result answer = FakeSystemClockSetter::setTimeOfDay(time);
        if (duringTimeCall)
            duringTimeCall();
        return answer;
    }
    std::function<void()> duringTimeCall;
};

enum Arrow { Up, Down };

void press(QScrollBar *bar, Arrow arrow)
{
    bar->triggerAction(arrow == Up ? QAbstractSlider::SliderSingleStepSub
                                   : QAbstractSlider::SliderSingleStepAdd);
}

} // namespace

Q_DECLARE_METATYPE(Arrow)

class TestClockDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void zoneNoteOnlyOutsideIraqTime_data();
    void zoneNoteOnlyOutsideIraqTime();
    void loadShowsOneReading_data();
    void loadShowsOneReading();
    void captionsFollowLanguage_data();
    void captionsFollowLanguage();
    void timeArrows_data();
    void timeArrows();
    void dateArrowsStopAtLimits_data();
    void dateArrowsStopAtLimits();
    void arrowButtonsOfTheBar();
    void applyPassesFieldTexts();
    void applyAnswers_data();
    void applyAnswers();
    void refusalToldInDialogLanguage_data();
    void refusalToldInDialogLanguage();
    void closedDuringApplySetsNoDate();
    void closedDuringRefusedCallTellsNothing();
    void init();
    void cleanup();

private:
    FakeSystemClockSetter m_setter;
    FakeDateTimePanel m_panel;
    // Message boxes are answered here, never shown: what each said, and how often the panel
    // had been opened when it came up.
    QStringList m_told;
    QList<int> m_panelOpeningsWhenTold;
    const FakeDateTimePanel *m_watchedPanel = nullptr;
};

void TestClockDialog::initTestCase()
{
    // The computer of the other tests keeps Iraq's time, so their dialog shows no zone line.
    qputenv("TZ", "Asia/Baghdad");
    tzset();
}

void TestClockDialog::zoneNoteOnlyOutsideIraqTime_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<bool>("noted");
    const QDateTime winter(QDate(2026, 1, 15), QTime(9, 0), Qt::UTC);
    const QDateTime summer(QDate(2026, 7, 15), QTime(9, 0), Qt::UTC);
    QTest::newRow("Baghdad, which kept summer time until 2007")
            << QByteArray("Asia/Baghdad") << summer << false;
    QTest::newRow("Riyadh: +03:00, no summer time") << QByteArray("Asia/Riyadh") << winter << false;
    QTest::newRow("Berlin") << QByteArray("Europe/Berlin") << winter << true;
    QTest::newRow("New York") << QByteArray("America/New_York") << summer << true;
    QTest::newRow("Helsinki in summer: +03:00 with summer time")
            << QByteArray("Europe/Helsinki") << summer << true;
}

void TestClockDialog::zoneNoteOnlyOutsideIraqTime()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, moment);
    QFETCH(bool, noted);
    using ZoneNote::Platform;
    const QTimeZone timeZone(zone);
    const QString windows = ZoneNote::zoneNote(timeZone, moment, 0, Platform::Windows);
    QCOMPARE(windows.contains(QStringLiteral("(UTC+03:00) Baghdad")), noted);
    QCOMPARE(ZoneNote::zoneNote(timeZone, moment, 1, Platform::Linux).contains("Asia/Baghdad"),
             noted);
    ClockDialog dialog(1, moment.toTimeZone(timeZone), m_setter, m_panel);
    QCOMPARE(dialog.ZoneLabel->isVisibleTo(&dialog), noted);
    QCOMPARE(dialog.size(), QSize(226, noted ? 175 : 149));
    QCOMPARE(dialog.ZoneLabel->text().contains("هەڵبژێرە"), noted); // in the dialog's language
}

void TestClockDialog::init()
{
    m_told.clear();
    m_panelOpeningsWhenTold.clear();
    m_watchedPanel = &m_panel;
    setUnicodeMessageBoxHandler([this](const UnicodeMessageBoxRequest &request) {
        m_told.append(request.prompt);
        m_panelOpeningsWhenTold.append(m_watchedPanel->openings);
        return int(IdOk);
    });
}

void TestClockDialog::cleanup()
{
    setUnicodeMessageBoxHandler({});
}

void TestClockDialog::loadShowsOneReading_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QStringList>("time"); // hour, minute, AM/PM, seconds
    QTest::addColumn<QStringList>("date"); // day, month, year
    QTest::addColumn<int>("monthItem");

    QTest::newRow("evening") << QDateTime(QDate(2018, 3, 9), QTime(19, 5, 42))
                             << QStringList { "07", "05", "PM", "00" }
                             << QStringList { "09", "03", "2018" } << 2;
    QTest::newRow("midnight hour shows 12 AM")
            << QDateTime(QDate(2024, 12, 31), QTime(0, 7, 0))
            << QStringList { "12", "07", "AM", "00" } << QStringList { "31", "12", "2024" } << 11;
    QTest::newRow("noon hour shows 12 PM")
            << QDateTime(QDate(2020, 1, 1), QTime(12, 0, 0))
            << QStringList { "12", "00", "PM", "00" } << QStringList { "01", "01", "2020" } << 0;
    QTest::newRow("last half second before noon stays AM")
            << QDateTime(QDate(2020, 6, 15), QTime(11, 59, 59, 700))
            << QStringList { "11", "59", "AM", "00" } << QStringList { "15", "06", "2020" } << 5;
}

void TestClockDialog::loadShowsOneReading()
{
    QFETCH(QDateTime, now);
    QFETCH(QStringList, time);
    QFETCH(QStringList, date);
    QFETCH(int, monthItem);

    // On Iraq's time whatever the computer's zone (Windows' is not TZ's): no zone line.
    ClockDialog dialog(1, QDateTime(now.date(), now.time(), QTimeZone("Asia/Baghdad")), m_setter,
                       m_panel);
    QCOMPARE((QStringList { dialog.T1[0]->text(), dialog.T1[1]->text(), dialog.T1[2]->text(),
                            dialog.T1[3]->text() }),
             time);
    QCOMPARE((QStringList { dialog.T2[0]->text(), dialog.T2[1]->text(), dialog.T2[2]->text() }),
             date);
    QCOMPARE(dialog.List1Index, monthItem);
    QCOMPARE(dialog.List1.size(), 12);
    QVERIFY(dialog.Command1->isEnabled());
    QCOMPARE(dialog.size(), QSize(226, 149));
    for (QScrollBar *bar : { dialog.VS1[0], dialog.VS1[1], dialog.VS1[2], dialog.VS2[0],
                             dialog.VS2[1], dialog.VS2[2] })
        QCOMPARE(bar->value(), 1);
}

void TestClockDialog::captionsFollowLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("captions"); // window, Label1, Label2, Label3, Command1

    const QStringList arabic { "تعديل الساعة", "الوقت ", "التاريخ ",
                               "تعديل الوقت والتاريخ الكمبيوتر", "التعديل" };
    const QStringList kurdish { "راست كردنهوهى كات ژمير", "كــات  ", "بهروار ",
                                "راستكردنهوهى بهروارو كاتژميَرى كوَمپيوتهر", "رِاست كردنهوهى " };
    QTest::newRow("index 0 is Arabic") << 0 << arabic;
    QTest::newRow("index 1 is Kurdish") << 1 << kurdish;
    QTest::newRow("any other index is Kurdish") << 2 << kurdish;
}

void TestClockDialog::captionsFollowLanguage()
{
    QFETCH(int, language);
    QFETCH(QStringList, captions);

    ClockDialog dialog(language, QDateTime(QDate(2018, 3, 9), QTime(8, 0)), m_setter, m_panel);
    QCOMPARE((QStringList { dialog.windowTitle(), dialog.Label1->text(), dialog.Label2->text(),
                            dialog.Label3->text(), dialog.Command1->text() }),
             captions);
}

void TestClockDialog::timeArrows_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<int>("bar");
    QTest::addColumn<Arrow>("arrow");
    QTest::addColumn<QStringList>("expected"); // hour, minute, AM/PM

    QTest::newRow("hour 12 up wraps to 00, AM kept")
            << QTime(0, 30) << 0 << Up << QStringList { "00", "30", "AM" };
    QTest::newRow("hour 01 down gives 00")
            << QTime(13, 30) << 0 << Down << QStringList { "00", "30", "PM" };
    QTest::newRow("minute 59 up wraps to 00, hour kept")
            << QTime(7, 59) << 1 << Up << QStringList { "07", "00", "AM" };
    QTest::newRow("minute 00 down wraps to 59, hour kept")
            << QTime(7, 0) << 1 << Down << QStringList { "07", "59", "AM" };
    QTest::newRow("minute 09 up gives 10")
            << QTime(7, 9) << 1 << Up << QStringList { "07", "10", "AM" };
    QTest::newRow("upper AM/PM arrow turns AM into PM")
            << QTime(7, 0) << 2 << Up << QStringList { "07", "00", "PM" };
    QTest::newRow("lower AM/PM arrow turns PM into AM")
            << QTime(19, 0) << 2 << Down << QStringList { "07", "00", "AM" };
}

void TestClockDialog::timeArrows()
{
    QFETCH(QTime, start);
    QFETCH(int, bar);
    QFETCH(Arrow, arrow);
    QFETCH(QStringList, expected);

    ClockDialog dialog(0, QDateTime(QDate(2018, 3, 9), start), m_setter, m_panel);
    dialog.Command1->setEnabled(false);
    press(dialog.VS1[bar], arrow);
    QCOMPARE((QStringList { dialog.T1[0]->text(), dialog.T1[1]->text(), dialog.T1[2]->text() }),
             expected);
    QCOMPARE(dialog.VS1[bar]->value(), 1);
    QVERIFY2(dialog.Command1->isEnabled(), "an arrow enables applying again");
}

void TestClockDialog::dateArrowsStopAtLimits_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("bar"); // 0 day, 1 month, 2 year
    QTest::addColumn<Arrow>("arrow");
    QTest::addColumn<QStringList>("expected"); // day, month, year

    QTest::newRow("month up from 31 January pulls the day to 28")
            << QDate(2015, 1, 31) << 1 << Up << QStringList { "28", "02", "2015" };
    QTest::newRow("month up from 31 January of a fourth year gives 29")
            << QDate(2016, 1, 31) << 1 << Up << QStringList { "29", "02", "2016" };
    QTest::newRow("month down from 31 March pulls the day to 28")
            << QDate(2019, 3, 31) << 1 << Down << QStringList { "28", "02", "2019" };
    QTest::newRow("year up from 29 February 2016 gives 28")
            << QDate(2016, 2, 29) << 2 << Up << QStringList { "28", "02", "2017" };
    QTest::newRow("day 28 up in February of a fourth year gives 29")
            << QDate(2024, 2, 28) << 0 << Up << QStringList { "29", "02", "2024" };
    QTest::newRow("day at the month length up stays")
            << QDate(2018, 4, 30) << 0 << Up << QStringList { "30", "04", "2018" };
    QTest::newRow("day 01 down stays")
            << QDate(2018, 5, 1) << 0 << Down << QStringList { "01", "05", "2018" };
    QTest::newRow("month 12 up stays")
            << QDate(2018, 12, 15) << 1 << Up << QStringList { "15", "12", "2018" };
    QTest::newRow("month 01 down stays")
            << QDate(2018, 1, 15) << 1 << Down << QStringList { "15", "01", "2018" };
    QTest::newRow("year 2035 up stays")
            << QDate(2035, 6, 1) << 2 << Up << QStringList { "01", "06", "2035" };
    QTest::newRow("year 2012 down stays")
            << QDate(2012, 6, 1) << 2 << Down << QStringList { "01", "06", "2012" };
    QTest::newRow("a year beyond 2035 is pulled in by a day arrow")
            << QDate(2040, 6, 10) << 0 << Up << QStringList { "11", "06", "2035" };
    QTest::newRow("a year before 2012 is pulled in by a month arrow")
            << QDate(2009, 6, 10) << 1 << Down << QStringList { "10", "05", "2012" };
}

void TestClockDialog::dateArrowsStopAtLimits()
{
    QFETCH(QDate, start);
    QFETCH(int, bar);
    QFETCH(Arrow, arrow);
    QFETCH(QStringList, expected);

    ClockDialog dialog(1, QDateTime(start, QTime(9, 0)), m_setter, m_panel);
    dialog.Command1->setEnabled(false);
    press(dialog.VS2[bar], arrow);
    QCOMPARE((QStringList { dialog.T2[0]->text(), dialog.T2[1]->text(), dialog.T2[2]->text() }),
             expected);
    QCOMPARE(dialog.List1Index, expected.at(1).toInt() - 1);
    QCOMPARE(dialog.VS2[bar]->value(), 1);
    QVERIFY(dialog.Command1->isEnabled());
}

// The arrows are the bar's own buttons: a click on the upper one counts up, on the lower one
// down, and the bar is back at rest afterwards, ready for the next click.
void TestClockDialog::arrowButtonsOfTheBar()
{
    ClockDialog dialog(1, QDateTime(QDate(2018, 3, 9), QTime(7, 30)), m_setter, m_panel);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QScrollBar *bar = dialog.VS1[1];
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    const QRect upper = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSubLine, bar);
    const QRect lower = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarAddLine, bar);
    QVERIFY(!upper.isEmpty() && !lower.isEmpty());

    QTest::mouseClick(bar, Qt::LeftButton, {}, upper.center());
    QTest::mouseClick(bar, Qt::LeftButton, {}, upper.center());
    QCOMPARE(dialog.T1[1]->text(), QStringLiteral("32"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, lower.center());
    QCOMPARE(dialog.T1[1]->text(), QStringLiteral("31"));
    QCOMPARE(bar->value(), 1);
}

void TestClockDialog::applyPassesFieldTexts()
{
    FakeSystemClockSetter setter;
    FakeDateTimePanel panel;
    ClockDialog dialog(1, QDateTime(QDate(2018, 3, 9), QTime(19, 5, 12)), setter, panel);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // The main window's tick keeps the seconds live; applying takes what is shown.
    dialog.T1[3]->setText(QStringLiteral("30"));

    QTest::mouseClick(dialog.Command1, Qt::LeftButton);

    QCOMPARE(setter.calls,
             QStringList({ QStringLiteral("time 19:05:30"), QStringLiteral("date 2018-03-09") }));
    QVERIFY(!dialog.Command1->isEnabled());
    QVERIFY2(dialog.isVisible(), "the dialog stays open after applying");
    QCOMPARE(panel.openings, 0);
    QCOMPARE(m_told, QStringList());
}

void TestClockDialog::applyAnswers_data()
{
    using Result = SystemClockSetter::Result;
    QTest::addColumn<Result>("timeAnswer");
    QTest::addColumn<Result>("dateAnswer");
    QTest::addColumn<int>("calls");
    QTest::addColumn<int>("panelOpenings");
    QTest::addColumn<bool>("buttonEnabled");
    QTest::addColumn<bool>("told");

    QTest::newRow("success disables the button, tells nothing")
            << Result::Done << Result::Done << 2 << 0 << false << false;
    QTest::newRow("refused time is told, opens the panel once and asks no date")
            << Result::Refused << Result::Done << 1 << 1 << true << true;
    QTest::newRow("refused date is told and opens the panel once")
            << Result::Done << Result::Refused << 2 << 1 << true << true;
    QTest::newRow("time failure opens the panel and sets no date")
            << Result::Failed << Result::Done << 1 << 1 << true << false;
    QTest::newRow("date failure opens the panel")
            << Result::Done << Result::Failed << 2 << 1 << true << false;
    QTest::newRow("a call given up as the program ends does nothing more")
            << Result::Skipped << Result::Done << 1 << 0 << true << false;
}

void TestClockDialog::applyAnswers()
{
    using Result = SystemClockSetter::Result;
    QFETCH(Result, timeAnswer);
    QFETCH(Result, dateAnswer);
    QFETCH(int, calls);
    QFETCH(int, panelOpenings);
    QFETCH(bool, buttonEnabled);
    QFETCH(bool, told);

    FakeSystemClockSetter setter;
    setter.timeAnswer = timeAnswer;
    setter.dateAnswer = dateAnswer;
    FakeDateTimePanel panel;
    m_watchedPanel = &panel;
    ClockDialog dialog(0, QDateTime(QDate(2018, 3, 9), QTime(7, 5)), setter, panel);
    const QStringList fields { dialog.T1[0]->text(), dialog.T1[1]->text(), dialog.T2[0]->text() };

    dialog.Command1_Click();

    QCOMPARE(setter.calls.size(), calls);
    QCOMPARE(panel.openings, panelOpenings);
    QCOMPARE(dialog.Command1->isEnabled(), buttonEnabled);
    QCOMPARE(m_told.size(), told ? 1 : 0);
    if (told)
        QCOMPARE(m_panelOpeningsWhenTold, QList<int> { 0 }); // told first, then opened
    QCOMPARE((QStringList { dialog.T1[0]->text(), dialog.T1[1]->text(), dialog.T2[0]->text() }),
             fields);
}

void TestClockDialog::refusalToldInDialogLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("sentence");

    const QString arabic = QStringLiteral(
            "يتطلب تغيير الوقت صلاحيات المسؤول، وستفتح الآن إعدادات التاريخ والوقت في النظام.");
    const QString kurdish = QStringLiteral("بۆ گۆڕینی کات مافی بەڕێوەبەر پێویستە، ڕێکخستنەکانی "
                                           "بەروار و کاتی سیستەم دەکرێنەوە.");
    QTest::newRow("Arabic") << 0 << arabic;
    QTest::newRow("Kurdish") << 1 << kurdish;
    QTest::newRow("any other index is Kurdish") << 2 << kurdish;
}

// The button is pressed with the mouse, and applied again after the refusal: the user may
// have been given the rights meanwhile.
void TestClockDialog::refusalToldInDialogLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, sentence);

    FakeSystemClockSetter setter;
    setter.timeAnswer = SystemClockSetter::Result::Refused;
    FakeDateTimePanel panel;
    m_watchedPanel = &panel;
    ClockDialog dialog(language, QDateTime(QDate(2018, 3, 9), QTime(19, 5)), setter, panel);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QCOMPARE(m_told, QStringList { sentence });
    QCOMPARE(panel.openings, 1);
    QVERIFY2(dialog.Command1->isEnabled(), "a refused change can be applied again");
    QVERIFY(dialog.isVisible());

    setter.timeAnswer = SystemClockSetter::Result::Done;
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QCOMPARE(setter.calls,
             QStringList({ QStringLiteral("time 19:05:00"), QStringLiteral("time 19:05:00"),
                           QStringLiteral("date 2018-03-09") }));
    QVERIFY(!dialog.Command1->isEnabled());
    QCOMPARE(m_told.size(), 1);
    QCOMPARE(panel.openings, 1);
}

void TestClockDialog::closedDuringApplySetsNoDate()
{
    InterruptingSetter setter;
    FakeDateTimePanel panel;
    ClockDialog dialog(1, QDateTime(QDate(2018, 3, 9), QTime(7, 5)), setter, panel);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    setter.duringTimeCall = [&dialog] { dialog.reject(); };

    dialog.Command1_Click();

    QCOMPARE(setter.calls, QStringList { QStringLiteral("time 07:05:00") });
    QCOMPARE(panel.openings, 0);
}

// The main window's hand-over closes the dialog while the desktop still asks for the password;
// the refusal that follows is nobody's to read.
void TestClockDialog::closedDuringRefusedCallTellsNothing()
{
    InterruptingSetter setter;
    setter.timeAnswer = SystemClockSetter::Result::Refused;
    FakeDateTimePanel panel;
    m_watchedPanel = &panel;
    ClockDialog dialog(0, QDateTime(QDate(2018, 3, 9), QTime(7, 5)), setter, panel);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    setter.duringTimeCall = [&dialog] { dialog.reject(); };

    dialog.Command1_Click();

    QCOMPARE(m_told, QStringList());
    QCOMPARE(panel.openings, 0);
}

QTEST_MAIN(TestClockDialog)
#include "tst_clockdialog.moc"
