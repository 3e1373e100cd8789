#pragma once

#include <QWidget>
#include <array>

class QScrollBar;
class QSpinBox;

namespace dyno {

// The Analog page: the recorded analog channels of up to four session slots
// against sample number, with each slot's run choice and time shift, the channel
// boxes, the scale choices, the horizontal zoom and the common scroll bar. Other
// code finds its controls by their component names.
class AnalogPage : public QWidget {
    Q_OBJECT
  public:
    explicit AnalogPage(QWidget* parent = nullptr);

    // The sample offsets `scrollbar1` can reach; the window sets them at start-up.
    void setScrollRange(int minimum, int maximum);

  public slots:
    // "Reset tests": every slot back to sample offset 0.
    void resetTests();

  private:
    std::array<QSpinBox*, 4> moves_{};
    QScrollBar* scrollbar_ = nullptr;
};

}  // namespace dyno
