#pragma once

#include <QString>

// The texts the logon start entry holds for a program path; pure, so the quoting is testable
// without touching the real entry.

// The Run value on Windows: the native path, in double quotes when it holds a space (an
// unquoted path with spaces can start the wrong program). "" stays "".
QString runValueCommand(const QString &nativePath);

// The Exec value of an XDG autostart entry, as written in the file: the path quoted by the
// Desktop Entry rules when it holds a reserved character, '"', '`', '$' and '\' escaped inside
// the quotes, '%' doubled, then the string escapes of the file applied. "" stays "".
QString desktopExecCommand(const QString &programPath);
