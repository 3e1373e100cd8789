#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cstdint>

#include "model/DynoSettings.h"

namespace dyno {

// "Advanced setup": the card's I/O address, the remote button delay of the card
// sequence and the K40's data transfer delay, settings an ordinary user leaves
// alone. The settings file reads and fills its controls; the remote button
// delay is a value in force that the up-down changes at once.
class AdvancedSetupDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWidth = 305;
    static constexpr int kHeight = 522;
    static constexpr int kDelayMaximumMs = 10000;
    static constexpr int kDelayStepMs = 10;

    explicit AdvancedSetupDialog(QWidget* parent = nullptr);

    std::uint32_t remoteButtonDelay() const { return remoteButtonDelayMs_; }
    // Shows `delayMs` in both delay boxes and puts the up-down there.
    void setRemoteButtonDelay(std::uint32_t delayMs);

    // The settings this dialog holds (card address, optimised delay, the wait
    // value and the K40 transfer delay), for the settings file, and back.
    void readSettings(DynoSettings& settings) const;
    void showSettings(const DynoSettings& settings);

    QSpinBox* delayUpDown() const { return delayUpDown_; }
    QLineEdit* waitEdit() const { return waitEdit_; }
    QLineEdit* remoteDelayEdit() const { return remoteDelayEdit_; }

  signals:
    // The up-down changed the remote button delay; it is in force from now on.
    void remoteButtonDelayChanged(std::uint32_t delayMs);

  protected:
    void showEvent(QShowEvent* event) override;
    // The delay boxes follow the delay in force on every paint, not only when shown.
    void paintEvent(QPaintEvent* event) override;

  private:
    void showDelay();
    void upDownClicked(int position);

    std::uint32_t remoteButtonDelayMs_ = 400;
    QSpinBox* delayUpDown_;
    QLineEdit* remoteDelayEdit_;
    QLineEdit* waitEdit_;
    QGroupBox* cardAddress_ = nullptr;
    QCheckBox* optimisedDelay_ = nullptr;
    QLineEdit* transferDelay_ = nullptr;
};

}  // namespace dyno
