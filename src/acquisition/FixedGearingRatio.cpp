#include "acquisition/FixedGearingRatio.h"

#include <array>

#include "evaluation/DynoConstants.h"
#include "model/SessionHeader.h"
#include "model/SessionModel.h"

namespace dyno {

namespace {

constexpr int kFirstSample = 19;  // the first revolutions are too short to trust
constexpr int kSampleEnd = kSamplesPerRun - 1;
constexpr int kMarginSamples = 20;

}  // namespace

std::optional<double> fixedGearingRatio(const TestSession& session, int run,
                                        double speedDialConstant) {
    if (!SessionModel::isRun(run)) return std::nullopt;
    const ConstTestRun samples = session.run(run);
    const double speedDividend = speedDialConstant / kSpeedDialScale;

    // Roller speed (km/h) and engine rpm per km/h by sample index, from index 19 up to
    // the first sample pair with a zero.
    std::array<double, kSamplesPerRun> speed{};
    std::array<double, kSamplesPerRun> ratio{};
    int processed = 0;
    for (int i = kFirstSample; i < kSampleEnd; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const std::int32_t period = samples.rollerPeriods[at];
        const std::int32_t rpm = samples.rpmSamples[at];
        if (period == 0 || rpm == 0) break;
        speed[at] = speedDividend / period;
        ratio[at] = rpm / speed[at];
        ++processed;
    }

    double sum = 0.0;
    int count = 0;
    for (int k = kMarginSamples; k < processed - kMarginSamples; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (speed[at] > speed[at - 1]) {
            sum += ratio[at];
            ++count;
        }
    }
    if (count <= 1) return std::nullopt;
    return sum / count;
}

void storeFixedGearingRatio(TestSession& session, int run, double speedDialConstant) {
    if (const auto ratio = fixedGearingRatio(session, run, speedDialConstant)) {
        session.values.values[static_cast<std::size_t>(SessionValues::kRpmPer100Run0 + run)] =
            *ratio;
    }
}

}  // namespace dyno
