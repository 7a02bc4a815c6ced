#pragma once

#include "mainwindow/NextPrayer.h"

#include <QIcon>
#include <QString>

// The notification-area icon record, built at start-up; only its tip changes afterwards.
struct NotifyIconRecord
{
    // The wide form's tip, the one Qt hands to Windows: 127 characters and a NUL. The classic
    // record's 64 cannot hold the line of the next prayer.
    static constexpr int TipLength = NextPrayer::TipCapacity;

    int size = 0; // 88, the size of the classic record
    quintptr ownerWindow = 0;
    int iconId = 0;
    int flags = 0;           // 1 callback message, 2 icon, 4 tip
    int callbackMessage = 0; // 512, the window's mouse-move message
    QIcon icon;
    QString tip; // TipLength characters: the text, a NUL, spaces

    // The tip as the desktop shows it: up to the NUL.
    QString shownTip() const { return tip.left(tip.indexOf(QChar(0))); }
    void setTip(const QString &text)
    {
        tip = (text.left(TipLength - 1) + QChar(0)).leftJustified(TipLength, QLatin1Char(' '));
    }
};
