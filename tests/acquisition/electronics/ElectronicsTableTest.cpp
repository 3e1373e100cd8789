// The electronics table: the K40 link behind it reports how its sessions ended, the
// stored `electronics` index picks one entry, and the slot-1 lock refuses by what
// the electronics say of slot 1.
#include <gmock/gmock.h>

#include "acquisition/K40LinkFixture.h"
#include "acquisition/electronics/K40Electronics.h"
#include "acquisition/electronics/Slot1Lock.h"
#include "support/StandInElectronics.h"

namespace dyno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ElectronicsTable : public K40LinkFixture {
  protected:
    PreparedTestStart prepared() const {
        PreparedTestStart start;
        start.k40 = testStart();
        return start;
    }

    K40Electronics k40{link, messages};
    DynoElectronics& electronics = k40;
};

TEST_F(ElectronicsTable, K40SessionsEndStoppedOrWithTheirPortLostAndSaySo) {
    EXPECT_FALSE(electronics.lastOutcome().has_value());
    ASSERT_EQ(electronics.start(prepared()), DynoElectronics::Request::Done);
    EXPECT_TRUE(electronics.isSessionRunning());
    clock.advance(kStartCommandSettleMs);
    beginTransfer();
    scripted.feed(std::vector<K40Packet>(60, K40Packet::withV32(k40code::kRollerSample, 50'000)));
    completeRun();
    ASSERT_TRUE(electronics.stop());
    ASSERT_TRUE(electronics.lastOutcome());
    EXPECT_EQ(electronics.lastOutcome()->kind, SessionOutcome::Kind::Stopped);
    EXPECT_EQ(electronics.lastOutcome()->completedRuns, 1);

    ASSERT_EQ(electronics.start(prepared()), DynoElectronics::Request::Done);
    clock.advance(kStartCommandSettleMs);
    scripted.vanish("Input/output error");
    EXPECT_FALSE(electronics.isSessionRunning());
    EXPECT_EQ(electronics.lastOutcome()->kind, SessionOutcome::Kind::LinkLost);
    EXPECT_EQ(electronics.lastOutcome()->completedRuns, 0);
}

TEST_F(ElectronicsTable, TheK40IsBusyWithSlotOneOnlyWhileAPacketsWaitIsPending) {
    electronics.start(prepared());
    EXPECT_TRUE(electronics.isBusyWithSlot1()) << "the 100 ms after the start command";
    clock.advance(kStartCommandSettleMs);
    EXPECT_FALSE(electronics.isBusyWithSlot1()) << "the rider's wait leaves slot 1 free";
    EXPECT_FALSE(electronics.isWritingSlot1Meanwhile());
}

TEST(ElectronicsChoice, TheStoredIndexPicksOneAndAnUnknownIndexCountsAsTheCard) {
    dyno::testing::StandInElectronics card, usbSerial;
    const ElectronicsChoice choice(card, usbSerial);
    EXPECT_EQ(&choice.ofIndex(0), &card);
    EXPECT_EQ(&choice.ofIndex(1), &usbSerial);
    EXPECT_EQ(&choice.ofIndex(-1), &card);
    EXPECT_EQ(namedElectronicsOf(-1), std::nullopt);
    EXPECT_EQ(namedElectronicsOf(1), Electronics::UsbSerial);
}

TEST(Slot1Lock, ChangesWaitForEitherElectronicsReadingOnlyForAWorkerWritingIt) {
    RecordingMessages messages;
    dyno::testing::StandInSlot1 slot1(messages);
    EXPECT_FALSE(slot1.lock.refuseChange());
    EXPECT_FALSE(slot1.lock.refuseReading());
    EXPECT_THAT(messages.shown, IsEmpty());

    slot1.k40.isBusy = true;  // a K40 packet's wait: slot 1 may be read, not changed
    EXPECT_TRUE(slot1.lock.refuseChange());
    EXPECT_FALSE(slot1.lock.refuseReading());
    slot1.k40.isBusy = false;

    slot1.card.isBusy = slot1.card.isWritingMeanwhile = true;  // a card session
    EXPECT_TRUE(slot1.lock.refuseReading());
    EXPECT_THAT(messages.shown, ElementsAre("VKR dyno: " + std::string(kSlot1BusyText),
                                            "VKR dyno: " + std::string(kSlot1BusyText)));
}

}  // namespace
}  // namespace dyno::test
