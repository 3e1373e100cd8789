#pragma once

// Builds the raw roller periods a vehicle would leave on the dyno, from a known
// acceleration profile, so evaluation tests can state what the curves must show.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>

#include "evaluation/DynoConstants.h"
#include "evaluation/EvaluationWorkspace.h"
#include "evaluation/RunEvaluation.h"
#include "model/SessionModel.h"

namespace dyno::evaluation_testing {

struct DynoUnderTest {
    DynoModel model = DynoModel::K40;
    Electronics electronics = Electronics::UsbSerial;
    std::int16_t rollerCode = 0;
    double rollerWeightKg = 184.0;  // stored with K40 sessions
};

// Speed change in km/h per second at revolution `revolution` and speed `speedKmh`.
using AccelerationProfile = std::function<double(int revolution, double speedKmh)>;

// Engine rpm at a speed, as the acquisition would store it.
using RpmProfile = std::function<double(double speedKmh)>;

inline void describeDyno(TestSession& session, const DynoUnderTest& dyno) {
    session.header.words[SessionHeader::kDynoModel] = static_cast<std::int16_t>(dyno.model);
    session.header.words[SessionHeader::kElectronicsType] =
        static_cast<std::int16_t>(dyno.electronics);
    session.header.words[SessionHeader::kRollerCode] = dyno.rollerCode;
    session.values.values[SessionValues::kRollerWeight] = dyno.rollerWeightKg;
}

// Writes `periods` roller periods into run `run`, starting at `startKmh` and
// following `acceleration` revolution by revolution; entries after them are 0.
inline void recordRun(TestSession& session, int run, const DynoUnderTest& dyno, double startKmh,
                      int periods, const AccelerationProfile& acceleration,
                      const RpmProfile& rpm = nullptr) {
    describeDyno(session, dyno);
    const double speedFactorKmh = speedFactorOf(dyno.model).kmh;
    const double clockRateHz = clockRateOf(dyno.electronics);
    auto runSamples = session.run(run);
    std::fill(runSamples.rollerPeriods.begin(), runSamples.rollerPeriods.end(), 0);
    std::fill(runSamples.rpmSamples.begin(), runSamples.rpmSamples.end(), 0);
    double speedKmh = startKmh;
    for (int i = 0; i < periods; ++i) {
        const double seconds = speedFactorKmh / speedKmh;  // one roller revolution
        const auto index = static_cast<std::size_t>(i);
        runSamples.rollerPeriods[index] =
            static_cast<std::int32_t>(std::lround(seconds * clockRateHz));
        if (rpm)
            runSamples.rpmSamples[index] = static_cast<std::int32_t>(std::lround(rpm(speedKmh)));
        speedKmh += acceleration(i, speedKmh) * seconds;
    }
}

// A run of identical periods: the roller turns at a steady speed.
inline void recordSteadyRun(TestSession& session, int run, const DynoUnderTest& dyno,
                            std::int32_t periodTicks, int periods) {
    describeDyno(session, dyno);
    auto runSamples = session.run(run);
    std::fill(runSamples.rollerPeriods.begin(), runSamples.rollerPeriods.end(), 0);
    std::fill_n(runSamples.rollerPeriods.begin(), periods, periodTicks);
}

// Index of the first speed point at or above `speed`, or -1.
inline int firstIndexAtOrAbove(const EvaluatedCurves::Curve& speedCurve, int count, double speed) {
    for (int i = 0; i < count; ++i) {
        if (speedCurve[static_cast<std::size_t>(i)] >= speed) return i;
    }
    return -1;
}

// One model and workspace per test, made as the program makes them.
class EvaluationTest : public ::testing::Test {
  protected:
    TestSession& slot(int s) { return model->slot(s); }

    EvaluationReport evaluateSlot(int s, int run = 0, const EvaluationOptions& options = {}) {
        return evaluate(*model, s, run, options, *workspace);
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<EvaluationWorkspace> workspace = EvaluationWorkspace::create();
};

}  // namespace dyno::evaluation_testing
