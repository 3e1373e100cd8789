#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "evaluation/DynoConstants.h"

namespace dyno {

// The Test page's test-type buttons, in the order a test start looks at them.
enum class TestType {
    NoRpmRegistration,   // "No RPM registration"
    Degrees720,          // "720 ° between ignition impulses"
    Degrees360,          // "360 ° between ignition impulses"
    Degrees180,          // "180 ° between ignition impulses"
    UserDefinedDegrees,  // "User defined degrees ="
};

// Which test-type buttons are checked. Normally exactly one is; a radio group can
// also show none, and then a start keeps the rpm constants it had.
class TestTypeButtons {
  public:
    TestTypeButtons() = default;
    explicit TestTypeButtons(TestType checked) { check(checked); }

    TestTypeButtons& check(TestType type) {
        checked_ |= bit(type);
        return *this;
    }
    bool isChecked(TestType type) const { return (checked_ & bit(type)) != 0; }
    // The first checked button in the order of TestType.
    std::optional<TestType> deciding() const;

  private:
    static unsigned bit(TestType type) { return 1u << static_cast<unsigned>(type); }
    unsigned checked_ = 0;
};

// Dividends that turn an ignition period in clock ticks into engine speed.
struct RpmConstants {
    std::int32_t rpmRegistration = 0;    // 0 = test without rpm
    std::int32_t rpmDialConstant = 0;    // live rpm needle = this / period
    std::int32_t rpmSampleConstant = 0;  // stored rpm sample = this / period

    friend bool operator==(const RpmConstants&, const RpmConstants&) = default;
};

struct RpmPreparation {
    RpmConstants constants{};
    // "User defined degrees =" with a number outside 0..maxUserDegrees: nothing
    // changed, the caller tells the user.
    bool isUserDegreesOutOfRange = false;
};

// The largest user-defined angle whose constants still fit the electronics'
// signed 32-bit dividends: 5153 degrees on a K40, 6442 on a K70 or K80.
std::int32_t maxUserDegrees(DynoModel currentDynoModel);

// Second preparation step of a test start. `userDegreesText` is `testuserdef`,
// read as leading digits ("" and "abc" give 0 degrees, hence constants 0). The
// constants follow the dyno model, not the electronics.
RpmPreparation prepareRpm(TestTypeButtons buttons, std::string_view userDegreesText,
                          DynoModel currentDynoModel, const RpmConstants& previous);

}  // namespace dyno
