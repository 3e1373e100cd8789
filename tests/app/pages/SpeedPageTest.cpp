// The Speed page as the K40 link sees it: a SequenceView and LiveDisplay whose drawing
// is checked on the grabbed page.
#include <gtest/gtest.h>

#include <QImage>

#include "app/pages/SpeedPage.h"
#include "widgets/DigitCounter.h"
#include "widgets/LevelBar.h"
#include "widgets/ShadowLabel.h"

namespace dyno {
namespace {

// The panel with the dials sits 4 pixels in from the page's left edge.
constexpr QPoint kPanel{4, 0};

class SpeedPageTest : public testing::Test {
  protected:
    SpeedPageTest() { page.resize(791, 548); }

    QImage grab() { return page.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QColor pixelOf(const QImage& image, QPoint panelPoint) {
        return QColor(image.pixel(panelPoint + kPanel));
    }

    SpeedPage page;
};

TEST_F(SpeedPageTest, TextsColoursDigitAndBarZonesFollowTheSequence) {
    page.showRemoteText("Transferring Data", Rgb::Aqua, Rgb::Blue);
    page.showDigit(3);
    page.setBarZones({BarMarkerPositions{40, 90}, BarMarkerPositions{10, 20}});

    auto* remote = page.findChild<ShadowLabel*>("remotetext");
    EXPECT_EQ(remote->text(), "Transferring Data");
    EXPECT_EQ(remote->shadowColour(), QColor(0, 255, 255));
    EXPECT_EQ(remote->fontColour(), QColor(0, 0, 255));
    EXPECT_EQ(page.findChild<DigitCounter*>("digit")->digit(), 3);
    auto* bar1 = page.findChild<LevelBar*>("ad1_bar");
    auto* bar2 = page.findChild<LevelBar*>("ad2_bar");
    EXPECT_EQ(bar1->firstLimit(), 40);
    EXPECT_EQ(bar1->secondLimit(), 90);
    EXPECT_EQ(bar2->firstLimit(), 10);
    EXPECT_EQ(bar2->secondLimit(), 20);

    // A text for the colours last shown: a rev counter check after the transfer.
    page.showRemoteTextInLastColours("Press remote to end RPM check");
    EXPECT_EQ(remote->text(), "Press remote to end RPM check");
    EXPECT_EQ(remote->shadowColour(), QColor(0, 255, 255));
    EXPECT_EQ(remote->fontColour(), QColor(0, 0, 255));
}

TEST_F(SpeedPageTest, ErasingANeedleGivesTheDialPictureBack) {
    const QImage before = grab();
    // Position 180 points straight up through the "Speed" title.
    page.drawNeedle(Dial::Speed, 180, Rgb::Yellow);
    page.drawNeedle(Dial::Rpm, 90, Rgb::Yellow);
    const QImage drawn = grab();
    // The table puts the end at (194,158): the line steps one pixel left halfway up.
    int titlePixelsCovered = 0;
    for (int y = 159; y <= 303; ++y) {
        const int x = pixelOf(drawn, {195, y}) == QColor(255, 255, 0) ? 195 : 194;
        EXPECT_EQ(pixelOf(drawn, {x, y}), QColor(255, 255, 0)) << y;
        if (pixelOf(before, {x, y}) != QColor(Qt::black)) ++titlePixelsCovered;
    }
    for (int x = 444; x <= 588; ++x) EXPECT_EQ(pixelOf(drawn, {x, 303}), QColor(255, 255, 0)) << x;

    page.drawNeedle(Dial::Speed, 180, Rgb::Black);
    const QImage erased = grab();
    for (int y = 159; y <= 303; ++y) {
        for (int x : {194, 195}) EXPECT_EQ(pixelOf(erased, {x, y}), pixelOf(before, {x, y})) << y;
    }
    EXPECT_EQ(pixelOf(erased, {500, 303}), QColor(255, 255, 0))
        << "the other dial keeps its needle";
}

TEST_F(SpeedPageTest, K40MarkerMovesAboveItsBar) {
    page.moveK40Marker(1, 0, 100);
    page.moveK40Marker(2, 0, 296);
    QImage image = grab();
    for (int x = 140; x < 143; ++x) {
        EXPECT_EQ(pixelOf(image, {x, 495}), QColor(255, 255, 0));
        EXPECT_EQ(pixelOf(image, {x, 512}), QColor(255, 255, 0));
    }
    EXPECT_NE(pixelOf(image, {143, 500}), QColor(255, 255, 0)) << "3 pixels wide";
    EXPECT_NE(pixelOf(image, {140, 513}), QColor(255, 255, 0)) << "18 pixels high";
    EXPECT_EQ(pixelOf(image, {736, 500}), QColor(255, 255, 0));

    page.moveK40Marker(1, 100, 5);
    image = grab();
    EXPECT_EQ(pixelOf(image, {141, 500}), QColor(Qt::black)) << "erased at the old place";
    EXPECT_EQ(pixelOf(image, {46, 500}), QColor(255, 255, 0));
    EXPECT_EQ(pixelOf(image, {736, 500}), QColor(255, 255, 0)) << "channel 2 is left alone";
}

}  // namespace
}  // namespace dyno
