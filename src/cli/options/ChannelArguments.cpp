#include "cli/options/ChannelArguments.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "display/analog/AnalogView.h"
#include "files/AnalogSettingsFileCodec.h"
#include "files/AnalysisSettingsFile.h"
#include "files/AtomicFileWrite.h"

namespace dyno::cli {

namespace {

std::vector<int> chosenChannels(const Arguments& arguments) {
    const auto list = arguments.integerList("channels", 1, kAnalogChannels);
    std::vector<int> channels(list->begin(), list->end());
    std::vector<int> sorted = channels;
    std::ranges::sort(sorted);
    if (std::ranges::adjacent_find(sorted) != sorted.end()) {
        throw UsageError("--channels names each channel once, not '" +
                         *arguments.value("channels") + "'");
    }
    return channels;
}

bool readCalibrations(std::string_view command, const Arguments& arguments,
                      AnalysisSettings& analysis, std::ostream& err) {
    const auto named = arguments.value("analysis-settings");
    const std::filesystem::path file = named.value_or(kAnalysisSettingsFileName);
    if (named && isNameFree(file)) {
        err << "dynotool " << command << ": " << kCannotReadAnalysisFile << ": " << file.string()
            << "\n";
        return false;
    }
    const auto read = readAnalysisSettingsFile(file);
    if (!read) {
        err << "dynotool " << command << ": " << read.error().message << ": " << file.string()
            << "\n";
        return false;
    }
    for (const std::string& message : read.value().messages) {
        err << "dynotool " << command << ": warning: " << file.string() << " " << message << "\n";
    }
    analysis = read.value().settings;
    return true;
}

bool readDelays(std::string_view command, const Arguments& arguments,
                std::array<double, kAnalogChannels>& delays, std::ostream& err) {
    const auto named = arguments.value("ad-settings");
    const std::string file = named.value_or(kAnalogSettingsFileName);
    AnalogChannelTextSet channels = defaultAnalogChannelTexts();
    if (named || std::filesystem::exists(file)) {
        if (const auto read = readAnalogSettingsFile(file, channels); !read) {
            err << "dynotool " << command << ": " << read.error().message << ": " << file << "\n";
            return false;
        }
    }
    // Read as the Analog page reads the A/D Sett. page, with a point for decimals.
    const auto scalings = channelScalingOf(channels, '.');
    for (std::size_t c = 0; c < delays.size(); ++c) delays[c] = scalings[c].delaySeconds;
    return true;
}

}  // namespace

std::vector<std::string> channelValueOptions() {
    return {"channels", "analysis-settings", "ad-settings"};
}

ChannelChoiceRead channelChoiceOf(std::string_view command, const Arguments& arguments,
                                  std::ostream& err) {
    if (!arguments.value("channels")) return {};
    ChannelChoice choice;
    choice.channels = chosenChannels(arguments);
    if (!readCalibrations(command, arguments, choice.analysis, err) ||
        !readDelays(command, arguments, choice.delaySeconds, err)) {
        return {std::nullopt, true};
    }
    return {std::move(choice), false};
}

}  // namespace dyno::cli
