#include "clockdialog/ZoneNote.h"

#include <QSysInfo>

namespace ZoneNote {

namespace {
constexpr int IraqOffset = 3 * 3600;
} // namespace

Platform thisPlatform()
{
    return QSysInfo::kernelType() == QLatin1String("winnt") ? Platform::Windows : Platform::Linux;
}

bool keepsIraqTime(const QTimeZone &zone, const QDateTime &moment)
{
    if (!zone.isValid() || zone.offsetFromUtc(moment) != IraqOffset || zone.isDaylightTime(moment))
        return false;
    // Not hasDaylightTime(): Baghdad itself kept summer time until 2007. Any change of offset
    // ahead, a summer time or a new law, means the table will be wrong for part of the year.
    const QTimeZone::OffsetData next = zone.nextTransition(moment);
    return !next.atUtc.isValid() || next.atUtc > moment.addDays(366);
}

QString zoneNote(const QTimeZone &zone, const QDateTime &moment, int uiLanguage, Platform platform)
{
    if (keepsIraqTime(zone, moment))
        return QString();
    // Short enough for one line of the narrow dialog. The zone's name as the system's settings
    // list it, kept left to right inside the sentence.
    const QString name = platform == Platform::Windows ? QStringLiteral("(UTC+03:00) Baghdad")
                                                       : QStringLiteral("Asia/Baghdad");
    const QString isolated = QChar(0x2066) + name + QChar(0x2069);
    return uiLanguage == 0
            ? QStringLiteral("المنطقة الزمنية ليست بتوقيت العراق: اختر %1").arg(isolated)
            : QStringLiteral("ناوچەی کات بە کاتی عێراق نییە: %1 هەڵبژێرە").arg(isolated);
}

} // namespace ZoneNote
