#pragma once

#include <span>
#include <vector>

namespace dyno {

// The losses curve of the graph and the print: what the scooter spends besides
// accelerating the roller, air drag growing with the square of the speed plus a
// constant rolling resistance, in the power unit of the graph (hp or kW).
struct RoadLoad {
    double airResistance = 0.0;      // Param. page "Air resistance", per km/h
    double rollingResistance = 0.0;  // Param. page "Rolling resistance", hp (kW)
    bool speedInMph = false;         // speeds given in mph are taken in km/h
};

// The losses at one speed of the graph's speed axis.
double roadLoadAt(const RoadLoad& load, double speed);

// The losses at each of the given speeds, in their order.
std::vector<double> roadLoadCurve(const RoadLoad& load, std::span<const double> speeds);

}  // namespace dyno
