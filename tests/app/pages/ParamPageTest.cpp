#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/FileActionsFixture.h"
#include "app/RecordingMessageSink.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/ParamPage.h"
#include "app/pages/SetupPage.h"
#include "display/GraphImageSupport.h"
#include "display/SyntheticRuns.h"
#include "model/TestSession.h"
#include "model/TextNumbers.h"
#include "support/StandInElectronics.h"

namespace dyno {
namespace {

using testing::click;
using testing::control;
using testing::text;

TEST(ParamPage, ControlsCarryTheirCaptionsAndDefaults) {
    ParamPage page;
    EXPECT_EQ(text(page, "fugtedit"), "50");
    EXPECT_EQ(text(page, "tempedit"), "23");
    EXPECT_EQ(text(page, "baroedit"), "1000");
    EXPECT_EQ(text(page, "correctionedit"), "1");
    EXPECT_TRUE(control<QLineEdit>(page, "correctionedit")->isReadOnly());

    auto* fahrenheit = control<QCheckBox>(page, "fahrenheitcheck");
    auto* inchHg = control<QCheckBox>(page, "inchhgcheck");
    EXPECT_EQ(fahrenheit->text(), "Use Fahrenheit");
    EXPECT_EQ(inchHg->text(), "Use Inch - HG");
    EXPECT_FALSE(fahrenheit->isChecked());
    EXPECT_FALSE(inchHg->isChecked());

    auto* choice = control<QComboBox>(page, "corrchoice");
    const QStringList standards{"SAE STP", "SAE J1349", "DIN", "EEC", "ISO 1585"};
    ASSERT_EQ(choice->count(), standards.size());
    for (int i = 0; i < choice->count(); ++i) EXPECT_EQ(choice->itemText(i), standards[i]);
    EXPECT_EQ(choice->currentIndex(), 3);

    EXPECT_EQ(control<QPushButton>(page, "factor1button")->text(),
              "Factor = 1.00  ( Uncorrected Hp )");
}

// The correction buttons act on slot 1 of the model through the page wiring.
class ParamCorrection : public testing::SessionPagesFixture {
  protected:
    TestSession& slot1() { return model->slot(1); }
};

TEST_F(ParamCorrection, PageDefaultsGiveTheEecFactorOfSlot1) {
    slot1().header.words[SessionHeader::kCorrectionStandard] = 0;
    click(paramPage, "usecorrectionbutton");
    EXPECT_EQ(text(paramPage, "correctionedit"), "1.000");
    EXPECT_NEAR(slot1().correctionFactor, 1.00003, 5e-6);
    EXPECT_EQ(slot1().header.correctionStandard(), 3);
    EXPECT_TRUE(sink.messages.empty());
    for (int slot = 2; slot <= 4; ++slot) EXPECT_EQ(model->slot(slot).correctionFactor, 1.0);
}

TEST_F(ParamCorrection, ChosenStandardIsStoredAndFactorOneKeepsIt) {
    control<QComboBox>(paramPage, "corrchoice")->setCurrentIndex(0);  // SAE STP
    testing::setText(paramPage, "baroedit", "950");
    click(paramPage, "usecorrectionbutton");
    EXPECT_EQ(slot1().header.correctionStandard(), 0);
    EXPECT_GT(slot1().correctionFactor, 1.03);
    EXPECT_EQ(text(paramPage, "correctionedit"),
              QString::fromStdString(formatFixed(slot1().correctionFactor, 3)));

    control<QComboBox>(paramPage, "corrchoice")->setCurrentIndex(2);
    click(paramPage, "factor1button");
    EXPECT_EQ(slot1().correctionFactor, 1.0);
    EXPECT_EQ(text(paramPage, "correctionedit"), "1");
    EXPECT_EQ(slot1().header.correctionStandard(), 0) << "factor 1.00 keeps the standard";
}

TEST_F(ParamCorrection, FactorOutOfLimitsIsReportedAndReplacedByOne) {
    slot1().correctionFactor = 1.2;
    testing::setText(paramPage, "baroedit", "no number");  // reads 0 mbar
    click(paramPage, "usecorrectionbutton");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(sink.messages[0].caption, "VKR dyno");
    EXPECT_EQ(sink.messages[0].text, "The correctionfactor is out of limits, changed to 1.00");
    EXPECT_EQ(slot1().correctionFactor, 1.0);
    EXPECT_EQ(text(paramPage, "correctionedit"), "1.000");
}

TEST(ParamPage, LoadedSession1ShowsItsStandardUnlessTheWordIsForeign) {
    ParamPage page;
    page.showSession1(AirTexts{"29.44", "68", "40"}, 1, 1.03456);
    EXPECT_EQ(text(page, "baroedit"), "29.44");
    EXPECT_EQ(text(page, "tempedit"), "68");
    EXPECT_EQ(text(page, "fugtedit"), "40");
    EXPECT_EQ(control<QComboBox>(page, "corrchoice")->currentIndex(), 1);
    EXPECT_EQ(text(page, "correctionedit"), "1.035");

    page.showSession1(AirTexts{"1000", "23", "50"}, 7, 1.0);
    EXPECT_EQ(control<QComboBox>(page, "corrchoice")->currentIndex(), 1);
    EXPECT_EQ(text(page, "correctionedit"), "1.000");
}

TEST(ParamPage, AirCurveReadsItsTwoBoxesOnlyWhenItIsDrawn) {
    auto model = SessionModel::create();
    graph_testing::recordSyntheticRun(model->slot(1), 0, graph_testing::syntheticRunOfSlot(1));
    GraphScale scale;
    ParamPage param;
    SetupPage setup;
    RecordingMessageSink messages;
    testing::StandInSlot1 standIn{messages};
    GraphsPage graphs(*model, scale, param, setup, standIn.lock);
    EXPECT_EQ(text(param, "vindmodstandedit"), "0.030");
    EXPECT_EQ(text(param, "rullemodstandedit"), "0.5");
    const QColor yellow(255, 255, 0);

    testing::setText(param, "vindmodstandedit", "0.05");
    testing::setText(param, "rullemodstandedit", "1.5");
    control<QCheckBox>(param, "showaircheckbox")->setChecked(true);
    graphs.updateDisplay();
    EXPECT_TRUE(graph_testing::pixelsOfColour(graphs.images().graph, yellow).empty())
        << "drawn only for a slot whose Tq box is ticked";
    EXPECT_EQ(graphs.graphState().airResistance, 0.0) << "and only then read";

    control<QCheckBox>(graphs, "test1tq")->setChecked(true);
    graphs.updateDisplay();
    EXPECT_FALSE(graph_testing::pixelsOfColour(graphs.images().graph, yellow).empty());
    EXPECT_EQ(graphs.graphState().airResistance, 0.05);
    EXPECT_EQ(graphs.graphState().rollingResistance, 1.5);

    testing::setText(param, "vindmodstandedit", "0.07");
    control<QCheckBox>(param, "showaircheckbox")->setChecked(false);
    graphs.updateDisplay();
    EXPECT_EQ(graphs.graphState().airResistance, 0.05) << "the print keeps the values drawn";
}

}  // namespace
}  // namespace dyno
