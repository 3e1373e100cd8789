// The session library over 10,000 archives in nested folders (year / month / owner),
// each a three-run session with its own texts and power, generated into a temporary
// folder that is removed afterwards. Goals: a first scan, with every run evaluated,
// within 15 s on two cores; a rescan with nothing changed within 0.5 s; a search as
// the user types within 10 ms. The archives are in the page cache when scanned.
#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/SessionArchive.h"
#include "library/LibraryIndex.h"
#include "library/LibraryScan.h"

namespace {

constexpr int kArchives = 10000;

const std::array<const char*, 8> kMakes = {"Piaggio", "Yamaha", "Gilera", "Peugeot",
                                           "Aprilia", "Kymco",  "Honda",  "Derbi"};
const std::array<const char*, 8> kModels = {"Zip", "Aerox",   "Runner", "Speedfight",
                                            "SR",  "Agility", "Vision", "Senda"};
const std::array<const char*, 6> kWork = {"main jet",     "variator",       "exhaust",
                                          "cylinder kit", "clutch springs", "air filter"};

std::unique_ptr<dyno::TestSession> sessionNumber(int n) {
    auto session = std::make_unique<dyno::TestSession>();
    std::mt19937 noise(static_cast<unsigned>(n));
    for (int r = 0; r < dyno::kRunsPerSession; ++r) {
        auto run = session->run(r);
        // From 20 to 90 km/h on the K40's roller (2.2176 km/h per revolution per
        // second, 2.5 MHz clock); a shorter run is a stronger scooter.
        const int length = 600 + static_cast<int>(noise() % 1000);
        for (int i = 0; i < length; ++i) {
            const double speedKmh = 20.0 + 70.0 * i / length;
            run.rollerPeriods[static_cast<std::size_t>(i)] =
                static_cast<std::int32_t>(2.5e6 * 2.2176 / speedKmh) +
                static_cast<std::int32_t>(noise() % 30);
            run.rpmSamples[static_cast<std::size_t>(i)] = 3000 + 5 * i;
        }
    }
    session->values.values[dyno::SessionValues::kRollerWeight] = 150.0 + n % 97;
    session->header.words[dyno::SessionHeader::kElectronicsType] = 1;
    session->make.assign(kMakes[static_cast<std::size_t>(n) % kMakes.size()], 20);
    session->model.assign(kModels[static_cast<std::size_t>(n / 8) % kModels.size()], 20);
    session->owner.assign("Customer " + std::to_string(n % 700), 22);
    session->remarkLine1.assign(
        std::string("New ") + kWork[static_cast<std::size_t>(n) % 6] + " job " + std::to_string(n),
        66);
    return session;
}

// The generated archives, made once for all benchmarks and removed at exit.
class GeneratedArchives {
  public:
    GeneratedArchives()
        : root_(std::filesystem::temp_directory_path() /
                ("dyno-library-bench-" + std::to_string(std::random_device{}()))) {
        std::atomic<int> next{0};
        std::vector<std::jthread> writers;
        for (unsigned w = 0; w < std::max(1u, std::thread::hardware_concurrency()); ++w) {
            writers.emplace_back([&] {
                for (int n = next++; n < kArchives; n = next++) {
                    const auto folder = archives() / std::to_string(2015 + n % 10) /
                                        std::to_string(1 + n % 12) /
                                        ("customer" + std::to_string(n % 700));
                    std::filesystem::create_directories(folder);
                    const auto archive = folder / ("run" + std::to_string(n) + ".zsd");
                    (void)dyno::saveSessionArchive(archive, *sessionNumber(n), {1000, 20, 50});
                }
            });
        }
    }
    ~GeneratedArchives() { std::filesystem::remove_all(root_); }

    std::filesystem::path archives() const { return root_ / "sessions"; }
    std::filesystem::path indexFile() const { return root_ / "library.sqlite"; }

    void dropIndex() const {
        for (const char* part : {"", "-wal", "-shm"}) {
            std::filesystem::remove(indexFile().string() + part);
        }
    }

    void ensureIndexed() {
        if (indexed_) return;
        dyno::LibraryIndex index(indexFile());
        dyno::scanFolder(index, archives());
        indexed_ = true;
    }

  private:
    std::filesystem::path root_;
    bool indexed_ = false;
};

GeneratedArchives& generated() {
    static GeneratedArchives archives;
    return archives;
}

void BM_FirstScan(benchmark::State& state) {
    auto& archives = generated();
    for (auto _ : state) {
        state.PauseTiming();
        archives.dropIndex();
        state.ResumeTiming();
        dyno::LibraryIndex index(archives.indexFile());
        const auto report = dyno::scanFolder(index, archives.archives());
        if (report.added != kArchives) state.SkipWithError("not every archive was read");
    }
    state.counters["archives"] = kArchives;
    state.counters["threads"] = std::thread::hardware_concurrency();
}
BENCHMARK(BM_FirstScan)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1)->Repetitions(2);

void BM_RescanUnchanged(benchmark::State& state) {
    auto& archives = generated();
    archives.ensureIndexed();
    for (auto _ : state) {
        dyno::LibraryIndex index(archives.indexFile());
        const auto report = dyno::scanFolder(index, archives.archives());
        if (report.unchanged != kArchives) state.SkipWithError("an archive was read again");
    }
}
BENCHMARK(BM_RescanUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// What the "Find sessions" dialog asks as the user types: the words so far, newest
// first; then filters alone, strongest first.
void BM_Search(benchmark::State& state) {
    auto& archives = generated();
    archives.ensureIndexed();
    dyno::LibraryIndex index(archives.indexFile());
    dyno::LibraryQuery query;
    switch (state.range(0)) {
        case 0: query.words = "cust"; break;                 // a prefix found everywhere
        case 1: query.words = "piaggio zip exhaust"; break;  // a few hundred
        case 2: query.words = "job 4711"; break;             // one
        case 3:
            query.sinceNs = dyno::localDayStartNs("2018-01-01");
            query.untilNs = dyno::localDayStartNs("2030-12-31", 1);
            query.minPowerHp = 4.0;
            query.order = dyno::LibraryOrder::mostPowerFirst;
            break;
    }
    query.limit = static_cast<int>(state.range(1));
    std::size_t found = 0;
    for (auto _ : state) {
        found = index.search(query).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_Search)->Unit(benchmark::kMillisecond)->ArgsProduct({{0, 1, 2, 3}, {0, 500}});

}  // namespace
