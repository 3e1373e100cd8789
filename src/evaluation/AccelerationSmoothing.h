#pragma once

#include <span>

namespace dyno {

// The three smoothing passes that turn the roller's revolution-to-revolution speed
// changes into a usable acceleration. `points` is the number of smoothed values
// (one less than the counted roller periods); every pass works on the first
// `points` entries of its arrays and never touches anything beyond the arrays.
//
// Window edges: the windows reach before index 0 and past the last acceleration
// value. Those positions count as 0.0, as a zero-cleared array would read, and a
// mean still divides by its full window size; so the values at both ends of a run
// are pulled towards zero. In the moving average the accelerations are entries
// 0 .. points-2: entry points-1 of the raw array still holds a roller frequency
// (revolutions per second), not an acceleration, and must not leak into the mean.

// The moving-average window at a speed: the faster the roller turns, the shorter a
// revolution and the more revolutions are averaged. Speeds are in the displayed
// unit, so with mph the same limits are compared with mph values.
struct SmoothingWindow {
    int before;         // values before the centre
    int after;          // values after the centre
    double reciprocal;  // 1 / (before + 1 + after)
};
SmoothingWindow smoothingWindowAt(double speed);

// smoothAccel[i] = mean of rawAccel over the window chosen by speedCurve[i + 1],
// for i = 0 .. points-1. The window sum is accumulated in index order.
void movingAverageBySpeed(std::span<const double> rawAccel, std::span<const double> speedCurve,
                          int points, std::span<double> smoothAccel);

// Four-point trailing average over i = 0 .. points-2, in place and in increasing
// order: the two earlier terms are the values this pass has already replaced.
void trailingAverageInPlace(std::span<double> smoothAccel, int points);

// Uniform cubic B-spline through i .. i+3 evaluated at its end, i = 0 .. points-1,
// in place: the terms read lie ahead of i and are not yet replaced. Value i ends
// up centred on input i+2, shifting the curve two samples towards the start.
void splinePassInPlace(std::span<double> smoothAccel, int points);

}  // namespace dyno
