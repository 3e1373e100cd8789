// The K40 packet dispatch in process: framing plus the handling of each packet, for
// the sample stream of a run transfer and for the live packets that move the Speed
// page's needles. The line delivers at most about 1150 packets a second; the goal is
// a thousand times that. The rider's live view rides along through its tee: its cost
// is what the same live packets take more when the view's feed is fed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "acquisition/ManualClock.h"
#include "acquisition/k40/K40Link.h"
#include "liveview/LiveFeed.h"
#include "liveview/LiveViewTee.h"

namespace dyno {
namespace {

// Hands out a prepared byte stream, as a serial driver with everything already in
// its buffer would.
class MemoryLink final : public ByteLink {
  public:
    explicit MemoryLink(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    bool open(std::string_view) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    std::string errorText() const override { return {}; }
    std::size_t bytesWaiting() const override { return bytes_.size() - at_; }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min(buffer.size(), bytesWaiting());
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), n, buffer.begin());
        at_ += n;
        return n;
    }
    bool write(std::span<const std::uint8_t>) override { return true; }
    void purgeInput() override { at_ = bytes_.size(); }
    void setListener(ByteLinkListener* listener) override { listener_ = listener; }

    void deliverAgain() {
        at_ = 0;
        listener_->bytesReceived();
    }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t at_ = 0;
    ByteLinkListener* listener_ = nullptr;
};

// The Speed page and the message boxes, doing nothing but being called.
class NullViews final : public SequenceView,
                        public LiveDisplay,
                        public K40StatusView,
                        public MessageSink {
  public:
    void showRemoteText(std::string_view, Rgb, Rgb) override {}
    void showRemoteTextInLastColours(std::string_view) override {}
    void showDigit(int digit) override { benchmark::DoNotOptimize(digit); }
    void drawNeedle(Dial, int position, Rgb) override { benchmark::DoNotOptimize(position); }
    void moveK40Marker(int, int, int position) override { benchmark::DoNotOptimize(position); }
    void setLed(bool) override {}
    void showFirmwareVersion(std::string_view, std::string_view) override {}
    void showSampleSetting(std::string_view) override {}
    void showStationValues(const StationDisplayTexts&) override {}
    void showCorrectionFactor(std::string_view) override {}
    void showNoAnswer(std::string_view) override {}
    void show(MessageKind, std::string_view, std::string_view) override {}
};

void append(std::vector<std::uint8_t>& bytes, const K40Packet& packet) {
    bytes.insert(bytes.end(), packet.bytes.begin(), packet.bytes.end());
}

void runDispatch(benchmark::State& bench, const std::vector<std::uint8_t>& stream,
                 bool isLiveViewFed = false) {
    MemoryLink link(stream);
    ManualClock clock;
    NullViews views;
    auto model = SessionModel::create();
    LiveFeed feed;
    LiveViewTee tee(views, views, model->slot(1));
    if (isLiveViewFed) tee.attach(&feed);
    AcquisitionState state;
    K40Link k40({link, clock, tee, tee, views, views}, *model, state);
    K40Start start;
    start.rpmRegistration = 1;
    start.dial = {7'096'320.0, 2'400'000, 150'000'000};
    k40.start(start);
    clock.runUntilIdle();

    const auto packets = static_cast<std::int64_t>(stream.size() / K40Packet::kSize);
    for (auto _ : bench) {
        state.runIndex = 0;
        state.resetCounters();
        link.deliverAgain();
        benchmark::DoNotOptimize(model->slot(1).rollerPeriods.data());
    }
    bench.SetItemsProcessed(bench.iterations() * packets);
}

// A whole run of 2000 revolutions as it is transferred with rpm and five channels:
// "run started", "transfer begins", then packets 18, 19 and 13..17 for each revolution.
void BM_RunTransfer(benchmark::State& bench) {
    std::vector<std::uint8_t> stream;
    // Samples are taken only inside a transfer, announced after the rider's run.
    append(stream, K40Packet::withV32(k40code::kRunStarted, 0));
    append(stream, K40Packet::withV32(k40code::kTransferBegins, 0));
    for (std::uint32_t i = 0; i < kSamplesPerRun; ++i) {
        append(stream, K40Packet::withV32(k40code::kRollerSample, 140'000 - 40 * i));
        append(stream, K40Packet::withV32(k40code::kRpmSample, 25'000 - 5 * i));
        for (std::uint8_t c = 0; c < 5; ++c) {
            append(stream,
                   K40Packet::withV16(static_cast<std::uint8_t>(k40code::kAnalogSample1 + c),
                                      (i * 7 + c) & 0x3FF));
        }
    }
    runDispatch(bench, stream);
}
BENCHMARK(BM_RunTransfer);

// Live packets while the rider rides: needles and both level-bar markers move.
std::vector<std::uint8_t> livePackets() {
    std::vector<std::uint8_t> stream;
    for (std::uint32_t i = 0; i < 4000; ++i) {
        append(stream, K40Packet::withV32(k40code::kLiveSpeed, 30'000 + 13 * (i % 1000)));
        append(stream, K40Packet::withV32(k40code::kLiveRpm, 8'000 + 11 * (i % 1000)));
        append(stream, K40Packet::withV16(k40code::kLiveChannel1, i & 0x3FF));
        append(stream, K40Packet::withV16(k40code::kLiveChannel2, (i * 3) & 0x3FF));
    }
    return stream;
}

void BM_LivePackets(benchmark::State& bench) {
    runDispatch(bench, livePackets());
}
BENCHMARK(BM_LivePackets);

// The same with the rider's live view switched on: every needle also into its feed.
void BM_LivePacketsWithLiveView(benchmark::State& bench) {
    runDispatch(bench, livePackets(), true);
}
BENCHMARK(BM_LivePacketsWithLiveView);

}  // namespace
}  // namespace dyno
