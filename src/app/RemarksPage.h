#pragma once

#include <QWidget>

namespace dyno {

// The Remarks page: vehicle, owner, remark lines and air data of the four sessions.
class RemarksPage : public QWidget {
    Q_OBJECT
  public:
    explicit RemarksPage(QWidget* parent = nullptr);
};

}  // namespace dyno
