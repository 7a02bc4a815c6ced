#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>

// The built-in timetable is Iraq's local time: UTC+03:00 all year. A computer set to another
// zone, or to one that moves its clock for the summer, shows the prayers at the wrong hours.
namespace ZoneNote {

enum class Platform { Windows, Linux };

// The platform this program runs on, for naming the zone the way its settings do.
Platform thisPlatform();

// Whether zone keeps Iraq's time at moment and has no summer time now or within a year.
bool keepsIraqTime(const QTimeZone &zone, const QDateTime &moment);

// The one line the clock dialog shows about the zone (uiLanguage 0 Arabic, otherwise Kurdish),
// naming the zone to choose; "" when the zone is right.
QString zoneNote(const QTimeZone &zone, const QDateTime &moment, int uiLanguage, Platform platform);

} // namespace ZoneNote
