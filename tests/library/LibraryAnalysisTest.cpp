// The analysis figures the index keeps of each session: the mean peak engine-side
// power and the spread of the runs' peak power, searched, sorted, and added to an
// index made before they existed. The sessions are one simulated coast-down session
// (tests/data/coast_down_scooter50_seed7.zsd, whose run 1 is its weakest) and
// variations of it.
#include <gtest/gtest.h>

#include <algorithm>

#include "evaluation/SessionAnalysis.h"
#include "files/SessionLoading.h"
#include "library/LibraryFixture.h"

namespace dyno::testing {
namespace {

using Names = std::vector<std::string>;

const std::filesystem::path kRidden = DYNO_TEST_DATA_DIR "/coast_down_scooter50_seed7.zsd";

class LibraryAnalysis : public LibraryFixture {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(archives());
        std::filesystem::copy_file(kRidden, archives() / "ridden.zsd");
        auto session = std::make_unique<TestSession>();
        ASSERT_TRUE(loadSessionFile(kRidden, *session).ok());
        const TestSession ridden = *session;

        // Three copies of run 1: nothing to spread, the weakest run's engine.
        for (int r = 1; r < kRunsPerSession; ++r) {
            std::ranges::copy(ridden.run(0).rollerPeriods, session->run(r).rollerPeriods.begin());
        }
        save(*session, "even.zsd");
        // Run 2 ridden stronger: every revolution 2 % shorter.
        *session = ridden;
        for (std::int32_t& ticks : session->run(1).rollerPeriods) ticks = ticks / 50 * 49;
        save(*session, "uneven.zsd");
        // One run that ends at its top speed: neither figure.
        saveSession(archives() / "plain.zsd", {"Piaggio", "Zip", "", ""});
        scan();
    }

    void save(const TestSession& session, const std::string& name) {
        ASSERT_TRUE(saveSessionArchive(archives() / name, session, SavedAirData{1000, 20, 50}));
    }

    IndexedSession stored(const std::string& name) {
        LibraryIndex index(indexFile());
        return index.find(archives() / name).value();
    }
};

TEST_F(LibraryAnalysis, StoresTheSessionsAnalysisFigures) {
    auto session = std::make_unique<TestSession>();
    ASSERT_TRUE(loadSessionFile(kRidden, *session).ok());
    auto analysis = AnalysisWorkspace::create();
    analyseSession(*session, EvaluationOptions{}, *analysis);
    const SessionStatistics& statistics = analysis->statistics();
    ASSERT_EQ(statistics.peakEnginePower.runs, 3);

    const IndexedSession ridden = stored("ridden.zsd");
    EXPECT_DOUBLE_EQ(ridden.peakEnginePowerHp.value(), statistics.peakEnginePower.mean);
    EXPECT_DOUBLE_EQ(ridden.powerSpreadPercent.value(), statistics.peakWheelPower.spreadPercent);
    EXPECT_EQ(stored("even.zsd").powerSpreadPercent, 0.0);
    const IndexedSession plain = stored("plain.zsd");
    EXPECT_FALSE(plain.peakEnginePowerHp);
    EXPECT_FALSE(plain.powerSpreadPercent);
}

TEST_F(LibraryAnalysis, SortsAndFiltersByTheFiguresSessionsWithoutThemLastOrNotAtAll) {
    LibraryQuery byEngine;
    byEngine.order = LibraryOrder::mostEnginePowerFirst;
    EXPECT_EQ(namesFound(byEngine), (Names{"uneven.zsd", "ridden.zsd", "even.zsd", "plain.zsd"}));
    LibraryQuery bySpread;
    bySpread.order = LibraryOrder::leastSpreadFirst;
    EXPECT_EQ(namesFound(bySpread), (Names{"even.zsd", "ridden.zsd", "uneven.zsd", "plain.zsd"}));

    const IndexedSession ridden = stored("ridden.zsd");
    const double engine = ridden.peakEnginePowerHp.value();
    const double spread = ridden.powerSpreadPercent.value();
    const auto found = [&](std::optional<double> minEngine, std::optional<double> maxSpread) {
        LibraryQuery query = bySpread;
        query.minEnginePowerHp = minEngine;
        query.maxSpreadPercent = maxSpread;
        return namesFound(query);
    };
    EXPECT_EQ(found(engine, {}), (Names{"ridden.zsd", "uneven.zsd"}));
    EXPECT_EQ(found(engine * 1.000001, {}), (Names{"uneven.zsd"}));
    EXPECT_EQ(found({}, spread), (Names{"even.zsd", "ridden.zsd"}));
    EXPECT_EQ(found({}, spread * 0.999999), (Names{"even.zsd"}));
    EXPECT_EQ(found(engine, spread), (Names{"ridden.zsd"}));
}

TEST_F(LibraryAnalysis, AnIndexFromBeforeTheFiguresIsBroughtUpToDateKeepingWhatItHeld) {
    const IndexedSession before = stored("uneven.zsd");
    {
        // The index as the version before the figures made it.
        SqliteDatabase old(indexFile());
        old.execute(
            "DROP INDEX sessions_by_engine_power; DROP INDEX sessions_by_spread;"
            "ALTER TABLE sessions DROP COLUMN engine_power;"
            "ALTER TABLE sessions DROP COLUMN power_spread; PRAGMA user_version = 1");
    }
    {
        LibraryIndex index(indexFile());
        EXPECT_FALSE(index.openReport().rebuilt);
        EXPECT_EQ(index.folders(), std::vector<std::filesystem::path>{indexPath(archives())});
        const IndexedSession kept = index.find(archives() / "uneven.zsd").value();
        EXPECT_EQ(kept.make, before.make);
        EXPECT_EQ(kept.runs[1].maxPowerHp, before.runs[1].maxPowerHp);
        EXPECT_FALSE(kept.peakEnginePowerHp);
    }
    LibraryQuery all;
    EXPECT_EQ(namesFound(all).size(), 4u);
    all.minEnginePowerHp = 0.0;
    EXPECT_EQ(namesFound(all), Names{});

    const ScanReport rescan = scan();
    EXPECT_EQ(rescan.changed, 4);
    EXPECT_EQ(stored("uneven.zsd").peakEnginePowerHp, before.peakEnginePowerHp);
    EXPECT_EQ(namesFound(all).size(), 3u);
}

}  // namespace
}  // namespace dyno::testing
