// The card's polling loop against the simulated card: how many port accesses a
// second the sequence and the simulated bus sustain together (the loop must never be
// what limits a real card), and the fastest roller the card still times revolution
// by revolution when every access costs what one access of the port device costs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "acquisition/card/CardSequence.h"
#include "evaluation/DynoPreparation.h"
#include "model/SessionModel.h"
#include "simulator/SimulatedCard.h"

namespace {

using namespace dyno;

class Quiet final : public SequenceView,
                    public LiveDisplay,
                    public CardMarkerDisplay,
                    public MessageSink {
  public:
    void showRemoteText(std::string_view, Rgb, Rgb) override {}
    void showRemoteTextInLastColours(std::string_view) override {}
    void showDigit(int) override {}
    void drawNeedle(Dial, int, Rgb) override {}
    void moveK40Marker(int, int, int) override {}
    void moveCardMarker(int, int, int) override {}
    void show(MessageKind, std::string_view, std::string_view) override {}
};

CardStart startFor(const VehicleProfile& vehicle) {
    CardStart start;
    start.rpm = prepareRpm(TestTypeButtons(vehicle.ignitionDegrees == 720 ? TestType::Degrees720
                                                                          : TestType::Degrees360),
                           "360", DynoModel::K70, RpmConstants{})
                    .constants;
    start.channels = {true, true, false, false, false};
    start.session.speedDialConstant =
        prepareDyno({}, DynoModel::K70, Electronics::Card, {}).constants.speedDialConstant;
    return start;
}

// A whole three-run session of the bike, 1 µs of card time per access.
void BM_CardSessionPortAccesses(benchmark::State& state) {
    const VehicleProfile& vehicle = *findVehicleProfile("bike125");
    auto model = SessionModel::create();
    Quiet quiet;
    std::uint64_t accesses = 0;
    for (auto _ : state) {
        SimulatedCard card(vehicle, SimulatedCardOptions{});
        CardSequence sequence({card, card, quiet, quiet, quiet, quiet}, model->slot(1));
        benchmark::DoNotOptimize(sequence.run(startFor(vehicle)));
        accesses += card.accesses();
    }
    state.counters["accesses/s"] =
        benchmark::Counter(static_cast<double>(accesses), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CardSessionPortAccesses)->Unit(benchmark::kMillisecond);

// One pread of /dev/port where the machine allows it; else the 1 µs a port access
// takes on an ISA-style bus.
double portAccessUs() {
    const int fd = ::open("/dev/port", O_RDONLY);
    if (fd < 0) return 1.0;
    constexpr int kReads = 2000;
    unsigned char byte = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < kReads; ++i) {
        if (::pread(fd, &byte, 1, 0x80) != 1) break;
    }
    const auto end = std::chrono::steady_clock::now();
    ::close(fd);
    return std::chrono::duration<double, std::micro>(end - begin).count() / kReads;
}

// The fastest roller speed whose revolutions all arrive as sample pairs, at the
// measured cost of one port access. The roller signal is polled every access, so a
// half revolution must outlast the work between the falling edge and the next
// rising-edge wait: the falling pair read with its check and reload (10 accesses),
// the ignition's reload and pair read (10 besides its waits), two channels (10) and
// the remote check (1); the rising side the same less the ignition. An estimate from
// the access count, not a run: the simulated ride cannot hold such speeds.
void BM_FastestRollerTimedWithoutLoss(benchmark::State& state) {
    double accessUs = 0.0;
    double fastestKmh = 0.0;
    for (auto _ : state) {
        accessUs = portAccessUs();
        constexpr double kAccessesBetweenEdges = 10.0 + 10.0 + 10.0 + 1.0;
        const double halfRevolutionS = kAccessesBetweenEdges * accessUs * 1e-6;
        fastestKmh = kK70SpeedFactor.kmh / (2.0 * halfRevolutionS);
        benchmark::DoNotOptimize(fastestKmh);
    }
    state.counters["access_us"] = accessUs;
    state.counters["fastest_kmh"] = fastestKmh;
}
BENCHMARK(BM_FastestRollerTimedWithoutLoss)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
