#pragma once

#include <QDate>
#include <QString>

#include <array>

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

} // namespace TickRules
