#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <optional>

// The arithmetic of the one-second clock tick, free of windows and clocks.
namespace TickRules {

// A slot is reached during the two whole seconds that start at its time less the lead
// (lead in minutes, 0 or negative as the lead label shows it).
bool slotReached(int now, int slotSeconds, int leadMinutes);

// The marked slot: the last one whose time is less than five minutes ahead or already past;
// slot 0 when there is none.
int currentSlot(const std::array<int, 6> &slotSeconds, int now);

// "dd/MM/yyyy" in the civil Hijri calendar, followed by " هـ ". The adjustment (days) moves
// the date to the one announced after the sighting; month and year follow the calendar.
QString hijriDateText(const QDate &date, int adjustDays = 0);

// The data file of a call: the dawn call has its own recording, the other calls the muezzin's.
QString callRecordingName(int slot, int muezzin);
QString muezzinRecordingName(int muezzin);

// How a call sounds for the meeting choice (0 as always, 1 quietly, 2 the strip alone) when the
// user is busy or not: the factor on its volume (a quarter, -12 dB, quietly), or nothing for the
// strip alone.
std::optional<float> meetingTrim(int choice, bool busy);

} // namespace TickRules
