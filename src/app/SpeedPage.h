#pragma once

#include <QWidget>

namespace dyno {

// The Speed page: live dials, run counter and analog level bars during a test.
class SpeedPage : public QWidget {
    Q_OBJECT
  public:
    explicit SpeedPage(QWidget* parent = nullptr);
};

}  // namespace dyno
