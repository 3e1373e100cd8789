// Golden curves: a synthetic 50 cc scooter run on a K40 (USB/serial clock, 184 kg
// roller) is evaluated and compared value by value with tests/data/
// evaluation_golden_k40.csv (relative tolerance 1e-9).
//
// When a change to the evaluation is meant to change the curves, regenerate the
// reference on purpose and review the difference before committing it:
//   DYNO_REGENERATE_GOLDEN=1 ./test_evaluation --gtest_filter='EvaluationGolden.*'
// The test then writes the file instead of comparing, and fails so that a run with
// the variable set can never pass as a comparison.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RecordedRun.h"
#include "evaluation/RunEvaluation.h"
#include "model/TextNumbers.h"

namespace dyno {
namespace {

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

const char* const kGoldenPath = DYNO_TEST_DATA_DIR "/evaluation_golden_k40.csv";
constexpr double kTopSpeedKmh = 88.0;

// Wheel power of a tuned 50 cc variomatic scooter, hp: about 1 hp pulling away at
// 20 km/h, 4.5 hp around 55 km/h, falling off towards top speed.
double wheelPowerHp(double speedKmh) {
    const double x = (speedKmh - 55.0) / 28.0;
    return 0.3 + 4.2 * std::exp(-x * x);
}

// On the dyno all that power goes into the roller: a = P / (massFactor x (v - 5)).
double rollerAcceleration(double speedKmh) {
    return wheelPowerHp(speedKmh) / (184.0 / 6727.0 * (speedKmh - 5.0));
}

// Engine rpm of a variomatic: held near its power band while the belt shifts.
double engineRpm(double speedKmh) {
    return 6500.0 + 25.0 * speedKmh;
}

void recordScooterRun(TestSession& session) {
    evaluation_testing::recordRun(
        session, 0, evaluation_testing::DynoUnderTest{}, 20.0, kMaxEvaluatedPeriods,
        [](int, double v) { return rollerAcceleration(v); }, engineRpm);
    // The rider closes the throttle at top speed: the recording ends there.
    auto periods = session.run(0).rollerPeriods;
    const double topSpeedTicks = 2.2176 / kTopSpeedKmh * 2'500'000.0;
    const auto end = std::find_if(periods.begin(), periods.end(),
                                  [&](std::int32_t p) { return p < topSpeedTicks; });
    std::fill(end, periods.end(), 0);
}

struct GoldenRow {
    double time, speed, rpm, power, torque;
};

struct Golden {
    std::string maxima;  // "speed,power,torque" texts
    std::vector<GoldenRow> rows;
};

std::string maximaOf(const EvaluatedCurves& curves) {
    return std::string(curves.maxSpeedText.view()) + "," + std::string(curves.maxPowerText.view()) +
           "," + std::string(curves.maxTorqueText.view());
}

Golden goldenOf(const EvaluatedCurves& curves, const EvaluationWorkspace& work, int points) {
    Golden golden{maximaOf(curves), {}};
    for (int i = 0; i < points; ++i) {
        golden.rows.push_back({work.timeAxis()[at(i)], curves.speedCurve[at(i)],
                               curves.rpmCurve[at(i)], curves.powerCurve[at(i)],
                               curves.torqueCurve[at(i)]});
    }
    return golden;
}

void writeGolden(const Golden& golden) {
    std::ofstream out(kGoldenPath);
    out << "# maxima (speed,power,torque): " << golden.maxima << "\n";
    out << "index,time_s,speed_kmh,rpm,power_hp,torque\n";
    for (std::size_t i = 0; i < golden.rows.size(); ++i) {
        const GoldenRow& r = golden.rows[i];
        out << i << ',' << formatRoundTrip(r.time) << ',' << formatRoundTrip(r.speed) << ','
            << formatRoundTrip(r.rpm) << ',' << formatRoundTrip(r.power) << ','
            << formatRoundTrip(r.torque) << '\n';
    }
}

Golden readGolden() {
    std::ifstream in(kGoldenPath);
    Golden golden;
    std::string line;
    if (!std::getline(in, line)) return golden;
    golden.maxima = line.substr(line.find(": ") + 2);
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string cell;
        std::vector<double> values;
        while (std::getline(fields, cell, ',')) values.push_back(std::stod(cell));
        if (values.size() != 6) continue;
        golden.rows.push_back({values[1], values[2], values[3], values[4], values[5]});
    }
    return golden;
}

void expectClose(double actual, double expected, const char* column, std::size_t row) {
    const double tolerance = 1e-9 * std::max(std::abs(expected), 1e-6);
    EXPECT_NEAR(actual, expected, tolerance) << column << " at index " << row;
}

TEST(EvaluationGolden, ScooterRunOnK40MatchesTheReferenceCurves) {
    auto model = SessionModel::create();
    auto workspace = EvaluationWorkspace::create();
    recordScooterRun(model->slot(1));
    EvaluationOptions options;
    options.rpmCurveShown = true;
    const auto report = evaluate(*model, 1, 0, options, *workspace);
    const Golden actual = goldenOf(model->slot(1).curves, *workspace, report.evalCount);

    // Plausible for a 50 cc scooter whatever the reference says.
    ASSERT_GT(report.evalCount, 500);
    EXPECT_NEAR(std::stod(std::string(model->slot(1).curves.maxPowerText.view())), 4.5, 0.2);

    if (std::getenv("DYNO_REGENERATE_GOLDEN") != nullptr) {
        writeGolden(actual);
        FAIL() << "wrote " << kGoldenPath << "; review it and run again without the variable";
    }

    const Golden expected = readGolden();
    ASSERT_EQ(actual.rows.size(), expected.rows.size()) << "reference " << kGoldenPath;
    EXPECT_EQ(actual.maxima, expected.maxima);
    for (std::size_t i = 0; i < actual.rows.size(); ++i) {
        expectClose(actual.rows[i].time, expected.rows[i].time, "time", i);
        expectClose(actual.rows[i].speed, expected.rows[i].speed, "speed", i);
        expectClose(actual.rows[i].rpm, expected.rows[i].rpm, "rpm", i);
        expectClose(actual.rows[i].power, expected.rows[i].power, "power", i);
        expectClose(actual.rows[i].torque, expected.rows[i].torque, "torque", i);
    }
}

}  // namespace
}  // namespace dyno
