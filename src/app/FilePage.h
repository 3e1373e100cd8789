#pragma once

#include <QWidget>

namespace dyno {

// The File page: folders, session files with their preview, the four load buttons and saving.
class FilePage : public QWidget {
    Q_OBJECT
  public:
    explicit FilePage(QWidget* parent = nullptr);
};

}  // namespace dyno
