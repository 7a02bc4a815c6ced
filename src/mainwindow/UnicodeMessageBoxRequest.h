#pragma once

#include <QString>

#include <optional>

// What a wide-text message box is asked to show, worked out from the caller's arguments.
struct UnicodeMessageBoxRequest
{
    static constexpr int UserIcon = 0x80;
    static constexpr int IconMask = 0xF0;
    static constexpr int ActiveOwner = -1;

    QString prompt;
    QString title;
    int style = 0;
    std::optional<QString> iconName;
    bool hasOwner = false;
};

// The title falls back to the application title; a named icon replaces the icon bits of the
// style by the user-icon bit; owner -1 means the active window, or none when there is none.
UnicodeMessageBoxRequest makeUnicodeMessageBoxRequest(const QString &prompt, int buttons,
                                                      const QString &title,
                                                      const std::optional<QString> &iconName,
                                                      bool activeWindowExists,
                                                      const QString &applicationTitle);
