// The figures of the Analysis page and its print: units, the runs without figures,
// and the line that says whether the runs agree.
#include <gtest/gtest.h>

#include "display/analysis/AnalysisTable.h"

namespace dyno {
namespace {

RunFigures pulled(double power, bool withEngineSide) {
    RunFigures run;
    run.hasData = true;
    run.peakWheelPower = power;
    run.speedAtPeakPower = 61.25;
    run.peakTorque = 17.44;
    run.hasEngineSide = withEngineSide;
    run.peakEnginePower = power + 1.5;
    run.coastDown = withEngineSide ? CoastDownVerdict::kUsable : CoastDownVerdict::kTooShort;
    return run;
}

TEST(AnalysisTable, NamesTheUnitsAndLeavesOutWhatARunHasNot) {
    SessionStatistics statistics;
    statistics.runs = {pulled(3.44, true), pulled(3.5, false), RunFigures{}};
    summariseRuns(statistics);
    const AnalysisTable hp = analysisTableOf(statistics, {false, false});
    EXPECT_EQ(hp.rows[0][1], "3.4 hp");
    EXPECT_EQ(hp.rows[0][2], "61.3 km/h");
    EXPECT_EQ(hp.rows[0][3], "17.4 Nm");
    EXPECT_EQ(hp.rows[0][4], "4.9 hp");
    EXPECT_EQ(hp.rows[1][4], "-") << "no engine side without a usable coast-down";
    EXPECT_EQ(hp.rows[1][5], "Coast-down too short");
    EXPECT_EQ(hp.rows[2][1], "-");
    EXPECT_EQ(hp.rows[2][5], "No roller data in the run");
    EXPECT_EQ(hp.rows[3][0], "Mean");
    EXPECT_EQ(hp.rows[3][4], "4.9 hp") << "the mean of the run that has one";
    EXPECT_EQ(hp.rows[4][0], "Spread");
    EXPECT_EQ(hp.rows[4][4], "-") << "one run has no spread";
    EXPECT_EQ(hp.verdict, "Three runs are needed to tell whether one differs.");

    const AnalysisTable kw = analysisTableOf(statistics, {true, true});
    EXPECT_EQ(kw.rows[0][1], "3.4 kW");
    EXPECT_EQ(kw.rows[0][2], "61.3 mph");
}

TEST(AnalysisTable, TheVerdictNamesTheRunThatDiffersOrSaysTheyAgree) {
    SessionStatistics statistics;
    statistics.runs = {pulled(10.0, true), pulled(10.6, true), pulled(10.0, true)};
    summariseRuns(statistics);
    const AnalysisTable differing = analysisTableOf(statistics, {});
    EXPECT_EQ(differing.verdict, "Run 2 differs from the others by 6.0 %: repeat it.");
    EXPECT_EQ(differing.rows[4][1], "5.9 %");

    statistics.runs[1] = pulled(10.2, true);
    summariseRuns(statistics);
    EXPECT_EQ(analysisTableOf(statistics, {}).verdict, "The runs agree within 3 %.");
}

}  // namespace
}  // namespace dyno
