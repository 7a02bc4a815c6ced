// The Windows places of the settings, the logon start value and the instance lock: the
// registry and %TEMP%, with a second process in play (SettingsChild.h). Every key written lives
// under a test key of its own, removed again at the end; the program's own key and the real Run
// key are only named, never written.
#include "SettingsChild.h"
#include "settings/FileInstanceLock.h"
#include "settings/QSettingsBackend.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "settings/SystemLogonStart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <qt_windows.h>

#include <string>

class TestSettingsWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void programPlacesAreTheWindowsOnes();
    void registryStoreWritesTextValues();
    void badStoredValuesFallBack_data();
    void badStoredValuesFallBack();
    void twoProcessesShareTheRegistry();

    void runValueWrittenEmptiedRewritten_data();
    void runValueWrittenEmptiedRewritten();
    void runValueRefused();
    void turnedOffInTaskManagerThenTicked();

    void lockOfKilledCopyIsReclaimed();

private:
    QString m_root; // HKEY_CURRENT_USER\Software\Tirvelon-Test-<pid>
    QString key(const QString &name) const { return m_root + QLatin1Char('\\') + name; }
};

namespace {
const QString tirvelonExe = QStringLiteral("C:/Program Files/Tirvelon/tirvelon.exe");

// The binary value as Task Manager leaves it. Written with the registry functions: QSettings
// would store text, and the program's own writer is what is under test.
void writeApproval(const QString &run, const QByteArray &bytes)
{
    const std::wstring subKey
            = run.section(QLatin1Char('\\'), 1).toStdWString() + L"\\StartupApproved";
    HKEY handle = nullptr;
    QCOMPARE(RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                             nullptr, &handle, nullptr),
             LONG(ERROR_SUCCESS));
    const LONG status = RegSetValueExW(handle, L"Delkaro", 0, REG_BINARY,
                                       reinterpret_cast<const BYTE *>(bytes.constData()),
                                       DWORD(bytes.size()));
    RegCloseKey(handle);
    QCOMPARE(status, LONG(ERROR_SUCCESS));
}

// The approval's bytes read back through QSettings, whichever way it hands REG_BINARY over.
QByteArray approval(const QString &run)
{
    const QVariant value
            = QSettings(run + QStringLiteral("\\StartupApproved"), QSettings::NativeFormat)
                      .value(QStringLiteral("Delkaro"));
    if (value.userType() == QMetaType::QByteArray)
        return value.toByteArray();
    QByteArray bytes;
    for (const QChar c : value.toString()) {
        bytes += char(c.unicode() & 0xff);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

QString runValue(const QString &run)
{
    return QSettings(run, QSettings::NativeFormat).value(QStringLiteral("Delkaro")).toString();
}
} // namespace

void TestSettingsWindows::initTestCase()
{
    m_root = QStringLiteral("HKEY_CURRENT_USER\\Software\\Tirvelon-Test-%1")
                     .arg(QCoreApplication::applicationPid());
}

void TestSettingsWindows::cleanupTestCase()
{
    QSettings(m_root, QSettings::NativeFormat).remove(QString());
    QSettings parent(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat);
    parent.remove(m_root.section(QLatin1Char('\\'), -1));
}

void TestSettingsWindows::programPlacesAreTheWindowsOnes()
{
    QCOMPARE(QSettingsBackend().location(),
             QStringLiteral("\\HKEY_CURRENT_USER\\Software\\Tirvelon\\Tirvelon\\Settings"));
    QCOMPARE(SystemLogonStart().entryLocation(),
             QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
                            "\\Delkaro"));
    QCOMPARE(SystemLogonStart().approvalLocation(),
             QStringLiteral(
                     "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"
                     "\\StartupApproved\\Run\\Delkaro"));
    const QString lock = FileInstanceLock::defaultLockPath();
    const QString temp = QDir::fromNativeSeparators(qEnvironmentVariable("TEMP"));
    QVERIFY2(!temp.isEmpty(), "TEMP is not set");
    QVERIFY2(QDir::fromNativeSeparators(lock).startsWith(temp + QLatin1Char('/'),
                                                         Qt::CaseInsensitive),
             qPrintable(lock + QStringLiteral(" is not in ") + temp));
    QVERIFY2(lock.endsWith(QStringLiteral(".lock")), qPrintable(lock));
}

void TestSettingsWindows::registryStoreWritesTextValues()
{
    QSettingsBackend backend = QSettingsBackend::registryKey(key(QStringLiteral("Store")));
    QCOMPARE(backend.value(SettingsKeys::City), QString());
    SettingsStore store(backend);
    QVERIFY(store.SaveSetting(SettingsKeys::City, 3));
    QVERIFY(store.SaveSetting(SettingsKeys::Close, QStringLiteral("Close")));
    QCOMPARE(store.GetSetting(SettingsKeys::City), QStringLiteral("3"));

    // One text value per key under the section, as regedit and "reg query" show them.
    QSettings raw(key(QStringLiteral("Store\\Settings")), QSettings::NativeFormat);
    QCOMPARE(raw.value(QStringLiteral("Salat-1")).userType(), int(QMetaType::QString));
    QCOMPARE(raw.value(QStringLiteral("Salat-1")).toString(), QStringLiteral("3"));
    QCOMPARE(raw.value(QStringLiteral("Close")).toString(), QStringLiteral("Close"));
    QVERIFY(store.SaveSetting(SettingsKeys::Close, QString()));
    QCOMPARE(QSettings(key(QStringLiteral("Store\\Settings")), QSettings::NativeFormat)
                     .value(QStringLiteral("Close"))
                     .toString(),
             QString());
}

void TestSettingsWindows::badStoredValuesFallBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("read");
    QTest::newRow("muezzin not a number") << "Salat-4"
                                          << "five" << 5;
    QTest::newRow("muezzin out of range") << "Salat-4"
                                          << "9" << 5;
    QTest::newRow("city with a fraction") << "Salat-1"
                                          << "2.5" << 2;
    QTest::newRow("volume out of range") << "Salat-2"
                                         << "250" << 50;
    QTest::newRow("language empty") << "Salat-6"
                                    << "" << 1;
}

void TestSettingsWindows::badStoredValuesFallBack()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(int, read);
    // Written as a user with regedit would, then read as the start-up reads it.
    QSettings(key(QStringLiteral("Bad\\Settings")), QSettings::NativeFormat).setValue(name, stored);
    QSettingsBackend backend = QSettingsBackend::registryKey(key(QStringLiteral("Bad")));
    const QString text = SettingsStore(backend).GetSetting(name);
    QCOMPARE(text, stored);
    const SettingKey *reader = name == QLatin1String("Salat-4") ? &SettingKeyTable::muezzin()
            : name == QLatin1String("Salat-1")                  ? &SettingKeyTable::city()
            : name == QLatin1String("Salat-2")                  ? &SettingKeyTable::volume()
                                                                : &SettingKeyTable::language();
    QCOMPARE(readSetting(*reader, text), read);
}

void TestSettingsWindows::twoProcessesShareTheRegistry()
{
    const QString store = key(QStringLiteral("Shared"));
    QSettingsBackend mine = QSettingsBackend::registryKey(store);
    Child other;
    QVERIFY(other.start({ QStringLiteral("--serve-settings"), store }));
    QCOMPARE(other.ask(QStringLiteral("get Close")), QStringLiteral("="));

    QVERIFY(mine.setValue(SettingsKeys::City, QStringLiteral("4")));
    QCOMPARE(other.ask(QStringLiteral("get Salat-1")), QStringLiteral("=4"));

    // The second copy's request, taken by the running one within its next read.
    QCOMPARE(other.ask(QStringLiteral("set Close Close")), QStringLiteral("ok"));
    QCOMPARE(mine.value(SettingsKeys::Close), QStringLiteral("Close"));
    QVERIFY(mine.setValue(SettingsKeys::Close, QString()));
    QCOMPARE(other.ask(QStringLiteral("get Close")), QStringLiteral("="));

    QCOMPARE(other.ask(QStringLiteral("set Salat-4 2")), QStringLiteral("ok"));
    QVERIFY(mine.setValue(SettingsKeys::Volume, QStringLiteral("70")));
    QCOMPARE(other.ask(QStringLiteral("get Salat-2")), QStringLiteral("=70"));
    QCOMPARE(mine.value(SettingsKeys::Muezzin), QStringLiteral("2"));
    QVERIFY(other.finish());
}

void TestSettingsWindows::runValueWrittenEmptiedRewritten_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("value");
    QTest::newRow("no space: as it is") << "C:/Tirvelon/tirvelon.exe"
                                        << "C:\\Tirvelon\\tirvelon.exe";
    QTest::newRow("a space: quoted") << "C:/Program Files/Tirvelon/tirvelon.exe"
                                     << "\"C:\\Program Files\\Tirvelon\\tirvelon.exe\"";
    QTest::newRow("Arabic script")
            << QString::fromUtf8("C:/\u0628\u0627\u0646\u06af/tirvelon.exe")
            << QString::fromUtf8("C:\\\u0628\u0627\u0646\u06af\\tirvelon.exe");
}

void TestSettingsWindows::runValueWrittenEmptiedRewritten()
{
    QFETCH(QString, program);
    QFETCH(QString, value);
    const QString run = key(QStringLiteral("Run"));
    SystemLogonStart logon(run);
    QCOMPARE(logon.entryLocation(), run + QStringLiteral("\\Delkaro"));
    auto stored = [&run] {
        return QSettings(run, QSettings::NativeFormat).value(QStringLiteral("Delkaro"));
    };

    QVERIFY(logon.write(program));
    QCOMPARE(stored().toString(), value);
    // Unticked: the value stays, empty.
    QVERIFY(logon.write(QString()));
    QVERIFY(stored().isValid());
    QCOMPARE(stored().toString(), QString());
    QVERIFY(logon.write(program));
    QCOMPARE(stored().toString(), value);
}

void TestSettingsWindows::runValueRefused()
{
    // A key name longer than the registry allows (255 characters) cannot be made: the write is
    // refused, and said to be.
    const QString tooLong = key(QString(300, QLatin1Char('x')) + QStringLiteral("\\Run"));
    SystemLogonStart logon(tooLong);
    QVERIFY(!logon.write(QStringLiteral("C:/Tirvelon/tirvelon.exe")));
    QVERIFY(!logon.write(QString()));
}

void TestSettingsWindows::turnedOffInTaskManagerThenTicked()
{
    const QString run = key(QStringLiteral("Approval"));
    SystemLogonStart logon(run);
    QCOMPARE(logon.approvalLocation(), run + QStringLiteral("\\StartupApproved\\Delkaro"));
    const QString quoted = QStringLiteral("\"C:\\Program Files\\Tirvelon\\tirvelon.exe\"");
    const QByteArray on = QByteArray::fromHex("020000000000000000000000");

    QCOMPARE(logon.state(tirvelonExe), LogonStartState::NotRegistered);
    QVERIFY(logon.write(tirvelonExe));
    QCOMPARE(runValue(run), quoted);
    QCOMPARE(approval(run), on);
    QCOMPARE(logon.state(tirvelonExe), LogonStartState::Starts);

    // Task Manager: 03 and the time it was turned off; the Run value is left as it was.
    writeApproval(run, QByteArray::fromHex("0300000010a5f2c94cdb0101"));
    QCOMPARE(logon.state(tirvelonExe), LogonStartState::TurnedOff);
    QVERIFY(!logonBoxAtStart(true, logon.state(tirvelonExe)));
    QCOMPARE(runValue(run), quoted);

    // Ticked again: Windows starts it again.
    QVERIFY(logon.write(tirvelonExe));
    QCOMPARE(approval(run), on);
    QCOMPARE(logon.state(tirvelonExe), LogonStartState::Starts);
    QVERIFY(logonBoxAtStart(false, logon.state(tirvelonExe)));

    // Unticked: the Run value is emptied, the approval left alone.
    QVERIFY(logon.write(QString()));
    QCOMPARE(runValue(run), QString());
    QCOMPARE(approval(run), on);
    QCOMPARE(logon.state(tirvelonExe), LogonStartState::NotRegistered);
}

void TestSettingsWindows::lockOfKilledCopyIsReclaimed()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/tirvelon.lock");
    Child first;
    QVERIFY(first.start({ QStringLiteral("--hold-lock"), path }));
    QCOMPARE(first.readLine(), QStringLiteral("held"));
    FileInstanceLock mine(path);
    QVERIFY(mine.anotherInstanceRunning());

    Child second;
    QVERIFY(second.start({ QStringLiteral("--hold-lock"), path }));
    QCOMPARE(second.readLine(), QStringLiteral("busy"));
    QVERIFY(second.finish());

    // Killed outright (Task Manager), it leaves the file behind; the next start takes it over.
    first.kill();
    QVERIFY(QFile::exists(path));
    QVERIFY(!mine.anotherInstanceRunning());
    Child third;
    QVERIFY(third.start({ QStringLiteral("--hold-lock"), path }));
    QCOMPARE(third.readLine(), QStringLiteral("busy"));
    QVERIFY(third.finish());
}

int main(int argc, char *argv[])
{
    const int childStatus = runChildMode(argc, argv);
    if (childStatus >= 0)
        return childStatus;
    QCoreApplication app(argc, argv);
    TestSettingsWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingswindows.moc"
