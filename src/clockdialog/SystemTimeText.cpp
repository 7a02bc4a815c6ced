#include "clockdialog/SystemTimeText.h"

#include <QRegularExpression>

QTime parseClockText(const QString &value)
{
    static const QRegularExpression pattern(
            QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2}):(\\d{1,2})\\s*(AM|PM)\\s*$"),
            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch())
        return {};
    const int hour = match.captured(1).toInt();
    const int minute = match.captured(2).toInt();
    const int second = match.captured(3).toInt();
    const bool afternoon = match.captured(4).compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0;
    if (hour > 12 || minute > 59 || second > 59)
        return {};
    const int hour24 = hour % 12 + (afternoon ? 12 : 0);
    return QTime(hour24, minute, second);
}

QDate parseDayMonthYear(const QString &value)
{
    static const QRegularExpression pattern(
            QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
}

SystemClockSetter::Result SetSystemTime(const QString &value, SystemClockSetter &setter)
{
    const QTime time = parseClockText(value);
    if (!time.isValid())
        return SystemClockSetter::Result::Skipped;
    return setter.setTimeOfDay(time);
}

SystemClockSetter::Result SetSystemDate(const QString &value, SystemClockSetter &setter)
{
    const QDate date = parseDayMonthYear(value);
    if (!date.isValid())
        return SystemClockSetter::Result::Skipped;
    return setter.setDate(date);
}
