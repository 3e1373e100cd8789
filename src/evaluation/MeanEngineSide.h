#pragma once

#include <array>

#include "evaluation/CoastDownLoss.h"
#include "evaluation/SessionStatistics.h"

namespace dyno {

// The session's mean losses and mean engine-side power at the speeds of its mean
// power curve: the loss of each run with a usable coast-down, averaged, added to the
// mean wheel power. Only the speeds every such coast-down covers have a figure, so a
// point never mixes two runs here with three there.
struct MeanEngineSide {
    bool hasEngineSide = false;
    int coastDowns = 0;  // the runs whose losses make the mean
    // The points firstPoint..lastPoint of the mean power curve carry the figures.
    int firstPoint = 0;
    int lastPoint = -1;
    std::array<double, kMeanCurvePoints> lossPower{};
    std::array<double, kMeanCurvePoints> enginePower{};
};

// From the statistics' mean power curve and the runs' coast-downs. Never allocates.
void computeMeanEngineSide(const SessionStatistics& statistics,
                           const std::array<const CoastDownLoss*, kRunsPerSession>& losses,
                           MeanEngineSide& mean);

}  // namespace dyno
