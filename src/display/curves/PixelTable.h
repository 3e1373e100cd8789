#pragma once

#include <array>
#include <span>

namespace dyno {

// The power and torque a slot shows at each pixel column of the graph, read by the
// mouse cursor. Rebuilt whenever the slot is plotted and kept until then, so the
// readout of a slot cleared from the display still works from its last tables.
struct PixelTable {
    // 600 columns in use; the spare ten let the gap filling look right of column 599.
    static constexpr int kColumns = 610;
    static constexpr int kUsedColumns = 600;
    using Values = std::array<double, kColumns>;

    Values powerAtColumn{};
    Values torqueAtColumn{};
    // Where at least one positive sample fell, for the curve filled last.
    std::array<int, kColumns> columnFilled{};
};

// Fills `values` (and marks `columnFilled`) from the samples k of `range`: each
// column 0..599 gets the largest positive curve value of the samples plotted in
// it; columns no sample hit keep 0.0. One pass over the samples. Both arrays are
// cleared first.
void fillColumnTable(std::span<const int> columnOfSample, std::span<const double> curve, int first,
                     int end, PixelTable::Values& values,
                     std::array<int, PixelTable::kColumns>& columnFilled);

// Closes the gaps between filled columns, left to right: an unfilled column takes
// the mean of the nearest filled pair found by trying right distances 1..6 first
// and, for each, left distances 1..6. Filled gaps are never used as neighbours.
void fillColumnGaps(PixelTable::Values& values,
                    const std::array<int, PixelTable::kColumns>& columnFilled);

}  // namespace dyno
