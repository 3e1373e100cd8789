#pragma once

#include <QWidget>

namespace dyno {

// The Analog page: the recorded analog channels against time.
class AnalogPage : public QWidget {
    Q_OBJECT
  public:
    explicit AnalogPage(QWidget* parent = nullptr);
};

}  // namespace dyno
