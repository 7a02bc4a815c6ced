#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What Windows will do with the program's Run value "Delkaro" at the next logon. Task Manager's
// Startup tab and Settings' startup page turn a program off without touching its Run value:
// they write a binary value of the same name under Explorer's StartupApproved\Run key, whose
// first byte is even (02, 06) while the program may start and odd (03, 07) once it is turned off;
// the other bytes hold when it was turned off.
enum class LogonStartState {
    Starts,        // the Run value holds this program's command and nothing turned it off
    NotRegistered, // the Run value is missing, empty or another program's command
    TurnedOff,     // the StartupApproved value marks the entry off
};

// True when the StartupApproved bytes mark the entry off. An absent or empty value marks
// nothing: Windows starts what the Run key names.
bool approvalMarksOff(const QByteArray &approved);

// runValue: the Run value's text, null when it is missing; programPath: this program's file in
// native form; approved: the StartupApproved bytes, empty when the value is missing. The Run
// value names the program when it holds the path, quoted or not, in any letter case (Windows
// paths ignore case; older versions wrote the path unquoted).
LogonStartState windowsLogonStartState(const QString &runValue, const QString &programPath,
                                       const QByteArray &approved);

// The 12 bytes that mark the entry on: 02 and a zero time, what Windows writes itself when the
// user turns a program back on.
QByteArray approvedOnBytes();

// The logon box at start-up, from the stored choice and what the system will do where it can
// tell (nullopt: it cannot). A program the system does not know yet (a first start, a moved
// folder) keeps the stored choice, so that ticking the box registers it again; one turned off
// by the system shows off and is not written again.
bool logonBoxAtStart(bool storedChoice, std::optional<LogonStartState> system);
