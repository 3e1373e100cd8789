#include "evaluation/RoadLoad.h"

#include "model/Units.h"

namespace dyno {

double roadLoadAt(const RoadLoad& load, double speed) {
    const double air = load.airResistance * (load.speedInMph ? kKmhPerMph : 1.0);
    const double drag = air * speed;
    return drag * drag + load.rollingResistance;
}

std::vector<double> roadLoadCurve(const RoadLoad& load, std::span<const double> speeds) {
    std::vector<double> losses;
    losses.reserve(speeds.size());
    for (const double speed : speeds) losses.push_back(roadLoadAt(load, speed));
    return losses;
}

}  // namespace dyno
