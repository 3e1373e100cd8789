#pragma once

#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class QColor;
class QPainter;

// The curves are drawn as uniform cubic B-splines through the plotted samples,
// which smooths the one-pixel steps of the sample positions.
namespace dyno {

struct SplinePoint {
    int x = 0;
    int y = 0;
};

// Appends the polyline of `count` spline segments through `points` (coordinates
// within a million pixels, as toPixel() gives them) to `out`.
// Segment i uses points i..i+3 and is sampled at t = 0, 0.2, .., 1; every sample is
// truncated to a pixel, and one below y 396 is pushed to y 400, just under the
// visible area. The polyline starts at points[0] itself, not at the first sample.
// Needs count + 3 points; nothing for count < 1.
void appendSplinePolyline(std::span<const SplinePoint> points, int count, std::vector<QPoint>& out);

// The same spline at page scale: every sample is held inside `frame` (x clamped to
// its left..right, y to its top..bottom), so a curve running off the scale runs
// along the frame's edge instead. The polyline starts at points[0] itself; repeated
// points are left out.
void appendFramedSplinePolyline(std::span<const SplinePoint> points, int count, const QRect& frame,
                                std::vector<QPoint>& out);

// Room for the samples and pixels of a curve, reused between curves.
struct SplineScratch {
    std::vector<QPoint> polyline;
    std::vector<QPoint> pixels;
    std::array<std::vector<int>, 6> sampleX;  // sample s of every segment
    std::array<std::vector<int>, 6> sampleY;
    std::vector<double> pointX;
    std::vector<double> pointY;
    // Per pen move: the pixel it sets (or a discard place), and whether it is longer
    // than one pixel.
    std::vector<std::uintptr_t> movePixels;
    std::vector<std::uint8_t> moveIsLong;
    // Draws through appendSplinePolyline and its pen moves, the plain way the fast
    // one must match pixel for pixel; for the checks of that.
    bool isDrawnThroughPolyline = false;
};

// Draws that polyline in `colour`: the pen moves to points[0], then draws to every
// sample in turn (see appendPolylinePixels for which pixels a segment sets).
void drawSpline(QPainter& painter, std::span<const SplinePoint> points, int count,
                const QColor& colour, SplineScratch& scratch);

// A real value as a pixel coordinate: truncated toward zero, and held within a
// million pixels of the area so that a wild value cannot overflow (NaN gives 0).
inline int toPixel(double value) {
    constexpr double kLimit = 1.0e6;
    if (value >= -kLimit && value <= kLimit) return static_cast<int>(value);
    if (value > kLimit) return static_cast<int>(kLimit);
    if (value < -kLimit) return -static_cast<int>(kLimit);
    return 0;
}

}  // namespace dyno
