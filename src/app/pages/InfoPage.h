#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

namespace dyno {

// The workshop's name and phone number, as the settings file restores them and
// the printed report repeats them.
class InfoPage : public QWidget {
    Q_OBJECT
  public:
    explicit InfoPage(QWidget* parent = nullptr);

    void setCompanyName(const QString& name) { companyName_->setText(name); }
    void setPhone(const QString& phone) { phone_->setText(phone); }
    QString companyName() const { return companyName_->text(); }
    QString phone() const { return phone_->text(); }

    // The two pictures the printed report carries, kept on this page unseen:
    // `prtimage1` the small logo, `prtimage2` the workshop's own print logo.
    QImage smallPrintLogo() const { return smallPrintLogo_; }
    QImage printLogo() const { return printLogo_; }
    // Reads the workshop's logo file. A missing or unreadable file leaves the report
    // without a logo; the program goes on, as it always has without one.
    bool loadPrintLogo(const QString& file);

  private:
    QLabel* companyName_;
    QLabel* phone_;
    QImage smallPrintLogo_;
    QImage printLogo_;
};

}  // namespace dyno
