#include "settings/SettingNumbers.h"

#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
            || c == QLatin1Char('\r');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A number scanned from a text, kept exact so that rounding never depends on binary fractions.
struct ScannedNumber
{
    bool found = false; // at least one digit
    bool negative = false;
    bool overflow = false;
    qint64 whole = 0;          // magnitude of the integer part, capped above int's range
    int firstFraction = 0;     // first digit after the point
    bool moreFraction = false; // any non-zero digit after the first one
    qsizetype end = 0;         // index just past the number
};

ScannedNumber scanNumber(const QString &text, qsizetype pos)
{
    constexpr qint64 cap = qint64(std::numeric_limits<int>::max()) + 2;
    ScannedNumber n;
    if (pos < text.size() && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
        n.negative = text[pos] == QLatin1Char('-');
        ++pos;
    }
    while (pos < text.size() && isDigit(text[pos])) {
        n.found = true;
        n.whole = n.whole * 10 + (text[pos].unicode() - '0');
        if (n.whole > cap) {
            n.whole = cap;
            n.overflow = true;
        }
        ++pos;
    }
    if (pos < text.size() && text[pos] == QLatin1Char('.')) {
        qsizetype p = pos + 1;
        bool fractionDigits = false;
        while (p < text.size() && isDigit(text[p])) {
            const int digit = text[p].unicode() - '0';
            if (!fractionDigits)
                n.firstFraction = digit;
            else if (digit != 0)
                n.moreFraction = true;
            fractionDigits = true;
            ++p;
        }
        // "5." is a number; a lone "." or "-." is not
        if (n.found || fractionDigits) {
            n.found = true;
            pos = p;
        }
    }
    n.end = pos;
    return n;
}

// Rounds halves to even, on the exact decimal digits.
qint64 roundHalfEven(const ScannedNumber &n)
{
    qint64 magnitude = n.whole;
    if (n.firstFraction > 5 || (n.firstFraction == 5 && (n.moreFraction || magnitude % 2 == 1)))
        ++magnitude;
    return n.negative ? -magnitude : magnitude;
}

bool fitsInt(qint64 v)
{
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

} // namespace

int lenientSettingNumber(const QString &text)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const ScannedNumber n = scanNumber(text, pos);
    if (!n.found)
        return 0;
    const qint64 v = roundHalfEven(n);
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(v);
}

std::optional<int> strictSettingInteger(const QString &text)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const ScannedNumber n = scanNumber(text, pos);
    if (!n.found || n.overflow)
        return std::nullopt;
    pos = n.end;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    if (pos != text.size())
        return std::nullopt;
    const qint64 v = roundHalfEven(n);
    if (!fitsInt(v))
        return std::nullopt;
    return int(v);
}
