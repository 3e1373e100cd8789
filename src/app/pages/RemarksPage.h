#pragma once

#include <QStringList>
#include <QWidget>
#include <array>

#include "app/pages/ParamPage.h"

class QComboBox;
class QLineEdit;

namespace dyno {

struct TestSession;

// The Remarks page: one panel per session slot with make, model, owner, three remark
// lines and the air data. Slot 1's boxes are what the next save stores; slots 2 to
// 4 only show what was loaded or copied into them.
class RemarksPage : public QWidget {
    Q_OBJECT
  public:
    // The makes `makebox1` offers; anything else may be typed.
    static const QStringList& makeList();

    explicit RemarksPage(QWidget* parent = nullptr);

    // Copies slot 1's make, model, owner and remark lines from the boxes into
    // `slot1`, as Windows-1252, cut to the widths a session record keeps (66 for
    // remarks, 20 for make and model, 22 for the owner).
    void storeRemarksOfSession1(TestSession& slot1) const;

    // Fills slot `slot`'s (1..4) make, model, owner and remark boxes from `session`.
    void showSessionTexts(int slot, const TestSession& session);
    // Fills slot `slot`'s pressure, temperature and humidity boxes.
    void showAirTexts(int slot, const AirTexts& air);

  signals:
    // "Save test Session 1".
    void saveSession1Requested();

  private:
    struct SlotBoxes {
        QLineEdit* make = nullptr;  // slots 2..4; slot 1 has `session1Make_`
        QLineEdit* model = nullptr;
        QLineEdit* owner = nullptr;
        std::array<QLineEdit*, 3> remarks{};
        QLineEdit* pressure = nullptr;
        QLineEdit* temperature = nullptr;
        QLineEdit* humidity = nullptr;
    };

    QWidget* makePanel(int slot);

    QComboBox* session1Make_ = nullptr;
    std::array<SlotBoxes, 4> slots_{};
};

}  // namespace dyno
