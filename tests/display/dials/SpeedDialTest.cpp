// The Speed page's dials on images: needle tables, needle lines, the dial picture and
// the marker rectangles above the level bars.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <utility>

#include "display/dials/SpeedDial.h"
#include "evaluation/DynoPreparationChannels.h"

namespace dyno::speedo {
namespace {

const QColor kYellow{255, 255, 0};

QImage blackBox() {
    QImage image(kPaintBoxSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

bool isColour(const QImage& image, int x, int y, const QColor& colour) {
    return QColor(image.pixel(x, y)) == colour;
}

TEST(NeedleTable, EndsFollowTheDialGeometry) {
    const DialTables tables;
    // Straight down and straight left, as the rider reads 0 and 90 positions.
    EXPECT_EQ(tables.speed.end(0), QPoint(195, 447));
    EXPECT_EQ(tables.speed.end(90), QPoint(50, 303));
    EXPECT_EQ(tables.rpm.end(0), QPoint(588, 447));
    EXPECT_EQ(tables.rpm.end(90), QPoint(443, 303));
    EXPECT_EQ(tables.of(Dial::Rpm).centre, QPoint(588, 303));

    for (const NeedleTable* table : {&tables.speed, &tables.rpm}) {
        QPoint previous = table->end(0);
        for (int k = 0; k < kNeedleTableEntries; ++k) {
            const QPoint end = table->end(k);
            const QPoint arm = end - table->centre;
            const double length = std::hypot(arm.x(), arm.y());
            EXPECT_NEAR(length, kNeedleLength, 1.5) << "position " << k;
            EXPECT_LE((end - previous).manhattanLength(), 4) << "one degree apart at " << k;
            previous = end;
        }
        // Clockwise on the screen: down, then left, up, right and down to the right.
        EXPECT_LT(table->end(45).x(), table->centre.x());
        EXPECT_GT(table->end(45).y(), table->centre.y());
        EXPECT_LT(table->end(180).y(), table->centre.y() - 140);
        EXPECT_GT(table->end(270).x(), table->centre.x() + 140);
        EXPECT_GT(table->end(320).x(), table->centre.x());
        EXPECT_GT(table->end(320).y(), table->centre.y());
        EXPECT_EQ(table->end(400), table->end(359)) << "clamped, never read past the table";
        EXPECT_EQ(table->end(-3), table->end(0));
    }
}

TEST(NeedleTable, EveryEntryAsTheDialFormulaGivesIt) {
    // Position k turns 90 + k degrees from the right (k - 270 past 270), 145 pixels
    // long, with 3.14159 for pi, truncated toward zero.
    const DialTables tables;
    for (const auto& [table, centreX] : {std::pair{&tables.speed, 195}, {&tables.rpm, 588}}) {
        for (int k = 0; k < 360; ++k) {
            const double degrees = k < 270 ? 90.0 + k : k - 270.0;
            const double a = degrees * 3.14159 / 180;
            const QPoint expected(static_cast<int>(145 * std::cos(a) + centreX),
                                  static_cast<int>(145 * std::sin(a) + 303));
            EXPECT_EQ(table->end(k), expected) << centreX << " position " << k;
        }
    }
}

TEST(NeedleLine, RunsFromTheCentreAndLeavesOutItsEndPoint) {
    const DialTables tables;
    QImage image = blackBox();
    {
        QPainter painter(&image);
        drawNeedle(painter, tables.speed, 0, kYellow);
        drawNeedle(painter, tables.speed, 90, kYellow);
    }
    for (int y = 303; y < 447; ++y) EXPECT_TRUE(isColour(image, 195, y, kYellow)) << y;
    EXPECT_FALSE(isColour(image, 195, 447, kYellow));
    for (int x = 51; x <= 195; ++x) EXPECT_TRUE(isColour(image, x, 303, kYellow)) << x;
    EXPECT_FALSE(isColour(image, 50, 303, kYellow));
    EXPECT_FALSE(isColour(image, 196, 304, kYellow)) << "one pixel wide";

    // Drawn black over itself, nothing of the needle is left.
    {
        QPainter painter(&image);
        drawNeedle(painter, tables.speed, 0, Qt::black);
    }
    for (int y = 304; y < 447; ++y) EXPECT_TRUE(isColour(image, 195, y, Qt::black)) << y;
}

TEST(DialPicture, ArcsTicksAndTheRedZoneLieWhereTheNeedlesPoint) {
    const QImage picture = dialPicture();
    ASSERT_EQ(picture.size(), QSize(781, 538));
    const QPointF speed(195, 303);
    const QPointF rpm(588, 303);
    const auto at = [](QPointF centre, double position, double radius) {
        const double a = (position < 270 ? 90 + position : position - 270) * M_PI / 180;
        return QPoint(static_cast<int>(std::lround(centre.x() + radius * std::cos(a))),
                      static_cast<int>(std::lround(centre.y() + radius * std::sin(a))));
    };
    const auto colourAt = [&](QPoint p) { return QColor(picture.pixel(p)); };
    const auto isGreen = [](QColor c) { return c.green() > 120 && c.red() < 60 && c.blue() < 60; };
    const auto isRed = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };

    // The arcs run between the ticks from 0 to 320 and leave the gap below-right open.
    for (double position : {3.0, 100.0, 150.0, 245.0, 316.0}) {
        EXPECT_TRUE(isGreen(colourAt(at(speed, position, 158)))) << "speed " << position;
    }
    for (double position : {4.0, 100.0, 250.0}) {
        EXPECT_TRUE(isGreen(colourAt(at(rpm, position, 158)))) << "rpm " << position;
    }
    // 16 000 rpm is position 256: red beyond it, up to 20 000 at 320.
    for (double position : {260.0, 300.0, 316.0}) {
        EXPECT_TRUE(isRed(colourAt(at(rpm, position, 158)))) << "rpm " << position;
    }
    EXPECT_FALSE(isRed(colourAt(at(speed, 300, 158)))) << "the speed arc has no red zone";
    for (const QPointF centre : {speed, rpm}) {
        EXPECT_EQ(colourAt(at(centre, 340, 158)), QColor(Qt::black)) << "gap after 320";
        // The needles' sweep is clear of the artwork away from the title.
        EXPECT_EQ(colourAt(at(centre, 45, 100)), QColor(Qt::black));
        EXPECT_EQ(colourAt(at(centre, 300, 120)), QColor(Qt::black));
    }
    // White ticks at the figures: 0 at the bottom, 100 km/h at position 128, 100 x100
    // rpm at position 160.
    EXPECT_EQ(colourAt(QPoint(195, 461)), QColor(Qt::white));
    const QColor tick100 = colourAt(at(speed, 128, 158));
    EXPECT_GT(tick100.red(), 200);
    EXPECT_GT(tick100.blue(), 200);
    const QColor rpmTick100 = colourAt(at(rpm, 160, 158));
    EXPECT_GT(rpmTick100.blue(), 200);

    // The figures and titles are yellow and lie outside the arcs, or above the centre.
    int yellowOutside = 0;
    int yellowTitle = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c(picture.pixel(x, y));
            if (c.red() < 220 || c.green() < 220 || c.blue() > 60) continue;
            const double fromSpeed = std::hypot(x - speed.x(), y - speed.y());
            const double fromRpm = std::hypot(x - rpm.x(), y - rpm.y());
            const double nearest = std::min(fromSpeed, fromRpm);
            if (nearest > 164) ++yellowOutside;
            if (nearest < 100 && y < 303) ++yellowTitle;
            EXPECT_FALSE(nearest >= 150 && nearest <= 166)
                << "no yellow on the arc " << x << "," << y;
        }
    }
    EXPECT_GT(yellowOutside, 500) << "46 figures";
    EXPECT_GT(yellowTitle, 200) << "\"Speed\" and \"Rpm x100\"";
}

TEST(BarMarkers, RectanglesSitAboveTheirBarsAndAreClipped) {
    EXPECT_EQ(k40MarkerRect(1, 0), QRect(40, 495, 3, 18));
    EXPECT_EQ(k40MarkerRect(2, 295), QRect(735, 495, 3, 18));
    EXPECT_EQ(k40MarkerRect(1, 300), QRect(336, 495, 3, 18)) << "300 is drawn at 296";
    EXPECT_EQ(k40MarkerRect(2, -5), QRect(440, 495, 3, 18));

    // The card: percent of full scale, then gain, offset, inversion, at 0.74 px each.
    ChannelSettings plain;
    EXPECT_EQ(cardMarkerOffset(scaleCardChannel(4095, plain)), 295);
    EXPECT_EQ(cardMarkerOffset(scaleCardChannel(0, plain)), 0);
    ChannelSettings inverted;
    inverted.channelInvert = 1;
    inverted.channelGain = 2.0;
    EXPECT_EQ(cardMarkerOffset(scaleCardChannel(3000, inverted)), 0) << "below zero";
    ChannelSettings amplified;
    amplified.channelGain = 10.0;
    EXPECT_EQ(cardMarkerOffset(scaleCardChannel(4095, amplified)), 296);
    EXPECT_EQ(cardMarkerOffset(std::nan("")), 0);
    EXPECT_EQ(cardMarkerRect(2, 295), QRect(735, 495, 9, 20));
}

}  // namespace
}  // namespace dyno::speedo
