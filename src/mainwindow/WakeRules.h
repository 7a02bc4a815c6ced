#pragma once

#include <QDateTime>

#include <functional>
#include <optional>

namespace WakeRules {

// A day's dawn as moved by its minutes, in seconds after that day's midnight; nullopt when the
// table has no row for the day.
using DawnSeconds = std::function<std::optional<int>(const QDate &day)>;

// When the computer is woken for the next dawn call: a minute before the call arrives (its moved
// time plus the lead, 0 or negative minutes), today's while still ahead of moment, else the next
// day's. Days are laid in moment's zone; nullopt when the table has neither day.
std::optional<QDateTime> dawnWakeDue(const QDateTime &moment, const DawnSeconds &dawn,
                                     int leadMinutes);

// A UTC moment as a Windows FILETIME: 100-nanosecond steps since 1601-01-01 UTC.
qint64 fileTimeOf(const QDateTime &moment);

} // namespace WakeRules
