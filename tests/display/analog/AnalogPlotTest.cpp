// The analog plot: which samples land in the 600 columns, how a channel's raw value
// becomes a row, the channel delay on the time axis, the slot shift and the scale
// strips' texts.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <limits>
#include <memory>
#include <span>
#include <tuple>

#include "display/GraphImageSupport.h"
#include "display/GraphPalette.h"
#include "display/SyntheticRuns.h"
#include "display/analog/AnalogCursor.h"
#include "display/analog/AnalogRedraw.h"
#include "display/analog/AnalogScales.h"

namespace dyno {
namespace {

using graph_testing::pixelsOfColour;

// Rows of `colour` in column x.
std::set<int> rowsAt(const QImage& image, int x, const QColor& colour) {
    std::set<int> rows;
    for (const auto& [px, py] : pixelsOfColour(image, colour)) {
        if (px == x) rows.insert(py);
    }
    return rows;
}

int topRow(const QImage& image, const QColor& colour) {
    int top = 400;
    for (const auto& pixel : pixelsOfColour(image, colour)) top = std::min(top, pixel.second);
    return top;
}

int leftmostOnRow(const QImage& image, int row, const QColor& colour) {
    int left = 600;
    for (const auto& [x, y] : pixelsOfColour(image, colour)) {
        if (y == row) left = std::min(left, x);
    }
    return left;
}

class AnalogPlot : public ::testing::Test {
  protected:
    AnalogPlot() : session(std::make_unique<TestSession>()) {
        session->header.words[SessionHeader::kElectronicsType] = 1;  // K40: 1024 steps
        time.fill(0.0);
    }

    QImage plot(const AnalogSlotPlot& slot) {
        QImage image(600, 400, QImage::Format_RGB32);
        QPainter painter(&image);
        drawAnalogFrame(painter);
        plotAnalogSlot(painter, *session, time, slot, buffers);
        return image;
    }

    // Channel 1 of run 0 shown, everything else off, the speed curve on the bottom row.
    static AnalogSlotPlot channel1(int firstSample = 0, int zoom = 1) {
        AnalogSlotPlot slot;
        slot.curve = AnalogCurve::speed;
        slot.firstSample = firstSample;
        slot.zoom = zoom;
        slot.channelTicked[0] = true;
        return slot;
    }

    TestSession::AnalogChannel& channel(std::size_t c) { return session->analogSamples[0][c]; }

    std::unique_ptr<TestSession> session;
    std::array<double, kSamplesPerRun> time{};
    AnalogBuffers buffers;
    const QColor red = graph::powerColour(1);
};

TEST_F(AnalogPlot, ZoomSetsHowManySamplesTheWidthHolds) {
    struct Case {
        int zoom, spike;
        bool reachesSpikeRow;
    };
    // Zoom 2 draws sample 299 at x 598 and sample 300 at x 600, just off the plot;
    // zoom 1 shows samples 0..599.
    for (const Case c :
         {Case{2, 299, true}, Case{2, 300, false}, Case{1, 599, true}, Case{1, 600, false}}) {
        session->curves.speedCurve.fill(0.0);
        session->curves.speedCurve[static_cast<std::size_t>(c.spike)] = 50.0;  // row 299
        AnalogSlotPlot slot;
        slot.curve = AnalogCurve::speed;
        slot.zoom = c.zoom;
        const QImage image = plot(slot);
        EXPECT_EQ(topRow(image, red) == 299, c.reachesSpikeRow) << c.zoom << " " << c.spike;
        if (c.reachesSpikeRow) {
            EXPECT_TRUE(rowsAt(image, c.spike * c.zoom, red).count(299));
        }
    }
}

TEST_F(AnalogPlot, PowerCurveIsScaledToTheTopOfThePowerAxisAndLeftOutWithoutOne) {
    session->curves.powerCurve.fill(5.0);
    AnalogSlotPlot slot;
    slot.endHp = 20;  // 5 hp of 20: 100 rows up
    EXPECT_EQ(rowsAt(plot(slot), 300, red), (std::set<int>{299}));
    slot.endHp = 0;
    EXPECT_TRUE(pixelsOfColour(plot(slot), red).empty());
}

TEST_F(AnalogPlot, ChannelValueGoesThroughDivisorFactorOffsetAndInversion) {
    struct Case {
        const char* name;
        std::int16_t electronics;
        std::uint16_t raw;
        ChannelSettings scaling;
        std::set<int> rows;  // the channel's rows in column 300 (the curve lies on 399)
    };
    using G = GainMode;
    using O = OffsetMode;
    const double huge = std::numeric_limits<double>::max();
    const Case cases[] = {
        {"K40 raw 256 is 100 rows", 1, 256, {1.0, G::Multiply, 0.0, O::Add, 0}, {299, 399}},
        {"card raw 1024 is 100 rows", 0, 1024, {1.0, G::Multiply, 0.0, O::Add, 0}, {299, 399}},
        {"Mul. 2", 1, 256, {2.0, G::Multiply, 0.0, O::Add, 0}, {199, 399}},
        {"Div. 4", 1, 256, {4.0, G::Divide, 0.0, O::Add, 0}, {374, 399}},
        {"Add 50", 1, 256, {1.0, G::Multiply, 50.0, O::Add, 0}, {249, 399}},
        {"Sub. 50", 1, 256, {1.0, G::Multiply, 50.0, O::Subtract, 0}, {349, 399}},
        {"inverted", 1, 256, {1.0, G::Multiply, 0.0, O::Add, 1}, {100, 399}},
        {"Div. 0 leaves the channel out", 1, 256, {0.0, G::Divide, 0.0, O::Add, 0}, {399}},
        {"a value past any row is held off the plot",
         1,
         256,
         {huge, G::Multiply, huge, O::Add, 0},
         {399}},
    };
    for (const Case& c : cases) {
        session->header.words[SessionHeader::kElectronicsType] = c.electronics;
        channel(0).fill(c.raw);
        AnalogSlotPlot slot = channel1();
        slot.channels[0].scaling = c.scaling;
        EXPECT_EQ(rowsAt(plot(slot), 300, red), c.rows) << c.name;
    }
}

TEST_F(AnalogPlot, ChannelIsReadItsDelayLaterOnTheTimeAxis) {
    // 1/64 s per sample (exact in binary) over a run of 1000 samples; the channel
    // steps from row 399 to row 299 at sample 500.
    for (int i = 0; i < 1000; ++i) time[static_cast<std::size_t>(i)] = i / 64.0;
    std::fill(channel(0).begin() + 500, channel(0).end(), std::uint16_t{256});
    struct Case {
        double delay;
        int stepColumn;
    };
    // Drawn from sample 400: without delay the next sample is read (499 shows the
    // step), with 1/8 s the ninth (491 shows it).
    for (const Case c : {Case{0.0, 99}, Case{0.125, 91}}) {
        AnalogSlotPlot slot = channel1(400);
        slot.channels[0].delaySeconds = c.delay;
        EXPECT_EQ(leftmostOnRow(plot(slot), 299, red), c.stepColumn) << c.delay;
    }
}

TEST_F(AnalogPlot, DelayedReadStopsAtTheLastSampleOfTheRun) {
    for (int i = 0; i < 1000; ++i) time[static_cast<std::size_t>(i)] = i / 64.0;
    channel(0)[kSamplesPerRun - 1] = 512;  // row 199
    AnalogSlotPlot slot = channel1(900);
    slot.channels[0].delaySeconds = 0.125;
    // Samples 991 on have nothing recorded 1/8 s later: they read sample 1999.
    EXPECT_EQ(leftmostOnRow(plot(slot), 199, red), 91);
    // Near the end the plot stops at sample 1998 (x 498), its last point not drawn.
    slot.firstSample = 1500;
    const QImage end = plot(slot);
    EXPECT_TRUE(rowsAt(end, 497, red).count(199));
    EXPECT_TRUE(rowsAt(end, 498, red).empty());
    // Shifted past the run: nothing to read, nothing drawn.
    slot.firstSample = 2500;
    EXPECT_TRUE(pixelsOfColour(plot(slot), red).empty());
}

TEST(AnalogRedraw, SlotShiftMovesOnlyThatSlotAlongTheTimeAxis) {
    auto model = SessionModel::create();
    for (int s : {1, 2}) {
        graph_testing::recordSyntheticRun(model->slot(s), 0, graph_testing::syntheticRunOfSlot(1));
    }
    auto workspace = EvaluationWorkspace::create();
    AnalogBuffers buffers;
    const auto draw = [&](const AnalogView& view) {
        AnalogImages images = AnalogImages::create();
        AnalogPainters painters(images);
        redrawAnalog(view, *model, *workspace, painters.canvas(), buffers);
        return images.plot.copy();
    };
    AnalogView view;
    view.zoom = 1;
    view.endHp = 20;
    view.runItem = {0, 1, 0, 0};
    view.slotShift[1] = 100;
    const auto shifted = pixelsOfColour(draw(view), graph::powerColour(2));
    view.runItem = {1, 0, 0, 0};
    view.slotShift[1] = 0;
    const auto unshifted = pixelsOfColour(draw(view), graph::powerColour(1));
    view.scrollOffset = 100;
    const auto scrolled = pixelsOfColour(draw(view), graph::powerColour(1));
    EXPECT_NE(shifted, unshifted);
    EXPECT_EQ(shifted, scrolled);
}

TEST(AnalogScales, RightScaleShowsFifthsOfTheTopHpOrFixedSpeeds) {
    const auto texts = [](const std::vector<ScaleText>& scale) {
        std::vector<std::pair<int, QString>> out;
        for (const ScaleText& t : scale) out.emplace_back(t.y, t.text);
        return out;
    };
    using Texts = std::vector<std::pair<int, QString>>;
    // q = 23 / 5 = 4.
    EXPECT_EQ(
        texts(rightScaleTexts(AnalogCurve::power, 23, false, false)),
        (Texts{
            {0, "23"}, {80, "19"}, {160, "15"}, {200, "Hp"}, {240, "11"}, {320, "7"}, {400, "0"}}));
    EXPECT_EQ(texts(rightScaleTexts(AnalogCurve::power, 0, true, false))[3],
              (Texts::value_type{200, "Kw"}));
    const Texts speed = texts(rightScaleTexts(AnalogCurve::speed, 23, false, true));
    ASSERT_EQ(speed.size(), 12u);
    EXPECT_EQ(speed.front(), (Texts::value_type{0, "200"}));
    EXPECT_EQ(speed[5], (Texts::value_type{200, "100"}));
    EXPECT_EQ(speed[6], (Texts::value_type{220, "Mph"}));
    EXPECT_EQ(speed.back(), (Texts::value_type{400, "0"}));
}

}  // namespace
}  // namespace dyno

namespace dyno {
namespace {

TEST(AnalogCursor, ReadsSpeedAndEngineSpeedOfEveryShownSlotAtItsOwnSample) {
    auto model = SessionModel::create();
    TestSession& first = model->slot(1);
    TestSession& third = model->slot(3);
    first.curves.speedCurve[150] = 42.26;
    first.rpmSamples[150] = 7321;
    third.curves.speedCurve[130] = 50.0;
    third.values.values[SessionValues::kRpmPer100Run0 + 1] = 80.04;  // run " 2"
    third.rpmSamples[kSamplesPerRun + 130] = 6100;
    AnalogView view;
    view.runItem = {1, 0, 2, 0};
    view.slotShift = {20, 0, 0, 700};
    view.scrollOffset = 30;
    view.fixedGearing = false;

    const auto texts = [&](int x) {
        std::vector<std::tuple<int, int, int, QString>> out;  // x, y, blanks, text
        for (const ReadoutField& f : readAnalogCursor(view, *model, x)) {
            out.emplace_back(f.x, f.y, f.blankChars, f.text);
        }
        return out;
    };
    using Fields = std::vector<std::tuple<int, int, int, QString>>;
    // Slot 1 at sample 100 + 20 + 30, slot 3 at 100 + 30; slot 4 is not shown.
    EXPECT_EQ(
        texts(100),
        (Fields{
            {5, 10, 11, "42.3"}, {50, 10, 13, "7321"}, {5, 50, 11, "50.0"}, {50, 50, 13, "6100"}}));
    view.fixedGearing = true;
    EXPECT_EQ(std::get<3>(texts(100)[3]), QStringLiteral("4002"));
    // Left of the plot slot 3 falls before its first sample: only the blanks.
    EXPECT_EQ(texts(-40)[2], (Fields::value_type{5, 50, 11, ""}));
    const auto fields = readAnalogCursor(view, *model, 100);
    EXPECT_EQ(fields[0].colour, graph::powerColour(1));
    EXPECT_EQ(fields[2].colour, graph::powerColour(3));
}

}  // namespace
}  // namespace dyno
