#include "clockdialog/ClockFields.h"

namespace ClockFields {

int fieldNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    int end = 0;
    if (end < trimmed.size() && (trimmed.at(end) == QLatin1Char('-')))
        ++end;
    while (end < trimmed.size() && trimmed.at(end).isDigit())
        ++end;
    bool ok = false;
    const int value = trimmed.left(end).toInt(&ok);
    return ok ? value : 0;
}

QString zeroFilled(const QString &text)
{
    return text.size() == 1 ? QLatin1Char('0') + text : text;
}

static QString wrapped(const QString &field, int step, int highest)
{
    const int value = fieldNumber(field) - step;
    QString text = QString::number(value);
    if (value > highest)
        text = QStringLiteral("00");
    if (fieldNumber(text) < 0)
        text = QString::number(highest);
    return zeroFilled(text);
}

QString steppedHour(const QString &hour, int step)
{
    return wrapped(hour, step, 12);
}

QString steppedMinute(const QString &minute, int step)
{
    return wrapped(minute, step, 59);
}

QString steppedMeridiem(const QString &meridiem, int step)
{
    if (step != -1 && step != 1)
        return meridiem;
    return meridiem == QLatin1String("AM") ? QStringLiteral("PM") : QStringLiteral("AM");
}

QString steppedDateField(const QString &field, int step)
{
    return QString::number(fieldNumber(field) - step);
}

bool isPlainLeapYear(int year)
{
    return year % 4 == 0;
}

int monthLength(const QString &lengthText, const QString &year)
{
    const int length = fieldNumber(lengthText);
    if (length == 28 && isPlainLeapYear(fieldNumber(year)))
        return 29;
    return length;
}

QString limitedDay(const QString &day, int monthLength)
{
    QString text = day;
    if (fieldNumber(text) > monthLength)
        text = QString::number(monthLength);
    if (fieldNumber(text) < 1)
        text = QStringLiteral("1");
    return zeroFilled(text);
}

QString limitedMonth(const QString &month)
{
    QString text = month;
    if (fieldNumber(text) > 12)
        text = QStringLiteral("12");
    if (fieldNumber(text) < 1)
        text = QStringLiteral("1");
    return zeroFilled(text);
}

QString limitedYear(const QString &year)
{
    QString text = year;
    if (fieldNumber(text) > LastYear)
        text = QString::number(LastYear);
    if (fieldNumber(text) < FirstYear)
        text = QString::number(FirstYear);
    return text;
}

QStringList monthLengthList()
{
    return {
        QStringLiteral("31"), QStringLiteral("28"), QStringLiteral("31"), QStringLiteral("30"),
        QStringLiteral("31"), QStringLiteral("30"), QStringLiteral("31"), QStringLiteral("31"),
        QStringLiteral("30"), QStringLiteral("31"), QStringLiteral("30"), QStringLiteral("31")
    };
}

} // namespace ClockFields
