#pragma once

#include <QDialog>

#include "app/dialogs/PocketCalculator.h"

class QLineEdit;

namespace dyno {

// The pocket calculator (F8 and the Param. page's "Calculator"): buttons and the
// keyboard drive a PocketCalculator; the dialog only shows its display.
class CalculatorDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CalculatorDialog(QWidget* parent = nullptr);

    QString displayText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void refresh();

    PocketCalculator calculator_;
    QLineEdit* display_;
};

}  // namespace dyno
