#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// Each prayer's own choices (how it is announced, minutes its time is moved by, a reminder
// before it) and what the clock tick does with them, free of windows and clocks.
namespace PrayerRules {

enum class CallMode {
    Call = 0,      // the call and its strip, as the program always did
    StripOnly = 1, // the strip with the time and the name, silent, like the sunrise notice
    Nothing = 2,   // neither strip nor sound
};

struct PrayerChoice
{
    CallMode mode = CallMode::Call;
    int minutes = 0; // -30..+30
    int remind = 0;  // 0 (none) or minutes before the prayer
    bool operator==(const PrayerChoice &other) const
    {
        return mode == other.mode && minutes == other.minutes && remind == other.remind;
    }
};
using DayChoices = std::array<PrayerChoice, 6>;
using DaySeconds = std::array<int, 6>;

constexpr int MinutesLimit = 30;
constexpr int SecondsPerDay = 86400;
// The strip of a reminder, and of a prayer set to its strip alone, shows this many ticks.
constexpr int StripTicks = 60;

// Sunrise never sounds: it offers the strip alone (its default) and nothing.
QList<CallMode> offeredModes(int slot);
PrayerChoice defaultChoice(int slot);
const QList<int> &reminderChoices(); // 0, 5, 10, 15, 20, 30

// The stored texts of a slot's three keys; "", a text the strict reader rejects, a value out of
// range or one the prayer does not offer reads as the default.
PrayerChoice readChoice(int slot, const QString &call, const QString &minutes,
                        const QString &remind);

// A moved time in seconds after its own day's midnight: negative on the evening before,
// 86400 or more after the next midnight.
int movedSeconds(int tableSeconds, int minutes);
DaySeconds movedDay(const DaySeconds &tableSeconds, const DayChoices &choices);
// The minutes after midnight of the clock time a moved time falls on (seconds may be negative
// or beyond the day), as the time labels show it.
int wrappedMinutes(int seconds);

enum class EventKind { Reminder, Arrival };

// One thing the tick does for one prayer of one civil day. Times count seconds from the
// midnight that starts the tick's own day (negative: the day before).
struct Event
{
    QDate day; // the civil day the prayer belongs to
    int slot = 0;
    EventKind kind = EventKind::Arrival;
    qint64 at = 0;        // when it is due, the lead (and the reminder's minutes) applied
    qint64 arrivalAt = 0; // when its prayer arrives, the lead applied
    // When the next prayer arrives (sunrise included, announced or not): this prayer's time is
    // over then.
    qint64 endsAt = 0;
    int minutesOfDay = 0; // the prayer's moved time as shown, minutes after its midnight
    bool sameAs(const Event &other) const
    {
        return day == other.day && slot == other.slot && kind == other.kind;
    }
};

// Every prayer is announced at the moment its moved time really falls, in whichever civil day
// that is: a dawn moved 30 minutes earlier from 00:20 sounds at 23:50 of the evening before, a
// night call moved 30 minutes later from 23:50 at 00:20 of the next day, and each one is tied
// to the day it belongs to. So the tick looks at yesterday's, today's and tomorrow's prayers
// on one time line, and every prayer of a civil day comes exactly once.
// The lead is 0 or negative minutes, as the lead label shows it. Ordered by time, then day,
// then slot, an arrival before a reminder due at the same second (the
// reminder then waits for the call).
QList<Event> eventsAround(const QDate &today, const std::array<DaySeconds, 3> &movedTimes,
                          const std::array<DayChoices, 3> &choices, int leadMinutes);

// How a due event is announced: at its time (also a little late, after a wake or a clock moved
// forward), or, long after its call while its prayer's time lasts, by a silent strip that says
// when the call came.
enum class Due { AtItsTime, CameAt };
struct DueEvent
{
    Event event;
    Due due = Due::AtItsTime;
};
// A prayer stepped over at most this long ago is still announced as at its time.
constexpr int LateLimitSeconds = 600;

// The events this tick reaches: during the two whole seconds from their moment on, and of those
// stepped over since the previous tick (on the same time line; the machine slept, stalled, or
// its clock was set forward) only the latest, judged by how late it is. A tick with no
// previous one, or one after a clock set back, reaches only the events of its own two seconds.
QList<DueEvent> dueEvents(const QList<Event> &events, qint64 now, std::optional<qint64> previous);

// What the strip shows while an event waits for its turn.
enum class Showing { Nothing, Call, Strip, Reminder };
enum class Turn { Start, Wait, Drop };

// An arrival waits for an arrival's strip or call to end (both are announced, in order; no
// call is cut short) and replaces a reminder. A reminder waits until nothing shows, and is
// dropped once its prayer has come.
Turn turnOf(const Event &event, Showing showing, qint64 now);

// Whole minutes left until a reminder's prayer, rounded up.
int minutesLeft(qint64 now, qint64 arrivalAt);

} // namespace PrayerRules
