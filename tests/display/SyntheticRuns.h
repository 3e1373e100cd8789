#pragma once

// Roller periods of made-up full-throttle runs on a K40 dyno, for drawing tests and
// the graph benchmark: the vehicle follows a power curve that rises to a peak and
// falls again, as a tuned scooter does, and the engine speed follows the speed.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "model/TestSession.h"

namespace dyno::graph_testing {

struct SyntheticRun {
    double peakHp = 10.0;           // power at the peak, hp
    double peakKmh = 75.0;          // speed of the peak
    double startKmh = 15.0;         // roller speed at the first period
    int periods = 1999;             // a full-length run
    double rollerWeightKg = 700.0;  // heavy enough that 1999 revolutions reach ~110 km/h
};

// K40 constants: 2.2176 km/h per roller revolution per second, 2.5 MHz period clock,
// 6727 kg per unit of the mass factor, 5 km/h speed offset in the power formula.
inline void recordSyntheticRun(TestSession& session, int run, const SyntheticRun& shape) {
    session.header.words[SessionHeader::kDynoModel] = 0;
    session.header.words[SessionHeader::kElectronicsType] = 1;
    session.values.values[SessionValues::kRollerWeight] = shape.rollerWeightKg;
    const double massFactor = shape.rollerWeightKg / 6727.0;
    auto samples = session.run(run);
    std::fill(samples.rollerPeriods.begin(), samples.rollerPeriods.end(), 0);
    std::fill(samples.rpmSamples.begin(), samples.rpmSamples.end(), 0);
    double speed = shape.startKmh;
    for (int i = 0; i < shape.periods; ++i) {
        const double seconds = 2.2176 / speed;
        const auto index = static_cast<std::size_t>(i);
        samples.rollerPeriods[index] = static_cast<std::int32_t>(std::lround(seconds * 2.5e6));
        samples.rpmSamples[index] = static_cast<std::int32_t>(std::lround(5000.0 + 45.0 * speed));
        const double off = (speed - shape.peakKmh) / 70.0;
        const double hp = std::max(shape.peakHp * (1.0 - off * off), 0.3 * shape.peakHp);
        speed += hp / (massFactor * (speed - 5.0)) * seconds;
    }
}

// Four sessions in slots 1..4, run 1 of each, a little apart in power and peak speed.
inline SyntheticRun syntheticRunOfSlot(int slot) {
    SyntheticRun shape;
    shape.peakHp = 8.0 + 1.5 * (slot - 1);
    shape.peakKmh = 65.0 + 6.0 * (slot - 1);
    return shape;
}

// The texts of the session in slot 1..4 as a printed report shows them: "Make<slot>",
// "Model<slot>", "Owner<slot>" and "Remark<slot>".
inline void nameSyntheticSession(TestSession& session, int slot) {
    const std::string number = std::to_string(slot);
    session.make.assign("Make" + number);
    session.model.assign("Model" + number);
    session.owner.assign("Owner" + number);
    session.remarkLine1.assign("Remark" + number);
}

}  // namespace dyno::graph_testing
