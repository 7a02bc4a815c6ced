#include "SettingsChild.h"

#include "settings/FileInstanceLock.h"
#include "settings/QSettingsBackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>

#include <iostream>
#include <string>

namespace {

QSettingsBackend backendFor(const QString &store)
{
    if (store.startsWith(QLatin1String("HKEY_")))
        return QSettingsBackend::registryKey(store);
    return QSettingsBackend(store);
}

int serveSettings(const QString &store)
{
    QSettingsBackend backend = backendFor(store);
    std::string line;
    while (std::getline(std::cin, line)) {
        const QString command = QString::fromStdString(line).trimmed();
        const qsizetype keyStart = command.indexOf(QLatin1Char(' ')) + 1;
        qsizetype keyEnd = command.indexOf(QLatin1Char(' '), keyStart);
        if (keyEnd < 0)
            keyEnd = command.size();
        const QString key = command.mid(keyStart, keyEnd - keyStart);
        if (command.startsWith(QLatin1String("get ")))
            std::cout << '=' << backend.value(key).toStdString() << std::endl;
        else if (command.startsWith(QLatin1String("set ")))
            std::cout << (backend.setValue(key, command.mid(keyEnd + 1)) ? "ok" : "refused")
                      << std::endl;
    }
    return 0;
}

// Tries the lock, says "held" or "busy", keeps it until stdin closes or a kill.
int holdLock(const QString &path)
{
    FileInstanceLock lock(path);
    std::cout << (lock.anotherInstanceRunning() ? "busy" : "held") << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) { }
    return 0;
}

} // namespace

int runChildMode(int argc, char *argv[])
{
    if (argc < 3)
        return -1;
    const bool serve = qstrcmp(argv[1], "--serve-settings") == 0;
    const bool hold = qstrcmp(argv[1], "--hold-lock") == 0;
    if (!serve && !hold)
        return -1;
    QCoreApplication app(argc, argv);
    const QString target = QCoreApplication::arguments().value(2);
    return serve ? serveSettings(target) : holdLock(target);
}

QByteArray lockContentsOfThisProcess(const QString &folder)
{
    const QString path = folder + QStringLiteral("/own.lock");
    QByteArray bytes;
    QLockFile own(path);
    if (own.tryLock(0)) {
        {
            QFile file(path); // closed before the unlock, which removes it
            if (file.open(QIODevice::ReadOnly))
                bytes = file.readAll();
        }
        own.unlock();
    }
    return bytes;
}

Child::~Child()
{
    if (m_process.state() != QProcess::NotRunning)
        kill();
}

bool Child::start(const QStringList &arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QCoreApplication::applicationFilePath(), arguments);
    return m_process.waitForStarted(10000);
}

QString Child::readLine()
{
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000))
            return QStringLiteral("<no answer>");
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

QString Child::ask(const QString &command)
{
    m_process.write(command.toUtf8() + '\n');
    return readLine();
}

bool Child::finish()
{
    m_process.closeWriteChannel();
    return m_process.waitForFinished(10000) && m_process.exitCode() == 0;
}

void Child::kill()
{
    m_process.kill();
    m_process.waitForFinished(10000);
}
