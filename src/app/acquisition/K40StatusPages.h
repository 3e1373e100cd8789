#pragma once

#include "acquisition/k40/K40StatusView.h"

namespace dyno {

class ParamPage;
class RemarksPage;
class SetupPage;
class SpeedPage;

// What the K40 link shows besides the rider's instructions, on the window's pages:
// the Setup page's port LED, firmware version and sample setting; the weather
// station's readings in the Param. page's air boxes and slot 1's air boxes on the
// Remarks page; the correction factor of session 1; on the Setup and Speed pages,
// that the electronics do not answer; "Stop" on the Speed page while a session runs.
class K40StatusPages final : public K40StatusView {
  public:
    K40StatusPages(SetupPage& setup, SpeedPage& speed, ParamPage& param, RemarksPage& remarks)
        : setup_(setup), speed_(speed), param_(param), remarks_(remarks) {}

    void setLed(bool isOn) override;
    void showFirmwareVersion(std::string_view high, std::string_view low) override;
    void showSampleSetting(std::string_view samples) override;
    void showStationValues(const StationDisplayTexts& texts) override;
    void showCorrectionFactor(std::string_view text) override;
    void showNoAnswer(std::string_view portName) override;
    void showSessionRunning(bool isRunning) override;

  private:
    SetupPage& setup_;
    SpeedPage& speed_;
    ParamPage& param_;
    RemarksPage& remarks_;
};

}  // namespace dyno
