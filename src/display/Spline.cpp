#include "display/Spline.h"

#include "display/LinePixels.h"

#include <QPainter>
#include <algorithm>
#include <array>

namespace dyno {

namespace {

struct Weights {
    double b0, b1, b2, b3;
};

// The basis weights at the six samples of a segment. t grows by 0.2 from 0 while
// t <= 1, so the samples are the running sums of 0.2.
std::array<Weights, 6> sampleWeights() {
    std::array<Weights, 6> weights{};
    double t = 0.0;
    for (auto& w : weights) {
        const double t2 = t * t;
        const double t3 = t2 * t;
        w.b0 = -t3 / 6 + t2 / 2 - t / 2 + 1.0 / 6;
        w.b1 = t3 / 2 - t2 + 2.0 / 3;
        w.b2 = (-t3 + t2 + t) / 2 + 1.0 / 6;
        w.b3 = t3 / 6;
        t += 0.2;
    }
    return weights;
}

using SegmentSamples = std::array<int, 6>;

// The six samples of the segment through p0..p3, truncated to pixels.
void sampleSegment(const SplinePoint& p0, const SplinePoint& p1, const SplinePoint& p2,
                   const SplinePoint& p3, SegmentSamples& xs, SegmentSamples& ys) {
    static const std::array<Weights, 6> kWeights = sampleWeights();
    // Means of points within a million pixels stay within it: no clamp needed.
    for (std::size_t s = 0; s < kWeights.size(); ++s) {
        const Weights& w = kWeights[s];
        xs[s] = static_cast<int>(w.b0 * p0.x + w.b1 * p1.x + w.b2 * p2.x + w.b3 * p3.x);
        ys[s] = static_cast<int>(w.b0 * p0.y + w.b1 * p1.y + w.b2 * p2.y + w.b3 * p3.y);
    }
}

bool hasPoints(std::span<const SplinePoint> points, int count) {
    return count >= 1 && points.size() >= static_cast<std::size_t>(count) + 3;
}

}  // namespace

void appendSplinePolyline(std::span<const SplinePoint> points, int count,
                          std::vector<QPoint>& out) {
    if (!hasPoints(points, count)) return;
    const auto append = [&out](int x, int y) {
        if (y > 396) y = 400;
        // A repeated point adds nothing to the line; most samples repeat.
        if (out.back().x() != x || out.back().y() != y) out.emplace_back(x, y);
    };
    out.emplace_back(points[0].x, points[0].y);
    for (int i = 0; i < count; ++i) {
        const auto& p0 = points[static_cast<std::size_t>(i)];
        const auto& p1 = points[static_cast<std::size_t>(i) + 1];
        const auto& p2 = points[static_cast<std::size_t>(i) + 2];
        const auto& p3 = points[static_cast<std::size_t>(i) + 3];
        // The samples are weighted means of the four points (no weight is negative):
        // when all four lie beyond one edge of the area, so does every sample, and
        // the line between the segment's first and last sample draws the same
        // (nothing) as the six. Curves running above the scale take this way.
        // The weights sum to a hair under 1, so a mean of points on one pixel row
        // can truncate to the row before: the points must lie one pixel further out
        // than the edge for every truncated sample to stay beyond it.
        const int minX = std::min({p0.x, p1.x, p2.x, p3.x});
        const int maxX = std::max({p0.x, p1.x, p2.x, p3.x});
        const int minY = std::min({p0.y, p1.y, p2.y, p3.y});
        const int maxY = std::max({p0.y, p1.y, p2.y, p3.y});
        // The first segment starts at points[0], not at its first sample: it is drawn
        // whole.
        const bool beyondOneEdge =
            i > 0 && (maxX <= -2 || minX >= 601 || maxY <= -2 || minY >= 398);
        SegmentSamples xs, ys;
        sampleSegment(p0, p1, p2, p3, xs, ys);
        for (std::size_t s = i == 0 ? 1 : 0; s < xs.size(); ++s) {
            // The pen starts at points[0], not at the first sample.
            if (beyondOneEdge && s != 0 && s + 1 != xs.size()) continue;
            append(xs[s], ys[s]);
        }
    }
}

void appendFramedSplinePolyline(std::span<const SplinePoint> points, int count, const QRect& frame,
                                std::vector<QPoint>& out) {
    if (!hasPoints(points, count)) return;
    out.emplace_back(points[0].x, points[0].y);
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        SegmentSamples xs, ys;
        sampleSegment(points[at], points[at + 1], points[at + 2], points[at + 3], xs, ys);
        for (std::size_t s = i == 0 ? 1 : 0; s < xs.size(); ++s) {
            const QPoint point(std::clamp(xs[s], frame.left(), frame.right()),
                               std::clamp(ys[s], frame.top(), frame.bottom()));
            if (out.back() != point) out.push_back(point);
        }
    }
}

namespace {

// Sample (weights w) of every segment in one coordinate, as the rule computes it:
// `coordinates` holds the points' values, `samples` gets one per segment. A plain
// loop over the segments, which the compiler turns into vector arithmetic; each
// lane does exactly what the scalar expression does. A processor with 256-bit
// vectors takes four segments at a time instead of two; the same multiplications
// and additions in the same order (no fused multiply-add), so the same bits.
__attribute__((target_clones("avx2", "default"))) void sampleCoordinate(const double* coordinates, std::size_t segments, const Weights& w,
                      int* samples) {
    for (std::size_t i = 0; i < segments; ++i) {
        samples[i] = static_cast<int>(w.b0 * coordinates[i] + w.b1 * coordinates[i + 1] +
                                      w.b2 * coordinates[i + 2] + w.b3 * coordinates[i + 3]);
    }
}

void computeSamples(std::span<const SplinePoint> points, std::size_t segments,
                    SplineScratch& scratch) {
    static const std::array<Weights, 6> kWeights = sampleWeights();
    const std::size_t n = segments + 3;
    // The engine-speed and torque curves of a slot mostly run through the columns of
    // its power curve: their column samples are those already worked out.
    bool sameColumns = n <= scratch.pointX.size() && segments <= scratch.sampleX[0].size();
    for (std::size_t i = 0; i < n && sameColumns; ++i) {
        sameColumns = scratch.pointX[i] == points[i].x;
    }
    if (!sameColumns) {
        scratch.pointX.resize(n);
        for (std::size_t i = 0; i < n; ++i) scratch.pointX[i] = points[i].x;
    }
    scratch.pointY.resize(n);
    for (std::size_t i = 0; i < n; ++i) scratch.pointY[i] = points[i].y;
    for (std::size_t s = 0; s < kWeights.size(); ++s) {
        if (!sameColumns) {
            scratch.sampleX[s].resize(segments);
            sampleCoordinate(scratch.pointX.data(), segments, kWeights[s],
                             scratch.sampleX[s].data());
        }
        scratch.sampleY[s].resize(segments);
        int* rows = scratch.sampleY[s].data();
        sampleCoordinate(scratch.pointY.data(), segments, kWeights[s], rows);
        for (std::size_t i = 0; i < segments; ++i) rows[i] = rows[i] > 396 ? 400 : rows[i];
    }
}

// The polyline is points[0] followed by every sample but the first; a pen move sets
// the pixels from its start up to, not including, its end. Nearly every move joins
// neighbouring pixels (it sets its start) or stays on one (it sets nothing); longer
// ones are stepped.
void drawSamples(const SplinePoint& start, std::size_t segments, const SplineScratch& scratch,
                 AreaPixels& pixels) {
    // The twelve sample rows are read through plain pointers, not through the
    // vectors, whose data the loop would otherwise fetch again for every sample.
    std::array<const int*, 6> columns{};
    std::array<const int*, 6> rows{};
    for (std::size_t s = 0; s < 6; ++s) {
        columns[s] = scratch.sampleX[s].data();
        rows[s] = scratch.sampleY[s].data();
    }
    int fromX = start.x;
    int fromY = start.y;
    const auto moveTo = [&](int toX, int toY) {
        const int dx = toX - fromX;
        const int dy = toY - fromY;
        if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) {
            pixels.setWhere((dx | dy) != 0, fromX, fromY);
        } else {
            pixels.segment(QPoint(fromX, fromY), QPoint(toX, toY));
        }
        fromX = toX;
        fromY = toY;
    };
    for (std::size_t s = 1; s < 6; ++s) moveTo(columns[s][0], rows[s][0]);
    for (std::size_t i = 1; i < segments; ++i) {
        for (std::size_t s = 0; s < 6; ++s) moveTo(columns[s][i], rows[s][i]);
    }
}

}  // namespace

void drawSpline(QPainter& painter, std::span<const SplinePoint> points, int count,
                const QColor& colour, SplineScratch& scratch) {
    if (scratch.isDrawnThroughPolyline) {
        scratch.polyline.clear();
        appendSplinePolyline(points, count, scratch.polyline);
        drawPolylinePixels(painter, scratch.polyline, colour, scratch.pixels);
        return;
    }
    if (!hasPoints(points, count)) return;
    const auto segments = static_cast<std::size_t>(count);
    computeSamples(points, segments, scratch);
    AreaPixels pixels(painter, colour, scratch.pixels);
    drawSamples(points[0], segments, scratch, pixels);
}

}  // namespace dyno
