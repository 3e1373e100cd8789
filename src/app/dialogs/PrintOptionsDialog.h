#pragma once

#include <QDialog>
#include <QFont>
#include <QList>
#include <array>

class QGroupBox;
class QRadioButton;

namespace dyno {

// Asks, before a report is printed, how many remark lines each session prints and
// in which font. "OK" accepts, "Preview" shows the page first; the report itself is
// drawn by the printing code.
class PrintOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PrintOptionsDialog(QWidget* parent = nullptr);

    // Remark lines to print for slot 1..4: the item index of `prt1` .. `prt4`, 0..3.
    int remarkLines(int slot) const;
    void setRemarkLines(int slot, int lines);
    QFont printFont() const { return printFont_; }
    void setPrintFont(const QFont& font) { printFont_ = font; }

  signals:
    // "Preview": the report as it would print with the choices made so far.
    void previewRequested();

  private:
    // The items of `prt1` .. `prt4`; none for another slot.
    QList<QRadioButton*> lineChoices(int slot) const;
    void choosePrintFont();

    std::array<QGroupBox*, 4> remarkLineGroups_{};
    QFont printFont_;
};

}  // namespace dyno
