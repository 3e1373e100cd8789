#pragma once

#include <string_view>

#include "evaluation/CorrectionSources.h"

namespace dyno {

// What the K40 link shows outside the rider's instructions: the Setup page's LED,
// firmware version and sample setting, the weather boxes of the Param. and Setup
// pages, the warning that the electronics do not answer, and whether a session runs.
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
    // That the electronics on `portName` have not answered a command; an empty name
    // once they do, or once the port is closed.
    virtual void showNoAnswer(std::string_view portName) = 0;
    // That a test or rev counter check runs and can be stopped; false once it is over.
    virtual void showSessionRunning(bool /*isRunning*/) {}
};

}  // namespace dyno
