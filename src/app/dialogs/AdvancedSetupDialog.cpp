#include "app/dialogs/AdvancedSetupDialog.h"

#include "app/pages/ControlBuilders.h"

#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

namespace dyno {

namespace {

using build::addEdit;
using build::addLabel;

// The up-down keeps a 16-bit position, as the delay is shown there.
int upDownPosition(std::uint32_t delayMs) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(delayMs & 0xFFFFu));
}

}  // namespace

AdvancedSetupDialog::AdvancedSetupDialog(QWidget* parent)
    : QDialog(parent),
      delayUpDown_(new QSpinBox(this)),
      remoteDelayEdit_(nullptr),
      waitEdit_(nullptr) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Advanced setup"));
    setFixedSize(kWidth, kHeight);

    QFont heading = font();
    heading.setBold(true);
    addLabel(this, QStringLiteral("K70/K80 Dyno electronics"), {16, 12, 270, 20},
             QStringLiteral("Label2"))
        ->setFont(heading);

    auto* ioGroup = new QGroupBox(QStringLiteral("I/O adress"), this);
    cardAddress_ = ioGroup;
    ioGroup->setObjectName(QStringLiteral("dyno_io_group"));
    ioGroup->setGeometry(16, 40, 270, 70);
    const QString addresses[] = {QStringLiteral(" 1B0 - 1BB"), QStringLiteral(" 1F0 - 1FB")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(addresses[i], ioGroup);
        item->setGeometry(10, 20 + 22 * i, 250, 20);
        item->setChecked(i == 0);
    }

    addLabel(this, QStringLiteral("Remote button delay"), {16, 126, 150, 20},
             QStringLiteral("Label9"));
    remoteDelayEdit_ = addEdit(this, "startupbuttondelay_edit", QString(), {170, 124, 80, 21});
    addLabel(this, QStringLiteral("Optimize testbutton delay"), {16, 160, 200, 20},
             QStringLiteral("Label13"));
    addLabel(this, QStringLiteral("Longer"), {16, 186, 60, 20}, QStringLiteral("Label14"));
    // Only the arrows of the up-down show: "up" lengthens the delay by one step.
    delayUpDown_->setObjectName(QStringLiteral("delaybutton_updown"));
    delayUpDown_->setGeometry(80, 184, 18, 40);
    delayUpDown_->setRange(0, kDelayMaximumMs);
    delayUpDown_->setSingleStep(kDelayStepMs);
    delayUpDown_->setValue(5000);
    addLabel(this, QStringLiteral("Shorter"), {16, 206, 60, 20}, QStringLiteral("Label15"));
    waitEdit_ = addEdit(this, "waitbutton_edit", QString(), {110, 194, 80, 21});
    optimisedDelay_ = new QCheckBox(QStringLiteral("Use optimized testbutton delay"), this);
    optimisedDelay_->setObjectName(QStringLiteral("useoptdelaybutton_check"));
    optimisedDelay_->setGeometry(16, 236, 270, 20);

    addLabel(this, QStringLiteral("K40 Dyno electronics"), {16, 290, 270, 20},
             QStringLiteral("Label3"))
        ->setFont(heading);
    addLabel(this, QStringLiteral("USB data transfer delay"), {16, 322, 150, 20},
             QStringLiteral("Label1"));
    transferDelay_ = addEdit(this, "serial_delayedit", QStringLiteral("20"), {170, 320, 80, 21});

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry((kWidth - 90) / 2, kHeight - 50, 90, 28);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    connect(delayUpDown_, &QSpinBox::valueChanged, this, &AdvancedSetupDialog::upDownClicked);
    showDelay();
}

void AdvancedSetupDialog::setRemoteButtonDelay(std::uint32_t delayMs) {
    remoteButtonDelayMs_ = delayMs;
    showDelay();
}

void AdvancedSetupDialog::showEvent(QShowEvent* event) {
    showDelay();
    QDialog::showEvent(event);
}

void AdvancedSetupDialog::paintEvent(QPaintEvent* event) {
    showDelay();
    QDialog::paintEvent(event);
}

void AdvancedSetupDialog::showDelay() {
    const QString text = QString::number(remoteButtonDelayMs_);  // "%lu"
    // Set only when it differs, so a paint does not move the cursor of a box.
    for (QLineEdit* box : {remoteDelayEdit_, waitEdit_}) {
        if (box->text() != text) box->setText(text);
    }
    const QSignalBlocker quiet(delayUpDown_);
    delayUpDown_->setValue(upDownPosition(remoteButtonDelayMs_));
}

void AdvancedSetupDialog::upDownClicked(int position) {
    remoteButtonDelayMs_ = static_cast<std::uint32_t>(position);
    waitEdit_->setText(QString::number(remoteButtonDelayMs_));
    emit remoteButtonDelayChanged(remoteButtonDelayMs_);
}

void AdvancedSetupDialog::readSettings(DynoSettings& s) const {
    s.cardAddressChoice = build::chosenItem(cardAddress_);
    s.useOptimisedButtonDelay = optimisedDelay_->isChecked();
    s.buttonWaitText = waitEdit_->text().toStdString();
    s.transferDelayText = transferDelay_->text().toStdString();
}

void AdvancedSetupDialog::showSettings(const DynoSettings& s) {
    build::chooseItem(cardAddress_, s.cardAddressChoice);
    optimisedDelay_->setChecked(s.useOptimisedButtonDelay);
    waitEdit_->setText(QString::fromStdString(s.buttonWaitText));
    transferDelay_->setText(QString::fromStdString(s.transferDelayText));
}

}  // namespace dyno
