#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "evaluation/EvaluationConstants.h"
#include "evaluation/RollerInertia.h"

namespace dyno {
namespace {

TEST(RollerInertiaTable, ListsExactlyTheRollerCodesTheSettingsForm) {
    std::set<int> expected;
    for (int dynoOffset : {0, 50}) {
        for (int rollerType = 0; rollerType < 4; ++rollerType) {
            for (int extras = 0; extras < 4; ++extras) {
                expected.insert(dynoOffset + 10 * rollerType + extras);
            }
        }
    }
    std::set<int> listed;
    for (const auto& entry : RollerInertiaTable::entries()) listed.insert(entry.rollerCode);
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(listed.size(), RollerInertiaTable::entries().size());
}

TEST(RollerInertiaTable, EveryFactorIsAFigureWithOneDecimalOver23900) {
    for (const auto& entry : RollerInertiaTable::entries()) {
        const double figure = entry.massFactor * 23900.0;
        const double roundedFigure = std::round(figure * 10.0) / 10.0;
        // The listed quotients are rounded to 11 places.
        EXPECT_NEAR(entry.massFactor, roundedFigure / 23900.0, 5.1e-12)
            << "roller code " << entry.rollerCode << " figure " << figure;
    }
    EXPECT_NEAR(*RollerInertiaTable::massFactorOf(0) * 23900.0, 500.0, 1e-6);
    EXPECT_NEAR(*RollerInertiaTable::massFactorOf(71) * 23900.0, 696.3, 1e-6);
    EXPECT_NEAR(*RollerInertiaTable::massFactorOf(80) * 23900.0, 933.2, 1e-6);
}

TEST(RollerInertiaTable, CodesNoSettingFormsHaveNoFactor) {
    for (int code : {-1, 4, 9, 14, 34, 40, 45, 49, 54, 84, 89, 90, 32767}) {
        EXPECT_FALSE(RollerInertiaTable::massFactorOf(code).has_value()) << code;
    }
}

TEST(SpeedOffset, FollowsTheRollerRangesAtTheirEdges) {
    for (int code : {0, 19, 45, 99, -3}) EXPECT_EQ(speedOffsetOf(0, code), -5.0) << code;
    for (int dyno : {1, 2}) {
        EXPECT_EQ(speedOffsetOf(dyno, 0), 11.0);
        EXPECT_EQ(speedOffsetOf(dyno, 19), 11.0);
        EXPECT_EQ(speedOffsetOf(dyno, 20), -10.0);
        EXPECT_EQ(speedOffsetOf(dyno, 39), -10.0);
        EXPECT_EQ(speedOffsetOf(dyno, 50), 11.0);
        EXPECT_EQ(speedOffsetOf(dyno, 69), 11.0);
        EXPECT_EQ(speedOffsetOf(dyno, 70), -10.0);
        EXPECT_EQ(speedOffsetOf(dyno, 89), -10.0);
        for (int code : {-1, 40, 49, 90}) EXPECT_FALSE(speedOffsetOf(dyno, code)) << code;
    }
}

SessionHeader headerOf(int dynoModel, int electronics, int rollerCode) {
    SessionHeader header;
    header.words[SessionHeader::kDynoModel] = static_cast<std::int16_t>(dynoModel);
    header.words[SessionHeader::kElectronicsType] = static_cast<std::int16_t>(electronics);
    header.words[SessionHeader::kRollerCode] = static_cast<std::int16_t>(rollerCode);
    return header;
}

SessionValues valuesWithWeight(double weightKg) {
    SessionValues values;
    values.values[SessionValues::kRollerWeight] = weightKg;
    return values;
}

TEST(EvaluationConstants, DamagedHeaderFallsBackAndWarns) {
    const auto unknownModel = evaluationConstantsOf(headerOf(7, 1, 0), valuesWithWeight(184), {});
    EXPECT_TRUE(unknownModel.warnings.has(EvaluationWarning::kUnknownDynoModel));
    EXPECT_EQ(unknownModel.speedFactor, 2.2176);
    EXPECT_EQ(unknownModel.massFactor, 184 * kRollerWeightToMassFactor);
    EXPECT_EQ(unknownModel.speedOffsetKmh, -5.0);

    const auto unknownElectronics = evaluationConstantsOf(headerOf(0, -2, 0), {}, {});
    EXPECT_TRUE(unknownElectronics.warnings.has(EvaluationWarning::kUnknownElectronics));
    EXPECT_FALSE(unknownElectronics.warnings.has(EvaluationWarning::kUnknownDynoModel));
    EXPECT_EQ(unknownElectronics.clockRateHz, 2'500'000.0);

    const auto k70Unknown = evaluationConstantsOf(headerOf(1, 0, 45), {}, {});
    EXPECT_TRUE(k70Unknown.warnings.has(EvaluationWarning::kUnknownRollerCode));
    EXPECT_EQ(k70Unknown.massFactor, *RollerInertiaTable::massFactorOf(0));
    EXPECT_EQ(k70Unknown.speedOffsetKmh, 11.0);

    // Code 75 lies in the eddy-brake range, so its offset stands; the inertia falls back.
    const auto k80Unknown = evaluationConstantsOf(headerOf(2, 0, 75), {}, {});
    EXPECT_TRUE(k80Unknown.warnings.has(EvaluationWarning::kUnknownRollerCode));
    EXPECT_EQ(k80Unknown.massFactor, *RollerInertiaTable::massFactorOf(50));
    EXPECT_EQ(k80Unknown.speedOffsetKmh, -10.0);

    // With the typed weight the table is not read; only a code without offset warns.
    EvaluationOptions typed;
    typed.useTypedRollerWeight = true;
    EXPECT_FALSE(evaluationConstantsOf(headerOf(1, 0, 14), {}, typed).warnings.any());
    EXPECT_EQ(evaluationConstantsOf(headerOf(2, 0, 73), {}, typed).speedOffsetKmh, -10.0);
    EXPECT_TRUE(evaluationConstantsOf(headerOf(1, 0, 45), {}, typed)
                    .warnings.has(EvaluationWarning::kUnknownRollerCode));
}

TEST(EvaluationWarnings, EachWarningHasItsOwnSentence) {
    EXPECT_TRUE(warningTexts({}).empty());
    EvaluationWarnings all;
    for (auto warning :
         {EvaluationWarning::kUnknownDynoModel, EvaluationWarning::kUnknownElectronics,
          EvaluationWarning::kUnknownRollerCode, EvaluationWarning::kMaximumTooLarge}) {
        EvaluationWarnings one;
        one.set(warning);
        ASSERT_EQ(warningTexts(one).size(), 1u);
        all |= one;
    }
    const auto texts = warningTexts(all);
    EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), 4u);
}

}  // namespace
}  // namespace dyno
