#include "settings/LogonStartState.h"

bool approvalMarksOff(const QByteArray &approved)
{
    return !approved.isEmpty() && (static_cast<unsigned char>(approved.at(0)) & 1) != 0;
}

LogonStartState windowsLogonStartState(const QString &runValue, const QString &programPath,
                                       const QByteArray &approved)
{
    if (approvalMarksOff(approved))
        return LogonStartState::TurnedOff;
    QString command = runValue.trimmed();
    if (command.size() >= 2 && command.startsWith(QLatin1Char('"'))
        && command.endsWith(QLatin1Char('"')))
        command = command.mid(1, command.size() - 2);
    if (command.isEmpty() || command.compare(programPath, Qt::CaseInsensitive) != 0)
        return LogonStartState::NotRegistered;
    return LogonStartState::Starts;
}

QByteArray approvedOnBytes()
{
    QByteArray bytes(12, '\0');
    bytes[0] = '\x02';
    return bytes;
}

bool logonBoxAtStart(bool storedChoice, std::optional<LogonStartState> system)
{
    if (!system)
        return storedChoice;
    switch (*system) {
    case LogonStartState::Starts:
        return true;
    case LogonStartState::TurnedOff:
        return false;
    case LogonStartState::NotRegistered:
        break;
    }
    return storedChoice;
}
