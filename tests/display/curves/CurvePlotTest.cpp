// Curve plotting: the spline, where each curve lands, and the per-column cursor
// tables (built in one pass, checked against the samples x columns rule).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "display/GraphImageSupport.h"
#include "display/GraphPalette.h"
#include "display/SyntheticRuns.h"
#include "display/curves/CurvePlot.h"
#include "display/curves/LinePixels.h"
#include "display/curves/PixelTable.h"
#include "display/curves/Spline.h"
#include "display/graph/GraphFrame.h"
#include "evaluation/RunEvaluation.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

using graph_testing::pixelsOfColour;

// The cursor table as the rule reads: every sample of the range against every
// column 0..599.
PixelTable::Values tableBySamplesTimesColumns(std::span<const int> columnOfSample,
                                              std::span<const double> curve, int first, int end) {
    PixelTable::Values values{};
    for (int k = first; k < end; ++k) {
        for (int c = 0; c < 600; ++c) {
            const auto sample = static_cast<std::size_t>(k);
            const auto column = static_cast<std::size_t>(c);
            if (columnOfSample[sample] == c && curve[sample] > 0 &&
                values[column] < curve[sample]) {
                values[column] = curve[sample];
            }
        }
    }
    return values;
}

TEST(Spline, StartsAtTheFirstPointAndSamplesSixTimesPerSegment) {
    const std::vector<SplinePoint> points{{10, 100}, {40, 130}, {70, 100}, {103, 170}, {150, 120}};
    std::vector<QPoint> line;
    appendSplinePolyline(points, 2, line);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.front(), QPoint(10, 100)) << "the pen moves to P[0], not to the first sample";
    // Segment 0 at t = 0.4 is (52.03, 116.91); segment 1 at t = 0.6 is (90.34, 138.75).
    EXPECT_NE(std::find(line.begin(), line.end(), QPoint(52, 116)), line.end());
    EXPECT_NE(std::find(line.begin(), line.end(), QPoint(90, 138)), line.end());
    EXPECT_EQ(line.back(), QPoint(105, 150));
    // The first computed sample, (40, 119.99...), truncates to 119 and is never used.
    EXPECT_EQ(std::find(line.begin(), line.end(), QPoint(40, 119)), line.end());

    std::vector<QPoint> none;
    appendSplinePolyline(points, 0, none);
    appendSplinePolyline(points, 3, none);  // would need six points
    EXPECT_TRUE(none.empty());

    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        SplineScratch scratch;
        drawSpline(painter, points, 2, Qt::red, scratch);
    }
    EXPECT_EQ(image.pixelColor(52, 116), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(90, 138), QColor(Qt::red));
}

TEST(Spline, SamplesBelowRow396ArePushedUnderTheArea) {
    const std::vector<SplinePoint> points{{0, 300}, {10, 397}, {20, 397}, {30, 397}, {40, 397}};
    std::vector<QPoint> line;
    appendSplinePolyline(points, 2, line);
    ASSERT_GE(line.size(), 3u);
    for (std::size_t i = 1; i < line.size(); ++i) {
        EXPECT_TRUE(line[i].y() <= 396 || line[i].y() == 400) << line[i].y();
    }
    EXPECT_EQ(line.back().y(), 400);
}

// The spline as the rule reads: every segment sampled six times, t growing by 0.2,
// samples below row 396 pushed to 400, the pen starting at the first point.
std::vector<QPoint> everySamplePolyline(std::span<const SplinePoint> points, int count) {
    std::vector<QPoint> line;
    if (count < 1) return line;
    line.emplace_back(points[0].x, points[0].y);
    for (int i = 0; i < count; ++i) {
        double t = 0.0;
        for (int sample = 0; sample < 6; ++sample, t += 0.2) {
            const double t2 = t * t, t3 = t2 * t;
            const double b[] = {-t3 / 6 + t2 / 2 - t / 2 + 1.0 / 6, t3 / 2 - t2 + 2.0 / 3,
                                (-t3 + t2 + t) / 2 + 1.0 / 6, t3 / 6};
            double x = 0.0, y = 0.0;
            for (std::size_t j = 0; j < 4; ++j) {
                x += b[j] * points[static_cast<std::size_t>(i) + j].x;
                y += b[j] * points[static_cast<std::size_t>(i) + j].y;
            }
            QPoint p(static_cast<int>(x), static_cast<int>(y));
            if (p.y() > 396) p.setY(400);
            if (i > 0 || sample > 0) line.push_back(p);
        }
    }
    return line;
}

std::vector<QPoint> sortedUnique(std::vector<QPoint> pixels) {
    std::ranges::sort(
        pixels, [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    return pixels;
}

std::vector<QPoint> sortedPixels(std::span<const QPoint> polyline) {
    std::vector<QPoint> pixels;
    appendPolylinePixels(polyline, QRect(0, 0, 600, 400), pixels);
    return sortedUnique(std::move(pixels));
}

// What drawSpline sets on a black image, in the order of sortedPixels.
std::vector<QPoint> drawnPixels(std::span<const SplinePoint> points, int count) {
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        SplineScratch scratch;
        drawSpline(painter, points, count, Qt::red, scratch);
    }
    std::vector<QPoint> pixels;
    for (const auto& [x, y] : pixelsOfColour(image, Qt::red)) pixels.emplace_back(x, y);
    return sortedUnique(std::move(pixels));
}

TEST(Spline, GivesExactlyThePixelsOfDrawingEverySampleAlongEveryEdge) {
    // Curves that wander along each edge of the area, in and out of it, a pixel or
    // two at a time and with jumps, as curves above, below or beside the scale do.
    struct Edge {
        SplinePoint start;
        int spreadX, spreadY;
    };
    const Edge edges[] = {{{300, 397}, 2, 2}, {{300, 0}, 2, 2},   {{0, 200}, 2, 2},
                          {{600, 200}, 2, 2}, {{300, 398}, 0, 1}, {{-1, 200}, 1, 0}};
    std::mt19937 random(7);
    for (const Edge& edge : edges) {
        for (int trial = 0; trial < 200; ++trial) {
            std::uniform_int_distribution<int> stepX(-edge.spreadX, edge.spreadX);
            std::uniform_int_distribution<int> stepY(-edge.spreadY, edge.spreadY);
            std::vector<SplinePoint> points;
            SplinePoint p = edge.start;
            for (int k = 0; k < 40; ++k) {
                p.x = std::clamp(p.x + stepX(random), edge.start.x - 4, edge.start.x + 4);
                p.y = std::clamp(p.y + stepY(random), edge.start.y - 4, edge.start.y + 4);
                points.push_back(p);
            }
            std::vector<QPoint> line;
            appendSplinePolyline(points, 37, line);
            const std::vector<QPoint> expected = sortedPixels(everySamplePolyline(points, 37));
            ASSERT_EQ(sortedPixels(line), expected)
                << "edge at " << edge.start.x << "," << edge.start.y << ", trial " << trial;
            ASSERT_EQ(drawnPixels(points, 37), expected)
                << "edge at " << edge.start.x << "," << edge.start.y << ", trial " << trial;
        }
    }
    // Four points on row 397 give samples on 396: they are drawn.
    const std::vector<SplinePoint> row397{{10, 300}, {20, 397}, {30, 397}, {40, 397},
                                          {50, 397}, {60, 397}, {70, 397}};
    std::vector<QPoint> line;
    appendSplinePolyline(row397, 4, line);
    EXPECT_EQ(sortedPixels(line), sortedPixels(everySamplePolyline(row397, 4)));
    // Curves that stand on one pixel for a while, as they do after the end of a run,
    // and end there or move on.
    for (const int column : {0, 1, 50, 333, 598, 599}) {
        for (const int row : {0, 1, 2, 150, 299, 395, 396, 397, 398, 399}) {
            for (const bool movesOn : {false, true}) {
                std::vector<SplinePoint> standing{{40, 200}, {45, 250}, {48, 300}};
                standing.resize(16, SplinePoint{column, row});
                if (movesOn) standing.insert(standing.end(), {{300, 100}, {310, 90}, {320, 80}});
                const int count = static_cast<int>(standing.size()) - 3;
                ASSERT_EQ(drawnPixels(standing, count),
                          sortedPixels(everySamplePolyline(standing, count)))
                    << column << "," << row << (movesOn ? " and on" : "");
            }
        }
    }
}

// Whole curves of any length (the samples are worked out several segments at a
// time, with a remainder), crossing the area, standing still, and leaping far off
// it and back: the pixels are those of drawing every sample.
TEST(Spline, LongWanderingCurvesGiveThePixelsOfDrawingEverySample) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> step(-3, 3);
    std::uniform_int_distribution<int> anywhere(-1000000, 1000000);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int trial = 0; trial < 60; ++trial) {
        std::vector<SplinePoint> points;
        SplinePoint p{std::uniform_int_distribution<int>(-20, 620)(random),
                      std::uniform_int_distribution<int>(-20, 420)(random)};
        const int length = 4 + trial * 7;
        for (int k = 0; k < length; ++k) {
            const int chance = percent(random);
            if (chance < 3) {
                p = {anywhere(random), anywhere(random)};
            } else if (chance < 6) {
                p = {std::uniform_int_distribution<int>(0, 599)(random),
                     std::uniform_int_distribution<int>(390, 400)(random)};
            } else if (chance < 40) {
                p = {std::clamp(p.x + step(random), -1000000, 1000000),
                     std::clamp(p.y + step(random), -1000000, 1000000)};
            }  // else it stands
            points.push_back(p);
        }
        const int count = length - 3;
        ASSERT_EQ(drawnPixels(points, count), sortedPixels(everySamplePolyline(points, count)))
            << "trial " << trial;
    }
}

TEST(LinePixels, SegmentsStopShortOfTheirEndAndStayInTheArea) {
    const QRect area(0, 0, 600, 400);
    std::vector<QPoint> pixels;
    const std::vector<QPoint> polyline{{10, 10}, {14, 10}, {14, 12}, {11, 15}};
    appendPolylinePixels(polyline, area, pixels);
    EXPECT_EQ(pixels, (std::vector<QPoint>{{10, 10},
                                           {11, 10},
                                           {12, 10},
                                           {13, 10},
                                           {14, 10},
                                           {14, 11},
                                           {14, 12},
                                           {13, 13},
                                           {12, 14}}));

    // A shallow line sets one pixel per column, on the row nearest the true line.
    pixels.clear();
    const std::vector<QPoint> shallow{{0, 0}, {10, 4}};
    appendPolylinePixels(shallow, area, pixels);
    const std::vector<int> nearestRows{0, 0, 1, 1, 2, 2, 2, 3, 3, 4};
    ASSERT_EQ(pixels.size(), nearestRows.size());
    for (std::size_t x = 0; x < pixels.size(); ++x) {
        EXPECT_EQ(pixels[x], QPoint(static_cast<int>(x), nearestRows[x]));
    }

    // Pixels off the area are left out; a segment far outside costs nothing and a
    // huge one is cut to the area before stepping.
    pixels.clear();
    const std::vector<QPoint> offArea{{590, 395}, {610, 405}, {-1000000, 1000000}};
    appendPolylinePixels(offArea, area, pixels);
    for (const QPoint& p : pixels) EXPECT_TRUE(area.contains(p)) << p.x() << "," << p.y();
    EXPECT_EQ(pixels.front(), QPoint(590, 395));
    pixels.clear();
    const std::vector<QPoint> across{{-1000000, 200}, {1000000, 200}};
    appendPolylinePixels(across, area, pixels);
    EXPECT_EQ(pixels.size(), 600u);
}

TEST(PixelTable, OnePassEqualsEverySampleAgainstEveryColumn) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> column(-30, 640);
    std::uniform_real_distribution<double> value(-3.0, 25.0);
    for (int round = 0; round < 20; ++round) {
        std::vector<int> columns(2000);
        std::vector<double> curve(2000);
        for (auto& c : columns) c = column(random);
        for (auto& v : curve) v = value(random);
        // Repeated columns with equal values: the first larger value wins either way.
        columns[10] = columns[11] = 300;
        curve[10] = curve[11] = 7.5;
        const int first = round * 37;
        const int end = 1999 - round * 11;
        PixelTable table;
        table.columnFilled.fill(1);  // must be cleared
        fillColumnTable(columns, curve, first, end, table.powerAtColumn, table.columnFilled);
        EXPECT_EQ(table.powerAtColumn, tableBySamplesTimesColumns(columns, curve, first, end))
            << "round " << round;
        for (int c = 0; c < PixelTable::kColumns; ++c) {
            const auto i = static_cast<std::size_t>(c);
            EXPECT_EQ(table.columnFilled[i] == 1, table.powerAtColumn[i] > 0.0) << c;
        }
    }
}

TEST(PixelTable, GapsTakeTheMeanOfTheNearestPairTryingRightDistancesFirst) {
    PixelTable table;
    const auto fill = [&](int c, double v) {
        table.powerAtColumn[static_cast<std::size_t>(c)] = v;
        table.columnFilled[static_cast<std::size_t>(c)] = 1;
    };
    // Column 100: filled at 101, 102 and 94, not at 95..99 -> mean of 101 and 94.
    fill(94, 2.0);
    fill(101, 6.0);
    fill(102, 8.0);
    // Column 300: nothing filled within 6 on its left -> stays 0.
    fill(301, 5.0);
    fill(293, 5.0);
    // Columns 200..203 are gaps between 199 and 204: a filled gap is no neighbour.
    fill(199, 1.0);
    fill(204, 3.0);
    fillColumnGaps(table.powerAtColumn, table.columnFilled);
    EXPECT_DOUBLE_EQ(table.powerAtColumn[100], 4.0);
    EXPECT_DOUBLE_EQ(table.powerAtColumn[99], 4.0);  // right 2 (101), left 5 (94)
    EXPECT_DOUBLE_EQ(table.powerAtColumn[300], 0.0);
    for (std::size_t c = 200; c <= 203; ++c) EXPECT_DOUBLE_EQ(table.powerAtColumn[c], 2.0) << c;
    EXPECT_DOUBLE_EQ(table.powerAtColumn[0], 0.0);  // no left neighbours at the edge
    EXPECT_EQ(table.columnFilled[100], 0) << "filling a gap does not mark it";
}

// A slot with hand-made curves, a painter on a black graph image and the plot's
// buffers.
class CurvePlotTest : public ::testing::Test {
  protected:
    CurvePlotTest() {
        graph.fill(Qt::black);
        settings.scale = {0, 150, 0, 20, 0, 10000};
        selection.powerShown = true;
    }

    // Speed rising linearly from 20 km/h by `kmhPerSample`, power from `power(k)`,
    // over `samples` samples; zero beyond, as the evaluation leaves it.
    void setCurves(int samples, double kmhPerSample, const std::function<double(int)>& power,
                   const std::function<double(int)>& torque = nullptr) {
        EvaluatedCurves& curves = session().curves;
        curves = EvaluatedCurves{};
        for (int k = 0; k < samples; ++k) {
            const auto i = static_cast<std::size_t>(k);
            curves.speedCurve[i] = 20.0 + kmhPerSample * k;
            curves.powerCurve[i] = power(k);
            if (torque) curves.torqueCurve[i] = torque(k);
        }
    }

    PlotOutcome plot(int slot = 1) {
        QPainter painter(&graph);
        return plotSession(painter, slot, session(), 0, selection, settings, buffers, table);
    }

    TestSession& session() { return model->slot(1); }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    QImage graph{600, 400, QImage::Format_RGB32};
    PlotSettings settings;
    DisplaySelection selection;
    PlotBuffers buffers;
    PixelTable table;
};

TEST_F(CurvePlotTest, PowerCurveFollowsItsCursorTable) {
    // Evaluated synthetic run: every drawn red pixel lies near the row of the power
    // the cursor table gives for its column.
    graph_testing::recordSyntheticRun(session(), 0, graph_testing::SyntheticRun{});
    auto workspace = EvaluationWorkspace::create();
    evaluate(*model, 1, 0, {}, *workspace);
    ASSERT_EQ(plot(), PlotOutcome::drawn);

    // The top red pixel of each column: the drop after the run's end lies below.
    int checked = 0;
    for (int x = 1; x < 599; ++x) {
        const double power = table.powerAtColumn[static_cast<std::size_t>(x)];
        const auto near = [&](int c) { return table.powerAtColumn[static_cast<std::size_t>(c)]; };
        // Where the curve climbs steeply the spline rounds it off; skip those.
        if (power <= 0.0 || std::abs(near(x + 1) - near(x - 1)) * 20 > 2.0) continue;
        int top = 0;
        while (top < 400 && graph.pixelColor(x, top) != graph::powerColour(1)) ++top;
        EXPECT_NEAR(top, 399 - power * 20, 3.0) << "column " << x;
        ++checked;
    }
    EXPECT_GT(checked, 300);
    // The black edge covers the left and bottom borders.
    for (int y = 0; y < 400; ++y) EXPECT_EQ(graph.pixelColor(0, y), QColor(Qt::black)) << y;
    for (int x = 0; x < 599; ++x) EXPECT_EQ(graph.pixelColor(x, 399), QColor(Qt::black)) << x;
}

TEST_F(CurvePlotTest, TablesEqualTheSamplesTimesColumnsRuleForEveryLastCurve) {
    graph_testing::recordSyntheticRun(session(), 0, graph_testing::SyntheticRun{});
    // Engine speed recorded only for the first 1200 samples.
    auto rpm = session().run(0).rpmSamples;
    std::fill(rpm.begin() + 1200, rpm.end(), 0);
    auto workspace = EvaluationWorkspace::create();
    evaluate(*model, 1, 0, {}, *workspace);
    const EvaluatedCurves& curves = session().curves;
    const auto firstAtOrAbove = [](const EvaluatedCurves::Curve& curve, double bottom) {
        int k = 0;
        while (curve[static_cast<std::size_t>(k)] < bottom) ++k;
        return std::max(k - 1, 0);
    };

    struct Case {
        const char* name;
        GraphScale scale;
        bool rpmShown;
        bool torqueShown;
    };
    const Case cases[] = {
        {"power", {0, 150, 0, 20, 0, 10000}, false, false},
        {"zoomed power", {20, 80, 5, 15, 0, 10000}, false, false},
        {"power and engine speed", {0, 150, 0, 20, 0, 10000}, true, false},
        {"power and torque", {0, 150, 2, 20, 0, 10000}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.scale = c.scale;
        settings.rpmAxisShown = c.rpmShown;
        selection.torqueShown = c.torqueShown;
        ASSERT_EQ(plot(), PlotOutcome::drawn);
        int first = firstAtOrAbove(curves.powerCurve, c.scale.startHp);
        int end = 1999;
        if (c.rpmShown) end = 1200 - 3;  // the engine-speed range ends where rpm stops
        if (c.torqueShown) {
            first = firstAtOrAbove(curves.torqueCurve, c.scale.startHp);
            end = 1999;
        }
        PixelTable::Values power =
            tableBySamplesTimesColumns(buffers.plotX, curves.powerCurve, first, end);
        std::array<int, PixelTable::kColumns> filled{};
        for (std::size_t i = 0; i < power.size(); ++i) filled[i] = power[i] > 0.0;
        fillColumnGaps(power, filled);
        EXPECT_EQ(table.powerAtColumn, power);
        if (c.torqueShown) {
            PixelTable::Values torque =
                tableBySamplesTimesColumns(buffers.plotX, curves.torqueCurve, first, end);
            for (std::size_t i = 0; i < torque.size(); ++i) filled[i] = torque[i] > 0.0;
            fillColumnGaps(torque, filled);
            EXPECT_EQ(table.torqueAtColumn, torque);
        }
    }
    // Columns beyond the last engine-speed sample read nothing while rpm is shown.
    settings.scale = {0, 150, 0, 20, 0, 10000};
    settings.rpmAxisShown = true;
    selection.torqueShown = false;
    plot();
    const int lastColumn = buffers.plotX[1196];
    EXPECT_GT(table.powerAtColumn[static_cast<std::size_t>(lastColumn) - 10], 0.0);
    EXPECT_EQ(table.powerAtColumn[static_cast<std::size_t>(lastColumn) + 10], 0.0);
}

TEST_F(CurvePlotTest, CurveStartsOneSampleBeforeTheBottomOfThePowerAxis) {
    setCurves(1500, 0.05, [](int k) { return 0.3 + 0.01 * k; });
    plot();
    EXPECT_EQ(buffers.pointList[0].x, 80) << "first power 0.3 >= 0: starts at sample 0, 20 km/h";
    EXPECT_EQ(buffers.pointList[0].y, static_cast<int>(399 - 0.3 * 20));

    // Zoomed to 10 hp: power reaches 10 at sample 970, the curve starts at 969,
    // below the area, and enters from the bottom edge.
    graph.fill(Qt::black);
    settings.scale = {0, 150, 10, 30, 0, 10000};
    plot();
    const double speed969 = 20.0 + 0.05 * 969;
    EXPECT_EQ(buffers.pointList[0].x, static_cast<int>(speed969 * 4));
    EXPECT_GE(buffers.pointList[0].y, 399);
    bool entersAtBottom = false;
    for (int x = 0; x < 600; ++x) entersAtBottom |= graph.pixelColor(x, 398) == QColor(Qt::red);
    EXPECT_TRUE(entersAtBottom);
}

TEST_F(CurvePlotTest, NothingIsDrawnForAPowerCurveBelowTheScale) {
    setCurves(1500, 0.05, [](int) { return 4.0; });
    table.powerAtColumn.fill(1.5);
    settings.scale = {0, 150, 5, 25, 0, 10000};
    EXPECT_EQ(plot(), PlotOutcome::powerBelowScale);
    EXPECT_TRUE(pixelsOfColour(graph, graph::powerColour(1)).empty());
    EXPECT_EQ(table.powerAtColumn[100], 1.5) << "the tables keep their contents";

    // Torque below the scale: power stays drawn, tables untouched.
    setCurves(
        1500, 0.05, [](int) { return 10.0; }, [](int) { return 1.0; });
    selection.torqueShown = true;
    EXPECT_EQ(plot(), PlotOutcome::torqueBelowScale);
    EXPECT_FALSE(pixelsOfColour(graph, graph::powerColour(1)).empty());
    EXPECT_EQ(table.powerAtColumn[100], 1.5);
}

TEST_F(CurvePlotTest, EachCurveInItsSlotColour) {
    setCurves(
        1900, 0.05, [](int) { return 10.0; }, [](int) { return 15.0; });
    auto rpm = session().run(0).rpmSamples;
    std::fill(rpm.begin(), rpm.begin() + 1900, 6000);
    settings.rpmAxisShown = true;
    selection.torqueShown = true;
    ASSERT_EQ(plot(3), PlotOutcome::drawn);
    // 10 hp -> row 199, 15 -> 99, 6000 rpm -> 399 - 6000 / 25 = 159; the spline may
    // lose the last fraction and land one row up. Away from the drops at the ends,
    // the top pixel of each colour lies on its row.
    const auto topRowAt = [&](int x, const QColor& colour) {
        for (int y = 0; y < 400; ++y) {
            if (graph.pixelColor(x, y) == colour) return y;
        }
        return -1;
    };
    for (int x = 150; x <= 250; ++x) {
        const int power = topRowAt(x, graph::powerColour(3));
        const int torque = topRowAt(x, graph::torqueColour(3));
        const int engine = topRowAt(x, graph::rpmColour(3));
        EXPECT_TRUE(power == 198 || power == 199) << x << ": " << power;
        EXPECT_TRUE(torque == 98 || torque == 99) << x << ": " << torque;
        EXPECT_TRUE(engine == 158 || engine == 159) << x << ": " << engine;
    }
}

TEST_F(CurvePlotTest, AirCurveOnlyWithTorqueShownAndInMphWithTheFactor) {
    setCurves(10, 0.05, [](int) { return 0.0; });
    settings.showAirCurve = true;
    plot();
    EXPECT_TRUE(pixelsOfColour(graph, graph::kAirCurve).empty());

    selection.torqueShown = true;
    plot();
    // Column 300 is 75 km/h: (0.03 x 75)^2 + 0.5 = 5.5625 hp, 111 pixels up.
    EXPECT_EQ(graph.pixelColor(300, 399 - 111), graph::kAirCurve);

    graph.fill(Qt::black);
    settings.speedInMph = true;
    plot();
    // (0.03 x 1.60934 x 75)^2 + 0.5 = 13.6118 hp: 272 pixels up.
    EXPECT_EQ(graph.pixelColor(300, 399 - 272), graph::kAirCurve);
}

TEST_F(CurvePlotTest, WildValuesFromADamagedFileDrawWithoutOverflow) {
    setCurves(
        1999, 0.05,
        [](int k) {
            const double wild[] = {1e300, -1e300, std::nan(""), 3e9, -7e12, 12.0};
            return wild[k % 6];
        },
        [](int k) { return k % 2 ? 1e308 : -1e308; });
    session().curves.speedCurve[500] = 1e300;
    auto rpm = session().run(0).rpmSamples;
    std::fill(rpm.begin(), rpm.end(), 2147483647);
    settings.rpmAxisShown = true;
    selection.torqueShown = true;
    settings.showAirCurve = true;
    settings.airResistance = 1e200;
    EXPECT_EQ(plot(), PlotOutcome::drawn);
    for (double value : table.powerAtColumn) EXPECT_FALSE(std::isnan(value));
}

TEST_F(CurvePlotTest, FixedGearingPutsEngineSpeedAcrossAndTorqueInThePowerColour) {
    // 20..100 km/h at 80 rpm per km/h: 1600..8000 rpm, columns 96..480 of 0..10000.
    setCurves(
        1601, 0.05, [](int) { return 0.0; }, [](int) { return 10.0; });
    session().values.values[SessionValues::kRpmPer100Run0] = 80.0;
    settings.fixedGearing = true;
    settings.rpmAxisShown = true;
    settings.speedOnXAxis = false;
    selection.powerShown = false;
    selection.torqueShown = true;
    ASSERT_EQ(plot(2), PlotOutcome::drawn);
    std::set<int> columns;
    for (const auto& [x, y] : pixelsOfColour(graph, graph::powerColour(2))) {
        if (y == 198 || y == 199) columns.insert(x);
    }
    ASSERT_FALSE(columns.empty());
    EXPECT_NEAR(*columns.begin(), 96, 2);
    EXPECT_NEAR(*columns.rbegin(), 480, 2);
    EXPECT_TRUE(pixelsOfColour(graph, graph::torqueColour(2)).empty());
    EXPECT_DOUBLE_EQ(table.torqueAtColumn[300], 10.0);
}

}  // namespace
}  // namespace dyno
