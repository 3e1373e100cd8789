#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "acquisition/SequenceView.h"
#include "acquisition/k40/K40StatusView.h"
#include "model/MessageSink.h"

namespace dyno::test {

inline std::string hexOf(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
    return text;
}

// Records everything the link shows, one line per call, in order, so a test can
// compare what the rider saw: "text Data OK 00FF00/008000", "digit 2",
// "needle speed 120 FFFF00", "marker 1 0->295".
class RecordingDisplay final : public SequenceView, public LiveDisplay, public K40StatusView {
  public:
    void showRemoteText(std::string_view text, Rgb shadow, Rgb font) override {
        log.push_back("text " + std::string(text) + " " + hexOf(shadow) + "/" + hexOf(font));
    }
    void showRemoteTextInLastColours(std::string_view text) override {
        log.push_back("text " + std::string(text) + " in the last colours");
    }
    void showDigit(int digit) override { log.push_back("digit " + std::to_string(digit)); }
    void drawNeedle(Dial dial, int position, Rgb colour) override {
        log.push_back(std::string("needle ") + (dial == Dial::Speed ? "speed " : "rpm ") +
                      std::to_string(position) + " " + hexOf(colour));
    }
    void moveK40Marker(int channel, int oldPosition, int position) override {
        log.push_back("marker " + std::to_string(channel) + " " + std::to_string(oldPosition) +
                      "->" + std::to_string(position));
    }
    void setLed(bool isOn) override { log.push_back(isOn ? "led on" : "led off"); }
    void showFirmwareVersion(std::string_view high, std::string_view low) override {
        log.push_back("version " + std::string(high) + " " + std::string(low));
    }
    void showSampleSetting(std::string_view samples) override {
        log.push_back("samples " + std::string(samples));
    }
    void showStationValues(const StationDisplayTexts& texts) override {
        log.push_back("station " + texts.pressure + " " + texts.temperature + " " + texts.humidity);
    }
    void showCorrectionFactor(std::string_view text) override {
        log.push_back("factor " + std::string(text));
    }
    void showNoAnswer(std::string_view portName) override {
        log.push_back("no answer " + std::string(portName));
    }
    // Kept apart from the log: whether "Stop" is offered.
    void showSessionRunning(bool isRunning) override { isSessionRunning = isRunning; }

    // Lines starting with `prefix`, in order.
    std::vector<std::string> linesStartingWith(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& line : log) {
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        }
        return out;
    }

    std::vector<std::string> log;
    bool isSessionRunning = false;
};

// The modal messages, in order. `onShow` runs while the "box" is open, as the nested
// event loop of a real message box would.
class RecordingMessages final : public MessageSink {
  public:
    void show(MessageKind, std::string_view caption, std::string_view text) override {
        shown.push_back(std::string(caption) + ": " + std::string(text));
        if (onShow) onShow();
    }
    std::vector<std::string> shown;
    std::function<void()> onShow;
};

}  // namespace dyno::test
