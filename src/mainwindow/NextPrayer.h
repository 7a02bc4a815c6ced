#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

// The next prayer for the tray icon's tip: which one, when, and the tip's third line.
// The times come in as seconds after midnight, from wherever the window takes them.
namespace NextPrayer {

struct Upcoming
{
    int slot = 0;    // PrayerSlot 0..5; sunrise counts, it ends the dawn prayer's time
    int seconds = 0; // after today's midnight: tomorrow's dawn lies beyond 86400
    bool tomorrow = false;
};

// The earliest of today's six times still ahead of now; a time equal to now has arrived. After
// the last of them, tomorrow's dawn (seconds on its own day). Times are as they sound, moved
// minutes included, so today's may lie before midnight or past the next one. The lead plays no
// part: it moves the call, not the prayer.
Upcoming after(const std::array<int, 6> &today, int tomorrowDawn, int now);

// Whole minutes to go, rounded up: the count steps down as the clock's minute turns, the last
// minute shows 1, and 0 never shows.
int minutesLeft(const Upcoming &next, int now);

// The prayer's name, its time as "06:02 AM" and the time left ("in 1:23", hours:minutes), right
// to left in the language of the captions (1 Kurdish, anything else Arabic).
QString tipLine(const Upcoming &next, int now, int language);

// The whole tip: the two lines it always had, then the line of the next prayer (none when
// empty), cut to what the notification area keeps.
QString trayTip(const QString &line);
// The wide NOTIFYICONDATA keeps 128 characters, its NUL included; Linux hosts take any length.
constexpr int TipCapacity = 128;

} // namespace NextPrayer
