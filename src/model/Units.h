#pragma once

namespace dyno {

// Unit conversions as the dyno has always rounded them. The two speed factors are
// separate roundings, not each other's inverse (1 / 1.60934 = 0.621372...): each is
// kept where it has always been used, so no figure or needle moves.
inline constexpr double kKmhPerMph = 1.60934;  // evaluation, screen graph and print
inline constexpr double kMphPerKmh = 0.62137;  // the card's live speed needle
inline constexpr double kKwPerHp = 0.7457;     // "Use kW" of the evaluation

}  // namespace dyno
