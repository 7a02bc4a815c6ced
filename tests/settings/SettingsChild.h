#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The settings test programs double as "the other copy" of the program: started with
// --serve-settings <store> or --hold-lock <lock file> they act as a second process for the
// test that started them. <store> is an INI file, or a registry key "HKEY_..." on Windows.
//
// runChildMode() runs such a mode and returns its exit status, or -1 when the arguments ask
// for none (the test itself then runs).
int runChildMode(int argc, char *argv[]);

// What QLockFile writes into a lock held by this process (its id, name and machine), read
// back from a lock taken and dropped in folder.
QByteArray lockContentsOfThisProcess(const QString &folder);

// A second process of the running test program, in one of the modes above.
class Child
{
public:
    ~Child();
    bool start(const QStringList &arguments);
    QString readLine();
    // Answers "get KEY" with "=TEXT" and "set KEY TEXT" with "ok" or "refused".
    QString ask(const QString &command);
    // Closes its input and waits for a clean end.
    bool finish();
    // Ends it outright and reaps it, so its process id is really gone.
    void kill();

private:
    QProcess m_process;
};
