#pragma once

#include <QWidget>

namespace dyno {

// The Graphs page: scales, presets, the graph of up to four sessions and its cursor.
class GraphsPage : public QWidget {
    Q_OBJECT
  public:
    explicit GraphsPage(QWidget* parent = nullptr);
};

}  // namespace dyno
