#include <gtest/gtest.h>

#include "model/SessionModel.h"

namespace dyno {
namespace {

void fillRecording(TestSession& session, std::int32_t base) {
    for (int i = 0; i < kSessionSamples; ++i) {
        session.rollerPeriods[static_cast<std::size_t>(i)] = base + i;
        session.rpmSamples[static_cast<std::size_t>(i)] = base - i;
    }
    for (int r = 0; r < kRunsStored; ++r) {
        for (int c = 0; c < kAnalogChannels; ++c) {
            session.analogSamples[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)].fill(
                static_cast<std::uint16_t>(base + 10 * r + c));
        }
    }
    for (int w = 0; w < 10; ++w) {
        session.header.words[static_cast<std::size_t>(w)] = static_cast<std::int16_t>(base + w);
        session.values.values[static_cast<std::size_t>(w)] = base + 0.5 * w;
    }
    session.correctionFactor = 1.0 + base / 1000.0;
    session.airPressure = 1000 + base;
    session.remarkLine1.assign("remark of " + std::to_string(base), kRemarkStoredChars);
    session.make.assign("Piaggio", kMakeModelStoredChars);
    session.owner.assign("Workshop", kOwnerStoredChars);
}

TEST(SessionModel, SlotsAreNumberedOneToFourAndDistinct) {
    auto model = SessionModel::create();
    for (int s = 1; s <= kSessionSlots; ++s) {
        model->slot(s).correctionFactor = s;
    }
    for (int s = 1; s <= kSessionSlots; ++s) EXPECT_EQ(model->slot(s).correctionFactor, s);
    EXPECT_THROW(model->slot(0), std::out_of_range);
    EXPECT_THROW(model->slot(5), std::out_of_range);
}

TEST(SessionModel, CopyingSlotOneIntoThreeLeavesTwoAndFourUntouched) {
    auto model = SessionModel::create();
    fillRecording(model->slot(1), 100);
    fillRecording(model->slot(2), 200);
    fillRecording(model->slot(3), 300);
    fillRecording(model->slot(4), 400);
    model->slot(3).airPressure = 955.0;

    model->copySlot1Into(3);

    const TestSession& one = model->slot(1);
    const TestSession& three = model->slot(3);
    for (int i = 0; i < kRecordedSamples; ++i) {
        ASSERT_EQ(three.rollerPeriods[static_cast<std::size_t>(i)], 100 + i);
        ASSERT_EQ(three.rpmSamples[static_cast<std::size_t>(i)], 100 - i);
    }
    // Runs 3 and 4 of the storage are not part of a recording and are not copied.
    EXPECT_EQ(three.rollerPeriods[kRecordedSamples], 300 + kRecordedSamples);
    EXPECT_EQ(three.analogSamples[2][4][0], 100 + 20 + 4);
    EXPECT_EQ(three.analogSamples[3][0][0], 300 + 30);
    EXPECT_EQ(three.header, one.header);
    EXPECT_EQ(three.values, one.values);
    EXPECT_EQ(three.correctionFactor, one.correctionFactor);
    EXPECT_EQ(three.remarkLine1.view(), "remark of 100");
    EXPECT_EQ(three.make.view(), "Piaggio");
    EXPECT_EQ(three.airPressure, 955.0) << "air data stay with the slot";

    EXPECT_EQ(model->slot(2).rollerPeriods[0], 200);
    EXPECT_EQ(model->slot(4).rollerPeriods[0], 400);
    EXPECT_EQ(model->slot(2).remarkLine1.view(), "remark of 200");
}

TEST(TestSession, RunViewsAddressRunTimesTwoThousand) {
    auto model = SessionModel::create();
    TestSession& session = model->slot(1);
    session.run(2).rollerPeriods[5] = 77;
    session.run(1).rpmSamples[1999] = 88;
    session.run(2).analogSamples[4][3] = 99;
    EXPECT_EQ(session.rollerPeriods[2 * 2000 + 5], 77);
    EXPECT_EQ(session.rpmSamples[1 * 2000 + 1999], 88);
    EXPECT_EQ(session.analogSamples[2][4][3], 99);
}

TEST(TestSession, ValidLengthIsTheLeadingNonZeroPeriods) {
    auto model = SessionModel::create();
    TestSession& session = model->slot(1);
    EXPECT_EQ(session.leadingPeriods(0), 0) << "first entry 0: the run is empty";
    std::fill_n(session.rollerPeriods.begin(), 3 * kSamplesPerRun, 40000);
    EXPECT_EQ(session.leadingPeriods(0, 1999), 1999);
    EXPECT_EQ(session.leadingPeriods(1), 2000) << "never reads into the next run";
    session.run(2).rollerPeriods[10] = 0;
    EXPECT_EQ(session.leadingPeriods(2), 10);
}

TEST(TestSession, ClearingForRecordingZeroesEightThousandEntriesButNotAnalog) {
    auto model = SessionModel::create();
    TestSession& session = model->slot(1);
    fillRecording(session, 5);
    session.clearForRecording();
    EXPECT_EQ(session.rollerPeriods[0], 0);
    EXPECT_EQ(session.rollerPeriods[7999], 0);
    EXPECT_EQ(session.rpmSamples[7999], 0);
    EXPECT_EQ(session.rollerPeriods[8000], 5 + 8000);
    EXPECT_EQ(session.analogSamples[0][0][0], 5);
}

TEST(FixedText, LongTextsAreCutToTheStoredWidthNeverOverflow) {
    TestSession::Remark remark;
    const std::string seventy(100, 'x');
    remark.assign(seventy, kRemarkStoredChars);
    EXPECT_EQ(remark.view().size(), 66u);
    remark.assign(seventy);
    EXPECT_EQ(remark.view().size(), 69u) << "the buffer keeps its terminator";
    TestSession::VehicleText owner;
    owner.assign("A very long owner name here", kOwnerStoredChars);
    EXPECT_EQ(owner.view(), "A very long owner name");
    owner.assign("Bo", kOwnerStoredChars);
    EXPECT_EQ(owner.view(), "Bo");
    EXPECT_EQ(owner.bytes()[2], '\0');
    EXPECT_EQ(owner.bytes()[5], '\0') << "the rest of the field is zero-filled";
}

}  // namespace
}  // namespace dyno
