// The K70/K80 card in the window: its sequence on the worker thread against the
// simulated card, slot 1 handed over and back, the ways to stop it, and "Get data
// from Weatherstation" on both electronics.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/RecordingMessageSink.h"
#include "app/acquisition/CardSession.h"
#include "app/acquisition/K40Session.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/files/SessionFileActions.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/SpeedPage.h"
#include "app/pages/TestPage.h"
#include "evaluation/RunEvaluation.h"
#include "files/SettingsFileCodec.h"
#include "model/SessionModel.h"
#include "widgets/DigitCounter.h"
#include "widgets/ShadowLabel.h"

namespace dyno {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Message = RecordingMessageSink::Message;

constexpr int kCardElectronics = 0;
constexpr int kUsbSerialElectronics = 1;
constexpr int kK70 = 1;

struct CardWindow {
    explicit CardWindow(bool isPaced, int electronics = kCardElectronics) {
        // The workshop's settings: a K70 on the card (or the K40 electronics) with a
        // weather station, its constants in force from the file.
        DynoSettings settings;
        settings.dynoModel = kK70;
        settings.electronicsType = electronics;
        settings.weatherStationConnected = true;
        EXPECT_TRUE(saveSettingsFile(QDir(startDir.path()).filePath("vkr_dyno.ini").toStdString(),
                                     settings));
        ProgramOptions options;
        options.isSimulated = true;
        options.messages = &messages;
        options.isCardPaced = isPaced;
        // Unpaced, ten times the real cost per access: a session in a few million.
        options.cardAccessNs = isPaced ? 1000 : 10'000;
        options.timeLapse = 100;  // the K40's timers
        options.electronics.isPacedAtLineRate = false;
        parts = std::make_unique<ProgramParts>(options);
        window = std::make_unique<MainWindow>(*parts, *model, startDir.path());
        window->testPage()->setConfirmation([](const QString&) { return true; });
        window->startUp(parts->cardBusOpener());
        messages.messages.clear();  // no analog settings file
    }

    QString remoteText() const { return window->findChild<ShadowLabel*>("remotetext")->text(); }
    CardSession& card() const { return *window->cardSession(); }
    QPushButton* stopButton() const { return window->speedPage()->stopButton(); }
    TestSession& slot1() const { return model->slot(1); }
    bool waitForEnd(int timeoutMs) const {
        return QTest::qWaitFor([&] { return !card().isRunning(); }, timeoutMs);
    }

    QTemporaryDir startDir;
    RecordingMessageSink messages;
    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<ProgramParts> parts;
    std::unique_ptr<MainWindow> window;
};

TEST(CardSessionWindow, SimulatedSessionRunsOnTheWorkerToTheEndAndEvaluates) {
    CardWindow dyno(false);
    controls::writeText(dyno.window.get(), "tempedit", "");
    dyno.window->findChild<QRadioButton*>("test360button")->click();
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(dyno.window.get(), &f3);
    ASSERT_EQ(dyno.window->pages()->currentWidget(), dyno.window->speedPage());
    EXPECT_TRUE(dyno.card().isRunning());
    EXPECT_FALSE(dyno.stopButton()->isHidden());

    ASSERT_TRUE(dyno.waitForEnd(120'000)) << dyno.remoteText().toStdString();
    EXPECT_EQ(dyno.remoteText(), "Test session finished");
    EXPECT_EQ(dyno.window->findChild<DigitCounter*>("digit")->digit(), 3);
    EXPECT_TRUE(dyno.stopButton()->isHidden());
    EXPECT_THAT(dyno.messages.messages, ::testing::IsEmpty());

    const TestSession& slot1 = dyno.slot1();
    EXPECT_EQ(slot1.header.dynoModel(), kK70);
    EXPECT_EQ(slot1.header.electronicsType(), kCardElectronics);
    EXPECT_NEAR(slot1.values.stationCorrection(), 1.0, 0.05);
    EXPECT_NE(slot1.values.stationCorrection(), 1.0) << "the station was read";
    QString temperature;
    controls::readText(dyno.window.get(), "tempedit", temperature);
    EXPECT_FALSE(temperature.isEmpty()) << "the station's air in the Param. page's boxes";
    auto workspace = EvaluationWorkspace::create();
    for (int run = 0; run < 3; ++run) {
        const EvaluationReport report =
            evaluate(*dyno.model, 1, run, EvaluationOptions{}, *workspace);
        EXPECT_GT(report.evalCount, 100) << "run " << run;
        EXPECT_GT(slot1.rpmSamples[static_cast<std::size_t>(run) * 2000 + 50], 1000);
    }
    // Slot 1 is the window's again: the graph updates without a word.
    dyno.window->graphsPage()->updateDisplay();
    EXPECT_THAT(dyno.messages.messages, ::testing::IsEmpty());

    // The rev counter check goes the same way, until the rider presses the remote.
    dyno.window->testPage()->startRevCounterCheck();
    EXPECT_TRUE(dyno.card().isRunning());
    ASSERT_TRUE(dyno.waitForEnd(60'000));
    EXPECT_EQ(dyno.remoteText(), "RPM test finished");
    EXPECT_THAT(dyno.messages.messages, ::testing::IsEmpty());
}

// Paced to the wall clock, the rider takes a second and a half to press the remote:
// time enough to try slot 1 and then stop.
TEST(CardSessionWindow, SlotOneIsRefusedWhileTheCardRunsAndStopEndsTheRemoteWait) {
    CardWindow dyno(true);
    dyno.slot1().rollerPeriods[0] = 4711;  // a session of before
    dyno.window->testPage()->startTest();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dyno.remoteText() == "Press remote to start test sequence"; }, 5000));

    dyno.window->sessionFileActions()->loadIntoSlot(1);
    dyno.window->graphsPage()->updateDisplay();
    dyno.window->testPage()->startTest();
    const Message busy{MessageKind::Warning, "VKR dyno", std::string(kSlot1BusyText)};
    EXPECT_THAT(dyno.messages.messages, ElementsAre(busy, busy, busy));
    dyno.messages.messages.clear();

    dyno.stopButton()->click();
    ASSERT_TRUE(dyno.waitForEnd(5000));
    EXPECT_EQ(dyno.remoteText(), "Test stopped");
    ASSERT_EQ(dyno.messages.messages.size(), 1u);
    EXPECT_THAT(dyno.messages.messages[0].text,
                HasSubstr("The test was stopped; 0 completed runs kept."));
    EXPECT_EQ(dyno.slot1().leadingPeriods(0), 0) << "the start cleared the old session";

    // The window is usable: the next session starts, and Escape stops it.
    dyno.messages.messages.clear();
    dyno.window->testPage()->startTest();
    ASSERT_TRUE(dyno.card().isRunning());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dyno.stopButton(), &escape);
    ASSERT_TRUE(dyno.waitForEnd(5000));
    EXPECT_EQ(dyno.messages.messages.size(), 1u);
}

TEST(CardSessionWindow, ClosingTheWindowJoinsTheRunningSession) {
    CardWindow dyno(true);
    dyno.window->show();
    dyno.window->testPage()->startTest();
    ASSERT_TRUE(dyno.card().isRunning());
    dyno.window->close();
    EXPECT_FALSE(dyno.card().isRunning());
    QTest::qWait(20);  // what the worker had queued is dropped or drawn, never shown
    EXPECT_THAT(dyno.messages.messages, ::testing::IsEmpty());
}

// "Get data from Weatherstation" on both electronics: the K40's answer arrives as
// packets, the card's readout at once; either way slot 1 gets the station's factor
// and the Param. page its air data.
TEST(CardSessionWindow, WeatherStationButtonSetsTheFactorOnBothElectronics) {
    for (const int electronics : {kUsbSerialElectronics, kCardElectronics}) {
        SCOPED_TRACE(electronics);
        CardWindow dyno(false, electronics);
        controls::writeText(dyno.window.get(), "tempedit", "");
        if (electronics == kUsbSerialElectronics) QTest::qWait(50);  // the start-up answer
        dyno.slot1().correctionFactor = 0.0;
        dyno.window->findChild<QPushButton*>("get_ws_data_button")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dyno.slot1().correctionFactor != 0.0; }, 5000));
        EXPECT_NEAR(dyno.slot1().correctionFactor, 1.0, 0.05);
        EXPECT_NE(dyno.slot1().correctionFactor, 1.0);
        QString temperature;
        controls::readText(dyno.window.get(), "tempedit", temperature);
        EXPECT_FALSE(temperature.isEmpty());
        EXPECT_THAT(dyno.messages.messages, ::testing::IsEmpty());
    }
}

}  // namespace
}  // namespace dyno
