#pragma once

// The end-to-end check of a recorded run: evaluated as the graph would, its peak
// power must be what the simulated vehicle puts on the roller over the speeds the
// run covered, within 2 %.
#include <gtest/gtest.h>

#include <algorithm>

#include "evaluation/RunEvaluation.h"
#include "model/SessionModel.h"
#include "simulator/VehicleProfile.h"

namespace dyno::testing {

inline void expectPeakPowerOfProfile(SessionModel& model, int slot, int run,
                                     const VehicleProfile& vehicle) {
    auto workspace = EvaluationWorkspace::create();
    const EvaluationReport report = evaluate(model, slot, run, EvaluationOptions{}, *workspace);
    ASSERT_GT(report.evalCount, 100);
    const auto& curves = model.slot(slot).curves;
    const auto count = static_cast<std::size_t>(report.evalCount - 1);
    const double peak = *std::max_element(curves.powerCurve.begin(),
                                          curves.powerCurve.begin() + static_cast<long>(count));
    const double expected =
        vehicle.peakWheelPowerHp(curves.speedCurve[0], curves.speedCurve[count - 1]);
    EXPECT_NEAR(peak, expected, expected * 0.02);
}

}  // namespace dyno::testing
