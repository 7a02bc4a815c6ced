#include "TimetableFit.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace TimetableGen {

namespace {
// Search ranges. Dawn angles between 14 and 22 degrees cover every school in use; precautions
// beyond half an hour either way would no longer be a precaution.
constexpr int MinDawnAngleTenths = 140;
constexpr int MaxDawnAngleTenths = 220;
constexpr int MinPrecaution = -30;
constexpr int MaxPrecaution = 30;
} // namespace

bool TimetableFit::Cost::operator<(const Cost &other) const
{
    if (absolute != other.absolute)
        return absolute < other.absolute;
    if (squares != other.squares)
        return squares < other.squares;
    return worst < other.worst;
}

TimetableFit::TimetableFit(std::vector<AnchorRow> anchors)
    : m_anchors(std::move(anchors))
{ }

DayMinutes TimetableFit::unpinnedDay(const DayValues &astronomy,
                                     const std::array<int, SlotCount> &precaution)
{
    DayMinutes minutes {};
    for (int city = 0; city < CityCount; ++city) {
        for (int slot = 0; slot < SlotCount; ++slot)
            minutes[city][slot] = roundHalfUp(astronomy[city][slot] + precaution[slot]);
    }
    return minutes;
}

std::vector<DayValues> TimetableFit::anchorAstronomy(const SolarParameters &parameters) const
{
    const SolarModel model(parameters);
    const std::vector<CalendarDay> days = tableDays();
    std::vector<DayValues> values;
    for (const AnchorRow &anchor : m_anchors)
        values.push_back(model.dayTimes(days[anchor.dayIndex]));
    return values;
}

TimetableFit::Cost TimetableFit::slotCost(const std::vector<DayValues> &astronomy, int slot,
                                          int precaution) const
{
    // The sunset's precaution also moves the night call, so both slots judge it.
    const int lastSlot = slot == SunsetSlot ? NightSlot : slot;
    Cost cost;
    for (size_t a = 0; a < m_anchors.size(); ++a) {
        std::array<int, SlotCount> precautions {};
        precautions.fill(precaution);
        const DayMinutes computed = unpinnedDay(astronomy[a], precautions);
        for (int city = 0; city < CityCount; ++city) {
            for (int s = slot; s <= lastSlot; ++s) {
                const int residual
                        = fieldValue(m_anchors[a].minutes, city, s) - fieldValue(computed, city, s);
                cost.absolute += std::abs(residual);
                cost.squares += long(residual) * residual;
                cost.worst = std::max(cost.worst, std::abs(residual));
            }
        }
    }
    return cost;
}

int TimetableFit::bestPrecaution(const std::vector<DayValues> &astronomy, int slot,
                                 Cost *cost) const
{
    int best = 0;
    Cost bestCost;
    bool first = true;
    for (int precaution = MinPrecaution; precaution <= MaxPrecaution; ++precaution) {
        const Cost c = slotCost(astronomy, slot, precaution);
        if (first || c < bestCost) {
            best = precaution;
            bestCost = c;
            first = false;
        }
    }
    if (cost)
        *cost = bestCost;
    return best;
}

FitResult TimetableFit::fit() const
{
    FitResult result;

    // Each parameter acts on its own slot only, so the slots are fitted one by one.
    Cost bestDawn;
    bool first = true;
    for (int tenths = MinDawnAngleTenths; tenths <= MaxDawnAngleTenths; ++tenths) {
        SolarParameters parameters = result.solar;
        parameters.dawnAngle = tenths / 10.0;
        Cost cost;
        const int precaution = bestPrecaution(anchorAstronomy(parameters), 0, &cost);
        if (first || cost < bestDawn) {
            bestDawn = cost;
            result.solar.dawnAngle = parameters.dawnAngle;
            result.precaution[0] = precaution;
            first = false;
        }
    }

    Cost bestAfternoon;
    for (int factor = 1; factor <= 2; ++factor) {
        SolarParameters parameters = result.solar;
        parameters.shadowFactor = factor;
        Cost cost;
        const int precaution = bestPrecaution(anchorAstronomy(parameters), 3, &cost);
        if (factor == 1 || cost < bestAfternoon) {
            bestAfternoon = cost;
            result.solar.shadowFactor = factor;
            result.precaution[3] = precaution;
        }
    }

    const std::vector<DayValues> astronomy = anchorAstronomy(result.solar);
    for (int slot : { 1, 2, SunsetSlot })
        result.precaution[slot] = bestPrecaution(astronomy, slot, nullptr);
    result.precaution[NightSlot] = result.precaution[SunsetSlot];
    return result;
}

std::vector<DayMinutes> TimetableFit::residuals(const FitResult &result) const
{
    const std::vector<DayValues> astronomy = anchorAstronomy(result.solar);
    std::vector<DayMinutes> out;
    for (size_t a = 0; a < m_anchors.size(); ++a) {
        const DayMinutes computed = unpinnedDay(astronomy[a], result.precaution);
        DayMinutes r {};
        for (int city = 0; city < CityCount; ++city) {
            for (int slot = 0; slot < SlotCount; ++slot)
                r[city][slot] = fieldValue(m_anchors[a].minutes, city, slot)
                        - fieldValue(computed, city, slot);
        }
        out.push_back(r);
    }
    return out;
}

} // namespace TimetableGen
