#include "mainwindow/TickRules.h"

#include "presentation/Captions.h"

#include <QCalendar>

namespace TickRules {

bool slotReached(int now, int slotSeconds, int leadMinutes)
{
    const int arrival = slotSeconds + 60 * leadMinutes;
    return now >= arrival && now <= arrival + 1;
}

int currentSlot(const std::array<int, 6> &slotSeconds, int now)
{
    int current = 0;
    for (int i = 0; i < 6; ++i)
        if (now > slotSeconds[i] - 300)
            current = i;
    return current;
}

QString hijriDateText(const QDate &date, int adjustDays)
{
    const QCalendar hijri(QCalendar::System::IslamicCivil);
    return date.addDays(adjustDays).toString(QStringLiteral("dd/MM/yyyy"), hijri).trimmed()
            + Captions::hijriSuffix();
}

QString muezzinRecordingName(int muezzin)
{
    return QString::number(muezzin) + QStringLiteral(".mp3");
}

QString callRecordingName(int slot, int muezzin)
{
    if (slot == 0)
        return QStringLiteral("7.mp3");
    return muezzinRecordingName(muezzin);
}

} // namespace TickRules

std::optional<float> TickRules::meetingTrim(int choice, bool busy)
{
    if (!busy || choice == 0)
        return 1.0f;
    if (choice == 1)
        return 0.25f;
    return std::nullopt;
}
