#pragma once

#include <QWidget>

namespace dyno {

// The A/D Sett. page: scaling and labels of the five analog channels.
class AdSettingsPage : public QWidget {
    Q_OBJECT
  public:
    explicit AdSettingsPage(QWidget* parent = nullptr);
};

}  // namespace dyno
