// Electronics that stay silent after a command are named, so a workshop does not
// wait for ever at "Press remote to start test sequence" with the port LED on.
#include "acquisition/K40LinkFixture.h"

namespace dyno::test {
namespace {

using K40Answer = K40LinkFixture;

TEST_F(K40Answer, SilenceAfterStartUpIsNamedWithThePortAndAnAnswerTakesItBack) {
    ASSERT_EQ(link.sendStartUp("/dev/ttyUSB0", 7), K40Link::Outcome::Done);
    clock.advance(kAnswerAwaitedMs - 1);
    EXPECT_TRUE(display.linesStartingWith("no answer").empty());
    clock.advance(1);
    EXPECT_EQ(display.linesStartingWith("no answer"),
              std::vector<std::string>{"no answer /dev/ttyUSB0"});
    EXPECT_EQ(display.linesStartingWith("led").back(), "led on") << "the port itself is open";

    // Switched on late: the first packet takes the warning away.
    scripted.feed(K40Packet::of(k40code::kFirmwareVersion, k40code::kFirmwareMark1,
                                k40code::kFirmwareMark2, 1, 5));
    EXPECT_EQ(display.linesStartingWith("no answer").back(), "no answer ");

    // Electronics that answered may keep quiet until the rider presses the remote.
    startTest();
    clock.advance(10 * kAnswerAwaitedMs);
    EXPECT_EQ(display.linesStartingWith("no answer").size(), 2u);
    EXPECT_EQ(display.linesStartingWith("text ").back().rfind("text Press remote", 0), 0u);
}

TEST_F(K40Answer, AStartOnAPortOpenedAfreshIsWatchedAndAnotherPortTakesTheWarningBack) {
    K40Start start = testStart();
    start.portName = "COM4";
    ASSERT_EQ(link.start(start), K40Link::Outcome::Done);
    clock.advance(kAnswerAwaitedMs);
    EXPECT_EQ(display.linesStartingWith("no answer").back(), "no answer COM4");
    EXPECT_EQ(display.linesStartingWith("text ").back().rfind("text Press remote", 0), 0u)
        << "the rider's instruction stays";

    // The user chooses another port, which does not open: COM4 is no longer named.
    scripted.close();
    scripted.canOpen = false;
    scripted.error = "No such file or directory";
    start.portName = "COM5";
    EXPECT_EQ(link.start(start), K40Link::Outcome::PortFailed);
    clock.advance(kAnswerAwaitedMs);
    EXPECT_EQ(display.linesStartingWith("no answer"),
              (std::vector<std::string>{"no answer COM4", "no answer "}));
}

TEST_F(K40Answer, APortThatVanishesIsNotAlsoCalledSilent) {
    link.sendStartUp("COM3", 7);
    clock.advance(kAnswerAwaitedMs);
    link.linkFailed();
    EXPECT_EQ(display.linesStartingWith("no answer").back(), "no answer ")
        << "the lost connection has its own message";
    link.sendStartUp("COM3", 7);
    link.linkFailed();
    clock.advance(kAnswerAwaitedMs);
    EXPECT_EQ(display.linesStartingWith("no answer").size(), 2u);
}

}  // namespace
}  // namespace dyno::test
