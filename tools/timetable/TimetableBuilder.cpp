#include "TimetableBuilder.h"

#include "TableChecks.h"

#include <algorithm>
#include <utility>

namespace TimetableGen {

TimetableBuilder::TimetableBuilder(const FitResult &fit, std::vector<AnchorRow> anchors)
    : m_anchors(std::move(anchors))
{
    std::sort(m_anchors.begin(), m_anchors.end(),
              [](const AnchorRow &a, const AnchorRow &b) { return a.dayIndex < b.dayIndex; });

    const SolarModel model(fit.solar);
    const std::vector<CalendarDay> days = tableDays();
    for (const CalendarDay &day : days) {
        const DayValues astronomy = model.dayTimes(day);
        m_unpinned.push_back(TimetableFit::unpinnedDay(astronomy, fit.precaution));
        DayValues fitted = astronomy;
        for (auto &city : fitted) {
            for (int slot = 0; slot < SlotCount; ++slot)
                city[slot] += fit.precaution[slot];
        }
        m_fitted.push_back(fitted);
    }

    for (int d = 0; d < DayCount; ++d) {
        DayMinutes minutes {};
        for (int city = 0; city < CityCount; ++city) {
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int computed
                        = roundHalfUp(m_fitted[d][city][slot] + correction(city, slot, d));
                const TableChecks::Bounds bounds = city == 0 ? TableChecks::baseBounds()[slot]
                                                             : TableChecks::cityBounds()[slot];
                const int stored = std::clamp(computed, bounds.low, bounds.high);
                if (stored != computed)
                    m_holds.push_back({ d, city, slot, computed, stored });
                minutes[city][slot] = stored;
            }
        }
        m_pinned.push_back(minutes);
    }
}

double TimetableBuilder::correction(int city, int slot, int dayIndex) const
{
    if (m_anchors.empty())
        return 0.0;
    auto offsetAt = [&](const AnchorRow &anchor) {
        return anchor.minutes[city][slot] - m_fitted[anchor.dayIndex][city][slot];
    };
    // The year is a ring: before the first anchor and after the last one the correction runs
    // between the last anchor of one year and the first of the next, so 31 December and
    // 1 January join without a jump.
    const AnchorRow *before = &m_anchors.back();
    int beforeDay = before->dayIndex - DayCount;
    for (const AnchorRow &anchor : m_anchors) {
        if (anchor.dayIndex <= dayIndex) {
            before = &anchor;
            beforeDay = anchor.dayIndex;
        }
    }
    const AnchorRow *after = &m_anchors.front();
    int afterDay = after->dayIndex + DayCount;
    for (auto it = m_anchors.rbegin(); it != m_anchors.rend(); ++it) {
        if (it->dayIndex >= dayIndex) {
            after = &*it;
            afterDay = it->dayIndex;
        }
    }
    if (afterDay == beforeDay)
        return offsetAt(*before);
    const double t = double(dayIndex - beforeDay) / double(afterDay - beforeDay);
    return offsetAt(*before) + t * (offsetAt(*after) - offsetAt(*before));
}

} // namespace TimetableGen
