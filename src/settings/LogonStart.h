#pragma once

#include <QString>

// The logon start entry "Delkaro". Writing the program's full path turns it on; writing ""
// keeps the entry but turns it off. false when the platform refused the write.
class LogonStart
{
public:
    virtual ~LogonStart() = default;
    virtual bool write(const QString &programPath) = 0;
};
