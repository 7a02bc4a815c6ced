#pragma once

#include "TimetableFit.h"

namespace TimetableGen {

// Builds the 366-day table twice: the plain fitted computation, and the final table in which
// a correction that is exact on the anchor rows and linear between them brings those rows
// back byte for byte. Where the sun itself runs past the table's value ranges for a few days,
// the final value is held at the bound and the hold is recorded, never hidden.
class TimetableBuilder
{
public:
    struct Hold
    {
        int dayIndex;
        int city;
        int slot;
        int computed;
        int stored;
    };

    TimetableBuilder(const FitResult &fit, std::vector<AnchorRow> anchors);

    const Table &unpinned() const { return m_unpinned; }
    const Table &pinned() const { return m_pinned; }
    const std::vector<Hold> &holds() const { return m_holds; }

private:
    double correction(int city, int slot, int dayIndex) const;

    std::vector<AnchorRow> m_anchors; // sorted by day
    std::vector<DayValues> m_fitted;  // astronomy + precaution, unrounded, per day
    Table m_unpinned;
    Table m_pinned;
    std::vector<Hold> m_holds;
};

} // namespace TimetableGen
