#include "mainwindow/WakeRules.h"

#include <QTimeZone>

namespace WakeRules {

std::optional<QDateTime> dawnWakeDue(const QDateTime &moment, const DawnSeconds &dawn,
                                     int leadMinutes)
{
    const QTimeZone zone = moment.timeZone();
    // The day after tomorrow too: tomorrow's dawn, moved onto this evening, may be past as well.
    for (int days = 0; days <= 2; ++days) {
        const QDate day = moment.date().addDays(days);
        const std::optional<int> seconds = dawn(day);
        if (!seconds)
            continue;
        const QDateTime due = day.startOfDay(zone).addSecs(*seconds + 60 * leadMinutes - 60);
        if (due > moment)
            return due.toUTC();
    }
    return std::nullopt;
}

qint64 fileTimeOf(const QDateTime &moment)
{
    constexpr qint64 EpochSince1601Ms = 11644473600000;
    return (moment.toMSecsSinceEpoch() + EpochSince1601Ms) * 10000;
}

} // namespace WakeRules
