// The pure parts of the settings subsystem: number readers, the key table, the store's
// pass-through, the logon start command texts, and the time-of-day helpers.
#include "FakeSettingsBackend.h"
#include "mainwindow/TimeOfDay.h"
#include "settings/LogonStartCommand.h"
#include "settings/LogonStartState.h"
#include "settings/SettingsFileCheck.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include <QTest>

#include <limits>
#include <optional>

Q_DECLARE_METATYPE(std::optional<int>)
Q_DECLARE_METATYPE(LogonStartState)
Q_DECLARE_METATYPE(std::optional<LogonStartState>)

namespace {
const SettingKey &keyNamed(const QString &use)
{
    if (use == QLatin1String("city"))
        return SettingKeyTable::city();
    if (use == QLatin1String("muezzin"))
        return SettingKeyTable::muezzin();
    if (use == QLatin1String("lead"))
        return SettingKeyTable::lead();
    if (use == QLatin1String("language"))
        return SettingKeyTable::language();
    if (use == QLatin1String("logonBox"))
        return SettingKeyTable::logonBox();
    if (use == QLatin1String("logonTimer"))
        return SettingKeyTable::logonTimer();
    return SettingKeyTable::volume();
}
} // namespace

class TestSettingsLogic : public QObject
{
    Q_OBJECT

private slots:
    void lenientNumber_data();
    void lenientNumber();
    void strictInteger_data();
    void strictInteger();
    void keyTableNames();
    void readSetting_data();
    void readSetting();
    void minimiseInterval_data();
    void minimiseInterval();
    void storeHasNoCacheAndReportsRefusals();
    void settingsText_data();
    void settingsText();
    void desktopExec_data();
    void desktopExec();
    void runValue_data();
    void runValue();
    void windowsLogonState_data();
    void windowsLogonState();
    void approvedOnIsTwoAndAZeroTime();
    void logonBoxAtStart_data();
    void logonBoxAtStart();
    void timeOfDaySeconds_data();
    void timeOfDaySeconds();
    void clockText_data();
    void clockText();
};

void TestSettingsLogic::lenientNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("no number is 0") << "abc" << 0;
    QTest::newRow("leading number of a text") << "7abc" << 7;
    QTest::newRow("leading blanks skipped") << "  \t8x" << 8;
    QTest::newRow("stops at an inner space") << "1 2" << 1;
    QTest::newRow("no exponent") << "1e3" << 1;
    QTest::newRow("minus sign") << "-7" << -7;
    QTest::newRow("lone sign is 0") << "-" << 0;
    QTest::newRow("half rounds down to even") << "2.5" << 2;
    QTest::newRow("half rounds up to even") << "3.5" << 4;
    QTest::newRow("negative half to even") << "-2.5" << -2;
    QTest::newRow("above half rounds up") << "2.5000001" << 3;
    QTest::newRow("below half exactly, no binary rounding") << "3.49999999999999999999" << 3;
    QTest::newRow("fraction without integer part") << ".6" << 1;
    QTest::newRow("only ASCII digits count") << QString::fromUtf8("\u0663") << 0;
    QTest::newRow("huge saturates") << "99999999999999999999" << std::numeric_limits<int>::max();
    QTest::newRow("huge negative saturates")
            << "-99999999999999999999" << std::numeric_limits<int>::min();
}

void TestSettingsLogic::lenientNumber()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(lenientSettingNumber(text), expected);
}

void TestSettingsLogic::strictInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<int>>("expected");
    const std::optional<int> rejected;
    QTest::newRow("plain digits") << "12" << std::optional<int>(12);
    QTest::newRow("surrounding blanks allowed") << " 12 " << std::optional<int>(12);
    QTest::newRow("fraction rounds half to even") << "2.5" << std::optional<int>(2);
    QTest::newRow("trailing garbage rejected") << "12x" << rejected;
    QTest::newRow("empty rejected") << "" << rejected;
    QTest::newRow("blanks only rejected") << "   " << rejected;
    QTest::newRow("exponent rejected") << "1e3" << rejected;
    QTest::newRow("smallest int") << "-2147483648" << std::optional<int>(-2147483647 - 1);
    QTest::newRow("past int rejected") << "2147483648" << rejected;
}

void TestSettingsLogic::strictInteger()
{
    QFETCH(QString, text);
    QFETCH(std::optional<int>, expected);
    QCOMPARE(strictSettingInteger(text), expected);
}

void TestSettingsLogic::keyTableNames()
{
    // The stored key names are the contract with existing stores; a swap loses a user's choice.
    QCOMPARE(SettingsKeys::City, QStringLiteral("Salat-1"));
    QCOMPARE(SettingsKeys::Volume, QStringLiteral("Salat-2"));
    QCOMPARE(SettingsKeys::LogonStart, QStringLiteral("Salat-3"));
    QCOMPARE(SettingsKeys::Muezzin, QStringLiteral("Salat-4"));
    QCOMPARE(SettingsKeys::Lead, QStringLiteral("Salat-5"));
    QCOMPARE(SettingsKeys::Language, QStringLiteral("Salat-6"));
    QCOMPARE(SettingsKeys::Close, QStringLiteral("Close"));
    QCOMPARE(SettingKeyTable::city().name, SettingsKeys::City);
    QCOMPARE(SettingKeyTable::volume().name, SettingsKeys::Volume);
    QCOMPARE(SettingKeyTable::logonBox().name, SettingsKeys::LogonStart);
    QCOMPARE(SettingKeyTable::logonTimer().name, SettingsKeys::LogonStart);
    QCOMPARE(SettingKeyTable::muezzin().name, SettingsKeys::Muezzin);
    QCOMPARE(SettingKeyTable::lead().name, SettingsKeys::Lead);
    QCOMPARE(SettingKeyTable::language().name, SettingsKeys::Language);
}

void TestSettingsLogic::readSetting_data()
{
    QTest::addColumn<QString>("use");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("city: empty is the first city") << "city"
                                                   << "" << 0;
    QTest::newRow("city: stored index") << "city"
                                        << "4" << 4;
    QTest::newRow("city: half to even") << "city"
                                        << "2.5" << 2;
    QTest::newRow("city: leading number out of range") << "city"
                                                       << "7abc" << 0;
    QTest::newRow("city: past the last city") << "city"
                                              << "5" << 0;
    QTest::newRow("city: negative") << "city"
                                    << "-1" << 0;

    QTest::newRow("muezzin: empty is 5") << "muezzin"
                                         << "" << 5;
    QTest::newRow("muezzin: last index") << "muezzin"
                                         << "6" << 6;
    QTest::newRow("muezzin: blanks around") << "muezzin"
                                            << " 3 " << 3;
    QTest::newRow("muezzin: strict rejects a leading number") << "muezzin"
                                                              << "3abc" << 5;
    QTest::newRow("muezzin: strict rejects garbage") << "muezzin"
                                                     << "abc" << 5;
    QTest::newRow("muezzin: past the last") << "muezzin"
                                            << "7" << 5;
    QTest::newRow("muezzin: half to even") << "muezzin"
                                           << "4.5" << 4;

    QTest::newRow("lead: empty is 0") << "lead"
                                      << "" << 0;
    QTest::newRow("lead: ten minutes") << "lead"
                                       << "10" << 10;
    QTest::newRow("lead: half up to even") << "lead"
                                           << "9.5" << 10;
    QTest::newRow("lead: past ten") << "lead"
                                    << "11" << 0;

    QTest::newRow("language: empty is Kurdish") << "language"
                                                << "" << 1;
    QTest::newRow("language: Arabic") << "language"
                                      << "0" << 0;
    QTest::newRow("language: garbage reads as 0, Arabic") << "language"
                                                          << "x" << 0;
    QTest::newRow("language: blank is not empty") << "language"
                                                  << " " << 0;
    QTest::newRow("language: 1.5 rounds to 2, out of range") << "language"
                                                             << "1.5" << 1;

    QTest::newRow("box: empty is ticked") << "logonBox"
                                          << "" << 1;
    QTest::newRow("box: off") << "logonBox"
                              << "0" << 0;
    QTest::newRow("box: out of range") << "logonBox"
                                       << "2" << 1;
    QTest::newRow("box: strict rejects garbage") << "logonBox"
                                                 << "yes" << 1;

    QTest::newRow("timer: missing is off") << "logonTimer"
                                           << "" << 0;
    QTest::newRow("timer: on") << "logonTimer"
                               << "1" << 1;
    QTest::newRow("timer: garbage is off") << "logonTimer"
                                           << "yes" << 0;
    QTest::newRow("timer: leading number") << "logonTimer"
                                           << "1x" << 1;
    QTest::newRow("timer: negative is off") << "logonTimer"
                                            << "-1" << 0;
    QTest::newRow("timer: absurd multiplier is off") << "logonTimer"
                                                     << "5" << 0;

    QTest::newRow("volume: empty is 50") << "volume"
                                         << "" << 50;
    QTest::newRow("volume: stored") << "volume"
                                    << "75" << 75;
    QTest::newRow("volume: garbage reads as 0, silent") << "volume"
                                                        << "loud" << 0;
    QTest::newRow("volume: past 100") << "volume"
                                      << "101" << 50;
    QTest::newRow("volume: negative") << "volume"
                                      << "-5" << 50;
    QTest::newRow("volume: half up to even") << "volume"
                                             << "49.5" << 50;
    QTest::newRow("volume: huge") << "volume"
                                  << "99999999999999999999" << 50;
}

void TestSettingsLogic::readSetting()
{
    QFETCH(QString, use);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(::readSetting(keyNamed(use), text), expected);
}

void TestSettingsLogic::minimiseInterval_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("missing key: timer off") << "" << 0;
    QTest::newRow("on: three seconds") << "1" << 3000;
    QTest::newRow("absurd: off") << "4" << 0;
    QTest::newRow("negative: off") << "-1" << 0;
}

void TestSettingsLogic::minimiseInterval()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(logonMinimiseIntervalMs(text), expected);
}

void TestSettingsLogic::storeHasNoCacheAndReportsRefusals()
{
    FakeSettingsBackend backend;
    SettingsStore store(backend);
    QCOMPARE(store.GetSetting(SettingsKeys::Close), QString());

    // Another copy writes behind the store's back: the next read sees it.
    backend.put(SettingsKeys::Close, QStringLiteral("Close"));
    QCOMPARE(store.GetSetting(SettingsKeys::Close), QStringLiteral("Close"));
    QVERIFY(store.SaveSetting(SettingsKeys::Close, QString()));
    QCOMPARE(backend.stored(SettingsKeys::Close), QString());
    QVERIFY(backend.contains(SettingsKeys::Close));

    QVERIFY(store.SaveSetting(SettingsKeys::Lead, -3));
    QCOMPARE(backend.stored(SettingsKeys::Lead), QStringLiteral("-3"));

    backend.refuseWritesOf(SettingsKeys::Volume);
    QVERIFY(!store.SaveSetting(SettingsKeys::Volume, 40));
    QVERIFY(!backend.contains(SettingsKeys::Volume));
    QCOMPARE(backend.readCount(), 2);
}

void TestSettingsLogic::settingsText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("trusted");
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("what QSettings writes")
            << QByteArray("[Settings]\nClose=\nSalat-1=3\n\"Salat-2\"=\"a, b\"\n") << true;
    QTest::newRow("hand edit with comments, blanks and CRLF")
            << QByteArray("; mine\r\n# too\r\n\r\n[Settings]\r\n  Salat-1 = 3  \r\n") << true;
    QTest::newRow("value continued on the next line")
            << QByteArray("[Settings]\nSalat-1=3\\\n  4\n") << true;
    QTest::newRow("UTF-8 text with a BOM")
            << QByteArray("\xef\xbb\xbf[Settings]\nName=\xd9\x87\xdb\x95\n") << true;
    QTest::newRow("line that is no pair") << QByteArray("[Settings]\nhello world\n") << false;
    QTest::newRow("control character") << QByteArray("[Settings]\nSalat-1=\x1b[3\n") << false;
}

void TestSettingsLogic::settingsText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, trusted);
    QCOMPARE(looksLikeSettingsText(bytes), trusted);
}

void TestSettingsLogic::desktopExec_data()
{
    // Expected texts are as they stand in the .desktop file, after both escaping levels.
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain path stays bare") << "/usr/bin/tirvelon"
                                           << "/usr/bin/tirvelon";
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("space is quoted") << "/opt/Prayer Times/tirvelon"
                                     << "\"/opt/Prayer Times/tirvelon\"";
    QTest::newRow("dollar quoted and escaped") << "/opt/a$b/t"
                                               << "\"/opt/a\\\\$b/t\"";
    QTest::newRow("double quote escaped") << "/opt/a\"b/t"
                                          << "\"/opt/a\\\\\"b/t\"";
    QTest::newRow("backslash is four") << "/opt/a\\b/t"
                                       << "\"/opt/a\\\\\\\\b/t\"";
    QTest::newRow("single quote only quoted") << "/opt/it's/t"
                                              << "\"/opt/it's/t\"";
    QTest::newRow("percent doubled, no quotes") << "/opt/100%/t"
                                                << "/opt/100%%/t";
    QTest::newRow("percent doubled inside quotes") << "/opt/100% sure/t"
                                                   << "\"/opt/100%% sure/t\"";
    QTest::newRow("non-ASCII is not reserved")
            << QString::fromUtf8("/opt/\u0647\u06d5/t") << QString::fromUtf8("/opt/\u0647\u06d5/t");
}

void TestSettingsLogic::desktopExec()
{
    QFETCH(QString, path);
    QFETCH(QString, exec);
    QCOMPARE(desktopExecCommand(path), exec);
}

void TestSettingsLogic::runValue_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("value");
    QTest::newRow("path with spaces is quoted") << "C:\\Program Files\\Tirvelon\\Tirvelon.exe"
                                                << "\"C:\\Program Files\\Tirvelon\\Tirvelon.exe\"";
    QTest::newRow("path without spaces stays bare") << "C:\\Tirvelon\\Tirvelon.exe"
                                                    << "C:\\Tirvelon\\Tirvelon.exe";
    QTest::newRow("empty turns the entry off") << ""
                                               << "";
}

void TestSettingsLogic::runValue()
{
    QFETCH(QString, path);
    QFETCH(QString, value);
    QCOMPARE(runValueCommand(path), value);
}

void TestSettingsLogic::windowsLogonState_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<QByteArray>("approved");
    QTest::addColumn<LogonStartState>("state");
    const QString ours = QStringLiteral("\"C:\\Program Files\\Tirvelon\\tirvelon.exe\"");
    const QByteArray time = QByteArray::fromHex("30d1a5f2c94cdb01"); // a FILETIME in 2025
    const auto Starts = LogonStartState::Starts;
    const auto Off = LogonStartState::TurnedOff;
    const auto None = LogonStartState::NotRegistered;

    QTest::newRow("no approval value") << ours << QByteArray() << Starts;
    QTest::newRow("02: on") << ours << QByteArray::fromHex("020000000000000000000000") << Starts;
    QTest::newRow("06: on") << ours << QByteArray::fromHex("060000000000000000000000") << Starts;
    QTest::newRow("03: turned off") << ours << QByteArray::fromHex("03000000") + time << Off;
    QTest::newRow("07: turned off") << ours << QByteArray::fromHex("07000000") + time << Off;
    QTest::newRow("one byte 03: turned off") << ours << QByteArray::fromHex("03") << Off;
    QTest::newRow("empty binary marks nothing") << ours << QByteArray("") << Starts;
    QTest::newRow("unquoted, as older versions wrote")
            << "C:\\Program Files\\Tirvelon\\tirvelon.exe" << QByteArray() << Starts;
    QTest::newRow("other letter case")
            << "\"c:\\PROGRAM FILES\\tirvelon\\Tirvelon.EXE\"" << QByteArray() << Starts;
    QTest::newRow("another program's command")
            << "\"C:\\Old Folder\\tirvelon.exe\"" << QByteArray() << None;
    QTest::newRow("our path with an argument")
            << ours + QStringLiteral(" /hide") << QByteArray() << None;
    QTest::newRow("emptied by unticking") << "" << QByteArray() << None;
    QTest::newRow("no Run value") << QString() << QByteArray() << None;
    QTest::newRow("another program's, turned off")
            << "C:\\Other\\other.exe" << QByteArray::fromHex("03000000") + time << Off;
}

void TestSettingsLogic::windowsLogonState()
{
    QFETCH(QString, run);
    QFETCH(QByteArray, approved);
    QFETCH(LogonStartState, state);
    QCOMPARE(windowsLogonStartState(
                     run, QStringLiteral("C:\\Program Files\\Tirvelon\\tirvelon.exe"), approved),
             state);
}

void TestSettingsLogic::approvedOnIsTwoAndAZeroTime()
{
    const QByteArray on = approvedOnBytes();
    QCOMPARE(on, QByteArray::fromHex("020000000000000000000000"));
    QVERIFY(!approvalMarksOff(on));
}

void TestSettingsLogic::logonBoxAtStart_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<std::optional<LogonStartState>>("system");
    QTest::addColumn<bool>("box");
    const std::optional<LogonStartState> cannotTell;
    QTest::newRow("cannot tell: stored on") << true << cannotTell << true;
    QTest::newRow("cannot tell: stored off") << false << cannotTell << false;
    QTest::newRow("turned off overrides the stored choice")
            << true << std::optional(LogonStartState::TurnedOff) << false;
    QTest::newRow("first start or moved folder registers again")
            << true << std::optional(LogonStartState::NotRegistered) << true;
    QTest::newRow("unticked stays off")
            << false << std::optional(LogonStartState::NotRegistered) << false;
    QTest::newRow("started by the system shows on")
            << false << std::optional(LogonStartState::Starts) << true;
}

void TestSettingsLogic::logonBoxAtStart()
{
    QFETCH(bool, stored);
    QFETCH(std::optional<LogonStartState>, system);
    QFETCH(bool, box);
    QCOMPARE(::logonBoxAtStart(stored, system), box);
}

void TestSettingsLogic::timeOfDaySeconds_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("seconds");
    QTest::newRow("midnight") << QTime(0, 0) << 0;
    QTest::newRow("half below an even second stays") << QTime(0, 0, 0, 500) << 0;
    QTest::newRow("half below an odd second rounds up") << QTime(0, 0, 1, 500) << 2;
    QTest::newRow("just under half") << QTime(0, 0, 0, 499) << 0;
    QTest::newRow("just over half") << QTime(0, 0, 0, 501) << 1;
    QTest::newRow("last half second rounds to the day's length") << QTime(23, 59, 59, 500) << 86400;
    QTest::newRow("last second before the half") << QTime(23, 59, 59, 499) << 86399;
}

void TestSettingsLogic::timeOfDaySeconds()
{
    QFETCH(QTime, time);
    QFETCH(int, seconds);
    QCOMPARE(::timeOfDaySeconds(time), seconds);
}

void TestSettingsLogic::clockText_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight is 12 AM") << QTime(0, 0) << "12:00:00 AM";
    QTest::newRow("first hour keeps 12") << QTime(0, 59, 59) << "12:59:59 AM";
    QTest::newRow("noon is 12 PM") << QTime(12, 0) << "12:00:00 PM";
    QTest::newRow("afternoon") << QTime(13, 5, 9) << "01:05:09 PM";
    QTest::newRow("last second") << QTime(23, 59, 59, 999) << "11:59:59 PM";
}

void TestSettingsLogic::clockText()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(::clockText(time), text);
}

QTEST_GUILESS_MAIN(TestSettingsLogic)
#include "tst_settingslogic.moc"
