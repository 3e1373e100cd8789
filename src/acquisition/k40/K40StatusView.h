#pragma once

#include <string_view>

#include "evaluation/CorrectionSources.h"

namespace dyno {

// What the K40 link shows outside the Speed page: the Setup page's LED, firmware
// version and sample setting, and the weather boxes of the Param. and Setup pages.
class K40StatusView {
  public:
    virtual ~K40StatusView() = default;
    virtual void setLed(bool isOn) = 0;
    // `versionhigh`, `versionlow`.
    virtual void showFirmwareVersion(std::string_view high, std::string_view low) = 0;
    // `samples_edit`.
    virtual void showSampleSetting(std::string_view samples) = 0;
    // The station's readings, rounded, into the Param. and Setup pages' boxes.
    virtual void showStationValues(const StationDisplayTexts& texts) = 0;
    // `correctionedit`.
    virtual void showCorrectionFactor(std::string_view text) = 0;
};

}  // namespace dyno
