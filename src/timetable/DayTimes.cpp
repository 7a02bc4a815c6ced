#include "DayTimes.h"

#include <limits>

namespace {
constexpr int FieldWidth = 4;
constexpr int CityCount = 5;
constexpr int MinutesPerDay = 24 * 60;
} // namespace

QString DayKey(const QDate &date)
{
    if (!date.isValid())
        return QString();
    // Built from numbers, not QDate::toString(), so no locale or calendar setting can change it.
    return QStringLiteral("%1%2")
            .arg(date.day(), 2, 10, QLatin1Char('0'))
            .arg(date.month(), 2, 10, QLatin1Char('0'));
}

int findRowByPrefix(const QStringList &rows, const QString &key)
{
    // Every text begins with the empty string; an unknown date must not land on 1 January.
    if (key.isEmpty())
        return -1;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).startsWith(key, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

int lenientFieldNumber(QStringView field)
{
    qsizetype pos = 0;
    while (pos < field.size() && field.at(pos) == QLatin1Char(' '))
        ++pos;
    bool negative = false;
    if (pos < field.size() && field.at(pos) == QLatin1Char('-')) {
        negative = true;
        ++pos;
    }
    constexpr int limit = std::numeric_limits<int>::max();
    int value = 0;
    for (; pos < field.size(); ++pos) {
        const QChar c = field.at(pos);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        const int digit = c.unicode() - '0';
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    return negative ? -value : value;
}

int readField(const QString &record, int city, int slot)
{
    if (city < 0 || city >= CityCount || slot < 0 || slot >= SlotCount)
        return 0;
    const qsizetype offset = 24 * city + 4 * slot + 4;
    if (offset >= record.size())
        return 0;
    return lenientFieldNumber(QStringView(record).mid(offset, FieldWidth));
}

std::array<int, SlotCount> OffsetGroup(const QString &record, int group)
{
    std::array<int, SlotCount> offsets {};
    if (group < 1 || group >= CityCount)
        return offsets;
    for (int slot = 0; slot < SlotCount; ++slot)
        offsets[slot] = readField(record, group, slot);
    return offsets;
}

std::array<int, SlotCount> dayMinutes(const QString &record, int cityIndex)
{
    std::array<int, SlotCount> minutes {};
    const std::array<int, SlotCount> offsets = OffsetGroup(record, cityIndex);
    for (int slot = 0; slot < SlotCount; ++slot)
        minutes[slot] = readField(record, 0, slot) + offsets[slot];
    return minutes;
}

std::array<int, SlotCount> daySeconds(const QString &record, int cityIndex)
{
    std::array<int, SlotCount> seconds = dayMinutes(record, cityIndex);
    for (int &value : seconds)
        value *= 60;
    return seconds;
}

QString SlotTimeText(int minutes)
{
    if (minutes < 0)
        minutes = (minutes % MinutesPerDay + MinutesPerDay) % MinutesPerDay;
    const int h = minutes / 60;
    const int m = minutes % 60;
    // The hour after midnight shows as "00", not 12: the program has always shown it so.
    const int hour = h == 0 ? 0 : (h - 1) % 12 + 1;
    return QStringLiteral("%1:%2:00 %3")
            .arg(hour, 2, 10, QLatin1Char('0'))
            .arg(m, 2, 10, QLatin1Char('0'))
            .arg(h >= 12 ? QLatin1String("PM") : QLatin1String("AM"));
}
