#pragma once

#include <QWidget>

namespace dyno {

// The Setup page: program settings, dyno model and electronics, the K40 port.
class SetupPage : public QWidget {
    Q_OBJECT
  public:
    explicit SetupPage(QWidget* parent = nullptr);
};

}  // namespace dyno
