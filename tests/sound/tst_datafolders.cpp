// Where the sounds come from: the shipped folder of each layout the program is found in, the
// user's own recordings taking the place of shipped ones file by file, the checks of a file the
// user chooses, and the loudness it is levelled to.
#include "sound/DataFolders.h"
#include "sound/MiniaudioPlayer.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A source that fails after its first block, as a disk or a network share can.
class FailingDevice : public QIODevice
{
public:
    FailingDevice() { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        if (m_given > 0)
            return -1;
        m_given = qMin<qint64>(size, 1000);
        memset(data, 'n', size_t(m_given));
        return m_given;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 m_given = 0;
};

// Four seconds of a 1 kHz tone at half of full scale, as 16-bit mono WAV at 44.1 kHz.
QByteArray toneWav()
{
    const int rate = 44100;
    const int frames = 4 * rate;
    QByteArray pcm(frames * 2, Qt::Uninitialized);
    for (int i = 0; i < frames; ++i) {
        const qint16 v = qint16(16384 * std::sin(2 * M_PI * 1000 * i / rate));
        pcm[2 * i] = char(v & 0xFF);
        pcm[2 * i + 1] = char((v >> 8) & 0xFF);
    }
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + pcm.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(pcm.size());
    return wav + pcm;
}

} // namespace

Q_DECLARE_METATYPE(OwnRecordings::Verdict)

class DataFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void shippedFolderOfEachLayout_data();
    void shippedFolderOfEachLayout();
    void usersFileTakesThePlaceOfTheShippedOne_data();
    void usersFileTakesThePlaceOfTheShippedOne();
    void unreadableUsersFileFallsBack();
    void userFolderOfThisAccount();
    void chosenFileIsCheckedBeforeAnythingChanges_data();
    void chosenFileIsCheckedBeforeAnythingChanges();
    void failedCopyLeavesTheOldRecording();
    void gainBringsTheShippedLoudness_data();
    void gainBringsTheShippedLoudness();
    void loudnessIsNotedUntilTheFileChanges();
    void measureReadsWhatTheFileHolds();
};

void DataFoldersTest::shippedFolderOfEachLayout_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");
    // Paths are under a temporary root; the program lives in <root>/bin or <root>/usr/bin.
    QTest::newRow("beside the program (build folder, Windows)")
            << QStringList { "bin/Data" } << "bin/Data";
    QTest::newRow("installed: ../share/tirvelon/Data")
            << QStringList { "usr/share/tirvelon/Data" } << "usr/share/tirvelon/Data";
    QTest::newRow("beside wins over installed")
            << QStringList { "usr/bin/Data", "usr/share/tirvelon/Data" } << "usr/bin/Data";
    QTest::newRow("neither: beside, so sounds stay silent") << QStringList {} << "usr/bin/Data";
    QTest::newRow("a file named Data is no folder")
            << QStringList { "file:usr/bin/Data", "usr/share/tirvelon/Data" }
            << "usr/share/tirvelon/Data";
}

void DataFoldersTest::shippedFolderOfEachLayout()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const QString &folder : folders) {
        if (folder.startsWith(QLatin1String("file:")))
            QVERIFY(writeFile(root.filePath(folder.mid(5)), "x"));
        else
            QVERIFY(QDir().mkpath(root.filePath(folder)));
    }
    const QString program = expected.startsWith(QLatin1String("bin/"))
            ? root.filePath(QStringLiteral("bin"))
            : root.filePath(QStringLiteral("usr/bin"));
    QDir().mkpath(program);
    QCOMPARE(DataFolders::shippedFor(program), root.filePath(expected));
}

void DataFoldersTest::usersFileTakesThePlaceOfTheShippedOne_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("userEntry"); // "" none, "dir" a folder of that name
    QTest::addColumn<bool>("usersOwn");
    QTest::newRow("a call of the user's") << "5.mp3"
                                          << "recording" << true;
    QTest::newRow("the dawn call of the user's") << "7.mp3"
                                                 << "recording" << true;
    QTest::newRow("the start-up sound of the user's") << "Wave.wav"
                                                      << "recording" << true;
    QTest::newRow("none of the user's") << "5.mp3"
                                        << "" << false;
    QTest::newRow("an empty file left by a failed copy") << "5.mp3"
                                                         << "empty" << false;
    QTest::newRow("a folder of that name") << "5.mp3"
                                           << "dir" << false;
    // Renamed from another format, or damaged: the call would be silent.
    QTest::newRow("a file the players cannot decode") << "5.mp3"
                                                      << "undecodable" << false;
#ifndef Q_OS_WIN
    // Windows links are .lnk files of their own name.
    QTest::newRow("a link to nothing") << "5.mp3"
                                       << "dangling" << false;
    // Opening a pipe would wait for a writer and freeze the clock.
    QTest::newRow("a named pipe") << "5.mp3"
                                  << "fifo" << false;
#endif
}

void DataFoldersTest::usersFileTakesThePlaceOfTheShippedOne()
{
    QFETCH(QString, name);
    QFETCH(QString, userEntry);
    QFETCH(bool, usersOwn);
    QTemporaryDir root;
    // The players' decoder stands in as "everything but the word noise".
    const DataFolders data { root.filePath(QStringLiteral("shipped")),
                             root.filePath(QStringLiteral("user")),
                             [](const QString &path) {
                                 QFile file(path);
                                 return file.open(QIODevice::ReadOnly) && file.readAll() != "noise";
                             },
                             {} };
    QVERIFY(writeFile(data.shipped + QLatin1Char('/') + name, "shipped"));
    const QString own = data.user + QLatin1Char('/') + name;
    QDir().mkpath(data.user);
    if (userEntry == QLatin1String("recording"))
        QVERIFY(writeFile(own, "user's"));
    else if (userEntry == QLatin1String("empty"))
        QVERIFY(writeFile(own, QByteArray()));
    else if (userEntry == QLatin1String("undecodable"))
        QVERIFY(writeFile(own, "noise"));
    else if (userEntry == QLatin1String("dir"))
        QVERIFY(QDir().mkpath(own));
    else if (userEntry == QLatin1String("dangling"))
        QVERIFY(QFile::link(root.filePath(QStringLiteral("gone.mp3")), own));
#ifndef Q_OS_WIN
    else if (userEntry == QLatin1String("fifo"))
        QCOMPARE(mkfifo(QFile::encodeName(own).constData(), 0600), 0);
#endif
    QCOMPARE(data.pick(name), usersOwn ? own : data.shipped + QLatin1Char('/') + name);
    // Another file of the same folder is not taken from the user's.
    QCOMPARE(data.pick(QStringLiteral("3.mp3")), data.shipped + QStringLiteral("/3.mp3"));
}

void DataFoldersTest::unreadableUsersFileFallsBack()
{
    QTemporaryDir root;
    const DataFolders data {
        root.filePath(QStringLiteral("shipped")), root.filePath(QStringLiteral("user")), {}, {}
    };
    const QString own = data.user + QStringLiteral("/2.mp3");
    QVERIFY(writeFile(own, "user's"));
    QVERIFY(QFile::setPermissions(own, QFileDevice::WriteOwner));
    QFile probe(own);
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("this account reads files without read permission (root, or no POSIX permissions)");
    QCOMPARE(data.pick(QStringLiteral("2.mp3")), data.shipped + QStringLiteral("/2.mp3"));
}

void DataFoldersTest::userFolderOfThisAccount()
{
#ifdef Q_OS_WIN
    const QByteArray saved = qgetenv("APPDATA");
    qputenv("APPDATA", "C:\\Users\\Rezan\\AppData\\Roaming");
    QCOMPARE(DataFolders::userForThisAccount(),
             QStringLiteral("C:/Users/Rezan/AppData/Roaming/Tirvelon/Data"));
    qputenv("APPDATA", saved);
#else
    QTemporaryDir home;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QCOMPARE(DataFolders::userForThisAccount(), home.path() + QStringLiteral("/tirvelon/Data"));
    if (saved.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);
#endif
}

void DataFoldersTest::chosenFileIsCheckedBeforeAnythingChanges_data()
{
    using V = OwnRecordings::Verdict;
    QTest::addColumn<QString>("entry");
    QTest::addColumn<qint64>("bytes"); // -1: no such file
    QTest::addColumn<bool>("decodes");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<V>("verdict");
    const qint64 big = OwnRecordings::MaxBytes;
    QTest::newRow("a call of three minutes")
            << "5.mp3" << qint64(4000) << true << 180.0 << V::Taken;
    QTest::newRow("no such file") << "5.mp3" << qint64(-1) << true << 180.0 << V::NotFound;
    QTest::newRow("over 50 MB") << "5.mp3" << big + 1 << true << 180.0 << V::TooLarge;
    QTest::newRow("50 MB exactly") << "7.mp3" << big << true << 180.0 << V::Taken;
    QTest::newRow("no sound in it") << "5.mp3" << qint64(4000) << false << 0.0 << V::NotSound;
    QTest::newRow("2.9 s") << "5.mp3" << qint64(4000) << true << 2.9 << V::TooShort;
    QTest::newRow("3 s") << "5.mp3" << qint64(4000) << true << 3.0 << V::Taken;
    QTest::newRow("15 min and a half second")
            << "5.mp3" << qint64(4000) << true << 900.5 << V::TooLong;
    QTest::newRow("a chime of 1.5 s at start-up")
            << "Wave.wav" << qint64(4000) << true << 1.5 << V::Taken;
    QTest::newRow("0.9 s at start-up") << "Wave.wav" << qint64(4000) << true << 0.9 << V::TooShort;
}

void DataFoldersTest::chosenFileIsCheckedBeforeAnythingChanges()
{
    QFETCH(QString, entry);
    QFETCH(qint64, bytes);
    QFETCH(bool, decodes);
    QFETCH(double, seconds);
    QFETCH(OwnRecordings::Verdict, verdict);
    QTemporaryDir root;
    const QString chosen = root.filePath(QStringLiteral("My calls/chosen.mp3"));
    if (bytes >= 0) {
        QVERIFY(writeFile(chosen, "new"));
        QVERIFY(QFile::resize(chosen, bytes)); // sparse: no 50 MB written
    }
    const QString folder = root.filePath(QStringLiteral("user"));
    QVERIFY(writeFile(folder + QLatin1Char('/') + entry, "old"));
    OwnRecordings own(folder, [&](const QString &) {
        return RecordingMeasure { decodes, seconds, -28.0, 0.2 };
    });

    QCOMPARE(own.take(entry, chosen), verdict);
    QFile kept(own.pathOf(entry));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.size(), verdict == OwnRecordings::Verdict::Taken ? bytes : qint64(3));
    QCOMPARE(QFile::exists(own.pathOf(entry) + QStringLiteral(".loudness")),
             verdict == OwnRecordings::Verdict::Taken);
    QVERIFY(QFile::exists(chosen) == (bytes >= 0)); // copied, never moved
}

void DataFoldersTest::failedCopyLeavesTheOldRecording()
{
    QTemporaryDir root;
    const QString target = root.filePath(QStringLiteral("5.mp3"));
    QVERIFY(writeFile(target, "old"));
    FailingDevice source;
    QVERIFY(!OwnRecordings::copyWhole(source, target));
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("old"));
    QCOMPARE(QDir(root.path()).entryList(QDir::Files), QStringList { QStringLiteral("5.mp3") });
}

void DataFoldersTest::gainBringsTheShippedLoudness_data()
{
    QTest::addColumn<double>("loudness");
    QTest::addColumn<double>("peak");
    QTest::addColumn<double>("db");
    QTest::newRow("12 dB quieter") << -28.0 << 0.2 << 12.0;
    QTest::newRow("levelled already") << -16.0 << 0.8 << 0.0;
    QTest::newRow("louder: turned down") << -9.0 << 1.0 << -7.0;
    QTest::newRow("quiet with a loud peak: up to 6 dB over full scale") << -30.0 << 0.8 << 7.94;
    QTest::newRow("nearly silent: at most 24 dB") << -70.0 << 0.001 << 24.0;
}

void DataFoldersTest::gainBringsTheShippedLoudness()
{
    QFETCH(double, loudness);
    QFETCH(double, peak);
    QFETCH(double, db);
    QVERIFY(std::abs(20 * std::log10(OwnRecordings::gainForLoudness(loudness, peak)) - db) < 0.01);
}

void DataFoldersTest::loudnessIsNotedUntilTheFileChanges()
{
    QTemporaryDir root;
    const QString own = root.filePath(QStringLiteral("5.mp3"));
    QVERIFY(writeFile(own, "first"));
    int measured = 0;
    OwnRecordings recordings(root.path(), [&](const QString &) {
        ++measured;
        return RecordingMeasure { true, 60, -22.0, 0.1 };
    });
    QVERIFY(std::abs(recordings.gainFor(own) - 2.0f) < 0.01f); // put in by hand: measured
    QVERIFY(std::abs(recordings.gainFor(own) - 2.0f) < 0.01f);
    QCOMPARE(measured, 1);
    QVERIFY(writeFile(own, "a longer file")); // replaced by hand under the same name
    recordings.gainFor(own);
    QCOMPARE(measured, 2);
    QCOMPARE(recordings.gainFor(QStringLiteral("/opt/tirvelon/Data/5.mp3")), 1.0f);
    QCOMPARE(measured, 2);
    QVERIFY(recordings.remove(QStringLiteral("5.mp3")));
    QCOMPARE(QDir(root.path()).entryList(QDir::Files), QStringList());
}

void DataFoldersTest::measureReadsWhatTheFileHolds()
{
    // A WAV under the name of the MP3 it stands in for, as a chosen file is copied in.
    QTemporaryDir root;
    const QString path = root.filePath(QStringLiteral("5.mp3"));
    QVERIFY(writeFile(path, toneWav()));
    const RecordingMeasure measure = MiniaudioPlayer::measure(path);
    QVERIFY(measure.decodes);
    QVERIFY2(std::abs(measure.seconds - 4.0) < 0.01, qPrintable(QString::number(measure.seconds)));
    // A 1 kHz tone at -6 dB of full scale reads -9 LUFS (mono).
    QVERIFY2(std::abs(measure.loudness + 9.0) < 0.5, qPrintable(QString::number(measure.loudness)));
    QVERIFY(std::abs(measure.peak - 0.5) < 0.01);
}

QTEST_GUILESS_MAIN(DataFoldersTest)
#include "tst_datafolders.moc"
