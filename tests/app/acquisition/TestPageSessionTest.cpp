// A whole three-run session in the window: F3, the simulated K40 electronics with a
// 50 cc scooter on the roller, the toolkit's timers at a hundred times the wall clock.
//
// With DYNO_SPEED_PAGE_PNG set to a file name, the Speed page as it looked during the
// second run is saved there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "acquisition/ports/PortTestSupport.h"
#include "acquisition/ports/PtyServer.h"
#include "acquisition/ports/SerialByteLink.h"
#include "app/RecordingMessageSink.h"
#include "app/SimulatedSessionWindow.h"
#include "app/acquisition/K40Session.h"
#include "app/acquisition/TestControl.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/pages/FilePage.h"
#include "app/pages/SetupPage.h"
#include "app/pages/SpeedPage.h"
#include "app/pages/TestPage.h"
#include "model/SessionHeader.h"
#include "model/SessionModel.h"
#include "widgets/DigitCounter.h"
#include "widgets/ShadowLabel.h"

namespace dyno {
namespace {

// Yellow needle pixels on the speed dial away from the needle at rest (x = 195).
int movedSpeedNeedlePixels(const QImage& page) {
    int count = 0;
    for (int y = 160; y < 450; ++y) {
        for (int x = 4 + 50; x < 4 + 340; ++x) {
            if (x == 4 + 195) continue;
            if (QColor(page.pixel(x, y)) == QColor(255, 255, 0)) ++count;
        }
    }
    return count;
}

TEST(TestPageSession, SimulatedSessionEndsWithThreeRunsInSlotOne) {
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    auto model = SessionModel::create();
    ProgramOptions options = testing::fastSimulatedSession();
    ProgramParts parts(options);
    MainWindow window(parts, *model, startDir.path());
    testing::takeSessionMessages(window, messages);
    window.findChild<QRadioButton*>("test360button")->click();
    window.findChild<QAbstractButton*>("ad1_check")->click();

    auto* remote = window.findChild<ShadowLabel*>("remotetext");
    auto* digit = window.findChild<DigitCounter*>("digit");
    window.filePage()->showLoaded("earlier.zsd", 1);
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&window, &f3);
    ASSERT_EQ(window.pages()->currentWidget(), window.speedPage());
    EXPECT_EQ(window.filePage()->loadedText(), "") << "slot 1 holds the new test now";

    // Mid-run: the second run, a few seconds in.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return digit->digit() == 2 && remote->text() == "Test running"; }, 30'000));
    QTest::qWait(40);
    const QImage midRun =
        window.speedPage()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(movedSpeedNeedlePixels(midRun), 100) << "the speed needle is up from rest";
    if (const char* png = std::getenv("DYNO_SPEED_PAGE_PNG"))
        midRun.save(QString::fromLocal8Bit(png));

    ASSERT_TRUE(QTest::qWaitFor([&] { return remote->text() == "Test session finished"; }, 60'000))
        << remote->text().toStdString();
    EXPECT_EQ(digit->digit(), 3);
    EXPECT_TRUE(messages.messages.empty());

    const SimulatedK40& electronics = *parts.simulatedK40();
    ASSERT_EQ(electronics.runs().size(), 3u);
    EXPECT_EQ(electronics.commandsReceived().size(), 3u) << "start, then a re-arm after runs 1, 2";
    const TestSession& slot1 = model->slot(1);
    for (int run = 0; run < 3; ++run) {
        const auto revolutions =
            static_cast<int>(electronics.runs()[static_cast<std::size_t>(run)].size());
        EXPECT_EQ(slot1.leadingPeriods(run), std::min(revolutions, 2000)) << "run " << run;
        EXPECT_GT(slot1.rpmSamples[static_cast<std::size_t>(run) * 2000 + 50], 1000)
            << "run " << run;
        EXPECT_GT(slot1.analogSamples[static_cast<std::size_t>(run)][0][50], 0) << "channel 1";
    }
    EXPECT_EQ(slot1.header.words[SessionHeader::kElectronicsType], 1);
    EXPECT_EQ(slot1.values.rollerWeight(), 184.0);
    EXPECT_FALSE(window.k40Session()->isBusy());
}

TEST(TestPageSession, ElectronicsThatDoNotAnswerAreNamedOnTheSpeedAndSetupPages) {
    // An adapter that opens, with no dyno electronics behind it.
    test::ScriptedFarEnd nobody;
    PtyServer adapter(nobody);
    ASSERT_TRUE(adapter.start()) << adapter.errorText();
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    auto model = SessionModel::create();
    // The pseudo-terminal is reached as the program reaches a serial port.
    SerialByteLink serial;
    ProgramOptions options;
    options.timeLapse = 20;
    options.otherPortsLink = &serial;
    ProgramParts parts(options);
    MainWindow window(parts, *model, startDir.path());
    testing::takeSessionMessages(window, messages);
    window.setupPage()->portChoice()->setEditText(QString::fromStdString(adapter.slavePath()));

    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&window, &f3);
    const QString expected = QString::fromStdString(noAnswerText(adapter.slavePath()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.speedPage()->noAnswerText() == expected; }));
    EXPECT_EQ(window.setupPage()->noAnswerText(), expected);
    EXPECT_EQ(window.findChild<ShadowLabel*>("remotetext")->text(),
              "Press remote to start test sequence");
    EXPECT_TRUE(messages.messages.empty());
}

TEST(TestPageSession, EscapeAndTheStopButtonEndAK40SessionKeepingTheWholeRuns) {
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    auto model = SessionModel::create();
    ProgramOptions options = testing::fastSimulatedSession();
    ProgramParts parts(options);
    MainWindow window(parts, *model, startDir.path());
    testing::takeSessionMessages(window, messages);
    auto* remote = window.findChild<ShadowLabel*>("remotetext");
    auto* digit = window.findChild<DigitCounter*>("digit");
    QAbstractButton* stop = window.speedPage()->stopButton();
    EXPECT_TRUE(stop->isHidden());

    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&window, &f3);
    EXPECT_FALSE(stop->isHidden()) << "a running K40 session can be stopped";
    // Run 1 received, the rider about to ride run 2.
    ASSERT_TRUE(QTest::qWaitFor([&] { return digit->digit() == 2; }, 30'000));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    EXPECT_EQ(remote->text(), "Test stopped");
    EXPECT_TRUE(stop->isHidden());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "The test was stopped; 1 completed run kept.");

    // The electronics, armed for run 2, go on; nothing more is taken into slot 1.
    const SimulatedK40& electronics = *parts.simulatedK40();
    QTest::qWait(400);
    const TestSession& slot1 = model->slot(1);
    EXPECT_EQ(slot1.leadingPeriods(0), static_cast<int>(electronics.runs()[0].size()));
    EXPECT_EQ(slot1.leadingPeriods(1), 0);
    EXPECT_EQ(slot1.values.rollerWeight(), 184.0) << "stamped as a session that ended";
    EXPECT_EQ(remote->text(), "Test stopped");

    // A new session, stopped with the button before its first run arrives.
    QApplication::sendEvent(&window, &f3);
    ASSERT_FALSE(stop->isHidden());
    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_TRUE(stop->isHidden());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, "The test was stopped; 0 completed runs kept.");
    EXPECT_EQ(model->slot(1).leadingPeriods(0), 0);
    EXPECT_FALSE(window.k40Session()->isSessionRunning());
}

}  // namespace
}  // namespace dyno
