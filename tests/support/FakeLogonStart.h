#pragma once

#include "settings/LogonStart.h"

#include <QString>
#include <QStringList>

// A logon start entry that records every text written to it.
class FakeLogonStart : public LogonStart
{
public:
    bool write(const QString &programPath) override;

    void setRefuse(bool refuse) { m_refuse = refuse; }
    // Every text asked for, refused ones included, in order.
    QStringList written() const { return m_written; }
    int writeCount() const { return int(m_written.size()); }
    // The entry's text after the accepted writes; empty when off or never written.
    QString entry() const { return m_entry; }
    bool exists() const { return m_exists; }

private:
    QStringList m_written;
    QString m_entry;
    bool m_exists = false;
    bool m_refuse = false;
};
