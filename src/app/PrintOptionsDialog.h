#pragma once

#include <QDialog>
#include <QFont>
#include <array>

class QGroupBox;

namespace dyno {

// Asks, before a report is printed, how many remark lines each session prints and
// in which font. "OK" accepts; the report itself is drawn by the printing code.
class PrintOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PrintOptionsDialog(QWidget* parent = nullptr);

    // Remark lines to print for slot 1..4: the item index of `prt1` .. `prt4`, 0..3.
    int remarkLines(int slot) const;
    QFont printFont() const { return printFont_; }
    void setPrintFont(const QFont& font) { printFont_ = font; }

  private:
    void choosePrintFont();

    std::array<QGroupBox*, 4> remarkLineGroups_{};
    QFont printFont_;
};

}  // namespace dyno
