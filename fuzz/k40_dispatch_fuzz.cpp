// Arbitrary bytes from the K40 line, cut into arbitrary receive events and mixed with
// test starts, rev counter checks, weather requests and time passing. Whatever
// arrives, nothing may be written outside slot 1's runs and the acquisition state must
// stay within its ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>

#include "acquisition/ManualClock.h"
#include "acquisition/k40/K40Link.h"

namespace {

using namespace dyno;

class FuzzLink final : public ByteLink {
  public:
    bool open(std::string_view) override {
        input.clear();
        return true;
    }
    void close() override {}
    bool isOpen() const override { return true; }
    std::string errorText() const override { return {}; }
    std::size_t bytesWaiting() const override { return input.size(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        std::size_t n = 0;
        while (n < buffer.size() && !input.empty()) {
            buffer[n++] = input.front();
            input.pop_front();
        }
        return n;
    }
    bool write(std::span<const std::uint8_t>) override { return true; }
    void purgeInput() override { input.clear(); }
    void setListener(ByteLinkListener* l) override { listener = l; }

    std::deque<std::uint8_t> input;
    ByteLinkListener* listener = nullptr;
};

class QuietViews final : public SequenceView,
                         public LiveDisplay,
                         public K40StatusView,
                         public MessageSink {
  public:
    void showRemoteText(std::string_view, Rgb, Rgb) override {}
    void showRemoteTextInLastColours(std::string_view) override {}
    void showDigit(int digit) override { check(digit >= 1 && digit <= 3); }
    void drawNeedle(Dial, int position, Rgb) override { check(position >= 0 && position <= 320); }
    void moveK40Marker(int channel, int oldPosition, int position) override {
        check(channel == 1 || channel == 2);
        check(oldPosition >= 0 && oldPosition <= 296 && position >= 0 && position <= 296);
    }
    void setLed(bool) override {}
    void showFirmwareVersion(std::string_view, std::string_view) override {}
    void showSampleSetting(std::string_view) override {}
    void showStationValues(const StationDisplayTexts&) override {}
    void showCorrectionFactor(std::string_view) override {}
    void showNoAnswer(std::string_view) override {}
    void show(MessageKind, std::string_view, std::string_view) override {}

    static void check(bool holds) {
        if (!holds) std::abort();
    }
};

void checkState(const AcquisitionState& state) {
    QuietViews::check(state.runIndex >= 0);
    QuietViews::check(state.rollerCount >= 0 && state.rollerCount <= kSamplesPerRun);
    QuietViews::check(state.rpmCount >= 0 && state.rpmCount <= kSamplesPerRun);
    for (const auto count : state.analogCount) {
        QuietViews::check(count >= 0 && count <= kSamplesPerRun);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzLink link;
    ManualClock clock;
    QuietViews views;
    auto model = SessionModel::create();
    AcquisitionState state;
    K40Link k40({link, clock, views, views, views, views}, *model, state);

    K40Start start;
    start.rpmRegistration = 1;
    start.dial = {7'096'320.0, 4'800'000, 300'000'000};
    start.session.gearbox = GearboxType::FixedGearing;

    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t control = data[at++];
        switch (control % 8) {
            case 0:
                start.isRevCounterCheck = false;
                k40.start(start);
                break;
            case 1:
                start.isRevCounterCheck = true;
                k40.start(start);
                break;
            case 2: k40.requestWeather("COM1", 0, K40WeatherSetup{}); break;
            case 3: clock.advance(control * 4); break;
            default: {
                // A receive event with 1..32 bytes.
                const std::size_t n = std::min<std::size_t>(control / 8 + 1, size - at);
                link.input.insert(link.input.end(), data + at, data + at + n);
                at += n;
                link.listener->bytesReceived();
                break;
            }
        }
        checkState(state);
    }
    clock.runUntilIdle();
    checkState(state);
    return 0;
}
