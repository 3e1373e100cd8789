#include "files/SessionRecordCodec.h"

#include <gtest/gtest.h>

#include <string>

#include "SessionFixtures.h"

namespace dyno {
namespace {

using testing::ByteImage;
using testing::recordedSession;

constexpr SavedAirData kParamPageAir{1002.5, 23.25, 61.0};

// The record of recordedSession(), built at the offsets the dyno's archives use.
std::vector<std::uint8_t> handBuiltRecord(const TestSession& s) {
    ByteImage image(108404);
    image.putBytes(0, s.remarkLine1.view());
    image.putBytes(68, s.remarkLine2.view());
    image.putBytes(136, s.remarkLine3.view());
    image.putBytes(204, s.make.view());
    image.putBytes(226, s.model.view());
    image.putBytes(248, s.owner.view());
    image.putFloat64(272, s.correctionFactor);
    for (std::size_t i = 0; i < 6000; ++i) {
        image.putInt32(280 + 4 * i, s.rollerPeriods[i]);
        image.putInt32(24280 + 4 * i, s.rpmSamples[i]);
    }
    for (std::size_t w = 0; w < 10; ++w) {
        image.putInt16(48280 + 2 * w, s.header.words[w]);
        image.putFloat64(48300 + 8 * w, s.values.values[w]);
    }
    image.putFloat64(48380, kParamPageAir.pressureMbar);
    image.putFloat64(48388, kParamPageAir.temperatureCelsius);
    image.putFloat64(48396, kParamPageAir.humidityPercent);
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 5; ++c) {
            const std::size_t block = 48404 + r * 20000 + c * 4000;
            for (std::size_t i = 0; i < 2000; ++i) {
                const std::uint16_t v = c == 3 ? 140 : c == 4 ? 250 : s.analogSamples[r][c][i];
                image.putUInt16(block + 2 * i, v);
            }
        }
    }
    return image.bytes();
}

TEST(SessionRecordCodec, RecordMatchesTheHandBuiltLayoutByteForByte) {
    const auto session = recordedSession();
    const auto record = encodeSessionRecord(*session, kParamPageAir);
    ASSERT_EQ(record.size(), kSessionRecordSize);
    EXPECT_TRUE(record == handBuiltRecord(*session));
}

TEST(SessionRecordCodec, TextsAreCutToTheirStoredWidthWithoutTerminatorWhenFull) {
    auto session = std::make_unique<TestSession>();
    const std::string sixtySix(66, 'r');
    session->remarkLine1.assign(sixtySix + "X", 69);  // 67 characters reach the buffer
    session->remarkLine2.assign(sixtySix, 69);
    session->make.assign(std::string(21, 'm'), 29);
    session->owner.assign(std::string(22, 'o'), 29);
    const auto record = encodeSessionRecord(*session, {});

    const std::string line1(record.begin(), record.begin() + 68);
    EXPECT_EQ(line1, sixtySix + std::string(2, '\0'));  // the 67th character is lost
    EXPECT_EQ(record[68 + 65], 'r');                    // 66 characters: no terminator inside
    EXPECT_EQ(std::string(record.begin() + 204, record.begin() + 226),
              std::string(20, 'm') + std::string(2, '\0'));
    EXPECT_EQ(std::string(record.begin() + 248, record.begin() + 272),
              std::string(22, 'o') + std::string(2, '\0'));

    auto loaded = std::make_unique<TestSession>();
    decodeSessionRecord(record, *loaded);
    EXPECT_EQ(loaded->remarkLine1.view(), sixtySix);
    EXPECT_EQ(loaded->remarkLine2.view(), sixtySix);
    EXPECT_EQ(loaded->make.view(), std::string(20, 'm'));
}

TEST(SessionRecordCodec, LoadingGivesBackEverythingSavedAndConstantChannels4And5) {
    const auto saved = recordedSession();
    auto slot = std::make_unique<TestSession>();
    slot->rollerPeriods[6000] = 77;  // run 3 of the storage is not part of the record
    slot->analogSamples[3][0][0] = 99;
    decodeSessionRecord(encodeSessionRecord(*saved, kParamPageAir), *slot);

    for (int r = 0; r < 3; ++r) {
        const auto want = saved->run(r);
        const auto got = slot->run(r);
        EXPECT_TRUE(std::equal(want.rollerPeriods.begin(), want.rollerPeriods.end(),
                               got.rollerPeriods.begin()));
        EXPECT_TRUE(
            std::equal(want.rpmSamples.begin(), want.rpmSamples.end(), got.rpmSamples.begin()));
        for (int c = 0; c < 3; ++c) {
            EXPECT_TRUE(std::ranges::equal(want.analogSamples[static_cast<std::size_t>(c)],
                                           got.analogSamples[static_cast<std::size_t>(c)]));
        }
        EXPECT_TRUE(std::ranges::all_of(got.analogSamples[3], [](auto v) { return v == 140; }));
        EXPECT_TRUE(std::ranges::all_of(got.analogSamples[4], [](auto v) { return v == 250; }));
    }
    EXPECT_EQ(slot->header, saved->header);
    EXPECT_EQ(slot->values, saved->values);
    EXPECT_EQ(slot->correctionFactor, saved->correctionFactor);
    EXPECT_EQ(slot->airPressure, kParamPageAir.pressureMbar);
    EXPECT_EQ(slot->airTemperature, kParamPageAir.temperatureCelsius);
    EXPECT_EQ(slot->airHumidity, kParamPageAir.humidityPercent);
    EXPECT_EQ(slot->remarkLine1, saved->remarkLine1);
    EXPECT_EQ(slot->remarkLine2, saved->remarkLine2);
    EXPECT_EQ(slot->owner, saved->owner);
    EXPECT_EQ(slot->model, saved->model);
    EXPECT_EQ(slot->rollerPeriods[6000], 77);
    EXPECT_EQ(slot->analogSamples[3][0][0], 99);
}

TEST(SessionRecordCodec, ProgramWrittenRecordsSurviveLoadAndSaveUnchanged) {
    const auto first = encodeSessionRecord(*recordedSession(), kParamPageAir);
    auto slot = std::make_unique<TestSession>();
    decodeSessionRecord(first, *slot);
    const SavedAirData sameAir{slot->airPressure, slot->airTemperature, slot->airHumidity};
    EXPECT_TRUE(encodeSessionRecord(*slot, sameAir) == first);
}

TEST(SessionRecordCodec, BytesAfterTheStoredTextWidthAreIgnored) {
    auto record = encodeSessionRecord(*recordedSession(), kParamPageAir);
    std::fill_n(record.begin(), 68, 'a');  // a full remark with junk in bytes 66 and 67
    std::fill_n(record.begin() + 248, 24, 'b');
    auto slot = std::make_unique<TestSession>();
    decodeSessionRecord(record, *slot);
    EXPECT_EQ(slot->remarkLine1.view(), std::string(66, 'a'));
    EXPECT_EQ(slot->owner.view(), std::string(22, 'b'));
}

TEST(SessionRecordCodec, ShortRecordLeavesLaterFieldsAsTheSlotHeldThem) {
    auto slot = recordedSession();
    const auto before = recordedSession();
    // The record of another session, cut inside the roller periods of run 1: entry
    // 2500 complete, entry 2501 cut after two bytes.
    auto other = std::make_unique<TestSession>();
    other->remarkLine1.assign("Short one", 66);
    other->correctionFactor = 0.97;
    std::fill_n(other->rollerPeriods.begin(), 6000, 12345);
    auto record = encodeSessionRecord(*other, {});
    record.resize(280 + 4 * 2501 + 2);
    decodeSessionRecord(record, *slot);

    EXPECT_EQ(slot->remarkLine1.view(), "Short one");
    EXPECT_EQ(slot->correctionFactor, 0.97);
    EXPECT_EQ(slot->rollerPeriods[2500], 12345);
    // Runs 0..2 are zeroed before reading, whatever the record holds.
    EXPECT_EQ(slot->rollerPeriods[2501], 0);
    EXPECT_EQ(slot->rpmSamples[0], 0);
    EXPECT_EQ(slot->leadingPeriods(1), 501);
    EXPECT_EQ(slot->header, before->header);
    EXPECT_EQ(slot->values, before->values);
    EXPECT_EQ(slot->airPressure, before->airPressure);
    EXPECT_EQ(slot->analogSamples, before->analogSamples);
}

TEST(SavedAirData, ParamPageEntriesAreConvertedToTheStoredUnits) {
    const auto metric = savedAirDataFromEntries("1013", "21", "45", false, false);
    EXPECT_EQ(metric.pressureMbar, 1013.0);
    EXPECT_EQ(metric.temperatureCelsius, 21.0);
    EXPECT_EQ(metric.humidityPercent, 45.0);

    const auto imperial = savedAirDataFromEntries("29.44", "212", "45", true, true);
    EXPECT_EQ(imperial.pressureMbar, 1000.0);
    EXPECT_EQ(imperial.temperatureCelsius, 100.0);
}

}  // namespace
}  // namespace dyno
