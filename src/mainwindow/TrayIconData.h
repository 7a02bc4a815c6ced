#pragma once

#include <QIcon>
#include <QString>

// The notification-area icon record, built once at start-up.
struct NotifyIconRecord
{
    static constexpr int TipLength = 64;

    int size = 0; // 88, the size of the classic record
    quintptr ownerWindow = 0;
    int iconId = 0;
    int flags = 0;           // 1 callback message, 2 icon, 4 tip
    int callbackMessage = 0; // 512, the window's mouse-move message
    QIcon icon;
    QString tip; // 64 characters: the text, a NUL, spaces

    // The tip as the desktop shows it: up to the NUL.
    QString shownTip() const { return tip.left(tip.indexOf(QChar(0))); }
};
