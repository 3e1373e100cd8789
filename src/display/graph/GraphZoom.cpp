#include "display/graph/GraphZoom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "display/graph/GraphAxes.h"

namespace dyno {

namespace {

// Truncates toward zero, held within the 32-bit range of the scale boxes.
std::int64_t truncated(double value) {
    constexpr double kLimit = 4.0e18;
    return static_cast<std::int64_t>(std::clamp(value, -kLimit, kLimit));
}

std::int32_t toBound(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

GraphScale zoomedScale(const GraphScale& scale, bool speedOnXAxis, bool rpmAxisShown,
                       QPoint dragStart, QPoint dragEnd) {
    if (scaleProblem(scale, rpmAxisShown) != ScaleProblem::none) return scale;
    std::int64_t startHp = scale.startHp, endHp = scale.endHp;
    std::int64_t startKmh = scale.startKmh, endKmh = scale.endKmh;
    std::int64_t startRpm = scale.startRpm, endRpm = scale.endRpm;

    const double yS = 400.0 / static_cast<double>(endHp - startHp);
    const double a = (400 - dragStart.y()) / yS;
    const double b = (400 - dragEnd.y()) / yS;
    const double oldStartHp = static_cast<double>(startHp);
    endHp = std::abs(truncated(std::max(a, b) + oldStartHp));
    startHp = std::abs(truncated(std::min(a, b) + oldStartHp));

    if (speedOnXAxis) {
        const double xS = 600.0 / static_cast<double>(endKmh - startKmh);
        const double c = dragStart.x() / xS;
        const double d = dragEnd.x() / xS;
        const double oldStart = static_cast<double>(startKmh);
        endKmh = 10 * truncated((std::max(c, d) + oldStart + 5) * 0.1);
        startKmh = 10 * truncated((std::min(c, d) + oldStart) * 0.1);
    } else {
        const double xR = 600.0 / static_cast<double>(endRpm - startRpm);
        const double c = dragStart.x() / xR;
        const double d = dragEnd.x() / xR;
        const double oldStart = static_cast<double>(startRpm);
        endRpm = 500 * truncated((std::max(c, d) + oldStart + 250) * 0.002);
        startRpm = 500 * truncated((std::min(c, d) + oldStart) * 0.002);
    }

    if (endHp - startHp < 1) endHp = startHp + 1;
    if (endKmh - startKmh < 10) endKmh += 10;
    if (endRpm - startRpm < 500) endRpm += 500;

    return {toBound(startKmh), toBound(endKmh),   toBound(startHp),
            toBound(endHp),    toBound(startRpm), toBound(endRpm)};
}

}  // namespace dyno
