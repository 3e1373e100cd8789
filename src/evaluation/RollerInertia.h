#pragma once

#include <array>
#include <optional>

namespace dyno {

// Converts a roller weight in kg into the mass factor of the power formula
// (weight / 6727, kept as the multiplier the dyno software has always used).
inline constexpr double kRollerWeightToMassFactor = 0.0001486546751895347;

// One roller of the K70/K80 range: its code as the settings form it and its mass
// factor. Every factor is a roller figure with one decimal divided by 23900.
struct RollerInertia {
    int rollerCode;
    double massFactor;
};

// The inertia of the K70 and K80 rollers, by roller code: rollerspecs index
// (0 bare, 1 starter, 2 disc brake, 3 both) + 10 x roller type (0 standard,
// 1 heavy, 2 standard + eddy brake, 3 heavy + eddy brake), + 50 on a K80.
class RollerInertiaTable {
  public:
    static constexpr int kEntries = 32;

    static const std::array<RollerInertia, kEntries>& entries();

    // The mass factor of a listed roller code; nothing for codes no setting forms
    // (40..49, above 83, negative), which only a damaged or foreign file carries.
    static std::optional<double> massFactorOf(int rollerCode);
};

// The speed (km/h) added inside the power formula. It stands for the losses of the
// roller set: the small K40 roller drags, the big rollers push, an eddy-current
// brake drags. Nothing for a K70/K80 code outside the known ranges.
std::optional<double> speedOffsetOf(int dynoModel, int rollerCode);

}  // namespace dyno
