// The frame of the graph: axis divisions, which scales can be drawn, grid dot
// positions and the numbers in the label strips, checked on rendered images.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>

#include "display/GraphImageSupport.h"
#include "display/GraphPalette.h"
#include "display/graph/GraphAxes.h"
#include "display/graph/GraphFrame.h"
#include "display/graph/GraphImages.h"

namespace dyno {
namespace {

using graph_testing::ExpectedLabel;
using graph_testing::Pixel;
using graph_testing::pixelsOfColour;
using graph_testing::stripWithLabels;

GraphScale scaleOf(int startKmh, int endKmh, int startHp, int endHp, int startRpm = 0,
                   int endRpm = 10000) {
    return {startKmh, endKmh, startHp, endHp, startRpm, endRpm};
}

GraphImages render(const std::function<void(GraphCanvas&)>& draw) {
    GraphImages images = GraphImages::create();
    {
        GraphPainters painters(images);
        draw(painters.canvas());
    }
    return images;
}

TEST(GraphAxes, ScalesWithoutDivisionsOrSubPixelSpacingCannotBeDrawn) {
    const auto problem = [](GraphScale scale, bool rpmShown = false) {
        return scaleProblem(scale, rpmShown);
    };
    EXPECT_EQ(problem(scaleOf(0, 150, 0, 20)), ScaleProblem::none);
    EXPECT_EQ(problem(scaleOf(0, 150, 7, 7)), ScaleProblem::powerScale);
    EXPECT_EQ(problem(scaleOf(0, 150, 20, 0)), ScaleProblem::powerScale);
    EXPECT_EQ(problem(scaleOf(0, 150, 0, 12029)), ScaleProblem::none);
    EXPECT_EQ(problem(scaleOf(0, 150, 0, 12030)), ScaleProblem::powerScale);
    EXPECT_EQ(problem(scaleOf(0, 9, 0, 20)), ScaleProblem::speedScale);
    EXPECT_EQ(problem(scaleOf(0, 10, 0, 20)), ScaleProblem::none);
    EXPECT_EQ(problem(scaleOf(150, 0, 0, 20)), ScaleProblem::speedScale);
    EXPECT_EQ(problem(scaleOf(0, 15024, 0, 20)), ScaleProblem::none);
    EXPECT_EQ(problem(scaleOf(0, 15025, 0, 20)), ScaleProblem::speedScale);
    // The whole 32-bit range typed into the boxes: spans do not overflow.
    EXPECT_EQ(problem(scaleOf(-2147483647 - 1, 2147483647, 0, 20)), ScaleProblem::speedScale);
    // The engine-speed span only matters while that axis is drawn.
    EXPECT_EQ(problem(scaleOf(0, 150, 0, 20, 0, 249)), ScaleProblem::none);
    EXPECT_EQ(problem(scaleOf(0, 150, 0, 20, 0, 249), true), ScaleProblem::rpmScale);
    EXPECT_EQ(problem(scaleOf(0, 150, 0, 20, 0, 250), true), ScaleProblem::none);
    EXPECT_EQ(problem(scaleOf(0, 150, 0, 20, 5000, 0), true), ScaleProblem::rpmScale);
}

TEST(GraphFrame, GridDotsOfTwentyHpAndHundredFiftyKmh) {
    const GraphImages images =
        render([](GraphCanvas& canvas) { drawSpeedFrame(canvas, scaleOf(0, 150, 0, 20)); });
    std::set<Pixel> expected;
    // Rows every 40 pixels, a dot every tenth of a 40-pixel column.
    for (int y = 40; y <= 360; y += 40) {
        for (int x = 0; x <= 596; x += 4) expected.insert({x, y});
    }
    // Columns every 40 pixels up to 560, a dot every tenth of a row.
    for (int x = 40; x <= 560; x += 40) {
        for (int y = 4; y <= 396; y += 4) expected.insert({x, y});
    }
    EXPECT_EQ(pixelsOfColour(images.graph, graph::kGridDot), expected);
    EXPECT_EQ(images.graph.pixelColor(1, 1), graph::kBackground);
}

TEST(GraphFrame, HundredNinetyKmhUsesTheTruncatedColumnSpacing) {
    const GraphImages images =
        render([](GraphCanvas& canvas) { drawSpeedFrame(canvas, scaleOf(0, 190, 0, 20)); });
    // 600 / 19 = 31.58: columns at multiples of 31, the last at 558 (589 > 600 - 31).
    std::set<int> fullColumns;
    for (int x = 0; x < 600; ++x) {
        if (images.graph.pixelColor(x, 4) == graph::kGridDot &&
            images.graph.pixelColor(x, 396) == graph::kGridDot) {
            fullColumns.insert(x);
        }
    }
    std::set<int> expected;
    for (int k = 1; k <= 18; ++k) expected.insert(31 * k);
    EXPECT_EQ(fullColumns, expected);
    // Row dots follow the real spacing 3.158: 0, 3, 6, 9, 12, 15, 18, 22.
    for (int x : {0, 3, 6, 9, 12, 15, 18, 22}) {
        EXPECT_EQ(images.graph.pixelColor(x, 40), graph::kGridDot) << x;
    }
    EXPECT_EQ(images.graph.pixelColor(21, 40), graph::kBackground);

    // Labels at 31k - 5 up to 180 (18 x 31 = 558 < 580), the end at 580.
    std::vector<ExpectedLabel> speed{{0, 0, "0"}};
    for (int k = 1; k <= 18; ++k) speed.push_back({31 * k - 5, 0, QString::number(10 * k)});
    speed.push_back({580, 0, "190"});
    EXPECT_EQ(images.axisLabels, stripWithLabels({601, 15}, speed));
}

TEST(GraphFrame, PowerAndSpeedLabelsSitAtTheirPositions) {
    const GraphImages images =
        render([](GraphCanvas& canvas) { drawSpeedFrame(canvas, scaleOf(0, 150, 0, 20)); });

    // 0 at 390; 2..8 at 392 - 40k; 10..18 while 40k < 380; 20 at the top.
    std::vector<ExpectedLabel> power{{0, 390, "0"}};
    for (int k = 1; k <= 9; ++k) power.push_back({0, 392 - 40 * k, QString::number(2 * k)});
    power.push_back({0, 0, "20"});
    EXPECT_EQ(images.powerLabels, stripWithLabels({21, 415}, power));

    // 10..40 at 35, 75, 115, 155; 50..140 at 40k - 5 while 40k < 580; 150 at 580.
    std::vector<ExpectedLabel> speed{{0, 0, "0"}};
    for (int k = 1; k <= 14; ++k) speed.push_back({40 * k - 5, 0, QString::number(10 * k)});
    speed.push_back({580, 0, "150"});
    EXPECT_EQ(images.axisLabels, stripWithLabels({601, 15}, speed));
}

TEST(GraphFrame, RpmScaleAddsBlueRowsAndThousandsOnTheRight) {
    // 30 hp gives 6 power rows, apart from the 10 engine-speed rows.
    const GraphScale scale = scaleOf(0, 150, 0, 30, 0, 10000);
    const GraphImages images = render([&](GraphCanvas& canvas) {
        drawSpeedFrame(canvas, scale);
        drawRpmScale(canvas, scale);
    });
    std::set<int> blueRows;
    for (const auto& [x, y] : pixelsOfColour(images.graph, graph::kRpmGridDot)) blueRows.insert(y);
    EXPECT_EQ(blueRows, (std::set<int>{40, 80, 120, 160, 200, 240, 280, 320, 360}));
    EXPECT_EQ(images.graph.pixelColor(4, 40), graph::kRpmGridDot);  // dots every 600/15/10

    // "0" at 395, 1..4 at 400 - 40k, 5..9 while 40k < 400, "10" at the top.
    std::vector<ExpectedLabel> rpm{{0, 395, "0"}};
    for (int k = 1; k <= 9; ++k) rpm.push_back({0, 400 - 40 * k, QString::number(k)});
    rpm.push_back({0, 0, "10"});
    EXPECT_EQ(images.rpmLabels, stripWithLabels({18, 415}, rpm, graph::kRpmLabel));

    // 0..5000 rpm: fewer than 8 thousands, so ten divisions of 500 (texts in thousands).
    const GraphScale five = scaleOf(0, 150, 0, 30, 0, 5000);
    const GraphImages fiveImages = render([&](GraphCanvas& canvas) { drawRpmScale(canvas, five); });
    std::vector<ExpectedLabel> halves{{0, 395, "0"}};
    for (int k = 1; k <= 9; ++k) halves.push_back({0, 400 - 40 * k, QString::number(k / 2)});
    halves.push_back({0, 0, "5"});
    EXPECT_EQ(fiveImages.rpmLabels, stripWithLabels({18, 415}, halves, graph::kRpmLabel));
}

TEST(GraphFrame, FixedGearingFrameHasEngineSpeedAcrossInHundreds) {
    // 2000..12000 rpm: 10 divisions of 1000, columns every 60 pixels.
    const GraphScale scale = scaleOf(0, 150, 0, 20, 2000, 12000);
    const GraphImages images = render([&](GraphCanvas& canvas) { drawRpmFrame(canvas, scale); });
    std::set<int> fullColumns;
    for (int x = 0; x < 600; ++x) {
        if (images.graph.pixelColor(x, 4) == graph::kGridDot &&
            images.graph.pixelColor(x, 396) == graph::kGridDot) {
            fullColumns.insert(x);
        }
    }
    EXPECT_EQ(fullColumns, (std::set<int>{60, 120, 180, 240, 300, 360, 420, 480, 540}));
    std::vector<ExpectedLabel> across{{0, 0, "20"}};
    for (int k = 1; k <= 9; ++k) across.push_back({60 * k - 5, 0, QString::number(20 + 10 * k)});
    across.push_back({580, 0, "120"});
    EXPECT_EQ(images.axisLabels, stripWithLabels({601, 15}, across));
}

TEST(GraphFrame, HintReplacesTheGridAndEmptiesTheStrips) {
    GraphImages images = render([](GraphCanvas& canvas) {
        drawSpeedFrame(canvas, scaleOf(0, 150, 0, 20));
        drawRpmScale(canvas, scaleOf(0, 150, 0, 20));
        drawScaleHint(canvas, ScaleProblem::speedScale);
    });
    const auto white = pixelsOfColour(images.graph, graph::kGridDot);
    ASSERT_FALSE(white.empty()) << "the hint is written in white";
    for (const auto& [x, y] : white) {
        EXPECT_TRUE(x > 150 && x < 450 && y > 180 && y < 220) << x << "," << y;
    }
    EXPECT_EQ(images.axisLabels, stripWithLabels({601, 15}, {}));
    EXPECT_EQ(images.rpmLabels, stripWithLabels({18, 415}, {}));
}

TEST(GraphPalette, TextIsPlacedByItsTopLeftCorner) {
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(graph::labelFont());
        painter.setPen(Qt::black);
        graph::drawTextAt(painter, 10, 12, "80");
    }
    int left = 60, top = 40, bottom = -1;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (image.pixelColor(x, y) == Qt::white) continue;
            left = std::min(left, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    EXPECT_GE(left, 10);
    EXPECT_LE(left, 12);
    EXPECT_GE(top, 12);
    EXPECT_LE(top, 15);
    EXPECT_LE(bottom, 12 + 13);
}

// The boxes draw their texts from a layout kept between updates; on the page's
// images that must give the pixels of drawing the text directly, a second time too.
TEST(GraphPalette, LaidOutTextDrawsThePixelsOfPlainText) {
    const QStringList texts{"0",       "150",   "12.5", "Maxhp", "Corr.f.", "1.037",
                            "88.8 Hp", "10000", "Rpm",  "-3",    "Km/h 123"};
    TextLayouts layouts;
    for (const QFont& font : {graph::labelFont(), graph::readoutFont()}) {
        QImage laidOut(200, 40, QImage::Format_RGB32);
        QImage plain(200, 40, QImage::Format_RGB32);
        for (const QString& text : texts) {
            for (int round = 0; round < 2; ++round) {
                laidOut.fill(Qt::black);
                plain.fill(Qt::black);
                {
                    QPainter painter(&laidOut);
                    painter.setFont(font);
                    painter.setPen(QColor(0xFF, 0xFF, 0x00));
                    graph::drawTextAt(painter, layouts, 7, 5, text);
                }
                {
                    QPainter painter(&plain);
                    painter.setFont(font);
                    painter.setPen(QColor(0xFF, 0xFF, 0x00));
                    painter.drawText(7, 5 + painter.fontMetrics().ascent(), text);
                }
                EXPECT_EQ(laidOut, plain) << text.toStdString() << " round " << round;
            }
        }
    }
}

}  // namespace
}  // namespace dyno
