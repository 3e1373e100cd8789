#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "model/DynoSettings.h"

namespace dyno {

// The "A/D Sett." page: gain, offset, delay, inversion and the scale labels of the
// five analog channels, and "Save settings". The analog page and the test start
// read these controls directly; "vkr_dyno.ana" keeps their texts.
class AdSettingsPage : public QWidget {
    Q_OBJECT
  public:
    explicit AdSettingsPage(QWidget* parent = nullptr);

    // The five channels as the controls hold them, and back.
    AnalogChannelTextSet channelTexts() const;
    void showChannelTexts(const AnalogChannelTextSet& channels);

    QPushButton* saveSettingsButton() const { return saveAdSettings_; }

    // Component name of the n-th scale label (0..8, top down) of `channel` (0..4).
    // Channels 4 and 5 skip a number: "Edit28" and "Edit38" are not scale labels.
    static QString scaleLabelName(int channel, int label);

  private:
    struct ChannelControls {
        QLineEdit* factor = nullptr;
        QLineEdit* offset = nullptr;
        QLineEdit* delay = nullptr;
        QGroupBox* factorUse = nullptr;
        QGroupBox* offsetUse = nullptr;
        QCheckBox* invert = nullptr;
        QLineEdit* topValue = nullptr;
        std::array<QLineEdit*, 9> scaleLabels{};
        QLineEdit* bottomValue = nullptr;
        QLineEdit* unitText = nullptr;
    };

    std::array<ChannelControls, kAnalogSettingsChannels> channels_;
    QPushButton* saveAdSettings_;
};

}  // namespace dyno
