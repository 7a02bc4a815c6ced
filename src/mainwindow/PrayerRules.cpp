#include "mainwindow/PrayerRules.h"

#include "mainwindow/TickRules.h"
#include "settings/SettingsKeys.h"

#include <algorithm>
#include <limits>

namespace PrayerRules {

QList<CallMode> offeredModes(int slot)
{
    if (slot == 1)
        return { CallMode::StripOnly, CallMode::Nothing };
    return { CallMode::Call, CallMode::StripOnly, CallMode::Nothing };
}

PrayerChoice defaultChoice(int slot)
{
    PrayerChoice choice;
    choice.mode = offeredModes(slot).first();
    return choice;
}

const QList<int> &reminderChoices()
{
    static const QList<int> choices = { 0, 5, 10, 15, 20, 30 };
    return choices;
}

PrayerChoice readChoice(int slot, const QString &call, const QString &minutes,
                        const QString &remind)
{
    PrayerChoice choice;
    choice.mode = CallMode(readSetting(SettingKeyTable::prayerCall(slot), call));
    choice.minutes = readSetting(SettingKeyTable::prayerMinutes(slot), minutes);
    choice.remind = readSetting(SettingKeyTable::prayerRemind(slot), remind);
    if (!reminderChoices().contains(choice.remind))
        choice.remind = 0;
    return choice;
}

int movedSeconds(int tableSeconds, int minutes)
{
    return tableSeconds + 60 * minutes;
}

DaySeconds movedDay(const DaySeconds &tableSeconds, const DayChoices &choices)
{
    DaySeconds moved {};
    for (int i = 0; i < 6; ++i)
        moved[i] = movedSeconds(tableSeconds[i], choices[i].minutes);
    return moved;
}

int wrappedMinutes(int seconds)
{
    const int day = SecondsPerDay / 60;
    int minutes = seconds / 60;
    if (seconds < 0 && seconds % 60 != 0)
        --minutes; // rounded down, also before midnight
    return (minutes % day + day) % day;
}

QList<Event> eventsAround(const QDate &today, const std::array<DaySeconds, 3> &movedTimes,
                          const std::array<DayChoices, 3> &choices, int leadMinutes)
{
    // Every prayer's arrival on the line, announced or not: a prayer's time ends at the next.
    QList<qint64> arrivals;
    for (int d = 0; d < 3; ++d)
        for (int slot = 0; slot < 6; ++slot)
            arrivals.append(qint64(d - 1) * SecondsPerDay + movedTimes[d][slot] + 60 * leadMinutes);
    std::sort(arrivals.begin(), arrivals.end());
    const auto nextAfter = [&](qint64 at) {
        const auto it = std::upper_bound(arrivals.cbegin(), arrivals.cend(), at);
        // The last night call's time lasts until a dawn beyond the line.
        return it == arrivals.cend() ? std::numeric_limits<qint64>::max() : *it;
    };

    QList<Event> events;
    for (int d = 0; d < 3; ++d) {
        const qint64 midnight = qint64(d - 1) * SecondsPerDay;
        for (int slot = 0; slot < 6; ++slot) {
            const PrayerChoice &choice = choices[d][slot];
            Event event;
            event.day = today.addDays(d - 1);
            event.slot = slot;
            event.arrivalAt = midnight + movedTimes[d][slot] + 60 * leadMinutes;
            event.endsAt = nextAfter(event.arrivalAt);
            event.minutesOfDay = wrappedMinutes(movedTimes[d][slot]);
            if (choice.remind > 0) {
                event.kind = EventKind::Reminder;
                event.at = event.arrivalAt - 60 * choice.remind;
                events.append(event);
            }
            if (choice.mode != CallMode::Nothing) {
                event.kind = EventKind::Arrival;
                event.at = event.arrivalAt;
                events.append(event);
            }
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        if (a.at != b.at)
            return a.at < b.at;
        if (a.kind != b.kind)
            return a.kind == EventKind::Arrival;
        if (a.day != b.day)
            return a.day < b.day;
        return a.slot < b.slot;
    });
    return events;
}

QList<DueEvent> dueEvents(const QList<Event> &events, qint64 now, std::optional<qint64> previous)
{
    QList<DueEvent> due;
    // Three days of seconds fit an int; the lead is already in the moment.
    std::optional<Event> arrival;
    std::optional<Event> reminder;
    for (const Event &event : events) {
        if (TickRules::slotReached(int(now), int(event.at), 0))
            due.append({ event, Due::AtItsTime });
        else if (previous && *previous < event.at && event.at + 1 < now)
            (event.kind == EventKind::Arrival ? arrival : reminder) = event;
    }
    // A prayer reached at its own second is the latest of a gap that ends on it.
    for (const DueEvent &d : due)
        if (d.event.kind == EventKind::Arrival)
            return due;

    // Of one gap only the latest is announced, and never two things for one wake: a reminder
    // of a prayer still ahead that came after the latest arrival, or else that arrival.
    if (reminder && reminder->arrivalAt > now && now - reminder->at <= LateLimitSeconds
        && (!arrival || reminder->at > arrival->at)) {
        due.append({ *reminder, Due::AtItsTime });
        return due;
    }
    // A prayer whose time is over is not the latest one: the next, set to nothing, came after.
    if (!arrival || now >= arrival->endsAt)
        return due;
    if (now - arrival->at <= LateLimitSeconds)
        due.append({ *arrival, Due::AtItsTime });
    else if (arrival->slot != 1)
        due.append({ *arrival, Due::CameAt });
    return due;
}

Turn turnOf(const Event &event, Showing showing, qint64 now)
{
    if (event.kind == EventKind::Arrival)
        return showing == Showing::Call || showing == Showing::Strip ? Turn::Wait : Turn::Start;
    if (event.arrivalAt <= now)
        return Turn::Drop;
    return showing == Showing::Nothing ? Turn::Start : Turn::Wait;
}

int minutesLeft(qint64 now, qint64 arrivalAt)
{
    const qint64 left = arrivalAt - now;
    return left <= 0 ? 0 : int((left + 59) / 60);
}

} // namespace PrayerRules
