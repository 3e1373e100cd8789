#include "evaluation/DynoPreparationRpm.h"

#include <limits>

#include "model/TextNumbers.h"

namespace dyno {

namespace {

// Per-degree dividends: sample = 60 x clock x degrees / 360 and dial = sample / 62.5,
// cut to whole numbers, for the 2.5 MHz K40 and the 2 MHz K70/K80. The fixed angles
// have their own exact values, so 720 typed by hand gives slightly less than the
// 720 degree button.
struct RpmDividends {
    std::int32_t dialPerDegree;
    std::int32_t samplePerDegree;
    RpmConstants at720, at360, at180;
};

constexpr RpmDividends kK40Dividends{6'666,
                                     416'666,
                                     {1, 4'800'000, 300'000'000},
                                     {1, 2'400'000, 150'000'000},
                                     {1, 1'200'000, 75'000'000}};
constexpr RpmDividends kK70K80Dividends{5'333,
                                        333'333,
                                        {1, 3'840'000, 240'000'000},
                                        {1, 1'920'000, 120'000'000},
                                        {1, 960'000, 60'000'000}};

const RpmDividends& dividendsOf(DynoModel model) {
    return model == DynoModel::K40 ? kK40Dividends : kK70K80Dividends;
}

}  // namespace

std::optional<TestType> TestTypeButtons::deciding() const {
    for (const TestType type :
         {TestType::NoRpmRegistration, TestType::Degrees720, TestType::Degrees360,
          TestType::Degrees180, TestType::UserDefinedDegrees}) {
        if (isChecked(type)) return type;
    }
    return std::nullopt;
}

std::int32_t maxUserDegrees(DynoModel currentDynoModel) {
    return std::numeric_limits<std::int32_t>::max() / dividendsOf(currentDynoModel).samplePerDegree;
}

RpmPreparation prepareRpm(TestTypeButtons buttons, std::string_view userDegreesText,
                          DynoModel currentDynoModel, const RpmConstants& previous) {
    RpmPreparation result{previous, false};
    const std::optional<TestType> type = buttons.deciding();
    if (!type) return result;
    const RpmDividends& dividends = dividendsOf(currentDynoModel);
    switch (*type) {
        case TestType::NoRpmRegistration:
            // The constants of the previous test stay; only the flag says "no rpm".
            result.constants.rpmRegistration = 0;
            break;
        case TestType::Degrees720: result.constants = dividends.at720; break;
        case TestType::Degrees360: result.constants = dividends.at360; break;
        case TestType::Degrees180: result.constants = dividends.at180; break;
        case TestType::UserDefinedDegrees: {
            // Negative angles would give negative rpm, and beyond the maximum the
            // 32-bit dividends wrap around; such a start keeps the old constants.
            const std::int32_t degrees = leadingInteger(userDegreesText);
            if (degrees < 0 || degrees > maxUserDegrees(currentDynoModel)) {
                result.isUserDegreesOutOfRange = true;
                break;
            }
            result.constants = {1, degrees * dividends.dialPerDegree,
                                degrees * dividends.samplePerDegree};
            break;
        }
    }
    return result;
}

}  // namespace dyno
