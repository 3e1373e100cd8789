// The channel calibrations in the window: a preset fills its row, a calibration that
// cannot be used is refused naming its channel, and "Apply" names the Analysis page's
// channel choices anew and keeps the calibrations in the Analysis page's file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "app/RecordingMessageSink.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/dialogs/ChannelCalibrationDialog.h"
#include "app/files/SettingsFiles.h"
#include "app/pages/AnalysisPage.h"
#include "app/pages/ControlLookup.h"
#include "files/AnalysisSettingsFile.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

TEST(ChannelCalibrationDialog, APresetFillsItsRowAndApplyRenamesTheChannelsAndKeepsThem) {
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    ProgramOptions options;
    options.messages = &messages;
    ProgramParts parts(options);
    auto model = SessionModel::create();
    MainWindow window(parts, *model, startDir.path());
    ChannelCalibrationDialog& dialog = *window.calibrationDialog();
    dialog.showCalibrations(window.analysisPage()->settings().channels);

    // The first preset: a lambda controller's 0-5 V as AFR 10-20 on the K40's input.
    auto* preset = controls::find<QComboBox>(&dialog, "calibrationpreset3");
    preset->setCurrentIndex(1);
    emit preset->activated(1);
    EXPECT_EQ(controls::find<QLineEdit>(&dialog, "calibrationname3")->text(), "AFR");
    EXPECT_EQ(controls::find<QLineEdit>(&dialog, "calibrationunit3")->text(), "AFR");
    EXPECT_EQ(controls::find<QLineEdit>(&dialog, "calibrationpoint3_2")->text(), "10");
    EXPECT_EQ(controls::find<QLineEdit>(&dialog, "calibrationpoint3_3")->text(), "1023");
    EXPECT_EQ(controls::find<QLineEdit>(&dialog, "calibrationpoint3_4")->text(), "20");

    // Channel 5 named, with its two recorded points equal: refused, nothing applied.
    controls::find<QLineEdit>(&dialog, "calibrationname5")->setText("EGT");
    controls::find<QLineEdit>(&dialog, "calibrationpoint5_3")->setText("0");
    auto* apply = controls::find<QPushButton>(&dialog, "calibrationapply");
    apply->click();
    EXPECT_TRUE(controls::find<QLabel>(&dialog, "calibrationproblem")
                    ->text()
                    .startsWith("Channel 5 (EGT): the two recorded points are equal"));
    EXPECT_EQ(window.analysisPage()->settings().channels[2].name, "");
    controls::find<QLineEdit>(&dialog, "calibrationpoint5_3")->setText("1O23");
    apply->click();
    EXPECT_EQ(controls::find<QLabel>(&dialog, "calibrationproblem")->text(),
              "Channel 5: '1O23' is not a number.");

    controls::find<QLineEdit>(&dialog, "calibrationpoint5_3")->setText("1023");
    apply->click();
    EXPECT_EQ(controls::find<QLabel>(&dialog, "calibrationproblem")->text(), "");
    EXPECT_EQ(controls::find<QComboBox>(&window, "analysischannel1")->itemText(3),
              "Channel 3 (AFR)");
    const auto kept =
        readAnalysisSettingsFile(window.settingsFiles()->analysisSettingsPath().toStdString());
    ASSERT_TRUE(kept.ok());
    const ChannelCalibration& afr = kept.value().settings.channels[2];
    EXPECT_EQ(afr.name, "AFR");
    EXPECT_DOUBLE_EQ(afr.valueLow, 10.0);
    EXPECT_DOUBLE_EQ(afr.recordedHigh, 1023.0);
    EXPECT_DOUBLE_EQ(afr.valueHigh, 20.0);
    EXPECT_EQ(kept.value().settings.channels[4].name, "EGT");
    EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace dyno
