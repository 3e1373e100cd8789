#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "model/AnalysisSettings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace dyno {

// "Channel calibrations", opened from the Analysis page: for each analog channel its
// name, its unit and the two points from the recorded value to the unit, typed or
// taken from a preset of a common wide-band controller or thermocouple amplifier,
// and its smoothing. "Apply" hands them over only when every calibrated channel can
// be used; otherwise the dialog names the channel and why.
class ChannelCalibrationDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ChannelCalibrationDialog(QWidget* parent = nullptr);

    void showCalibrations(const std::array<ChannelCalibration, kAnalogChannels>& channels);
    // The calibrations typed; nothing, with the reason in the dialog, when a number is
    // not one or a channel's calibration cannot be used.
    std::optional<std::array<ChannelCalibration, kAnalogChannels>> calibrations();

  signals:
    void applied(const std::array<dyno::ChannelCalibration, kAnalogChannels>& channels);

  private:
    struct ChannelRow {
        QComboBox* preset;
        QLineEdit* name;
        QLineEdit* unit;
        std::array<QLineEdit*, 4> points;  // recorded low, value low, recorded high, value high
        QSpinBox* smoothing;
    };

    void buildRow(int channel, int y);
    void takePreset(ChannelRow& row, int index);

    std::array<ChannelRow, kAnalogChannels> rows_{};
    QLabel* problem_;
};

}  // namespace dyno
