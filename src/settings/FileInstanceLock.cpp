#include "settings/FileInstanceLock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

FileInstanceLock::FileInstanceLock(const QString &lockPath)
    : m_path(lockPath.isEmpty() ? defaultLockPath() : lockPath)
    , m_lock(m_path)
{
    // Age says nothing about a copy that runs for weeks; only a dead owner makes a lock stale.
    m_lock.setStaleLockTime(0);
}

QString FileInstanceLock::defaultLockPath()
{
#ifndef Q_OS_WIN
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/tirvelon.lock");
    // Not the shared temporary folder: any local user could make the lock there first and keep
    // this user's program from ever opening. The cache folder lies in the user's own home.
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/tirvelon.lock");
#else
    // The user's own temporary folder, inside the profile; the name keeps a shared one apart.
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    QString safeUser;
    for (const QChar c : user)
        safeUser += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')
                ? c
                : QLatin1Char('_');
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation)
            + QStringLiteral("/tirvelon-") + safeUser + QStringLiteral(".lock");
#endif
}

bool FileInstanceLock::anotherInstanceRunning()
{
    if (m_lock.isLocked())
        return false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (m_lock.tryLock(0))
        return false;
    if (m_lock.error() == QLockFile::LockFailedError && isDeadCopysLock()) {
        m_lock.removeStaleLockFile();
        if (m_lock.tryLock(0))
            return false;
    }
    // Only a lock held by a live copy means another instance. When the lock cannot be made at
    // all (no permission, no such folder) the program still starts rather than never opening.
    return m_lock.error() == QLockFile::LockFailedError;
}

bool FileInstanceLock::isDeadCopysLock() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    // A killed copy's lock names its process id; when this copy was given the same id (Wine
    // hands them out again at once, Windows after a restart may) the owner looks alive and of
    // the same program. This process holds no lock yet, so such a lock is a dead copy's.
    if (m_lock.getLockInfo(&pid, &host, &application))
        return pid == QCoreApplication::applicationPid();
    // An empty or damaged lock (a copy killed between creating and writing it, a power cut) is
    // never found stale by its owner's pid. A starting copy writes its pid at once, so only a
    // few seconds of age tell a lock being written from a dead one.
    const QDateTime written = QFileInfo(m_path).lastModified();
    return written.isValid()
            && qAbs(written.secsTo(QDateTime::currentDateTime())) > UnreadableStaleSeconds;
}
