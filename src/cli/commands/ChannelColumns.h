#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options/ChannelArguments.h"
#include "evaluation/ChannelCurve.h"

namespace dyno::cli {

// One channel asked for with --channels, evaluated for the run.
struct ChannelColumn {
    int channel = 1;
    std::string name;  // the calibration's, "" when it has none
    std::string unit;
    std::string column;  // the CSV column and JSON "column": see columnNameOf
    std::unique_ptr<ChannelCurve> curve = std::make_unique<ChannelCurve>();

    bool isRecorded() const { return curve->status != ChannelCurveStatus::notRecorded; }
};

// "<name>_<unit>" with every character but letters and digits as '_' ("AFR_AFR",
// "EGT_head_degC"); "<name>" without a unit; "channel<N>" for a channel without a
// name. A name already in `taken` gets "_ch<N>" appended. The result joins `taken`.
std::string columnNameOf(int channel, const ChannelCalibration& calibration,
                         std::set<std::string>& taken);

// The chosen channels' curves for the run evaluated last (`source`). A channel not
// recorded in the run is kept, without a curve, after a message on `err`. A refused
// calibration prints its refusal and gives nothing.
std::optional<std::vector<ChannelColumn>> channelColumnsOf(std::string_view command,
                                                           const ChannelChoice& choice,
                                                           const ChannelCurveSource& source,
                                                           std::set<std::string> taken,
                                                           std::ostream& err);

}  // namespace dyno::cli
