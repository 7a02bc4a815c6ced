#pragma once

#include "SolarModel.h"

namespace TimetableGen {

struct FitResult
{
    SolarParameters solar;
    // Whole minutes added to each slot's astronomical time; the night call shares the
    // sunset's, since it is a fixed interval after sunset.
    std::array<int, SlotCount> precaution {};
};

// Chooses the dawn angle, the afternoon shadow rule and the precaution minutes that bring the
// plain computation closest to the rows the table must contain.
class TimetableFit
{
public:
    explicit TimetableFit(std::vector<AnchorRow> anchors);

    FitResult fit() const;

    // The unpinned computation of one day: astronomy plus precaution, rounded to minutes.
    static DayMinutes unpinnedDay(const DayValues &astronomy,
                                  const std::array<int, SlotCount> &precaution);

    // Stored field minus unpinned field, [anchor][city][slot] (city 0 base times, 1..4 offsets).
    std::vector<DayMinutes> residuals(const FitResult &result) const;

    const std::vector<AnchorRow> &anchors() const { return m_anchors; }

private:
    // Sum of absolute residuals first: one stored row that strays (29 February's dawn lies
    // some twelve minutes off the other three at any angle) must not drag the whole year's
    // curve towards it, as a least-squares fit would.
    struct Cost
    {
        long absolute = 0;
        long squares = 0;
        int worst = 0;
        bool operator<(const Cost &other) const;
    };

    std::vector<DayValues> anchorAstronomy(const SolarParameters &parameters) const;
    Cost slotCost(const std::vector<DayValues> &astronomy, int slot, int precaution) const;
    int bestPrecaution(const std::vector<DayValues> &astronomy, int slot, Cost *cost) const;

    std::vector<AnchorRow> m_anchors;
};

} // namespace TimetableGen
