#include "cli/commands/ChannelColumns.h"

#include <cctype>

#include "evaluation/ChannelCalibrationRules.h"

namespace dyno::cli {

namespace {

std::string columnWord(std::string_view text) {
    std::string word(text);
    for (char& c : word) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return word;
}

}  // namespace

std::string columnNameOf(int channel, const ChannelCalibration& calibration,
                         std::set<std::string>& taken) {
    std::string column = "channel" + std::to_string(channel);
    if (!calibration.name.empty()) {
        column = columnWord(calibration.name);
        if (!calibration.unit.empty()) column += "_" + columnWord(calibration.unit);
    }
    if (taken.contains(column)) column += "_ch" + std::to_string(channel);
    taken.insert(column);
    return column;
}

std::optional<std::vector<ChannelColumn>> channelColumnsOf(std::string_view command,
                                                           const ChannelChoice& choice,
                                                           const ChannelCurveSource& source,
                                                           std::set<std::string> taken,
                                                           std::ostream& err) {
    std::vector<ChannelColumn> columns;
    for (const int channel : choice.channels) {
        const auto index = static_cast<std::size_t>(channel - 1);
        const ChannelCalibration& calibration = choice.analysis.channels[index];
        if (const auto refusal = calibrationRefusal(channel, calibration)) {
            err << "dynotool " << command << ": " << *refusal << "\n";
            return std::nullopt;
        }
        ChannelColumn column;
        column.channel = channel;
        column.name = calibration.name;
        column.unit = calibration.unit;
        column.column = columnNameOf(channel, calibration, taken);
        evaluateChannelCurve(source, channel, calibration, choice.delaySeconds[index],
                             *column.curve);
        if (!column.isRecorded()) {
            err << "dynotool " << command << ": " << channelTitle(channel, calibration)
                << " was not recorded in run " << source.run + 1 << " (every sample reads "
                << column.curve->constantSample << "): no column for it\n";
        }
        columns.push_back(std::move(column));
    }
    return columns;
}

}  // namespace dyno::cli
