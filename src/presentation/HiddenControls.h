#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The hidden day list: rows of text and a selected index; a change of the selection runs the
// click handler at once, nested in the assignment.
class DayList
{
public:
    void clear();
    void addItem(const QString &row) { m_rows.append(row); }
    const QStringList &rows() const { return m_rows; }
    int listCount() const { return int(m_rows.size()); }
    int listIndex() const { return m_index; }
    void setListIndex(int index);
    // The selected row's text, "" with no selection.
    QString text() const;
    void onClick(std::function<void()> handler) { m_click = std::move(handler); }

private:
    QStringList m_rows;
    int m_index = -1;
    std::function<void()> m_click;
};

// A hidden label whose caption is a value other parts react to: a change of the caption runs
// its change handler at once. Writing the text it already holds changes nothing.
class TriggerLabel
{
public:
    explicit TriggerLabel(QString caption = {})
        : m_caption(std::move(caption))
    { }
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    void onChange(std::function<void()> handler) { m_change = std::move(handler); }

private:
    QString m_caption;
    std::function<void()> m_change;
};
