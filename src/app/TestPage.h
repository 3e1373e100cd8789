#pragma once

#include <QWidget>

namespace dyno {

// The Test page: the test type and the start of a test or a rev counter check.
class TestPage : public QWidget {
    Q_OBJECT
  public:
    explicit TestPage(QWidget* parent = nullptr);
};

}  // namespace dyno
