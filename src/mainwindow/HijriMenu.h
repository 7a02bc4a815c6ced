#pragma once

#include <QMenu>

// The Hijri date's context menu: move the shown date to the one announced after the sighting,
// by as many days either way as the stored adjustment may hold. The current choice is checked.
class HijriMenu : public QMenu
{
    Q_OBJECT
public:
    HijriMenu(int language, int currentDays, const QFont &face, QWidget *parent);

signals:
    void chosen(int days);
};
