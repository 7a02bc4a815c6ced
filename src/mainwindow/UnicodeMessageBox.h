#pragma once

#include "mainwindow/UnicodeMessageBoxRequest.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Result codes of the buttons.
enum MessageBoxResult { IdOk = 1, IdYes = 6, IdNo = 7 };
// Button styles used by the program.
enum MessageBoxButtons { MbOk = 0, MbYesNo = 4 };

constexpr const char *ApplicationTitle = "Sirvane";

// A modal message box with wide-character texts, right to left, returning 1 (OK), 6 (Yes) or
// 7 (No); 0 when it could not be shown. owner -1: the active window, or none.
int UnicodeMessageBox(const QString &prompt, int buttons, const QString &title = QString(),
                      const std::optional<QString> &iconName = std::nullopt, int owner = -1);

// Tests answer message boxes themselves instead of showing them.
using UnicodeMessageBoxHandler = std::function<int(const UnicodeMessageBoxRequest &)>;
void setUnicodeMessageBoxHandler(UnicodeMessageBoxHandler handler);
