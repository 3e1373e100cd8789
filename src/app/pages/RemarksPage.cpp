#include "app/pages/RemarksPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/Cp1252.h"
#include "model/SessionLayout.h"
#include "model/TestSession.h"

namespace dyno {

namespace {

// Slot colours as every view shows them: red, blue, green, purple.
constexpr const char* kSlotColours[] = {"#FF0000", "#0000FF", "#008000", "#800080"};

QLineEdit* slotEdit(const QString& name, bool isReadOnly, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(isReadOnly);
    return edit;
}

template <std::size_t Capacity>
void storeText(const QString& text, std::size_t width, FixedText<Capacity>& field) {
    field.assign(toWindows1252(text.toStdString()), width);
}

template <std::size_t Capacity>
QString shownText(const FixedText<Capacity>& field, std::size_t width) {
    return QString::fromStdString(fromWindows1252(field.view().substr(0, width)));
}

}  // namespace

const QStringList& RemarksPage::makeList() {
    static const QStringList makes{
        QStringLiteral("Aprilia"), QStringLiteral("BMW"),        QStringLiteral("Buell"),
        QStringLiteral("Cagiva"),  QStringLiteral("Ducati"),     QStringLiteral("H.D."),
        QStringLiteral("Honda"),   QStringLiteral("Husqvarna"),  QStringLiteral("Kawasaki"),
        QStringLiteral("KTM"),     QStringLiteral("Moto Guzzi"), QStringLiteral("Mz"),
        QStringLiteral("Suzuki"),  QStringLiteral("Yamaha")};
    return makes;
}

RemarksPage::RemarksPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("remarkspage"));
    auto* grid = new QGridLayout(this);
    for (int slot = 1; slot <= kSessionSlots; ++slot) {
        grid->addWidget(makePanel(slot), (slot - 1) / 2, (slot - 1) % 2);
    }
    auto* save = new QPushButton(QStringLiteral("Save test Session 1"), this);
    save->setObjectName(QStringLiteral("savetestsession1"));
    grid->addWidget(save, 2, 0, Qt::AlignLeft);
    connect(save, &QPushButton::clicked, this, &RemarksPage::saveSession1Requested);
}

QWidget* RemarksPage::makePanel(int slot) {
    const bool isSession1 = slot == 1;
    const QString n = QString::number(slot);
    auto* panel = new QGroupBox(QStringLiteral("Test Session %1").arg(n), this);
    panel->setStyleSheet(QStringLiteral("QGroupBox { color: %1; }")
                             .arg(QString::fromLatin1(kSlotColours[slot - 1])));
    auto* layout = new QGridLayout(panel);
    SlotBoxes& boxes = slots_[static_cast<std::size_t>(slot - 1)];
    const bool isReadOnly = !isSession1;

    QWidget* make = nullptr;
    if (isSession1) {
        session1Make_ = new QComboBox(panel);
        session1Make_->setObjectName(QStringLiteral("makebox1"));
        session1Make_->setEditable(true);
        session1Make_->setInsertPolicy(QComboBox::NoInsert);
        session1Make_->addItems(makeList());
        session1Make_->setMaxVisibleItems(14);
        session1Make_->setCurrentIndex(-1);
        session1Make_->setEditText(QString());
        make = session1Make_;
    } else {
        boxes.make = slotEdit(QStringLiteral("makebox") + n, isReadOnly, panel);
        make = boxes.make;
    }
    boxes.model = slotEdit(QStringLiteral("modelbox") + n, isReadOnly, panel);
    boxes.owner = slotEdit(QStringLiteral("ownerbox") + n, isReadOnly, panel);
    const char* suffixes[] = {"a", "b", "c"};
    for (std::size_t i = 0; i < 3; ++i) {
        boxes.remarks[i] =
            slotEdit(QStringLiteral("remarklinebox") + n + QString::fromLatin1(suffixes[i]),
                     isReadOnly, panel);
    }
    // The air data are shown here; the Param. page is where they are typed.
    boxes.pressure = slotEdit(QStringLiteral("barobox") + n, true, panel);
    boxes.temperature = slotEdit(QStringLiteral("tempbox") + n, true, panel);
    boxes.humidity = slotEdit(QStringLiteral("fugtbox") + n, true, panel);

    layout->addWidget(new QLabel(QStringLiteral("Make"), panel), 0, 0);
    layout->addWidget(make, 0, 1, 1, 5);
    layout->addWidget(new QLabel(QStringLiteral("Model"), panel), 1, 0);
    layout->addWidget(boxes.model, 1, 1, 1, 5);
    layout->addWidget(new QLabel(QStringLiteral("Owner"), panel), 2, 0);
    layout->addWidget(boxes.owner, 2, 1, 1, 5);
    const char* remarkCaptions[] = {"1st line of comments", "2nd line", "3rd line"};
    for (int i = 0; i < 3; ++i) {
        if (isSession1) {
            layout->addWidget(new QLabel(QString::fromLatin1(remarkCaptions[i]), panel), 3 + 2 * i,
                              0, 1, 6);
        }
        layout->addWidget(boxes.remarks[static_cast<std::size_t>(i)], 4 + 2 * i, 0, 1, 6);
    }
    layout->addWidget(
        new QLabel(isSession1 ? QStringLiteral("Baro pressure") : QStringLiteral("Press."), panel),
        10, 0);
    layout->addWidget(boxes.pressure, 10, 1);
    layout->addWidget(new QLabel(QStringLiteral("Temp."), panel), 10, 2);
    layout->addWidget(boxes.temperature, 10, 3);
    layout->addWidget(
        new QLabel(isSession1 ? QStringLiteral("Humidity %") : QStringLiteral("H.%"), panel), 10,
        4);
    layout->addWidget(boxes.humidity, 10, 5);
    return panel;
}

void RemarksPage::storeRemarksOfSession1(TestSession& slot1) const {
    const SlotBoxes& boxes = slots_[0];
    storeText(boxes.remarks[0]->text(), kRemarkStoredChars, slot1.remarkLine1);
    storeText(boxes.remarks[1]->text(), kRemarkStoredChars, slot1.remarkLine2);
    storeText(boxes.remarks[2]->text(), kRemarkStoredChars, slot1.remarkLine3);
    storeText(session1Make_->currentText(), kMakeModelStoredChars, slot1.make);
    storeText(boxes.model->text(), kMakeModelStoredChars, slot1.model);
    storeText(boxes.owner->text(), kOwnerStoredChars, slot1.owner);
}

void RemarksPage::showSessionTexts(int slot, const TestSession& session) {
    if (slot < 1 || slot > kSessionSlots) return;
    SlotBoxes& boxes = slots_[static_cast<std::size_t>(slot - 1)];
    const QString make = shownText(session.make, kMakeModelStoredChars);
    if (slot == 1) {
        session1Make_->setEditText(make);
    } else {
        boxes.make->setText(make);
    }
    boxes.model->setText(shownText(session.model, kMakeModelStoredChars));
    boxes.owner->setText(shownText(session.owner, kOwnerStoredChars));
    boxes.remarks[0]->setText(shownText(session.remarkLine1, kRemarkStoredChars));
    boxes.remarks[1]->setText(shownText(session.remarkLine2, kRemarkStoredChars));
    boxes.remarks[2]->setText(shownText(session.remarkLine3, kRemarkStoredChars));
}

void RemarksPage::showAirTexts(int slot, const AirTexts& air) {
    if (slot < 1 || slot > kSessionSlots) return;
    SlotBoxes& boxes = slots_[static_cast<std::size_t>(slot - 1)];
    boxes.pressure->setText(QString::fromStdString(air.pressure));
    boxes.temperature->setText(QString::fromStdString(air.temperature));
    boxes.humidity->setText(QString::fromStdString(air.humidity));
}

}  // namespace dyno
