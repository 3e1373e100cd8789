#include "evaluation/AccelerationSmoothing.h"

#include <algorithm>
#include <cstddef>

namespace dyno {

namespace {

// Clamps a count to what an array really holds, so a wrong count can never
// read or write past its end.
int boundedCount(int count, std::size_t size) {
    return std::clamp(count, 0, static_cast<int>(size));
}

// Entry `index` of the first `valid` entries of `values`; 0.0 anywhere else.
double valueOrZero(std::span<const double> values, int valid, int index) {
    return index >= 0 && index < valid ? values[static_cast<std::size_t>(index)] : 0.0;
}

}  // namespace

SmoothingWindow smoothingWindowAt(double speed) {
    // A speed that is not a number falls through to the shortest window.
    if (speed > 80.0) return {8, 8, 1.0 / 17.0};
    if (speed > 60.0) return {6, 7, 1.0 / 14.0};
    if (speed > 40.0) return {5, 5, 1.0 / 11.0};
    if (speed > 30.0) return {4, 4, 1.0 / 9.0};
    return {1, 1, 1.0 / 3.0};
}

void movingAverageBySpeed(std::span<const double> rawAccel, std::span<const double> speedCurve,
                          int points, std::span<double> smoothAccel) {
    const int outputs = boundedCount(points, smoothAccel.size());
    const int accelerations = boundedCount(points - 1, rawAccel.size());
    const int speeds = static_cast<int>(speedCurve.size());
    for (int i = 0; i < outputs; ++i) {
        const SmoothingWindow window = smoothingWindowAt(valueOrZero(speedCurve, speeds, i + 1));
        const int first = std::max(i - window.before, 0);
        const int last = std::min(i + window.after, accelerations - 1);
        // Starting from +0.0, skipping a zero term gives the same sum as adding it.
        double sum = 0.0;
        for (int j = first; j <= last; ++j) sum += rawAccel[static_cast<std::size_t>(j)];
        smoothAccel[static_cast<std::size_t>(i)] = sum * window.reciprocal;
    }
}

void trailingAverageInPlace(std::span<double> smoothAccel, int points) {
    const int valid = boundedCount(points, smoothAccel.size());
    // The two replaced values are carried along instead of read back, which keeps
    // the loop's chain of dependent additions short; the arithmetic is unchanged.
    double replacedTwoBack = 0.0;  // positions before 0 read 0
    double replacedOneBack = 0.0;
    for (int i = 0; i + 1 < valid; ++i) {
        const double current = smoothAccel[static_cast<std::size_t>(i)];
        const double next = smoothAccel[static_cast<std::size_t>(i + 1)];
        const double replaced = (replacedTwoBack + replacedOneBack + current + next) * 0.25;
        smoothAccel[static_cast<std::size_t>(i)] = replaced;
        replacedTwoBack = replacedOneBack;
        replacedOneBack = replaced;
    }
}

void splinePassInPlace(std::span<double> smoothAccel, int points) {
    const int valid = boundedCount(points, smoothAccel.size());
    for (int i = 0; i < valid; ++i) {
        const auto at = [&](int index) { return valueOrZero(smoothAccel, valid, index); };
        smoothAccel[static_cast<std::size_t>(i)] = (at(i + 1) + 4.0 * at(i + 2) + at(i + 3)) / 6.0;
    }
}

}  // namespace dyno
