// Where the sounds come from: the shipped folder of each layout the program is found in, and the
// user's own recordings taking the place of shipped ones file by file.
#include "sound/DataFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

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

QTEST_GUILESS_MAIN(DataFoldersTest)
#include "tst_datafolders.moc"
