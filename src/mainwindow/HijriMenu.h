#pragma once

#include <QMenu>

// The Hijri date's context menu: move the shown date by -2..+2 days to the one announced
// after the sighting. The current choice is checked.
class HijriMenu : public QMenu
{
    Q_OBJECT
public:
    static constexpr int MaxDays = 2;

    HijriMenu(int language, int currentDays, const QFont &face, QWidget *parent);

signals:
    void chosen(int days);
};
