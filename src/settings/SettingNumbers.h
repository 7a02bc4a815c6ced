#pragma once

#include <QString>

#include <optional>

// The two ways a stored text becomes a number.

// The leading number of the text: blanks skipped, an optional sign, digits, an optional '.' and
// digits; 0 when there is none. Rounded to an integer, halves to even ("2.5" -> 2, "3.5" -> 4,
// "7abc" -> 7). Saturates at the limits of int instead of overflowing.
int lenientSettingNumber(const QString &text);

// The whole text as a number (surrounding blanks allowed, a fraction rounded halves to even);
// nullopt when anything else is in it, when it is empty, or when it does not fit an int.
std::optional<int> strictSettingInteger(const QString &text);
