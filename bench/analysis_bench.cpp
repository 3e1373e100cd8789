// The analysis behind the Analysis page: four sessions of three full-length runs,
// each run evaluated, its coast-down fitted, its engine-side curve formed and the
// session's runs summarised. The goal is all four sessions within 1 ms, and no heap
// allocation at all: the counter "allocations" is per session analysed and must be 0.

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

#include "AllocationCounter.h"
#include "evaluation/DynoConstants.h"
#include "evaluation/SessionAnalysis.h"
#include "model/SessionModel.h"

namespace {

using namespace dyno;

constexpr double kRollerWeightKg = 184.0;

// A scooter-like run on a K40 with the USB/serial clock, for all 2000 entries: from
// 20 km/h up to a lift-off speed under a power curve peaking near 70 km/h, then the
// throttle closed and the roller slowed by losses of a constant and a squared part.
void recordFullRun(TestSession& session, int run, double peakHp) {
    session.header.words[SessionHeader::kDynoModel] = 0;
    session.header.words[SessionHeader::kElectronicsType] = 1;
    session.values.values[SessionValues::kRollerWeight] = kRollerWeightKg;
    const double massFactor = kRollerWeightKg / 6727.0;
    auto samples = session.run(run);
    double speedKmh = 20.0;
    bool pulling = true;
    for (std::size_t i = 0; i < kSamplesPerRun; ++i) {
        const double seconds = kK40SpeedFactor.kmh / speedKmh;
        samples.rollerPeriods[i] = static_cast<std::int32_t>(
            std::lround(seconds * kUsbSerialClockRate) + static_cast<long>(i % 5) - 2);
        samples.rpmSamples[i] = static_cast<std::int32_t>(6500 + 25 * speedKmh);
        const double lossKmhPerS = speedKmh > 15.0 ? 0.8 + 0.00015 * speedKmh * speedKmh : 0.0;
        const double x = (speedKmh - 70.0) / 35.0;
        const double wheelHp = peakHp * std::exp(-x * x);
        const double pullKmhPerS = wheelHp / (massFactor * (speedKmh - 5.0));
        if (speedKmh > 92.0) pulling = false;
        speedKmh += (pulling ? pullKmhPerS : -lossKmhPerS) * seconds;
    }
}

struct AnalysedSlots {
    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::array<std::unique_ptr<AnalysisWorkspace>, kSessionSlots> workspaces;

    AnalysedSlots() {
        for (int slot = 1; slot <= kSessionSlots; ++slot) {
            for (int run = 0; run < kRunsPerSession; ++run) {
                recordFullRun(model->slot(slot), run, 7.0 + 0.2 * run + 0.5 * slot);
            }
            workspaces[static_cast<std::size_t>(slot - 1)] = AnalysisWorkspace::create();
        }
    }

    void analyseAll() {
        for (int slot = 1; slot <= kSessionSlots; ++slot) {
            analyseSession(model->slot(slot), {}, *workspaces[static_cast<std::size_t>(slot - 1)]);
        }
    }
};

void BM_AnalyseFourSessions(benchmark::State& state) {
    AnalysedSlots slots;
    slots.analyseAll();
    for (const auto& workspace : slots.workspaces) {
        for (int run = 0; run < kRunsPerSession; ++run) {
            if (!workspace->run(run).engine.hasEngineSide) {
                state.SkipWithError("a benchmark run lost its engine-side curve");
                return;
            }
        }
    }
    const long before = gAllocations.load();
    for (auto _ : state) {
        slots.analyseAll();
        benchmark::ClobberMemory();
    }
    const long allocations = gAllocations.load() - before;
    state.counters["allocations"] = benchmark::Counter(
        static_cast<double>(allocations) / static_cast<double>(state.iterations() * kSessionSlots));
}
BENCHMARK(BM_AnalyseFourSessions)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
