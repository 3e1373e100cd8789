#include "evaluation/CoastDownLoss.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <utility>

namespace dyno {

namespace {

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// Speed point i of the run: the speed curve's point i, and the duration of the
// revolution it belongs to (revolution i+1).
struct SpeedPoints {
    std::span<const double> speeds;
    ConstRollerPeriods periods;
    int count;
    double secondsPerTick;

    double seconds(int i) const { return static_cast<double>(periods[at(i + 1)]) * secondsPerTick; }
    double speed(int i) const { return speeds[at(i)]; }
};

// Least squares of y = c0 + c1 x + c2 x^2, gathered point by point.
class QuadraticFit {
  public:
    void add(double x, double y) {
        double power = 1.0;
        for (int k = 0; k < 5; ++k) {
            xSums_[at(k)] += power;
            if (k < 3) xySums_[at(k)] += power * y;
            power *= x;
        }
    }

    // The coefficients, or false when the x values do not spread enough to fix them.
    bool solve(std::array<double, 3>& coefficients) const {
        // Normal equations: row r reads sum x^(r+k) c_k = sum x^r y.
        double m[3][4];
        for (int r = 0; r < 3; ++r) {
            for (int k = 0; k < 3; ++k) m[r][k] = xSums_[at(r + k)];
            m[r][3] = xySums_[at(r)];
        }
        for (int pivot = 0; pivot < 3; ++pivot) {
            int best = pivot;
            for (int r = pivot + 1; r < 3; ++r) {
                if (std::abs(m[r][pivot]) > std::abs(m[best][pivot])) best = r;
            }
            if (!(std::abs(m[best][pivot]) > 1e-12 * xSums_[0])) return false;
            if (best != pivot) {
                for (int k = 0; k < 4; ++k) std::swap(m[pivot][k], m[best][k]);
            }
            for (int r = 0; r < 3; ++r) {
                if (r == pivot) continue;
                const double f = m[r][pivot] / m[pivot][pivot];
                for (int k = pivot; k < 4; ++k) m[r][k] -= f * m[pivot][k];
            }
        }
        for (int k = 0; k < 3; ++k) coefficients[at(k)] = m[k][3] / m[k][k];
        return true;
    }

  private:
    std::array<double, 5> xSums_{};
    std::array<double, 3> xySums_{};
};

int indexOfPeakSpeed(const SpeedPoints& points) {
    int peak = 0;
    double fastest = points.speed(0);
    for (int i = 1; i < points.count; ++i) {
        if (points.speed(i) > fastest) {
            fastest = points.speed(i);
            peak = i;
        }
    }
    return peak;
}

// The coast-down ends where the roller is slowest after it: a rider who opens the
// throttle again, or the end of the recording.
int indexOfLowestSpeedFrom(const SpeedPoints& points, int first) {
    int lowest = first;
    double slowest = points.speed(first);
    for (int i = first + 1; i < points.count; ++i) {
        if (points.speed(i) < slowest) {
            slowest = points.speed(i);
            lowest = i;
        }
    }
    return lowest;
}

// Deceleration between two neighbouring speed points: their speed difference over
// the time between the middles of their revolutions.
void fitDeceleration(const SpeedPoints& points, CoastDownLoss& loss, QuadraticFit& fit) {
    const double perPeakSpeed = 1.0 / loss.peakSpeed;
    for (int i = loss.firstIndex; i < loss.lastIndex; ++i) {
        const double v0 = points.speed(i);
        const double v1 = points.speed(i + 1);
        const double between = 0.5 * (points.seconds(i) + points.seconds(i + 1));
        fit.add(0.5 * (v0 + v1) * perPeakSpeed, (v0 - v1) / between);
    }
}

CoastDownVerdict judgeAndFit(const SpeedPoints& points, CoastDownLoss& loss) {
    if (points.count < 1) return CoastDownVerdict::kEmptyRun;
    loss.peakIndex = indexOfPeakSpeed(points);
    loss.peakSpeed = points.speed(loss.peakIndex);

    int first = loss.peakIndex;
    for (double settled = 0.0; first + 1 < points.count && settled < kCoastDownSettleSeconds;) {
        ++first;
        settled += points.seconds(first);
    }
    loss.firstIndex = first;
    loss.lastIndex = indexOfLowestSpeedFrom(points, first);
    for (int i = loss.firstIndex + 1; i <= loss.lastIndex; ++i) loss.seconds += points.seconds(i);
    loss.revolutions = loss.lastIndex - loss.firstIndex;
    loss.highSpeed = points.speed(loss.firstIndex);
    loss.lowSpeed = points.speed(loss.lastIndex);

    if (loss.seconds < kMinCoastDownSeconds) return CoastDownVerdict::kTooShort;
    if (loss.revolutions < kMinCoastDownRevolutions) return CoastDownVerdict::kTooFewRevolutions;
    if (loss.highSpeed - loss.lowSpeed < kMinCoastDownSpeedFall * loss.peakSpeed) {
        return CoastDownVerdict::kSpeedRangeTooNarrow;
    }
    QuadraticFit fit;
    fitDeceleration(points, loss, fit);
    if (!fit.solve(loss.decelerationFit)) return CoastDownVerdict::kSpeedRangeTooNarrow;
    return CoastDownVerdict::kUsable;
}

void writeLossCurve(CoastDownLoss& loss) {
    const double step = (loss.highSpeed - loss.lowSpeed) / (kLossCurvePoints - 1);
    for (int k = 0; k < kLossCurvePoints; ++k) {
        const double v = k + 1 == kLossCurvePoints ? loss.highSpeed : loss.lowSpeed + step * k;
        const double deceleration = loss.decelerationAt(v);
        if (!(deceleration > 0.0)) {
            loss.verdict = CoastDownVerdict::kRollerNotSlowing;
            return;
        }
        loss.speed[at(k)] = v;
        loss.lossPower[at(k)] = loss.scale.powerOf(deceleration, v);
        loss.lossTorque[at(k)] = loss.scale.torqueOf(deceleration);
    }
    loss.points = kLossCurvePoints;
}

}  // namespace

std::string_view coastDownVerdictText(CoastDownVerdict verdict) {
    switch (verdict) {
        case CoastDownVerdict::kUsable: return "Coast-down usable";
        case CoastDownVerdict::kEmptyRun: return "No roller data in the run";
        case CoastDownVerdict::kTooShort: return "Coast-down too short";
        case CoastDownVerdict::kTooFewRevolutions:
            return "Too few roller revolutions in the coast-down";
        case CoastDownVerdict::kSpeedRangeTooNarrow: return "Coast-down speed range too narrow";
        case CoastDownVerdict::kRollerNotSlowing:
            return "The roller did not slow on its own in the coast-down";
    }
    return "Coast-down not judged";
}

double CoastDownLoss::decelerationAt(double atSpeed) const {
    const double x = peakSpeed > 0.0 ? atSpeed / peakSpeed : 0.0;
    return decelerationFit[0] + (decelerationFit[1] + decelerationFit[2] * x) * x;
}

void findCoastDownLoss(std::span<const double> speedCurve, int speedPoints,
                       ConstRollerPeriods periods, const EvaluationConstants& constants,
                       const RollerPowerScale& scale, CoastDownLoss& loss) {
    loss = CoastDownLoss{};
    loss.scale = scale;
    // Point i needs period i+1, and the speed curve holds at most one point less
    // than the periods.
    const int count = std::clamp(speedPoints, 0,
                                 std::min(static_cast<int>(speedCurve.size()), kSamplesPerRun - 1));
    const SpeedPoints points{speedCurve, periods, count, 1.0 / constants.clockRateHz};
    loss.verdict = judgeAndFit(points, loss);
    if (loss.isUsable()) writeLossCurve(loss);
}

}  // namespace dyno
