// Both sides of every edge where the graph changes its rule: the spans at which the
// axes switch to coarser divisions, the row below which spline samples are pushed
// under the area, and the farthest neighbour a cursor-table gap is filled from.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "display/curves/LinePixels.h"
#include "display/curves/PixelTable.h"
#include "display/curves/Spline.h"
#include "display/graph/GraphAxes.h"

namespace dyno {
namespace {

struct AxisCase {
    int span;
    std::int64_t divisions;
};

TEST(GraphAxesBandEdges, PowerSpanSwitchesItsDivisionsAtEachEdge) {
    // Counted by hand: D / 30 from 300, / 25 from 250, / 20 from 200, / 15 from
    // 150, / 10 from 50, / 5 from 30, / 2 from 20, else D.
    for (const AxisCase c : {AxisCase{19, 19},
                             {20, 10},
                             {29, 14},
                             {30, 6},
                             {49, 9},
                             {50, 5},
                             {149, 14},
                             {150, 10},
                             {199, 13},
                             {200, 10},
                             {249, 12},
                             {250, 10},
                             {299, 11},
                             {300, 10}}) {
        GraphScale scale;
        scale.startHp = 7;
        scale.endHp = 7 + c.span;
        EXPECT_EQ(powerAxisOf(scale).divisions, c.divisions) << "span " << c.span;
    }
}

TEST(GraphAxesBandEdges, SpeedSpanSwitchesItsDivisionsAtEachEdge) {
    for (const AxisCase c : {AxisCase{199, 19}, {200, 10}, {249, 12}, {250, 10}}) {
        GraphScale scale;
        scale.startKmh = 20;
        scale.endKmh = 20 + c.span;
        EXPECT_EQ(speedAxisOf(scale).divisions, c.divisions) << "span " << c.span;
    }
}

TEST(GraphAxesBandEdges, EngineSpeedFallsBackToFinerStepsBelowEightAndSixDivisions) {
    // Thousands below 8 divisions become 500s; 500s below 6 (counted after the
    // first change) become 250s.
    for (const AxisCase c :
         {AxisCase{8000, 8}, {7999, 15}, {4000, 8}, {3000, 6}, {2999, 11}, {2000, 8}}) {
        GraphScale scale;
        scale.startRpm = 1500;
        scale.endRpm = 1500 + c.span;
        EXPECT_EQ(rpmAxisOf(scale).divisions, c.divisions) << "span " << c.span;
    }
}

TEST(PixelTableBandEdges, GapsAreFilledFromNeighboursUpToSixColumnsAway) {
    struct Case {
        int left, right;
        double expected;  // at column 100
    };
    for (const Case c : {Case{99, 106, 5.0}, {99, 107, 0.0}, {94, 101, 5.0}, {93, 101, 0.0}}) {
        PixelTable table;
        for (const int column : {c.left, c.right}) {
            table.columnFilled[static_cast<std::size_t>(column)] = 1;
        }
        table.powerAtColumn[static_cast<std::size_t>(c.left)] = 2.0;
        table.powerAtColumn[static_cast<std::size_t>(c.right)] = 8.0;
        fillColumnGaps(table.powerAtColumn, table.columnFilled);
        EXPECT_EQ(table.powerAtColumn[100], c.expected) << c.left << ".." << c.right;
    }
}

// The spline as the rule reads, every sample of every segment: the pen moves to the
// first point, then to each sample, one below row 396 taken down to row 400.
std::vector<QPoint> everySample(const std::vector<SplinePoint>& p) {
    std::vector<QPoint> line{{p[0].x, p[0].y}};
    for (std::size_t i = 0; i + 3 < p.size(); ++i) {
        for (double t = 0.0; t <= 1.0; t += 0.2) {
            const double b0 = -t * t * t / 6 + t * t / 2 - t / 2 + 1.0 / 6;
            const double b1 = t * t * t / 2 - t * t + 2.0 / 3;
            const double b2 = (-t * t * t + t * t + t) / 2 + 1.0 / 6;
            const double b3 = t * t * t / 6;
            const int x =
                static_cast<int>(b0 * p[i].x + b1 * p[i + 1].x + b2 * p[i + 2].x + b3 * p[i + 3].x);
            int y =
                static_cast<int>(b0 * p[i].y + b1 * p[i + 1].y + b2 * p[i + 2].y + b3 * p[i + 3].y);
            if (y > 396) y = 400;
            if (i > 0 || t > 0.0) line.emplace_back(x, y);
        }
    }
    return line;
}

QImage blackGraph() {
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// Draws `points` both ways on a black graph: true when the pixels agree.
bool drawsAsEverySample(const std::vector<SplinePoint>& points) {
    QImage drawn = blackGraph();
    QImage reference = blackGraph();
    {
        QPainter painter(&drawn);
        SplineScratch scratch;
        drawSpline(painter, points, static_cast<int>(points.size()) - 3, Qt::red, scratch);
    }
    {
        QPainter painter(&reference);
        std::vector<QPoint> pixels;
        drawPolylinePixels(painter, everySample(points), Qt::red, pixels);
    }
    return drawn == reference;
}

TEST(SplineBandEdges, CurvesAtAndAcrossRow396DrawAsEverySampleDoes) {
    const std::vector<std::vector<SplinePoint>> curves{
        {{0, 380}, {20, 396}, {40, 396}, {60, 396}, {80, 380}},
        {{0, 380}, {20, 397}, {40, 397}, {60, 397}, {80, 380}},
        {{0, 380}, {20, 398}, {40, 398}, {60, 398}, {80, 380}},
        {{0, 399}, {10, 398}, {20, 396}, {30, 395}, {40, 397}, {50, 380}, {60, 399}},
    };
    for (std::size_t n = 0; n < curves.size(); ++n) {
        EXPECT_TRUE(drawsAsEverySample(curves[n])) << "curve " << n;
    }
}

// Four points in a row on row 397 or lower: the weighted sums of the samples can
// truncate to row 396, so such a stretch is not wholly under the area.
TEST(SplineBandEdges, StretchesHeldAtRow397DrawAsEverySampleDoes) {
    EXPECT_TRUE(
        drawsAsEverySample({{0, 397}, {20, 397}, {40, 397}, {60, 397}, {80, 397}, {100, 397}}));
    EXPECT_TRUE(
        drawsAsEverySample({{0, 380}, {20, 397}, {40, 397}, {60, 397}, {80, 397}, {100, 380}}));
}

}  // namespace
}  // namespace dyno
