#pragma once

#include <QLabel>
#include <QWidget>

namespace dyno {

// The workshop's name and phone number, as the settings file restores them and
// the printed report repeats them.
class InfoPage : public QWidget {
    Q_OBJECT
  public:
    explicit InfoPage(QWidget* parent = nullptr);

    void setCompanyName(const QString& name) { companylabel_->setText(name); }
    void setPhone(const QString& phone) { tlflabel_->setText(phone); }

  private:
    QLabel* companylabel_;
    QLabel* tlflabel_;
};

}  // namespace dyno
