#pragma once

#include "settings/InstanceLock.h"

#include <QLockFile>
#include <QString>

// One copy per user: a lock file held for the life of the process. A lock left behind by a copy
// that crashed or was killed names a dead process and is taken over, and so is one older than a
// few seconds that names no process at all, or that names this very process (a dead copy whose
// process id came back); a live copy's lock is never taken as stale however long it has run.
class FileInstanceLock : public InstanceLock
{
public:
    // lockPath empty: tirvelon.lock in the user's runtime folder.
    explicit FileInstanceLock(const QString &lockPath = {});

    bool anotherInstanceRunning() override;

    QString lockPath() const { return m_path; }
    static QString defaultLockPath();

private:
    static constexpr int UnreadableStaleSeconds = 5;
    // A lock that names this very process, or none at all once a few seconds old.
    bool isDeadCopysLock() const;

    QString m_path;
    QLockFile m_lock;
};
