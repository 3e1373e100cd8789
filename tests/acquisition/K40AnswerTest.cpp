// Electronics that stay silent after a command are named, so a workshop does not
// wait for ever at "Press remote to start test sequence" with the port LED on.
#include "acquisition/K40LinkFixture.h"

namespace dyno::test {
namespace {

using K40Answer = K40LinkFixture;

TEST_F(K40Answer, SilenceAfterStartUpOrStartIsNamedWithThePortAndAnAnswerClearsIt) {
    ASSERT_EQ(link.sendStartUp("/dev/ttyUSB0", 7), K40Link::Outcome::Done);
    clock.advance(kAnswerAwaitedMs - 1);
    EXPECT_TRUE(display.linesStartingWith("no answer").empty());
    clock.advance(1);
    EXPECT_EQ(display.linesStartingWith("no answer"),
              std::vector<std::string>{"no answer No answer from the dyno electronics on "
                                       "/dev/ttyUSB0: check power, cable and the port on the "
                                       "Setup page"});
    EXPECT_EQ(display.linesStartingWith("led").back(), "led on") << "the port itself is open";

    // Switched on late: the first packet takes the warning away.
    scripted.feed(K40Packet::of(k40code::kFirmwareVersion, k40code::kFirmwareMark1,
                                k40code::kFirmwareMark2, 1, 5));
    EXPECT_EQ(display.linesStartingWith("no answer").back(), "no answer ");

    // A start that is answered in time shows nothing; one that is not, names its port.
    startTest();
    scripted.feed(event(k40code::kLiveSpeed));
    clock.advance(10 * kAnswerAwaitedMs);
    EXPECT_EQ(display.linesStartingWith("no answer").size(), 2u);
    K40Start other = testStart();
    other.portName = "COM4";
    link.start(other);
    clock.advance(kAnswerAwaitedMs);
    EXPECT_NE(display.linesStartingWith("no answer").back().find(" on COM4: "), std::string::npos);
    EXPECT_EQ(display.linesStartingWith("text ").back().rfind("text Press remote", 0), 0u)
        << "the rider's instruction stays";
}

TEST_F(K40Answer, APortThatFailsToOpenOrVanishesIsNotAlsoCalledSilent) {
    scripted.canOpen = false;
    scripted.error = "No such file or directory";
    link.sendStartUp("COM9", 7);
    clock.advance(kAnswerAwaitedMs);
    scripted.canOpen = true;
    link.sendStartUp("COM3", 7);
    link.linkFailed();
    clock.advance(kAnswerAwaitedMs);
    EXPECT_TRUE(display.linesStartingWith("no answer").empty());
}

}  // namespace
}  // namespace dyno::test
