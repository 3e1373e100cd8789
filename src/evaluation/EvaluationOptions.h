#pragma once

namespace dyno {

// The display settings an evaluation reads, taken from the Graphs and Setup pages
// at the moment the graph is updated.
struct EvaluationOptions {
    bool speedInMph = false;     // "Show speed as MPH"
    bool powerInKw = false;      // "Show power as KW"
    bool rpmCurveShown = false;  // the graph shows "Speed + Rpm"
    // "Update loaded tests with Rollerweight": every slot, whatever its dyno, is
    // evaluated with the typed weight (rollerweightedit, read as its leading number).
    bool useTypedRollerWeight = false;
    double typedRollerWeightKg = 184.0;
};

}  // namespace dyno
