#include "files/AnalysisSettingsFile.h"

#include <fstream>
#include <iterator>
#include <span>

#include "files/AtomicFileWrite.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

// A name typed with a line break would end its line early and damage the next.
std::string oneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return line;
}

void putChannel(std::string& out, std::size_t index, const ChannelCalibration& channel) {
    out += "[channel" + std::to_string(index + 1) + "]\n";
    out += "name = " + oneLine(channel.name) + "\n";
    out += "unit = " + oneLine(channel.unit) + "\n";
    out += "recorded_low = " + formatRoundTrip(channel.recordedLow) + "\n";
    out += "value_low = " + formatRoundTrip(channel.valueLow) + "\n";
    out += "recorded_high = " + formatRoundTrip(channel.recordedHigh) + "\n";
    out += "value_high = " + formatRoundTrip(channel.valueHigh) + "\n";
    out += "smoothing = " + std::to_string(channel.smoothingSamples) + "\n\n";
}

}  // namespace

std::string encodeAnalysisSettings(const AnalysisSettings& settings) {
    std::string out =
        "# VKR dyno: the Analysis page's channel calibrations, graph and live view\n\n";
    for (std::size_t c = 0; c < settings.channels.size(); ++c) {
        putChannel(out, c, settings.channels[c]);
    }
    out += "[graph]\nchannels = " + std::to_string(settings.shownChannels[0]) + "," +
           std::to_string(settings.shownChannels[1]) + "\n\n";
    const LiveViewSettings& liveView = settings.liveView;
    out += "[liveview]\n";
    out += std::string("on = ") + (liveView.isOn ? "1" : "0") + "\n";
    out += "port = " + std::to_string(liveView.port) + "\n";
    out += std::string("reach = ") +
           (liveView.reach == LiveViewReach::thisPcOnly ? "this_pc" : "network") + "\n";
    out += std::string("show_each_run = ") + (liveView.showEachRun ? "1" : "0") + "\n";
    return out;
}

FileResult<> saveAnalysisSettingsFile(const std::filesystem::path& file,
                                      const AnalysisSettings& settings) {
    const std::string text = encodeAnalysisSettings(settings);
    const auto bytes = std::as_bytes(std::span(text));
    return writeFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        kCannotSaveAnalysisFile);
}

FileResult<AnalysisSettingsRead> readAnalysisSettingsFile(const std::filesystem::path& file) {
    if (isNameFree(file)) return AnalysisSettingsRead{};
    std::error_code error;
    std::ifstream in(file, std::ios::binary);
    if (!in || std::filesystem::is_directory(file, error))
        return FileError{kCannotReadAnalysisFile, "cannot open " + file.string()};
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return FileError{kCannotReadAnalysisFile, "cannot read " + file.string()};
    return decodeAnalysisSettings(text);
}

}  // namespace dyno
