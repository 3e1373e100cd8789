#include "display/curves/PixelTable.h"

namespace dyno {

void fillColumnTable(std::span<const int> columnOfSample, std::span<const double> curve, int first,
                     int end, PixelTable::Values& values,
                     std::array<int, PixelTable::kColumns>& columnFilled) {
    values.fill(0.0);
    columnFilled.fill(0);
    for (int k = first; k < end; ++k) {
        const auto sample = static_cast<std::size_t>(k);
        const int column = columnOfSample[sample];
        if (column < 0 || column >= PixelTable::kUsedColumns) continue;
        const double value = curve[sample];
        auto& cell = values[static_cast<std::size_t>(column)];
        if (value > 0.0 && cell < value) {
            cell = value;
            columnFilled[static_cast<std::size_t>(column)] = 1;
        }
    }
}

void fillColumnGaps(PixelTable::Values& values,
                    const std::array<int, PixelTable::kColumns>& columnFilled) {
    const auto filled = [&](int column) {
        return column >= 0 && column < PixelTable::kColumns &&
               columnFilled[static_cast<std::size_t>(column)] != 0;
    };
    const auto at = [&](int column) { return values[static_cast<std::size_t>(column)]; };
    for (int c = 0; c < PixelTable::kUsedColumns; ++c) {
        if (filled(c)) continue;
        bool done = false;
        for (int right = 1; right <= 6 && !done; ++right) {
            for (int left = 1; left <= 6; ++left) {
                if (filled(c + right) && filled(c - left)) {
                    values[static_cast<std::size_t>(c)] = (at(c + right) + at(c - left)) / 2.0;
                    done = true;
                    break;
                }
            }
        }
    }
}

}  // namespace dyno
