#include "presentation/HiddenControls.h"

void DayList::clear()
{
    m_rows.clear();
    m_index = -1;
}

void DayList::setListIndex(int index)
{
    if (index < -1 || index >= listCount())
        index = -1;
    if (index == m_index)
        return;
    m_index = index;
    if (m_click)
        m_click();
}

QString DayList::text() const
{
    return m_index >= 0 ? m_rows.at(m_index) : QString();
}

void TriggerLabel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    if (m_change)
        m_change();
}
