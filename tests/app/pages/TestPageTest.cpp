// The Test page and test control in the whole window, with the simulated K40
// electronics on a manual clock behind port "SIM": what a start reads from the pages,
// what it sends, and what the Speed page then shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "acquisition/ManualClock.h"
#include "acquisition/ScriptedLink.h"
#include "app/RecordingMessageSink.h"
#include "app/acquisition/K40Session.h"
#include "app/acquisition/TestControl.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/SpeedPage.h"
#include "app/pages/TestPage.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"
#include "widgets/DigitCounter.h"
#include "widgets/Led.h"
#include "widgets/LevelBar.h"
#include "widgets/ShadowLabel.h"

namespace dyno {
namespace {

using Bytes = std::array<std::uint8_t, 10>;

class TestPageTest : public testing::Test {
  protected:
    TestPageTest() : model(SessionModel::create()) { buildWindow(false); }

    // The window on the simulated electronics for port "SIM" (with `isSimulated`,
    // for every port, as `--simulate` puts it together), on the manual clock.
    void buildWindow(bool isSimulated) {
        window.reset();
        ProgramOptions options;
        // Other names reach a line that cannot be opened, as a missing serial port.
        if (!isSimulated) options.otherPortsLink = &missingPort;
        options.clock = &clock;
        options.electronics.isPacedAtLineRate = false;
        options.electronics.remoteDelayMs = -1;  // the test presses the remote
        parts = std::make_unique<ProgramParts>(options);
        window = std::make_unique<MainWindow>(*parts, *model, startDir.path());
        window->k40Session()->setMessageSink(messages);
        window->testControl()->setMessageSink(messages);
        window->testPage()->setConfirmation([this](const QString& text) {
            asked.push_back(text);
            return answer;
        });
        controls::writeText(window.get(), "comedit", "SIM");
    }

    void click(const char* name) { window->findChild<QAbstractButton*>(name)->click(); }
    void type(const char* name, const char* text) { controls::writeText(window.get(), name, text); }
    QString remoteText() { return window->findChild<ShadowLabel*>("remotetext")->text(); }
    int digit() { return window->findChild<DigitCounter*>("digit")->digit(); }
    SimulatedK40& electronics() { return *parts->simulatedK40(); }
    std::vector<Bytes> commandsSent() {
        std::vector<Bytes> sent;
        if (SimulatedK40* electronics = parts->simulatedK40()) {
            for (const K40Command& command : electronics->commandsReceived()) {
                sent.push_back(command.bytes);
            }
        }
        return sent;
    }
    bool isSpeedPageShown() { return window->pages()->currentWidget() == window->speedPage(); }
    // Runs the clock in small steps until `text` is shown, at most `limitMs`.
    bool runUntilShown(const QString& text, std::int64_t limitMs = 120'000) {
        for (std::int64_t ms = 0; ms < limitMs && remoteText() != text; ms += 10) clock.advance(10);
        return remoteText() == text;
    }

    QTemporaryDir startDir;
    ManualClock clock;
    RecordingMessageSink messages;
    std::unique_ptr<SessionModel> model;
    test::ScriptedLink missingPort = [] {
        test::ScriptedLink link;
        link.canOpen = false;
        link.error = "No such file or directory";
        return link;
    }();
    std::unique_ptr<ProgramParts> parts;
    std::unique_ptr<MainWindow> window;
    std::vector<QString> asked;
    bool answer = true;
};

TEST_F(TestPageTest, TestTypeDecidesStartCaptionAndRevCounterButton) {
    TestPage& page = *window->testPage();
    EXPECT_TRUE(window->findChild<QRadioButton*>("norpmtestbutton")->isChecked());
    EXPECT_EQ(page.startTestButton()->text(), "Start Test");
    EXPECT_FALSE(page.revCounterButton()->isEnabled());
    EXPECT_EQ(page.userDegreesText(), "360");
    EXPECT_EQ(page.gearbox(), GearboxType::Variomatic);

    for (const char* withRpm :
         {"test720button", "test360button", "test180button", "testuserdefbutton"}) {
        click("norpmtestbutton");
        click(withRpm);
        EXPECT_EQ(page.startTestButton()->text(), "Start Test with RPM reg.") << withRpm;
        EXPECT_TRUE(page.revCounterButton()->isEnabled()) << withRpm;
    }
    EXPECT_EQ(page.testTypeButtons().deciding(), TestType::UserDefinedDegrees);
    click("norpmtestbutton");
    EXPECT_EQ(page.startTestButton()->text(), "Start Test");
    EXPECT_FALSE(page.revCounterButton()->isEnabled());
    EXPECT_EQ(window->findChild<QRadioButton*>("test720button")->text(),
              QString::fromUtf8("720 ° between ignition impulses"));
}

TEST_F(TestPageTest, CancelInTheConfirmationStartsNothing) {
    answer = false;
    window->testPage()->startTestButton()->click();
    ASSERT_EQ(asked, std::vector<QString>{"Start new test"});
    click("test720button");
    window->testPage()->revCounterButton()->click();
    EXPECT_EQ(asked.back(), "Start rev. counter check");
    clock.advance(1000);
    EXPECT_TRUE(commandsSent().empty());
    EXPECT_FALSE(isSpeedPageShown());
    EXPECT_EQ(remoteText(), "Remote function");
}

TEST_F(TestPageTest, StartPreparesFromThePagesAndSendsTheStartCommand) {
    controls::writeItemIndex(window.get(), "dynomodel", 2);  // K80 on the USB/serial electronics
    click("test360button");
    click("ad1_check");
    click("ad3_check");
    controls::writeChecked(window.get(), "vejrstation_check", true);
    window->programState().transferDelay = 33;
    type("rollerweightedit", "");
    type("pos_a1edit", "40");
    type("pos_a2edit", "90");

    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(window->testPage(), &f3);
    ASSERT_EQ(asked, std::vector<QString>{"Start new test"}) << "F3 is \"Start Test\"";

    EXPECT_TRUE(isSpeedPageShown());
    EXPECT_EQ(commandsSent(), std::vector<Bytes>({{3, 1, 0, 1, 0, 0, 1, 33, 0, 27}}));
    EXPECT_DOUBLE_EQ(window->programState().dyno.speedDialConstant, 18'097'920.0);
    const K40Start& sent = *window->k40Session()->lastStart();
    EXPECT_EQ(sent.portName, "SIM");
    EXPECT_EQ(sent.dial.rpmDialConstant, 1'920'000);
    EXPECT_EQ(sent.dial.rpmSampleConstant, 120'000'000);
    EXPECT_EQ(sent.session.dynoModel, DynoModel::K80);
    EXPECT_EQ(sent.session.rollerWeightKg, 0.0) << "an empty roller weight is 0";
    auto* bar1 = window->findChild<LevelBar*>("ad1_bar");
    EXPECT_EQ(bar1->firstLimit(), 40);
    EXPECT_EQ(bar1->secondLimit(), 90);

    clock.advance(100);
    EXPECT_EQ(remoteText(), "Press remote to start test sequence");
    EXPECT_EQ(digit(), 1);
    EXPECT_TRUE(window->findChild<Led*>("led")->isOn());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(TestPageTest, RevCounterCheckNeedsAnRpmTestType) {
    window->testPage()->startRevCounterCheck();
    EXPECT_TRUE(isSpeedPageShown()) << "the Speed page comes up even so";
    clock.advance(1000);
    EXPECT_TRUE(commandsSent().empty());

    click("test180button");
    window->testPage()->startRevCounterCheck();
    clock.advance(100);
    ASSERT_EQ(commandsSent().size(), 1u);
    EXPECT_EQ(commandsSent()[0][0], 2) << "rev counter check";
    EXPECT_EQ(remoteText(), "Rpm check running");
    EXPECT_EQ(window->k40Session()->lastStart()->dial.rpmDialConstant, 1'200'000);
}

TEST_F(TestPageTest, EntriesThePreparationCannotReadStopTheStart) {
    type("pos_b2edit", "7x");
    window->testPage()->startTest();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, notAnIntegerMessage("7x"));
    EXPECT_FALSE(isSpeedPageShown());

    type("pos_b2edit", "75");
    click("testuserdefbutton");
    type("testuserdef", "99999");
    window->testPage()->startTest();
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_NE(messages.messages[1].text.find("5153"), std::string::npos);
    clock.advance(1000);
    EXPECT_TRUE(commandsSent().empty());
}

TEST_F(TestPageTest, UseRpmDataStoresHundredsOfRpmForAllThreeRuns) {
    type("rpm_at_100_edit", "1234");
    window->testPage()->useRpmDataButton()->click();
    for (int run = 0; run < 3; ++run) EXPECT_DOUBLE_EQ(model->slot(1).values.rpmPer100(run), 12.34);

    type("rpm_at_100_edit", "12x");
    window->testPage()->useRpmDataButton()->click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, notAFloatMessage("12x"));
    EXPECT_DOUBLE_EQ(model->slot(1).values.rpmPer100(2), 12.34) << "left as it was";
}

TEST_F(TestPageTest, SlotOneIsRefusedWhileADispatchWaits) {
    K40Session& k40 = *window->k40Session();
    window->testPage()->startTest();
    EXPECT_TRUE(k40.isBusy()) << "the 100 ms after the start command";
    clock.advance(100);
    EXPECT_FALSE(k40.isBusy());
    RecordingMessageSink filePage;
    EXPECT_FALSE(window->slot1Lock().refuseChange(filePage));

    electronics().pressRemote();
    ASSERT_TRUE(runUntilShown("Data OK"));
    EXPECT_TRUE(k40.isBusy());
    EXPECT_TRUE(window->slot1Lock().refuseChange(filePage));
    ASSERT_EQ(filePage.messages.size(), 1u);
    EXPECT_EQ(filePage.messages[0].text, kSlot1BusyText);
    EXPECT_GT(model->slot(1).leadingPeriods(0), 100) << "the run is already in slot 1";

    clock.advance(500);
    EXPECT_FALSE(k40.isBusy());
    EXPECT_EQ(remoteText(), "Press remote to start test sequence");
    EXPECT_EQ(digit(), 2);
    EXPECT_EQ(commandsSent().size(), 2u) << "re-armed for the next run";
}

TEST_F(TestPageTest, ChangesBetweenRunsCountAndUseRpmDataWaitsForTheDispatch) {
    window->testPage()->startTest();
    clock.advance(100);
    type("rollerweightedit", "150");  // typed while the first run is under way
    electronics().pressRemote();
    ASSERT_TRUE(runUntilShown("Data OK"));

    type("rpm_at_100_edit", "1234");
    window->testPage()->useRpmDataButton()->click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kSlot1BusyText);
    EXPECT_EQ(model->slot(1).values.rpmPer100(0), 0.0) << "slot 1 untouched while receiving";

    clock.advance(500);
    for (const char* end : {"Data OK", "Test session finished"}) {
        electronics().pressRemote();
        ASSERT_TRUE(runUntilShown(end)) << end;
        clock.advance(500);
    }
    EXPECT_EQ(model->slot(1).values.rollerWeight(), 150.0) << "read when the session finished";
}

TEST_F(TestPageTest, PortNameChoosesTheElectronics) {
    type("comedit", "/nonexistent/ttyK40");
    window->testPage()->startTest();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].kind, MessageKind::Error);
    EXPECT_FALSE(messages.messages[0].text.empty()) << "the system's reason";
    EXPECT_FALSE(window->findChild<Led*>("led")->isOn());
    EXPECT_TRUE(commandsSent().empty());

    type("comedit", "SIM");
    window->testPage()->startTest();
    EXPECT_EQ(commandsSent().size(), 1u);
    EXPECT_TRUE(window->findChild<Led*>("led")->isOn());

    // `--simulate`: any port name reaches the simulated electronics.
    buildWindow(true);
    type("comedit", "COM7");
    window->testPage()->startTest();
    EXPECT_EQ(commandsSent().size(), 1u);
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(TestPageTest, StartUpAsksTheK40ForItsFirmwareWhenTheUsbElectronicsAreChosen) {
    RecordingMessageSink settingsMessages;
    // Without a settings file `comedit` shows "COM1"; `--simulate` keeps it off the hardware.
    buildWindow(true);
    window->setSettingsMessageSink(settingsMessages);
    EXPECT_FALSE(window->startUp({}));
    ASSERT_FALSE(commandsSent().empty());
    EXPECT_EQ(commandsSent()[0], (Bytes{8, 0, 0, 0, 0, 0, 0, 20, 0, 27}));
    clock.runUntilIdle();
    QString samples;
    controls::readText(window.get(), "samples_edit", samples);
    EXPECT_EQ(samples, "2000");
    QString high, low;
    controls::readText(window.get(), "versionhigh", high);
    controls::readText(window.get(), "versionlow", low);
    EXPECT_EQ(high + "." + low, "1.5") << "the simulated electronics report firmware 1.5";
    EXPECT_TRUE(window->findChild<Led*>("led")->isOn());
}

TEST_F(TestPageTest, StationReadingsUseTheUnitsInForceAndFillSlotOnesAirBoxesToo) {
    window->testPage()->startTest();  // in degrees Celsius
    clock.advance(100);
    // Changed after the start: the readings arriving now are shown in Fahrenheit.
    controls::writeChecked(window.get(), "fahrenheitcheck", true);
    window->programState().weatherConstants = {250.0, 250.0, 250.0};
    window->testControl()->setMessageSink(messages);
    ASSERT_EQ(window->k40Session()->requestWeather("SIM", 20), K40Link::Outcome::Done);
    clock.advance(kWeatherAnswerMs);
    const auto text = [this](const char* name) {
        QString value;
        controls::readText(window.get(), name, value);
        return value;
    };
    EXPECT_EQ(text("tempedit"), "73") << "the simulated 23 degrees Celsius";
    EXPECT_EQ(text("tempbox1"), text("tempedit"));
    EXPECT_EQ(text("barobox1"), text("baroedit"));
    EXPECT_EQ(text("fugtbox1"), text("fugtedit"));
    EXPECT_FALSE(text("fugtbox1").isEmpty());
}

}  // namespace
}  // namespace dyno
