// The real clock setter against a stand-in time service on a private bus that this test starts,
// and the choice of the desktop's date-time settings program. Never the system bus.
#include "clockdialog/DesktopDateTimePanel.h"
#include "clockdialog/TimedateClockSetter.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

using Result = SystemClockSetter::Result;

// Plays org.freedesktop.timedate1: remembers each SetTime and answers with the error it is
// given, or not at all.
class FakeTimeService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.timedate1")

public:
    struct Call
    {
        qlonglong usecUtc;
        bool relative;
        bool interactive;
        bool authorizationAllowed;
    };
    QList<Call> calls;
    QString errorName; // empty: succeed
    bool silent = false;

public slots:
    void SetTime(qlonglong usecUtc, bool relative, bool interactive)
    {
        calls.append(
                { usecUtc, relative, interactive, message().isInteractiveAuthorizationAllowed() });
        if (silent) {
            setDelayedReply(true);
            return;
        }
        if (!errorName.isEmpty())
            sendErrorReply(errorName, QStringLiteral("refused by the test"));
    }
};

class TestClockPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void sendsLocalTimeAsUtc_data();
    void sendsLocalTimeAsUtc();
    void classifiesAnswers_data();
    void classifiesAnswers();
    void missingServiceFails();
    void panelFindsDesktopProgram_data();
    void panelFindsDesktopProgram();

private:
    QTemporaryDir m_busDir;
    QProcess m_daemon;
    QString m_address;
    FakeTimeService m_service;
    std::unique_ptr<QDBusConnection> m_client;
};

void TestClockPlatform::initTestCase()
{
    // Iraq keeps +03:00 all year, so the expected UTC values below are fixed.
    qputenv("TZ", "Asia/Baghdad");
    tzset();

    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed");
    QVERIFY(m_busDir.isValid());

    const QString config = m_busDir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                              "Configuration 1.0//EN\"\n"
                              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                              "<busconfig>\n"
                              "  <type>session</type>\n"
                              "  <listen>unix:dir=%1</listen>\n"
                              "  <auth>EXTERNAL</auth>\n"
                              "  <policy context=\"default\">\n"
                              "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                              "    <allow eavesdrop=\"true\"/>\n"
                              "    <allow own=\"*\"/>\n"
                              "  </policy>\n"
                              "</busconfig>\n")
                       .arg(m_busDir.path())
                       .toUtf8());
    file.close();

    m_daemon.start(daemon,
                   { QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1") });
    QVERIFY(m_daemon.waitForStarted());
    QVERIFY(m_daemon.waitForReadyRead(10000));
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());

    QDBusConnection service = QDBusConnection::connectToBus(m_address, QStringLiteral("service"));
    QVERIFY2(service.isConnected(), qPrintable(service.lastError().message()));
    QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/timedate1"), &m_service,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.timedate1")));

    m_client = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(m_address, QStringLiteral("client")));
    QVERIFY(m_client->isConnected());
}

void TestClockPlatform::cleanupTestCase()
{
    m_client.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000))
            m_daemon.kill();
    }
}

void TestClockPlatform::init()
{
    m_service.calls.clear();
    m_service.errorName.clear();
    m_service.silent = false;
}

void TestClockPlatform::sendsLocalTimeAsUtc_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("setsTime");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<qlonglong>("usecUtc");

    // 2018-03-09 19:05:30 +03:00 = 16:05:30 UTC.
    QTest::newRow("time of day keeps today's date")
            << QDateTime(QDate(2018, 3, 9), QTime(8, 1, 2, 345)) << true << QTime(19, 5, 30)
            << QDate() << qlonglong(1520611530000000);
    // 2020-02-29 10:00:00.250 +03:00.
    QTest::newRow("date keeps the time of day")
            << QDateTime(QDate(2018, 3, 9), QTime(10, 0, 0, 250)) << false << QTime()
            << QDate(2020, 2, 29) << qlonglong(1582959600250000);
    // Five past midnight local is still the previous day in UTC.
    QTest::newRow("just after local midnight")
            << QDateTime(QDate(2018, 3, 9), QTime(23, 0)) << true << QTime(0, 5, 0) << QDate()
            << qlonglong(1520543100000000);
}

void TestClockPlatform::sendsLocalTimeAsUtc()
{
    QFETCH(QDateTime, now);
    QFETCH(bool, setsTime);
    QFETCH(QTime, time);
    QFETCH(QDate, date);
    QFETCH(qlonglong, usecUtc);

    TimedateClockSetter setter(*m_client, [now] { return now; });
    const Result result = setsTime ? setter.setTimeOfDay(time) : setter.setDate(date);

    QCOMPARE(result, Result::Done);
    QCOMPARE(m_service.calls.size(), 1);
    const FakeTimeService::Call call = m_service.calls.first();
    QCOMPARE(call.usecUtc, usecUtc);
    QVERIFY2(!call.relative, "an absolute time, not an offset");
    QVERIFY2(call.interactive, "the desktop may ask for the password");
    QVERIFY(call.authorizationAllowed);
}

void TestClockPlatform::classifiesAnswers_data()
{
    QTest::addColumn<QString>("errorName");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<Result>("expected");

    QTest::newRow("access denied is a refusal")
            << "org.freedesktop.DBus.Error.AccessDenied" << false << Result::Refused;
    QTest::newRow("no interactive authorisation is a refusal")
            << "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired" << false
            << Result::Refused;
    QTest::newRow("polkit's own denial is a refusal")
            << "org.freedesktop.PolicyKit1.Error.NotAuthorized" << false << Result::Refused;
    QTest::newRow("polkit's cancelled prompt is a refusal")
            << "org.freedesktop.PolicyKit1.Error.Cancelled" << false << Result::Refused;
    // No matter of rights: telling the user so would be wrong; the settings are the way.
    QTest::newRow("network time sync on fails")
            << "org.freedesktop.timedate1.AutomaticTimeSyncEnabled" << false << Result::Failed;
    QTest::newRow("any other error fails")
            << "org.freedesktop.DBus.Error.Failed" << false << Result::Failed;
    QTest::newRow("no answer in time fails") << QString() << true << Result::Failed;
}

void TestClockPlatform::classifiesAnswers()
{
    QFETCH(QString, errorName);
    QFETCH(bool, silent);
    QFETCH(Result, expected);

    m_service.errorName = errorName;
    m_service.silent = silent;
    TimedateClockSetter setter(
            *m_client, [] { return QDateTime(QDate(2018, 3, 9), QTime(8, 0)); }, 300);
    QCOMPARE(setter.setTimeOfDay(QTime(19, 5, 30)), expected);
    QCOMPARE(m_service.calls.size(), 1);
}

void TestClockPlatform::missingServiceFails()
{
    QDBusConnection service(QStringLiteral("service"));
    QVERIFY(service.unregisterService(QStringLiteral("org.freedesktop.timedate1")));
    TimedateClockSetter setter(*m_client);
    const Result result = setter.setDate(QDate(2018, 3, 9));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.timedate1")));

    QCOMPARE(result, Result::Failed);
    QVERIFY(m_service.calls.isEmpty());

    TimedateClockSetter unconnected(QDBusConnection(QStringLiteral("no such bus")));
    QCOMPARE(unconnected.setTimeOfDay(QTime(7, 0)), Result::Failed);
}

void TestClockPlatform::panelFindsDesktopProgram_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("GNOME's own settings") << QStringList { "gnome-control-center" } << "GNOME"
                                          << "gnome-control-center" << QStringList { "datetime" };
    QTest::newRow("the current desktop's program first")
            << QStringList { "gnome-control-center", "systemsettings" } << "KDE"
            << "systemsettings" << QStringList { "kcm_clock" };
    QTest::newRow("desktop named within a list")
            << QStringList { "gnome-control-center", "mate-time-admin" } << "ubuntu:MATE"
            << "mate-time-admin" << QStringList {};
    QTest::newRow("another desktop's program when the current has none")
            << QStringList { "time-admin" } << "KDE"
            << "time-admin" << QStringList {};
    QTest::newRow("nothing installed starts nothing")
            << QStringList {} << "GNOME" << QString() << QStringList {};
}

void TestClockPlatform::panelFindsDesktopProgram()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, desktop);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);

    QTemporaryDir bin;
    for (const QString &name : installed) {
        QFile file(bin.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // A file that is not executable does not count.
    QFile(bin.filePath(QStringLiteral("unity-control-center"))).open(QIODevice::WriteOnly);

    QList<DesktopDateTimePanel::Command> started;
    DesktopDateTimePanel panel(
            [&started](const DesktopDateTimePanel::Command &command) {
                started.append(command);
                return true;
            },
            { bin.path() }, desktop);

    QCOMPARE(panel.open(), !program.isEmpty());
    QCOMPARE(started.size(), program.isEmpty() ? 0 : 1);
    if (!started.isEmpty()) {
        QCOMPARE(started.first().program, bin.filePath(program));
        QCOMPARE(started.first().arguments, arguments);
    }
}

QTEST_GUILESS_MAIN(TestClockPlatform)
#include "tst_clockplatform.moc"
