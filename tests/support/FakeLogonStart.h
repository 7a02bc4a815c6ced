#pragma once

#include "settings/LogonStart.h"

#include <QString>
#include <QStringList>

// A logon start entry that records every text written to it.
class FakeLogonStart : public LogonStart
{
public:
    bool write(const QString &programPath) override;
    std::optional<LogonStartState> state(const QString &) const override { return m_state; }

    // What the system reports; nullopt (the default) as on a desktop that cannot tell.
    void setState(std::optional<LogonStartState> state) { m_state = state; }

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
    std::optional<LogonStartState> m_state;
};
