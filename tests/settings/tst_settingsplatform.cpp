// The real settings file, autostart entry and instance lock, with other processes in play
// (SettingsChild.h: the binary doubles as the other copy).
#include "SettingsChild.h"
#include "settings/FileInstanceLock.h"
#include "settings/QSettingsBackend.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "settings/SystemLogonStart.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The [Desktop Entry] group of a .desktop file, raw values.
QMap<QString, QString> desktopEntry(const QString &path)
{
    QMap<QString, QString> entry;
    bool inGroup = false;
    const QStringList lines = QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inGroup && eq > 0)
            entry.insert(line.left(eq), line.mid(eq + 1));
    }
    return entry;
}

// A fixed stream of bytes that no editor would produce.
QByteArray garbage(int size)
{
    QByteArray bytes;
    quint32 state = 12345;
    for (int i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes.append(char(state >> 24));
    }
    return bytes;
}

const QByteArray pythonDesktopReader = R"(
import sys
import gi
gi.require_version('GLib', '2.0')
from gi.repository import GLib
kf = GLib.KeyFile()
kf.load_from_file(sys.argv[1], GLib.KeyFileFlags.NONE)
ok, argv = GLib.shell_parse_argv(kf.get_string('Desktop Entry', 'Exec'))
hidden = kf.get_boolean('Desktop Entry', 'Hidden')
out = 'args=%d hidden=%d\n' % (len(argv), hidden)
sys.stdout.buffer.write(out.encode() + argv[0].replace('%%', '%').encode('utf-8'))
)";

const QString systemPython = QStringLiteral("/usr/bin/python3");

bool haveGlibForPython()
{
    if (!QFile::exists(systemPython))
        return false;
    QProcess probe;
    probe.start(systemPython,
                { QStringLiteral("-c"),
                  QStringLiteral("import gi; gi.require_version('GLib', '2.0'); "
                                 "from gi.repository import GLib") });
    return probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit
            && probe.exitCode() == 0;
}

} // namespace

class TestSettingsPlatform : public QObject
{
    Q_OBJECT

public:
    explicit TestSettingsPlatform(QString home)
        : m_home(std::move(home))
    { }

private slots:
    void storeWritesAndReadsBack();
    void defaultPlacesAreThePrivateHome();
    void twoProcessesShareTheStore();
    void corruptFileGivesDefaultsAndIsKeptAside_data();
    void corruptFileGivesDefaultsAndIsKeptAside();
    void handEditedFileIsTrusted();
    void unreadableStoreGivesDefaults_data();
    void unreadableStoreGivesDefaults();

    void logonEntryWrittenEmptiedRewritten();
    void logonEntryOffWithoutEarlierEntry();
    void logonEntryStartsTheRightProgram_data();
    void logonEntryStartsTheRightProgram();
    void logonEntryUnwritable_data();
    void logonEntryUnwritable();

    void lockOfKilledCopyIsReclaimed();
    void lockFreedWhenCopyEnds();

private:
    QString m_home;
};

void TestSettingsPlatform::storeWritesAndReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/not yet/Tirvelon.ini");
    QSettingsBackend backend(path);
    QCOMPARE(backend.location(), path);
    QCOMPARE(backend.value(SettingsKeys::City), QString());
    QVERIFY(backend.setValue(SettingsKeys::City, QStringLiteral("3")));
    QCOMPARE(backend.value(SettingsKeys::City), QStringLiteral("3"));
    QVERIFY(backend.setValue(SettingsKeys::City, QStringLiteral("4")));
    QCOMPARE(backend.value(SettingsKeys::City), QStringLiteral("4"));

    // Texts that mean something to INI syntax come back as written.
    const QStringList texts = { QString(),
                                QStringLiteral("a, b"),
                                QStringLiteral("@x"),
                                QStringLiteral(" padded "),
                                QStringLiteral("x=y;z"),
                                QString::fromUtf8("\u062f\u0648\u0648 \u0643\u0644\u064a\u0643") };
    for (const QString &text : texts) {
        QVERIFY(backend.setValue(SettingsKeys::Close, text));
        QCOMPARE(backend.value(SettingsKeys::Close), text);
    }

    // The program's own keys live in the group "Settings".
    QSettings raw(path, QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Settings/Salat-1")).toString(), QStringLiteral("4"));
}

void TestSettingsPlatform::defaultPlacesAreThePrivateHome()
{
    // main() pointed HOME and the XDG folders at a temporary folder before anything ran.
    QSettingsBackend backend;
    const QString location = backend.location();
    QVERIFY2(location.startsWith(m_home), qPrintable(location));
    QVERIFY2(location.endsWith(QStringLiteral("/Tirvelon/Tirvelon.ini")), qPrintable(location));
    QVERIFY(backend.setValue(SettingsKeys::Language, QStringLiteral("0")));
    QVERIFY(QFile::exists(location));
    QCOMPARE(QSettingsBackend().value(SettingsKeys::Language), QStringLiteral("0"));

    const QString entry = SystemLogonStart().entryLocation();
    QVERIFY2(entry.startsWith(m_home), qPrintable(entry));
    QVERIFY2(entry.endsWith(QStringLiteral("/autostart/Delkaro.desktop")), qPrintable(entry));

    const QString lock = FileInstanceLock::defaultLockPath();
    QVERIFY2(lock.startsWith(m_home), qPrintable(lock));
    QVERIFY2(lock.endsWith(QStringLiteral("/tirvelon.lock")), qPrintable(lock));
}

void TestSettingsPlatform::twoProcessesShareTheStore()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Tirvelon.ini");
    QSettingsBackend mine(path);
    Child other;
    QVERIFY(other.start({ QStringLiteral("--serve-settings"), path }));
    QCOMPARE(other.ask(QStringLiteral("get Close")), QStringLiteral("="));

    QVERIFY(mine.setValue(SettingsKeys::City, QStringLiteral("3")));
    QCOMPARE(other.ask(QStringLiteral("get Salat-1")), QStringLiteral("=3"));

    // The other copy asks this one to show itself; this one takes the request.
    QCOMPARE(other.ask(QStringLiteral("set Close Close")), QStringLiteral("ok"));
    QCOMPARE(mine.value(SettingsKeys::Close), QStringLiteral("Close"));
    QVERIFY(mine.setValue(SettingsKeys::Close, QString()));
    QCOMPARE(other.ask(QStringLiteral("get Close")), QStringLiteral("="));

    // And the other way round.
    QVERIFY(mine.setValue(SettingsKeys::Close, QStringLiteral("Close")));
    QCOMPARE(other.ask(QStringLiteral("get Close")), QStringLiteral("=Close"));
    QCOMPARE(other.ask(QStringLiteral("set Close ")), QStringLiteral("ok"));
    QCOMPARE(mine.value(SettingsKeys::Close), QString());

    // Writes of different keys by the two copies do not overwrite each other.
    QCOMPARE(other.ask(QStringLiteral("set Salat-4 2")), QStringLiteral("ok"));
    QVERIFY(mine.setValue(SettingsKeys::Volume, QStringLiteral("70")));
    QCOMPARE(other.ask(QStringLiteral("get Salat-2")), QStringLiteral("=70"));
    QCOMPARE(mine.value(SettingsKeys::Muezzin), QStringLiteral("2"));
    QCOMPARE(mine.value(SettingsKeys::City), QStringLiteral("3"));
    QVERIFY(other.finish());
}

void TestSettingsPlatform::corruptFileGivesDefaultsAndIsKeptAside_data()
{
    const QByteArray good("[Settings]\nSalat-1=3\nSalat-2=75\nSalat-3=0\nSalat-4=2\n"
                          "Salat-5=4\nSalat-6=0\n");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("garbage bytes") << garbage(600);
    QTest::newRow("garbage after good lines") << good + garbage(200);
    QTest::newRow("NUL bytes after good lines") << good + QByteArray(16, '\0');
    QTest::newRow("broken UTF-8") << good + QByteArray("Name=\xc3\x28\n");
    QTest::newRow("cut-off section header") << QByteArray("[Settings\n") + good;
}

void TestSettingsPlatform::corruptFileGivesDefaultsAndIsKeptAside()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Tirvelon.ini");
    QVERIFY(writeFile(path, bytes));

    QSettingsBackend backend(path);
    SettingsStore store(backend);
    const SettingKey *keys[] = { &SettingKeyTable::city(),     &SettingKeyTable::muezzin(),
                                 &SettingKeyTable::lead(),     &SettingKeyTable::language(),
                                 &SettingKeyTable::logonBox(), &SettingKeyTable::logonTimer(),
                                 &SettingKeyTable::volume() };
    for (const SettingKey *key : keys)
        QCOMPARE(readSetting(*key, store.GetSetting(key->name)), key->fallback);

    // A write starts a fresh store and keeps the damaged file, byte for byte, beside it.
    QVERIFY(store.SaveSetting(SettingsKeys::Muezzin, 6));
    QCOMPARE(store.GetSetting(SettingsKeys::Muezzin), QStringLiteral("6"));
    QCOMPARE(store.GetSetting(SettingsKeys::City), QString());
    const QStringList aside
            = QDir(dir.path()).entryList({ QStringLiteral("Tirvelon.ini.corrupt-*") }, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QCOMPARE(readFile(dir.filePath(aside.first())), bytes);

    // The fresh file is trusted from then on: no second copy at the next write.
    QVERIFY(store.SaveSetting(SettingsKeys::Lead, 2));
    QCOMPARE(QDir(dir.path())
                     .entryList({ QStringLiteral("Tirvelon.ini.corrupt-*") }, QDir::Files)
                     .size(),
             1);
}

void TestSettingsPlatform::handEditedFileIsTrusted()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Tirvelon.ini");
    QVERIFY(writeFile(path,
                      "; my notes\r\n[Settings]\r\nSalat-1 = 3\r\nSalat-2=1, 2\r\n"
                      "[Other]\r\nkeep=me\r\n"));
    QSettingsBackend backend(path);
    QCOMPARE(backend.value(SettingsKeys::City), QStringLiteral("3"));
    QCOMPARE(backend.value(SettingsKeys::Volume), QStringLiteral("1, 2"));
    QCOMPARE(readSetting(SettingKeyTable::volume(), backend.value(SettingsKeys::Volume)), 1);

    QVERIFY(backend.setValue(SettingsKeys::Lead, QStringLiteral("4")));
    QCOMPARE(backend.value(SettingsKeys::City), QStringLiteral("3"));
    QCOMPARE(QSettings(path, QSettings::IniFormat).value(QStringLiteral("Other/keep")).toString(),
             QStringLiteral("me"));
    QVERIFY(QDir(dir.path()).entryList({ QStringLiteral("*.corrupt-*") }).isEmpty());
}

void TestSettingsPlatform::unreadableStoreGivesDefaults_data()
{
    // Tests run as root, where chmod 000 does not stop a read: a folder stands in the way.
    QTest::addColumn<QString>("blocked");
    QTest::newRow("folder in place of the file") << "Tirvelon.ini";
    QTest::newRow("file in place of the folder") << "Tirvelon";
}

void TestSettingsPlatform::unreadableStoreGivesDefaults()
{
    QFETCH(QString, blocked);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Tirvelon/Tirvelon.ini");
    if (blocked == QLatin1String("Tirvelon.ini"))
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(writeFile(dir.path() + QStringLiteral("/Tirvelon"), "not a folder"));

    QSettingsBackend backend(path);
    QCOMPARE(backend.value(SettingsKeys::City), QString());
    QCOMPARE(readSetting(SettingKeyTable::volume(), backend.value(SettingsKeys::Volume)), 50);
    QVERIFY(!backend.setValue(SettingsKeys::City, QStringLiteral("3")));
    QCOMPARE(backend.value(SettingsKeys::City), QString());
    // Whatever stood in the way is left as it was.
    if (blocked == QLatin1String("Tirvelon.ini"))
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(readFile(dir.path() + QStringLiteral("/Tirvelon")), QByteArray("not a folder"));
}

void TestSettingsPlatform::logonEntryWrittenEmptiedRewritten()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/autostart");
    SystemLogonStart logon(folder);
    const QString file = folder + QStringLiteral("/Delkaro.desktop");
    QCOMPARE(logon.entryLocation(), file);

    QVERIFY(logon.write(QStringLiteral("/opt/Tirvelon/tirvelon")));
    QMap<QString, QString> entry = desktopEntry(file);
    QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("Tirvelon"));
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("/opt/Tirvelon/tirvelon"));
    QCOMPARE(entry.value(QStringLiteral("Hidden")), QStringLiteral("false"));
    QCOMPARE(entry.value(QStringLiteral("X-GNOME-Autostart-enabled")), QStringLiteral("true"));

    // Off keeps the file, and its program, but no desktop starts it.
    QVERIFY(logon.write(QString()));
    QVERIFY(QFile::exists(file));
    entry = desktopEntry(file);
    QCOMPARE(entry.value(QStringLiteral("Hidden")), QStringLiteral("true"));
    QCOMPARE(entry.value(QStringLiteral("X-GNOME-Autostart-enabled")), QStringLiteral("false"));
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("/opt/Tirvelon/tirvelon"));
    QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));

    // Ticking again after the program moved follows it.
    QVERIFY(logon.write(QStringLiteral("/home/u/New Place/tirvelon")));
    entry = desktopEntry(file);
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("\"/home/u/New Place/tirvelon\""));
    QCOMPARE(entry.value(QStringLiteral("Hidden")), QStringLiteral("false"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             QStringList { QStringLiteral("Delkaro.desktop") });
}

void TestSettingsPlatform::logonEntryOffWithoutEarlierEntry()
{
    QTemporaryDir dir;
    SystemLogonStart logon(dir.path());
    QVERIFY(logon.write(QString()));
    const QMap<QString, QString> entry = desktopEntry(logon.entryLocation());
    QCOMPARE(entry.value(QStringLiteral("Hidden")), QStringLiteral("true"));
    QCOMPARE(entry.value(QStringLiteral("Exec"), QStringLiteral("<none>")), QString());
}

void TestSettingsPlatform::logonEntryStartsTheRightProgram_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("spaces") << "/opt/Prayer Times/tirvelon";
    QTest::newRow("double quotes") << "/opt/say \"hi\"/tirvelon";
    QTest::newRow("dollar signs") << "/opt/$HOME/$(x)/tirvelon";
    QTest::newRow("percent signs") << "/opt/100%/%f %% x/tirvelon";
    QTest::newRow("backslashes and backticks") << "/opt/a\\b/`id`/tirvelon";
    QTest::newRow("single quotes and semicolons") << "/opt/it's; fine/tirvelon";
    QTest::newRow("Arabic script") << QString::fromUtf8("/opt/\u0628\u0627\u0646\u06af/tirvelon");
}

void TestSettingsPlatform::logonEntryStartsTheRightProgram()
{
    // GLib reads the file as desktops do: the Exec line must give back the exact path, alone.
    if (!haveGlibForPython())
        QSKIP("python3 with the GLib bindings (python3-gi) is not installed");
    QFETCH(QString, path);
    QTemporaryDir dir;
    SystemLogonStart logon(dir.path());
    for (const bool on : { true, false }) {
        QVERIFY(logon.write(on ? path : QString()));
        QProcess reader;
        reader.start(systemPython,
                     { QStringLiteral("-c"), QString::fromUtf8(pythonDesktopReader),
                       logon.entryLocation() });
        QVERIFY(reader.waitForFinished(20000));
        QCOMPARE(reader.exitCode(), 0);
        const QString out = QString::fromUtf8(reader.readAllStandardOutput());
        const QString expectedHeader
                = on ? QStringLiteral("args=1 hidden=0\n") : QStringLiteral("args=1 hidden=1\n");
        QCOMPARE(out, expectedHeader + path);
    }
}

void TestSettingsPlatform::logonEntryUnwritable_data()
{
    // Root writes through any mode bits, so the entry is blocked by what stands in its way.
    QTest::addColumn<bool>("folderIsFile");
    QTest::newRow("autostart folder is a file") << true;
    QTest::newRow("entry name taken by a folder") << false;
}

void TestSettingsPlatform::logonEntryUnwritable()
{
    QFETCH(bool, folderIsFile);
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/autostart");
    if (folderIsFile)
        QVERIFY(writeFile(folder, "x"));
    else
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Delkaro.desktop")));
    SystemLogonStart logon(folder);
    QVERIFY(!logon.write(QStringLiteral("/opt/Tirvelon/tirvelon")));
    QVERIFY(!logon.write(QString()));
}

void TestSettingsPlatform::lockOfKilledCopyIsReclaimed()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/tirvelon.lock");
    Child first;
    QVERIFY(first.start({ QStringLiteral("--hold-lock"), path }));
    QCOMPARE(first.readLine(), QStringLiteral("held"));

    FileInstanceLock mine(path);
    QVERIFY(mine.anotherInstanceRunning());

    // A copy that has run for days is still running.
    QFile lockFile(path);
    QVERIFY(lockFile.open(QIODevice::ReadWrite));
    QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-3),
                                 QFileDevice::FileModificationTime));
    lockFile.close();
    QVERIFY(mine.anotherInstanceRunning());

    // Killed outright, it leaves its lock behind; the next start takes it over.
    first.kill();
    QVERIFY(QFile::exists(path));
    QVERIFY(!mine.anotherInstanceRunning());
    QVERIFY(!mine.anotherInstanceRunning());

    Child second;
    QVERIFY(second.start({ QStringLiteral("--hold-lock"), path }));
    QCOMPARE(second.readLine(), QStringLiteral("busy"));
    QVERIFY(second.finish());
}

void TestSettingsPlatform::lockFreedWhenCopyEnds()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/nested/tirvelon.lock");
    Child first;
    QVERIFY(first.start({ QStringLiteral("--hold-lock"), path }));
    QCOMPARE(first.readLine(), QStringLiteral("held"));
    QVERIFY(first.finish());
    QVERIFY(!QFile::exists(path));

    {
        FileInstanceLock mine(path);
        QVERIFY(!mine.anotherInstanceRunning());
    }
    Child next;
    QVERIFY(next.start({ QStringLiteral("--hold-lock"), path }));
    QCOMPARE(next.readLine(), QStringLiteral("held"));
    QVERIFY(next.finish());
}

int main(int argc, char *argv[])
{
    const int childStatus = runChildMode(argc, argv);
    if (childStatus >= 0)
        return childStatus;

    // Never the user's real settings, autostart folder or lock: a private HOME for this run,
    // inherited by the child processes.
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    const QString runtime = home.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    QStandardPaths::setTestModeEnabled(true);

    QCoreApplication app(argc, argv);
    TestSettingsPlatform test(home.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsplatform.moc"
