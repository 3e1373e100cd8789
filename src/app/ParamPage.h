#pragma once

#include <QWidget>

namespace dyno {

// The Param. page: air data, the correction factor and the graph limits.
class ParamPage : public QWidget {
    Q_OBJECT
  public:
    explicit ParamPage(QWidget* parent = nullptr);
};

}  // namespace dyno
