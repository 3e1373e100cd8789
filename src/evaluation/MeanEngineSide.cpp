#include "evaluation/MeanEngineSide.h"

#include <algorithm>
#include <cstddef>

namespace dyno {

void computeMeanEngineSide(const SessionStatistics& statistics,
                           const std::array<const CoastDownLoss*, kRunsPerSession>& losses,
                           MeanEngineSide& mean) {
    mean = MeanEngineSide{};
    double low = 0.0;
    double high = 0.0;
    for (const CoastDownLoss* loss : losses) {
        if (loss == nullptr || !loss->isUsable()) continue;
        low = mean.coastDowns == 0 ? loss->lowSpeed : std::max(low, loss->lowSpeed);
        high = mean.coastDowns == 0 ? loss->highSpeed : std::min(high, loss->highSpeed);
        ++mean.coastDowns;
    }
    if (mean.coastDowns == 0 || statistics.meanCurvePoints == 0) return;

    for (int k = 0; k < statistics.meanCurvePoints; ++k) {
        const auto at = static_cast<std::size_t>(k);
        const double speed = statistics.meanCurveSpeed[at];
        if (speed < low || speed > high) continue;
        if (mean.lastPoint < mean.firstPoint) mean.firstPoint = k;
        mean.lastPoint = k;
        double loss = 0.0;
        for (const CoastDownLoss* run : losses) {
            if (run != nullptr && run->isUsable()) loss += run->lossPowerAt(speed);
        }
        mean.lossPower[at] = loss / mean.coastDowns;
        mean.enginePower[at] = statistics.meanCurvePower[at] + mean.lossPower[at];
    }
    mean.hasEngineSide = mean.lastPoint >= mean.firstPoint;
}

}  // namespace dyno
