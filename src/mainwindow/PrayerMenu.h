#pragma once

#include "mainwindow/PrayerRules.h"

#include <QMenu>

class QSpinBox;

// A prayer's context menu, built like the Hijri date's: how its time is announced, the minutes
// its time is moved by, and a reminder before it. The current choices are checked.
class PrayerMenu : public QMenu
{
    Q_OBJECT
public:
    PrayerMenu(int slot, int language, const QString &prayerName,
               const PrayerRules::PrayerChoice &current, const QFont &face, QWidget *parent);

    // The moved minutes' field.
    QSpinBox *minutesField() const { return m_minutes; }

signals:
    void modeChosen(PrayerRules::CallMode mode);
    void minutesChosen(int minutes);
    void remindChosen(int minutes);

private:
    QAction *addHeading(const QString &text);
    QSpinBox *m_minutes = nullptr;
};
