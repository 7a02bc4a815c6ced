// The instance lock on either platform where its owner's process id says nothing: a killed
// copy's lock that names this very process.
#include "SettingsChild.h"
#include "settings/FileInstanceLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestInstanceLock : public QObject
{
    Q_OBJECT

private slots:
    void lockNamingThisProcessIsTakenOver();
};

void TestInstanceLock::lockNamingThisProcessIsTakenOver()
{
    // A killed copy whose process id this copy was given: its lock names a live process of the
    // same program, this one.
    QTemporaryDir dir;
    const QByteArray own = lockContentsOfThisProcess(dir.path());
    QVERIFY(!own.isEmpty());
    const QString path = dir.path() + QStringLiteral("/tirvelon.lock");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(own) == own.size());
    file.close();
    FileInstanceLock mine(path);
    QVERIFY(!mine.anotherInstanceRunning());
}

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
