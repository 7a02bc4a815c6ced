#pragma once

#include "settings/SettingsBackend.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

// An in-memory settings store that remembers what was asked of it.
class FakeSettingsBackend : public SettingsBackend
{
public:
    FakeSettingsBackend() = default;
    explicit FakeSettingsBackend(const QHash<QString, QString> &values)
        : m_values(values)
    { }

    QString value(const QString &key) const override;
    bool setValue(const QString &key, const QString &text) override;

    // Refuse every write, or only the writes of one key (the store keeps its old text).
    void setRefuseWrites(bool refuse) { m_refuseAll = refuse; }
    void refuseWritesOf(const QString &key) { m_refusedKeys.insert(key); }

    // Direct access that is not counted, for arranging and checking a test.
    void put(const QString &key, const QString &text) { m_values.insert(key, text); }
    QString stored(const QString &key) const { return m_values.value(key); }
    bool contains(const QString &key) const { return m_values.contains(key); }
    void clear() { m_values.clear(); }

    int readCount() const { return int(m_readKeys.size()); }
    int writeCount() const { return int(m_writes.size()); }
    // Keys in the order they were read; accepted writes in the order they were made.
    QStringList readKeys() const { return m_readKeys; }
    QList<QPair<QString, QString>> writes() const { return m_writes; }
    // Writes that were refused, in order.
    QList<QPair<QString, QString>> refusedWrites() const { return m_refused; }
    void resetCounts();

private:
    QHash<QString, QString> m_values;
    mutable QStringList m_readKeys;
    QList<QPair<QString, QString>> m_writes;
    QList<QPair<QString, QString>> m_refused;
    QSet<QString> m_refusedKeys;
    bool m_refuseAll = false;
};
