#include "display/curves/Spline.h"

#include "display/curves/LinePixels.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

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

// Each of these loops is compiled twice, for 256-bit vectors and for any processor,
// and the loader picks one. ThreadSanitizer's runtime is not up yet when the loader
// asks, so its builds keep the plain loop: the bits are the same either way.
#if defined(__SANITIZE_THREAD__)
#define DYNO_VECTOR_CLONES
#else
#define DYNO_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#endif

// Sample (weights w) of every segment in one coordinate, as the rule computes it:
// `coordinates` holds the points' values, `samples` gets one per segment. A plain
// loop over the segments, which the compiler turns into vector arithmetic; each
// lane does exactly what the scalar expression does. A processor with 256-bit
// vectors takes four segments at a time instead of two; the same multiplications
// and additions in the same order (no fused multiply-add), so the same bits.
DYNO_VECTOR_CLONES void sampleCoordinate(const double* coordinates, std::size_t segments,
                                         const Weights& w, int* samples) {
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

// Where the pen moves from (fromX, fromY) to (toX, toY) put a pixel: the start of
// a move to a neighbouring pixel inside the area, else the discard place of
// `image`. Moves longer than that are marked, for stepping. One sample number over
// every segment: a loop the compiler turns into vector arithmetic.
DYNO_VECTOR_CLONES void aimMoves(const int* fromX, const int* fromY, const int* toX, const int* toY,
                                 std::size_t moves, const AreaPixels::Direct& image,
                                 std::uintptr_t* pixel, std::uint8_t* isLong) {
    const auto bits = reinterpret_cast<std::uintptr_t>(image.bits);
    const auto elsewhere = reinterpret_cast<std::uintptr_t>(image.discarded);
    const qsizetype stride = image.stride;
    const unsigned width = image.width;
    const unsigned height = image.height;
    for (std::size_t i = 0; i < moves; ++i) {
        const int x = fromX[i];
        const int y = fromY[i];
        const int dx = toX[i] - x;
        const int dy = toY[i] - y;
        const bool isShort =
            static_cast<unsigned>(dx + 1) <= 2u && static_cast<unsigned>(dy + 1) <= 2u;
        const bool wanted = isShort & ((dx | dy) != 0) & (static_cast<unsigned>(x) < width) &
                            (static_cast<unsigned>(y) < height);
        const std::uintptr_t keep = 0 - static_cast<std::uintptr_t>(wanted);
        const std::uintptr_t at =
            bits +
            static_cast<std::uintptr_t>(static_cast<qsizetype>(y) * stride + x) * sizeof(QRgb);
        pixel[i] = (at & keep) | (elsewhere & ~keep);
        isLong[i] = static_cast<std::uint8_t>(!isShort);
    }
}

// drawSamples() for an image drawn into directly. Every pixel of a curve has one
// colour, so the order the pixels are set in does not matter: the moves are aimed a
// sample number at a time over all segments, their pixels stored in one plain loop,
// and the few long moves stepped after.
void drawSampleMoves(const SplinePoint& start, std::size_t segments, SplineScratch& scratch,
                     AreaPixels& pixels) {
    const AreaPixels::Direct image = pixels.direct();
    const auto& xs = scratch.sampleX;
    const auto& ys = scratch.sampleY;
    // Block s holds the moves onto sample s of every segment. Moves onto sample 0
    // come from sample 5 of the segment before, so block 0 starts at segment 1; the
    // pen starts at `start` and reaches sample 1 of segment 0 first.
    const std::size_t total = 6 * segments;
    scratch.movePixels.resize(total);
    scratch.moveIsLong.resize(total);
    std::uintptr_t* pixel = scratch.movePixels.data();
    std::uint8_t* isLong = scratch.moveIsLong.data();
    for (std::size_t s = 1; s < 6; ++s) {
        aimMoves(xs[s - 1].data(), ys[s - 1].data(), xs[s].data(), ys[s].data(), segments, image,
                 pixel + s * segments, isLong + s * segments);
    }
    aimMoves(xs[5].data(), ys[5].data(), xs[0].data() + 1, ys[0].data() + 1, segments - 1, image,
             pixel, isLong);
    pixel[segments - 1] = reinterpret_cast<std::uintptr_t>(image.discarded);
    isLong[segments - 1] = 0;
    // The first move starts at `start`, not at sample 0 of segment 0.
    const int firstX[] = {start.x};
    const int firstY[] = {start.y};
    aimMoves(firstX, firstY, xs[1].data(), ys[1].data(), 1, image, pixel + segments,
             isLong + segments);

    for (std::size_t k = 0; k < total; ++k) *reinterpret_cast<QRgb*>(pixel[k]) = image.rgb;

    // Long moves are few: eight marks at a time are passed over while none is set.
    for (std::size_t k = 0; k < total; ++k) {
        if (k % 8 == 0 && k + 8 <= total) {
            std::uint64_t eight;
            std::memcpy(&eight, isLong + k, sizeof eight);
            if (eight == 0) {
                k += 7;
                continue;
            }
        }
        if (isLong[k] == 0) continue;
        const std::size_t s = k / segments;
        const std::size_t i = k % segments;
        if (s == 0) {
            pixels.segment(QPoint(xs[5][i], ys[5][i]), QPoint(xs[0][i + 1], ys[0][i + 1]));
        } else if (s == 1 && i == 0) {
            pixels.segment(QPoint(start.x, start.y), QPoint(xs[1][0], ys[1][0]));
        } else {
            pixels.segment(QPoint(xs[s - 1][i], ys[s - 1][i]), QPoint(xs[s][i], ys[s][i]));
        }
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
    if (pixels.isDirect()) {
        drawSampleMoves(points[0], segments, scratch, pixels);
    } else {
        drawSamples(points[0], segments, scratch, pixels);
    }
}

}  // namespace dyno
