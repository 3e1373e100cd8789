// Save and load of a full session archive: three runs of 2000 revolutions with rpm
// and five analog channels, as a long K40 session leaves slot 1. Goal: a save plus a
// load under 5 ms. Reports the archive size as a counter.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "files/SessionArchive.h"
#include "files/SessionLoading.h"

namespace {

std::unique_ptr<dyno::TestSession> fullSession() {
    auto session = std::make_unique<dyno::TestSession>();
    std::mt19937 noise(1234);
    for (int r = 0; r < dyno::kRunsPerSession; ++r) {
        auto run = session->run(r);
        for (std::size_t i = 0; i < dyno::kSamplesPerRun; ++i) {
            // Revolutions shorten as the scooter accelerates; the clock jitters a few ticks.
            const double speedUp = 1.0 + static_cast<double>(i) / 400.0;
            run.rollerPeriods[i] = static_cast<std::int32_t>(60000 / speedUp) +
                                   static_cast<std::int32_t>(noise() % 40);
            run.rpmSamples[i] = static_cast<std::int32_t>(2500 + i * 4 + noise() % 60);
            for (auto& channel : run.analogSamples) {
                channel[i] = static_cast<std::uint16_t>(300 + (i / 4) % 400 + noise() % 16);
            }
        }
    }
    session->remarkLine1.assign("Full session for the benchmark", 66);
    session->correctionFactor = 1.03;
    return session;
}

class ArchiveFolder {
  public:
    ArchiveFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("dyno-files-bench-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~ArchiveFolder() { std::filesystem::remove_all(path_); }
    std::filesystem::path archive() const { return path_ / "bench.zsd"; }

  private:
    std::filesystem::path path_;
};

void BM_SaveAndLoadFullSession(benchmark::State& state) {
    const auto session1 = fullSession();
    auto slot = std::make_unique<dyno::TestSession>();
    const ArchiveFolder folder;
    const dyno::SavedAirData air{1013, 20, 50};
    for (auto _ : state) {
        if (!dyno::saveSessionArchive(folder.archive(), *session1, air))
            state.SkipWithError("save failed");
        if (!dyno::loadSessionFile(folder.archive(), *slot)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(slot->rollerPeriods.data());
    }
    state.counters["archiveBytes"] =
        static_cast<double>(std::filesystem::file_size(folder.archive()));
}
BENCHMARK(BM_SaveAndLoadFullSession)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_SaveFullSession(benchmark::State& state) {
    const auto session1 = fullSession();
    const ArchiveFolder folder;
    for (auto _ : state) {
        if (!dyno::saveSessionArchive(folder.archive(), *session1, {}))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveFullSession)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadFullSession(benchmark::State& state) {
    const auto session1 = fullSession();
    auto slot = std::make_unique<dyno::TestSession>();
    const ArchiveFolder folder;
    if (!dyno::saveSessionArchive(folder.archive(), *session1, {}))
        state.SkipWithError("save failed");
    for (auto _ : state) {
        if (!dyno::loadSessionFile(folder.archive(), *slot)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(slot->rollerPeriods.data());
    }
}
BENCHMARK(BM_LoadFullSession)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
