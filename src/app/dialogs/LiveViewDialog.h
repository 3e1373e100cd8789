#pragma once

#include <QDialog>
#include <optional>

#include "model/AnalysisSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace dyno {

class RiderLiveView;

// "Rider's live view", opened from the Analysis page: whether the view is served, on
// which port and how far it reaches, the address with the access code as text and as
// a QR code for the rider's phone, and whether the Graphs page shows each run as it
// arrives. "Apply" hands the choices over (the window serves and keeps them); the
// dialog then shows where the view is served.
class LiveViewDialog : public QDialog {
    Q_OBJECT
  public:
    LiveViewDialog(const RiderLiveView& view, QWidget* parent = nullptr);

    void showSettings(const LiveViewSettings& settings);
    // The choices shown; nothing, with the reason in the dialog, for a port that is
    // not a whole number of 1..65535.
    std::optional<LiveViewSettings> choices();
    // The address and QR code of the view as served now, or that it is off.
    void showServing();

  signals:
    void applied(const dyno::LiveViewSettings& settings);

  private:
    const RiderLiveView& view_;
    QCheckBox* isOn_;
    QLineEdit* port_;
    QComboBox* reach_;
    QCheckBox* showEachRun_;
    QLabel* address_;
    QLabel* qrCode_;
};

}  // namespace dyno
