#include "mainwindow/NextPrayer.h"

#include "presentation/Captions.h"
#include "timetable/DayTimes.h"

namespace NextPrayer {

namespace {
constexpr int DaySeconds = 24 * 60 * 60;
const QChar RightToLeftEmbedding(0x202B);
const QChar LeftToRightEmbedding(0x202A);
const QChar PopDirectional(0x202C);
} // namespace

Upcoming after(const std::array<int, 6> &today, int tomorrowDawn, int now)
{
    Upcoming next { 0, DaySeconds + tomorrowDawn, true };
    for (int i = 0; i < 6; ++i)
        if (today[i] > now && today[i] < next.seconds)
            next = { i, today[i], false };
    return next;
}

int minutesLeft(const Upcoming &next, int now)
{
    const int left = next.seconds - now;
    return left <= 0 ? 0 : (left + 59) / 60;
}

QString tipLine(const Upcoming &next, int now, int language)
{
    // "06:02:00 AM" as the window shows it, without the seconds, which are always 00.
    const QString clock = SlotTimeText((next.seconds % DaySeconds) / 60);
    const int left = minutesLeft(next, now);
    const QString leftText
            = QStringLiteral("%1:%2").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0'));
    // The line reads right to left even where the tip itself is laid out left to right; the
    // clock time inside it keeps its own order ("AM" after the digits).
    return RightToLeftEmbedding + Captions::tipSlotName(next.slot, language) + QLatin1Char(' ')
            + LeftToRightEmbedding + clock.left(5) + clock.mid(8) + PopDirectional
            + QLatin1Char(' ') + Captions::tipTimeLeft(language) + QLatin1Char(' ') + leftText
            + PopDirectional;
}

QString trayTip(const QString &line)
{
    QString tip = Captions::trayTipTitle() + QStringLiteral("\r\n") + Captions::trayTipHint();
    if (!line.isEmpty())
        tip += QStringLiteral("\r\n") + line;
    return tip.left(TipCapacity - 1);
}

} // namespace NextPrayer
