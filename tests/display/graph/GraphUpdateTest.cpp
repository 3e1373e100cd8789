// The whole update of the Graphs page: one-shot Clear and Copy boxes, what stays
// on after a slot is cleared, the zoomed scale kept once, the hint for a scale that
// cannot be drawn, and the legend.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <memory>

#include "display/GraphImageSupport.h"
#include "display/GraphPalette.h"
#include "display/SyntheticRuns.h"
#include "display/graph/GraphCursor.h"
#include "display/graph/GraphImages.h"
#include "display/graph/GraphPresets.h"
#include "display/graph/GraphUpdate.h"

namespace dyno {
namespace {

using graph_testing::ExpectedLabel;
using graph_testing::pixelsOfColour;
using graph_testing::stripWithLabels;

class GraphUpdateTest : public ::testing::Test {
  protected:
    GraphUpdateTest() {
        for (int s = 1; s <= 4; ++s) {
            graph_testing::recordSyntheticRun(model->slot(s), 0,
                                              graph_testing::syntheticRunOfSlot(s));
        }
        controls.scaleTexts = {"0", "150", "0", "20", "0", "10000"};
    }

    GraphUpdateResult update(const std::function<void()>& storeRemarks = {}) {
        GraphPainters painters(images);
        return updateGraph(state, controls, *model, *workspace, painters.canvas(), storeRemarks);
    }

    // Something is written in the legend box on the line of `slot`.
    bool legendLineShown(int slot) const {
        for (int y = 20 + 16 * (slot - 1); y < 20 + 16 * slot; ++y) {
            for (int x = 0; x < 133; ++x) {
                if (images.legend.pixelColor(x, y) != graph::buttonFace()) return true;
            }
        }
        return false;
    }

    bool drawn(int slot) const {
        return !pixelsOfColour(images.graph, graph::powerColour(slot)).empty();
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<EvaluationWorkspace> workspace = EvaluationWorkspace::create();
    GraphState state;
    GraphControls controls;
    GraphImages images = GraphImages::create();
};

TEST(GraphOneShots, ClearDeselectsItsSlotAndEveryBoxIsUnticked) {
    GraphControls controls;
    controls.runChoice = {0, 1, 2, 0};
    controls.clearTicked = {false, true, false, true};
    controls.copyTicked = {true, false, true};
    EXPECT_EQ(takeOneShots(controls), (std::vector<int>{2, 4}));
    EXPECT_EQ(controls.runChoice, (std::array<int, 4>{0, -1, 2, -1}));
    EXPECT_EQ(controls.clearTicked, (std::array<bool, 4>{}));
    EXPECT_EQ(controls.copyTicked, (std::array<bool, 3>{}));
    EXPECT_TRUE(takeOneShots(controls).empty()) << "a second update copies nothing";
}

// The curves are drawn without going through the spline's polyline; on four
// full-length sessions, short and long runs, zoomed so that curves leave the area on
// every side, and with every curve and unit, the pixels are those of the polyline.
TEST_F(GraphUpdateTest, CurvesDrawThePixelsOfTheSplinePolylineOnEverySetting) {
    graph_testing::SyntheticRun shortRun = graph_testing::syntheticRunOfSlot(3);
    shortRun.periods = 300;
    graph_testing::recordSyntheticRun(model->slot(3), 1, shortRun);
    graph_testing::SyntheticRun strong = graph_testing::syntheticRunOfSlot(4);
    strong.peakHp = 30.0;
    graph_testing::recordSyntheticRun(model->slot(4), 2, strong);
    const std::vector<ScaleTexts> scales{{"0", "150", "0", "20", "0", "10000"},
                                         {"40", "70", "6", "9", "4000", "7000"},
                                         {"0", "60", "10", "12", "0", "20000"},
                                         {"90", "200", "0", "40", "8000", "9000"}};
    int settings = 0;
    for (const ScaleTexts& scale : scales) {
        for (int variant = 0; variant < 8; ++variant) {
            controls.scaleTexts = scale;
            controls.runChoice = {0, 0, 1, 2};
            controls.torqueTicked.fill((variant & 1) != 0);
            controls.powerTicked = {true, (variant & 1) == 0, true, true};
            controls.speedAndRpm = (variant & 2) != 0;
            controls.fixedGearing = (variant & 4) != 0;
            controls.showAirCurve = true;
            controls.speedInMph = variant == 5;
            controls.powerInKw = variant == 6;
            state.buffers.spline.isDrawnThroughPolyline = true;
            update();
            const QImage throughPolyline = images.graph.copy();
            state.buffers.spline.isDrawnThroughPolyline = false;
            update();
            ASSERT_EQ(images.graph, throughPolyline)
                << "scale " << scale.startKmh << ".." << scale.endKmh << ", variant " << variant;
            ++settings;
        }
    }
    EXPECT_EQ(settings, 32);
}

TEST_F(GraphUpdateTest, ClearedSlotIsNotDrawnButKeepsLegendAndCursorReadout) {
    controls.runChoice = {0, 0, -1, -1};
    update();
    EXPECT_TRUE(drawn(1));
    EXPECT_TRUE(drawn(2));
    EXPECT_FALSE(drawn(3));
    const double column300 = state.tables[1].powerAtColumn[300];
    EXPECT_GT(column300, 0.0);

    controls.clearTicked[1] = true;
    update();
    EXPECT_EQ(controls.runChoice[1], -1);
    EXPECT_FALSE(controls.clearTicked[1]);
    EXPECT_EQ(state.selections[1].selectedRun(), -1);
    EXPECT_TRUE(drawn(1));
    EXPECT_FALSE(drawn(2));
    EXPECT_TRUE(state.selections[1].plotted);
    EXPECT_TRUE(state.selections[1].legendShown);
    const CursorReadout readout = readCursor(state.selections, state.tables, 300);
    ASSERT_TRUE(readout[1].has_value());
    EXPECT_EQ(readout[1]->power, QString::number(column300, 'f', 1));
    EXPECT_FALSE(readout[2].has_value());
    EXPECT_TRUE(legendLineShown(2));
    EXPECT_FALSE(legendLineShown(3));
}

TEST_F(GraphUpdateTest, CopyBoxesCopySessionOneOnceAfterStoringItsRemarks) {
    model->slot(2) = TestSession{};
    int stored = 0;
    const auto storeRemarks = [&] {
        ++stored;
        model->slot(1).remarkLine1.assign("Tuned exhaust");
    };
    controls.copyTicked = {true, false, false};
    controls.runChoice = {-1, 0, -1, -1};
    const GraphUpdateResult result = update(storeRemarks);
    EXPECT_EQ(result.copiedInto, (std::vector<int>{2}));
    EXPECT_EQ(stored, 1);
    EXPECT_EQ(model->slot(2).rollerPeriods, model->slot(1).rollerPeriods);
    EXPECT_EQ(model->slot(2).remarkLine1.view(), "Tuned exhaust");
    EXPECT_EQ(result.remarkLines[1], "Tuned exhaust");
    EXPECT_TRUE(drawn(2));
    EXPECT_FALSE(controls.copyTicked[0]);

    EXPECT_TRUE(update(storeRemarks).copiedInto.empty());
    EXPECT_EQ(stored, 1);
}

TEST_F(GraphUpdateTest, ZoomedScaleIsKeptForOneUpdateOnly) {
    update();
    EXPECT_EQ(state.scale, (GraphScale{0, 150, 0, 20, 0, 10000}));
    state.scale = {20, 80, 5, 15, 0, 10000};
    state.flags.keepScale = true;
    update();
    EXPECT_EQ(state.scale, (GraphScale{20, 80, 5, 15, 0, 10000}));
    EXPECT_FALSE(state.flags.keepScale);
    controls.scaleTexts.endKmh = "100 km/h";  // read leniently
    update();
    EXPECT_EQ(state.scale, (GraphScale{0, 100, 0, 20, 0, 10000}));
}

TEST_F(GraphUpdateTest, UndrawableScaleShowsTheHintInsteadOfGridAndCurves) {
    for (const ScaleTexts& texts :
         {ScaleTexts{"0", "150", "0", "0", "0", "10000"},
          ScaleTexts{"150", "0", "0", "20", "0", "10000"},
          ScaleTexts{"0", "15025", "0", "20", "0", "10000"}, ScaleTexts{"", "", "", "", "", ""}}) {
        controls.scaleTexts = texts;
        images = GraphImages::create();
        const GraphUpdateResult result = update();
        EXPECT_NE(result.scaleProblem, ScaleProblem::none);
        EXPECT_FALSE(drawn(1));
        EXPECT_EQ(images.graph.pixelColor(300, 40), graph::kBackground) << "no grid";
        EXPECT_TRUE(legendLineShown(1));
    }
    controls.scaleTexts = {"0", "150", "0", "20", "0", "200"};
    controls.speedAndRpm = true;
    EXPECT_EQ(update().scaleProblem, ScaleProblem::rpmScale);
    controls.speedAndRpm = false;
    EXPECT_EQ(update().scaleProblem, ScaleProblem::none);
    EXPECT_TRUE(drawn(1));
}

TEST_F(GraphUpdateTest, LegendListsMaximumPowerAndCorrectionOfPlottedSlots) {
    model->slot(3).correctionFactor = 1.042;
    // A factor from a damaged file that is no number reads as the 1.000 it is used as.
    model->slot(1).correctionFactor = std::nan("");
    controls.runChoice = {0, -1, 0, -1};
    controls.powerInKw = true;
    update();
    const auto maxOf = [&](int s) {
        return QString::fromLatin1(
            model->slot(s).curves.maxPowerText.view().data(),
            static_cast<qsizetype>(model->slot(s).curves.maxPowerText.view().size()));
    };
    ASSERT_FALSE(maxOf(3).isEmpty());
    const std::vector<ExpectedLabel> legend{
        {0, 0, "Maxkw"},
        {90, 0, "Corr.f."},
        {0, 20, maxOf(1), graph::legendColour(1)},
        {80, 20, "1.000", graph::legendColour(1)},
        {0, 52, maxOf(3), graph::legendColour(3)},
        {80, 52, "1.042", graph::legendColour(3)},
    };
    EXPECT_EQ(images.legend, stripWithLabels({133, 97}, legend));
}

TEST_F(GraphUpdateTest, AnyPainterGetsTheSamePixels) {
    // On a plain image the curves and dots are written directly; a painter with a
    // transform (as on a printed page) draws them through the engine instead.
    controls.runChoice = {0, 0, 0, 0};
    controls.torqueTicked = {true, false, true, false};
    controls.speedAndRpm = true;
    controls.showAirCurve = true;
    update();
    const QImage direct = images.graph;

    auto otherState = std::make_unique<GraphState>();
    GraphControls sameControls = controls;
    GraphImages other = GraphImages::create();
    QImage shifted(620, 420, QImage::Format_RGB32);
    shifted.fill(Qt::black);
    {
        QPainter graphPainter(&shifted);
        graphPainter.translate(10, 10);
        QPainter power(&other.powerLabels), axis(&other.axisLabels), rpm(&other.rpmLabels),
            legend(&other.legend);
        GraphCanvas canvas{graphPainter, power, axis, rpm, legend, other.texts};
        updateGraph(*otherState, sameControls, *model, *workspace, canvas);
    }
    EXPECT_EQ(shifted.copy(10, 10, 600, 400), direct);
    EXPECT_EQ(shifted.pixelColor(5, 5), QColor(Qt::black)) << "nothing outside the area";
}

}  // namespace
}  // namespace dyno

namespace dyno {
namespace {

TEST(GraphPresets, CaptionsFollowTheUnitsAndPresetsSetOneAxis) {
    const ScalePreset& kmh50 = kScalePresets[0];
    const ScalePreset& rpm15000 = kScalePresets[6];
    const ScalePreset& hp5 = kScalePresets[7];
    EXPECT_EQ(initialCaption(kmh50), "0 - 50 Kmh");
    EXPECT_EQ(initialCaption(rpm15000), "15.000 Rpm");
    EXPECT_EQ(initialCaption(hp5), "0 - 5 Hp");
    EXPECT_EQ(unitCaption(kmh50, false, false), "0-50 Kph");
    EXPECT_EQ(unitCaption(kmh50, false, true), "0-50 Mph");
    EXPECT_EQ(unitCaption(hp5, true, false), "0 - 5 Kw");
    EXPECT_EQ(unitCaption(rpm15000, true, true), "15.000 Rpm");
    EXPECT_EQ(powerBoxCaption(true), "Kw");

    // In mph the number is the same: 0..250 means 250 mph.
    ScaleTexts texts{"20", "80", "5", "15", "1000", "6000"};
    applyPreset(kScalePresets[4], texts);
    applyPreset(kScalePresets[9], texts);
    EXPECT_EQ(texts.startKmh + ".." + texts.endKmh, "0..250");
    EXPECT_EQ(texts.startHp + ".." + texts.endHp, "0..20");
    EXPECT_EQ(texts.startRpm + ".." + texts.endRpm, "1000..6000");
}

}  // namespace
}  // namespace dyno
