// Run evaluation on the window thread: one full-length run, and the four slots a
// graph update evaluates. The goal is four slots in well under 0.2 ms, and no heap
// allocation at all: the counter "allocations" is per evaluation call and must be 0.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

#include "AllocationCounter.h"
#include "evaluation/DynoConstants.h"
#include "evaluation/RunEvaluation.h"

namespace {

using namespace dyno;

// A scooter-like run on a K40 with the USB/serial clock: from 20 km/h, the roller
// accelerated by a power curve peaking near 55 km/h, for all 2000 entries.
void recordFullRun(TestSession& session, int run) {
    session.header.words[SessionHeader::kDynoModel] = 0;
    session.header.words[SessionHeader::kElectronicsType] = 1;
    session.values.values[SessionValues::kRollerWeight] = 184.0;
    auto samples = session.run(run);
    double speedKmh = 20.0;
    for (std::size_t i = 0; i < kSamplesPerRun; ++i) {
        const double seconds = kK40SpeedFactor.kmh / speedKmh;
        samples.rollerPeriods[i] =
            static_cast<std::int32_t>(std::lround(seconds * kUsbSerialClockRate));
        samples.rpmSamples[i] = static_cast<std::int32_t>(6500 + 25 * speedKmh);
        const double x = (speedKmh - 55.0) / 28.0;
        const double powerHp = 0.3 + 4.2 * std::exp(-x * x);
        speedKmh += powerHp / (184.0 / 6727.0 * (speedKmh - 5.0)) * seconds * 0.5;
    }
}

// Each slot shows a different run, as a comparison of a session's runs would.
int runShownIn(int slot) {
    return (slot - 1) % kRunsPerSession;
}

EvaluationOptions graphOptions() {
    EvaluationOptions options;
    options.rpmCurveShown = true;
    return options;
}

void reportAllocations(benchmark::State& state, long before, int evaluationsPerIteration) {
    const long allocations = gAllocations.load() - before;
    state.counters["allocations"] =
        benchmark::Counter(static_cast<double>(allocations) /
                           static_cast<double>(state.iterations() * evaluationsPerIteration));
}

void BM_EvaluateFullRun(benchmark::State& state) {
    auto model = SessionModel::create();
    auto workspace = EvaluationWorkspace::create();
    recordFullRun(model->slot(1), 0);
    const EvaluationOptions options = graphOptions();
    const long before = gAllocations.load();
    for (auto _ : state) {
        const auto report = evaluate(*model, 1, 0, options, *workspace);
        benchmark::DoNotOptimize(report);
        benchmark::ClobberMemory();
    }
    reportAllocations(state, before, 1);
}
BENCHMARK(BM_EvaluateFullRun)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_EvaluateFourSlots(benchmark::State& state) {
    auto model = SessionModel::create();
    auto workspace = EvaluationWorkspace::create();
    for (int slot = 1; slot <= kSessionSlots; ++slot) {
        recordFullRun(model->slot(slot), runShownIn(slot));
    }
    const EvaluationOptions options = graphOptions();
    const long before = gAllocations.load();
    for (auto _ : state) {
        for (int slot = 1; slot <= kSessionSlots; ++slot) {
            const auto report = evaluate(*model, slot, runShownIn(slot), options, *workspace);
            benchmark::DoNotOptimize(report);
        }
        benchmark::ClobberMemory();
    }
    reportAllocations(state, before, kSessionSlots);
}
BENCHMARK(BM_EvaluateFourSlots)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
