#pragma once

#include "settings/LogonStartState.h"

#include <QString>

#include <optional>

// The logon start entry "Delkaro". Writing the program's full path turns it on; writing ""
// keeps the entry but turns it off. false when the platform refused the write.
class LogonStart
{
public:
    virtual ~LogonStart() = default;
    virtual bool write(const QString &programPath) = 0;
    // What the system will do for the program at programPath at the next logon, where it can
    // tell; nullopt where the desktop keeps a list of its own that the program does not read.
    virtual std::optional<LogonStartState> state(const QString &programPath) const = 0;
};
