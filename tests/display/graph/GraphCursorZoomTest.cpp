// The mouse on the graph: the cursor readout read from the tables, the inverting
// line and rubber band, and the zoom with its rounding and minimum spans.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "display/GraphImageSupport.h"
#include "display/GraphPalette.h"
#include "display/graph/GraphCursor.h"
#include "display/graph/GraphZoom.h"

namespace dyno {
namespace {

using graph_testing::pixelsOfColour;

const GraphScale kScale{0, 150, 0, 20, 0, 10000};

TEST(GraphZoom, DragZoomsPowerAndSpeedToRoundedBounds) {
    // a = 15, b = 5 hp; c = 25, d = 75 km/h: end 10 x trunc(8.0), start 10 x trunc(2.5).
    const GraphScale expected{20, 80, 5, 15, 0, 10000};
    EXPECT_EQ(zoomedScale(kScale, true, false, {100, 100}, {300, 300}), expected);
    EXPECT_EQ(zoomedScale(kScale, true, false, {300, 300}, {100, 100}), expected);
    EXPECT_EQ(zoomedScale(kScale, true, false, {300, 100}, {100, 300}), expected);
}

TEST(GraphZoom, ClickWithoutDragKeepsTheMinimumSpans) {
    // At (80, 200): 10 hp to 10 hp becomes 10..11; 20 km/h to 20 km/h becomes 20..30.
    EXPECT_EQ(zoomedScale(kScale, true, false, {80, 200}, {80, 200}),
              (GraphScale{20, 30, 10, 11, 0, 10000}));
    // Engine speed: a span under 500 rpm grows by 500.
    const GraphScale narrowRpm{0, 150, 0, 20, 3000, 3300};
    EXPECT_EQ(zoomedScale(narrowRpm, true, false, {100, 100}, {300, 300}).endRpm, 3800);
}

TEST(GraphZoom, EngineSpeedAcrossZoomsInStepsOf500) {
    // 120..360 of 0..10000 rpm is 2000..6000; speed stays.
    const GraphScale zoomed = zoomedScale(kScale, false, true, {120, 100}, {360, 300});
    EXPECT_EQ(zoomed, (GraphScale{0, 150, 5, 15, 2000, 6000}));
    // The top end rounds up past 250: 6300 rpm ends at 6500.
    EXPECT_EQ(zoomedScale(kScale, false, true, {120, 100}, {378, 300}).endRpm, 6500);
}

TEST(GraphZoom, AScaleThatCannotBeDrawnIsLeftAlone) {
    const GraphScale flat{0, 150, 10, 10, 0, 10000};
    EXPECT_EQ(zoomedScale(flat, true, false, {100, 100}, {300, 300}), flat);
    const GraphScale wide{-2147483647 - 1, 2147483647, 0, 20, 0, 10000};
    EXPECT_EQ(zoomedScale(wide, true, false, {100, 100}, {300, 300}), wide);
}

TEST(GraphCursor, ReadsEveryPlottedSlotAtTheNearestColumn) {
    std::array<DisplaySelection, 4> selections{};
    std::array<PixelTable, 4> tables{};
    selections[0].plotted = true;
    selections[2].plotted = true;
    selections[2].torqueShown = true;
    tables[0].powerAtColumn[0] = 3.25;
    tables[0].powerAtColumn[250] = 12.34;
    tables[0].powerAtColumn[599] = 9.96;
    tables[2].powerAtColumn[250] = 8.0;
    tables[2].torqueAtColumn[250] = 17.05;
    tables[1].powerAtColumn[250] = 5.0;  // slot 2 never plotted

    const CursorReadout at250 = readCursor(selections, tables, 250);
    ASSERT_TRUE(at250[0] && at250[2]);
    EXPECT_FALSE(at250[1] || at250[3]);
    EXPECT_EQ(at250[0]->power, "12.3");
    EXPECT_EQ(at250[0]->y, 10);
    EXPECT_EQ(at250[0]->colour, QColor(0xFF, 0x00, 0x00));
    EXPECT_FALSE(at250[0]->torque);
    EXPECT_EQ(at250[2]->y, 50);
    EXPECT_EQ(at250[2]->colour, QColor(0x00, 0xFF, 0x00));
    EXPECT_EQ(at250[2]->power, "8.0");
    EXPECT_EQ(at250[2]->torque, QString("17.1"));

    EXPECT_EQ(readCursor(selections, tables, -40)[0]->power, "3.2");  // "%.1f" of 3.25
    EXPECT_EQ(readCursor(selections, tables, 640)[0]->power, "10.0");
}

TEST(GraphCursor, ShorterReadingBlanksTheLongerOneBeforeIt) {
    QImage graph(600, 400, QImage::Format_RGB32);
    graph.fill(Qt::black);
    const auto draw = [&](const QString& power) {
        CursorReadout readout;
        readout[1] = CursorReading{2, 30, graph::powerColour(2), power, std::nullopt};
        QPainter painter(&graph);
        drawCursorReadout(painter, readout);
    };
    draw("888.8");
    const auto rightmost = [&] {
        int right = -1;
        for (const auto& [x, y] : pixelsOfColour(graph, graph::powerColour(2))) {
            right = std::max(right, x);
            EXPECT_TRUE(y >= 30 && y < 45) << y;
        }
        return right;
    };
    const int longRight = rightmost();
    ASSERT_GT(longRight, 5);
    draw("1.0");
    const int shortRight = rightmost();
    EXPECT_GE(shortRight, 5);
    EXPECT_LT(shortRight, longRight);
}

TEST(GraphCursor, InvertingLineAndBandVanishWhenDrawnTwice) {
    QImage graph(600, 400, QImage::Format_RGB32);
    graph.fill(Qt::black);
    {
        QPainter painter(&graph);
        painter.fillRect(0, 100, 600, 50, QColor(0xFF, 0x00, 0x00));
    }
    const QImage before = graph.copy();
    {
        QPainter painter(&graph);
        drawInvertedCursorLine(painter, 250);
        drawInvertedRubberBand(painter, {300, 300}, {100, 50});
    }
    EXPECT_EQ(graph.pixelColor(250, 10), QColor(Qt::white));
    EXPECT_EQ(graph.pixelColor(250, 120), QColor(0x00, 0xFF, 0xFF)) << "red inverted";
    EXPECT_EQ(graph.pixelColor(200, 200), QColor(Qt::black));  // inside: hollow
    // The band covers the dragged pixels, corners included, and nothing beyond.
    for (const QPoint onBand : {QPoint(100, 200), QPoint(300, 200), QPoint(200, 50),
                                QPoint(200, 300), QPoint(100, 50), QPoint(300, 300)}) {
        EXPECT_EQ(graph.pixelColor(onBand), QColor(Qt::white)) << onBand.x() << "," << onBand.y();
    }
    for (const QPoint outside :
         {QPoint(99, 200), QPoint(301, 200), QPoint(200, 49), QPoint(200, 301), QPoint(301, 301)}) {
        EXPECT_EQ(graph.pixelColor(outside), QColor(Qt::black))
            << outside.x() << "," << outside.y();
    }
    {
        QPainter painter(&graph);
        drawInvertedCursorLine(painter, 250);
        drawInvertedRubberBand(painter, {100, 50}, {300, 300});
    }
    EXPECT_EQ(graph, before);
}

}  // namespace
}  // namespace dyno
