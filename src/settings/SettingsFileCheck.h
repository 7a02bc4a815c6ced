#pragma once

#include <QByteArray>

// Whether the bytes of a settings file look like the INI text that QSettings writes: UTF-8
// without control characters other than tab and line ends, and every line blank, a comment, a
// "[section]" header, a "key=value" pair or the continuation of a value ending in '\'.
// QSettings itself reads nearly any bytes without complaint and then silently throws away what
// it could not parse at the next write, so the store checks the file before trusting it.
bool looksLikeSettingsText(const QByteArray &bytes);
