#pragma once

#include "mainwindow/PrayerRules.h"

#include <QMenu>

#include <optional>

class QSpinBox;

// A prayer's context menu, built like the Hijri date's: how its time is announced, the minutes
// its time is moved by, and a reminder before it. The current choices are checked.
class PrayerMenu : public QMenu
{
    Q_OBJECT
public:
    // Waking the computer for the call, offered in the dawn's menu where the platform can.
    struct WakeOffer
    {
        bool chosen = false;
        bool timersAllowed = true; // false: the power plan will not let the computer wake
    };

    PrayerMenu(int slot, int language, const QString &prayerName,
               const PrayerRules::PrayerChoice &current, const QFont &face, QWidget *parent,
               std::optional<WakeOffer> wake = std::nullopt);

    // The wake item; nullptr when not offered.
    QAction *wakeItem() const { return m_wake; }

    // The moved minutes' field.
    QSpinBox *minutesField() const { return m_minutes; }

signals:
    void modeChosen(PrayerRules::CallMode mode);
    void minutesChosen(int minutes);
    void remindChosen(int minutes);
    void wakeChosen(bool on);

private:
    QAction *addHeading(const QString &text);
    QSpinBox *m_minutes = nullptr;
    QAction *m_wake = nullptr;
};
