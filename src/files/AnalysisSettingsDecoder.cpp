// Reads "vkr_dyno_analysis.ini" line by line. A damaged line is reported with its
// number and leaves its setting at the default; the rest of the file still counts,
// so one mistyped port does not lose five channel calibrations.
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "files/AnalysisSettingsFile.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

constexpr int kLargestPort = 65535;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

class AnalysisSettingsDecoder {
  public:
    void readLine(int number, std::string_view line);
    AnalysisSettingsRead take() { return std::move(read_); }

  private:
    enum class Section { none, channel, graph, liveView, unknown };

    void openSection(std::string_view name);
    void readChannelSetting(std::string_view key, std::string_view value);
    void readGraphSetting(std::string_view key, std::string_view value);
    void readLiveViewSetting(std::string_view key, std::string_view value);
    void readShownChannels(std::string_view value);
    std::optional<bool> switchOf(std::string_view key, std::string_view value);
    void unknownKey(std::string_view key);
    void damaged(const std::string& what) {
        read_.messages.push_back("line " + std::to_string(line_) + ": " + what);
    }

    AnalysisSettingsRead read_;
    Section section_ = Section::none;
    std::size_t channel_ = 0;  // 0..4 in a [channelN] section
    int line_ = 0;
};

void AnalysisSettingsDecoder::readLine(int number, std::string_view line) {
    line_ = number;
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#' || text.front() == ';') return;
    if (text.front() == '[' && text.back() == ']') {
        openSection(trimmed(text.substr(1, text.size() - 2)));
        return;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        damaged("not a setting (expected key = value): " + quoted(text));
        return;
    }
    const std::string_view key = trimmed(text.substr(0, equals));
    const std::string_view value = trimmed(text.substr(equals + 1));
    switch (section_) {
        case Section::channel: readChannelSetting(key, value); break;
        case Section::graph: readGraphSetting(key, value); break;
        case Section::liveView: readLiveViewSetting(key, value); break;
        case Section::none: damaged("setting " + quoted(key) + " outside a section"); break;
        case Section::unknown: break;  // reported once at its header
    }
}

void AnalysisSettingsDecoder::openSection(std::string_view name) {
    section_ = Section::unknown;
    if (name == "graph") {
        section_ = Section::graph;
    } else if (name == "liveview") {
        section_ = Section::liveView;
    } else if (name.size() == 8 && name.starts_with("channel") && name[7] >= '1' &&
               name[7] <= '0' + kAnalogChannels) {
        section_ = Section::channel;
        channel_ = static_cast<std::size_t>(name[7] - '1');
    } else {
        damaged("unknown section " + quoted(name) + ", its settings are left out");
    }
}

void AnalysisSettingsDecoder::readChannelSetting(std::string_view key, std::string_view value) {
    ChannelCalibration& calibration = read_.settings.channels[channel_];
    if (key == "name" || key == "unit") {
        (key == "name" ? calibration.name : calibration.unit) = std::string(value);
        return;
    }
    if (key == "smoothing") {
        if (const auto samples = strictInteger(value)) {
            calibration.smoothingSamples = *samples;
        } else {
            damaged("smoothing " + quoted(value) + " is not a whole number, 1 (none) is used");
        }
        return;
    }
    double* number = key == "recorded_low"    ? &calibration.recordedLow
                     : key == "value_low"     ? &calibration.valueLow
                     : key == "recorded_high" ? &calibration.recordedHigh
                     : key == "value_high"    ? &calibration.valueHigh
                                              : nullptr;
    if (number == nullptr) {
        unknownKey(key);
    } else if (const auto parsed = strictDecimal(value)) {
        *number = *parsed;
    } else {
        damaged(std::string(key) + " " + quoted(value) + " is not a number, the default is used");
    }
}

void AnalysisSettingsDecoder::readGraphSetting(std::string_view key, std::string_view value) {
    if (key == "channels") {
        readShownChannels(value);
    } else {
        unknownKey(key);
    }
}

// "1,3", "2", "0" or nothing; any damage shows no channel rather than a wrong one.
void AnalysisSettingsDecoder::readShownChannels(std::string_view value) {
    std::array<int, 2> shown{0, 0};
    std::size_t count = 0;
    std::string_view rest = value;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view item = trimmed(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        const auto channel = strictInteger(item);
        if (!channel || *channel < 0 || *channel > kAnalogChannels || count == shown.size()) {
            damaged("channels " + quoted(value) +
                    " is not at most two channels of 0..5, no channel is shown");
            return;
        }
        shown[count++] = *channel;
    }
    read_.settings.shownChannels = shown;
}

void AnalysisSettingsDecoder::readLiveViewSetting(std::string_view key, std::string_view value) {
    LiveViewSettings& liveView = read_.settings.liveView;
    if (key == "on" || key == "show_each_run") {
        if (const auto on = switchOf(key, value))
            (key == "on" ? liveView.isOn : liveView.showEachRun) = *on;
    } else if (key == "port") {
        const auto port = strictInteger(value);
        if (port && *port >= 1 && *port <= kLargestPort) {
            liveView.port = static_cast<std::uint16_t>(*port);
        } else {
            damaged("port " + quoted(value) + " is not a port of 1..65535, " +
                    std::to_string(LiveViewSettings{}.port) + " is used");
        }
    } else if (key == "reach") {
        if (value == "network") {
            liveView.reach = LiveViewReach::localNetwork;
        } else if (value == "this_pc") {
            liveView.reach = LiveViewReach::thisPcOnly;
        } else {
            damaged("reach " + quoted(value) + " is neither network nor this_pc, network is used");
        }
    } else {
        unknownKey(key);
    }
}

std::optional<bool> AnalysisSettingsDecoder::switchOf(std::string_view key,
                                                      std::string_view value) {
    if (value == "0") return false;
    if (value == "1") return true;
    damaged(std::string(key) + " " + quoted(value) + " is neither 0 nor 1, 0 is used");
    return std::nullopt;
}

void AnalysisSettingsDecoder::unknownKey(std::string_view key) {
    damaged("unknown setting " + quoted(key) + " is left out");
}

}  // namespace

AnalysisSettingsRead decodeAnalysisSettings(std::string_view text) {
    AnalysisSettingsDecoder decoder;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        decoder.readLine(++number, text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return decoder.take();
}

}  // namespace dyno
