#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "widgets/DigitCounter.h"
#include "widgets/Led.h"
#include "widgets/LevelBar.h"
#include "widgets/ShadowLabel.h"

namespace dyno {
namespace {

QImage render(QWidget& widget, QSize size) {
    widget.resize(size);
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(Led, CentreShowsTheOnColourOnlyWhenOn) {
    Led led;
    const QImage off = render(led, {16, 16});
    EXPECT_EQ(off.pixelColor(8, 8), led.offColour());
    led.setOn(true);
    EXPECT_EQ(render(led, {16, 16}).pixelColor(8, 8), QColor(0, 255, 0));
}

TEST(DigitCounter, LightsTheSegmentsOfItsDigit) {
    EXPECT_EQ(DigitCounter::segmentsOf(8).count(), 7u);
    EXPECT_EQ(DigitCounter::segmentsOf(1).to_ulong(), 0b0000110u);
    EXPECT_EQ(DigitCounter::segmentsOf(13), DigitCounter::segmentsOf(3));

    DigitCounter counter;
    const QSize size(50, 80);
    for (int digit : {1, 2, 3}) {
        counter.setDigit(digit);
        const QImage image = render(counter, size);
        const auto lit = DigitCounter::segmentsOf(digit);
        for (int s = 0; s < DigitCounter::kSegmentCount; ++s) {
            const QPoint centre =
                DigitCounter::segmentRect(static_cast<DigitCounter::Segment>(s), QSizeF(size))
                    .center()
                    .toPoint();
            const bool red = image.pixelColor(centre) == QColor(255, 0, 0);
            EXPECT_EQ(red, lit[static_cast<std::size_t>(s)])
                << "digit " << digit << " segment " << s;
        }
    }
}

TEST(LevelBar, LitPartTakesTheColourOfEachZone) {
    LevelBar bar;
    bar.setZoneLimits(50, 75);
    bar.setPosition(90);
    const QImage image = render(bar, {300, 20});
    EXPECT_EQ(image.pixelColor(30, 10), QColor(0, 255, 0));                            // 10 %
    EXPECT_EQ(image.pixelColor(180, 10), QColor(255, 255, 0));                         // 60 %
    EXPECT_EQ(image.pixelColor(240, 10), QColor(255, 0, 0));                           // 80 %
    EXPECT_EQ(image.pixelColor(285, 10), LevelBar::unlitColour(LevelBar::Zone::Red));  // 95 %

    bar.setPosition(-5);
    EXPECT_EQ(bar.position(), 0);
    bar.setPosition(250);
    EXPECT_EQ(bar.position(), 100);
    bar.setZoneLimits(80, 20);
    EXPECT_EQ(bar.zoneAt(50), LevelBar::Zone::Green);
    EXPECT_EQ(bar.zoneAt(80), LevelBar::Zone::Red) << "a reversed pair leaves no yellow zone";
}

TEST(ShadowLabel, DrawsShadowAndTextInTheirColours) {
    ShadowLabel label;
    QFont font = label.font();
    font.setPixelSize(30);
    font.setBold(true);
    label.setFont(font);
    label.setText("Serial buffer full");
    label.setFontColour(QColor(255, 0, 0));
    label.setShadowColour(QColor(255, 255, 0));
    const QImage image = render(label, {400, 40});
    bool sawText = false, sawShadow = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            sawText |= c == QColor(255, 0, 0);
            sawShadow |= c == QColor(255, 255, 0);
        }
    }
    EXPECT_TRUE(sawText);
    EXPECT_TRUE(sawShadow);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
}

}  // namespace
}  // namespace dyno
