#include "mainwindow/UnicodeMessageBoxRequest.h"

UnicodeMessageBoxRequest makeUnicodeMessageBoxRequest(const QString &prompt, int buttons,
                                                      const QString &title,
                                                      const std::optional<QString> &iconName,
                                                      bool activeWindowExists,
                                                      const QString &applicationTitle)
{
    UnicodeMessageBoxRequest request;
    request.prompt = prompt;
    request.title = title.isEmpty() ? applicationTitle : title;
    request.hasOwner = activeWindowExists;
    request.iconName = iconName;
    request.style = iconName
            ? (buttons & ~UnicodeMessageBoxRequest::IconMask) | UnicodeMessageBoxRequest::UserIcon
            : buttons;
    return request;
}
