#include "sound/DataFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool isFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

// Readable means it opens for reading and holds something: a zero-length file left by a failed
// copy must not silence a call that the shipped recording would sound.
bool usableFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

} // namespace

QString DataFolders::shippedFor(const QString &programFolder)
{
    const QString beside = programFolder + QStringLiteral("/Data");
    if (isFolder(beside))
        return beside;
    const QString installed
            = QDir::cleanPath(programFolder + QStringLiteral("/../share/tirvelon/Data"));
    if (isFolder(installed))
        return installed;
    return beside;
}

QString DataFolders::userForThisAccount()
{
#ifdef Q_OS_WIN
    // The roaming profile's folder, as Windows programs keep user files; Qt's own data
    // locations point into the local one.
    QString appData = qEnvironmentVariable("APPDATA");
    if (appData.isEmpty())
        appData = QDir::homePath() + QStringLiteral("/AppData/Roaming");
    return QDir::cleanPath(QDir::fromNativeSeparators(appData) + QStringLiteral("/Tirvelon/Data"));
#else
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return QString();
    return dataHome + QStringLiteral("/tirvelon/Data");
#endif
}

QString DataFolders::shippedFile(const QString &name) const
{
    return shipped + QLatin1Char('/') + name;
}

QString DataFolders::pick(const QString &name) const
{
    if (!user.isEmpty()) {
        const QString own = user + QLatin1Char('/') + name;
        // A file the players cannot decode would leave the call silent; the shipped one sounds.
        if (usableFile(own) && (!playable || playable(own)))
            return own;
    }
    return shippedFile(name);
}
