#include "app/AdvancedSetupDialog.h"

#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

namespace dyno {

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QLineEdit* addEdit(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

// The up-down keeps a 16-bit position, as the delay is shown there.
int upDownPosition(std::uint32_t delayMs) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(delayMs & 0xFFFFu));
}

}  // namespace

AdvancedSetupDialog::AdvancedSetupDialog(QWidget* parent)
    : QDialog(parent),
      delaybutton_updown_(new QSpinBox(this)),
      startupbuttondelay_edit_(nullptr),
      waitbutton_edit_(nullptr) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Advanced setup"));
    setFixedSize(kWidth, kHeight);

    QFont heading = font();
    heading.setBold(true);
    addLabel(this, "Label2", QStringLiteral("K70/K80 Dyno electronics"), {16, 12, 270, 20})
        ->setFont(heading);

    auto* ioGroup = new QGroupBox(QStringLiteral("I/O adress"), this);
    ioGroup->setObjectName(QStringLiteral("dyno_io_group"));
    ioGroup->setGeometry(16, 40, 270, 70);
    const QString addresses[] = {QStringLiteral(" 1B0 - 1BB"), QStringLiteral(" 1F0 - 1FB")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(addresses[i], ioGroup);
        item->setGeometry(10, 20 + 22 * i, 250, 20);
        item->setChecked(i == 0);
    }

    addLabel(this, "Label9", QStringLiteral("Remote button delay"), {16, 126, 150, 20});
    startupbuttondelay_edit_ =
        addEdit(this, "startupbuttondelay_edit", QString(), {170, 124, 80, 21});
    addLabel(this, "Label13", QStringLiteral("Optimize testbutton delay"), {16, 160, 200, 20});
    addLabel(this, "Label14", QStringLiteral("Longer"), {16, 186, 60, 20});
    // Only the arrows of the up-down show: "up" lengthens the delay by one step.
    delaybutton_updown_->setObjectName(QStringLiteral("delaybutton_updown"));
    delaybutton_updown_->setGeometry(80, 184, 18, 40);
    delaybutton_updown_->setRange(0, kDelayMaximumMs);
    delaybutton_updown_->setSingleStep(kDelayStepMs);
    delaybutton_updown_->setValue(5000);
    addLabel(this, "Label15", QStringLiteral("Shorter"), {16, 206, 60, 20});
    waitbutton_edit_ = addEdit(this, "waitbutton_edit", QString(), {110, 194, 80, 21});
    auto* optimised = new QCheckBox(QStringLiteral("Use optimized testbutton delay"), this);
    optimised->setObjectName(QStringLiteral("useoptdelaybutton_check"));
    optimised->setGeometry(16, 236, 270, 20);

    addLabel(this, "Label3", QStringLiteral("K40 Dyno electronics"), {16, 290, 270, 20})
        ->setFont(heading);
    addLabel(this, "Label1", QStringLiteral("USB data transfer delay"), {16, 322, 150, 20});
    addEdit(this, "serial_delayedit", QStringLiteral("20"), {170, 320, 80, 21});

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry((kWidth - 90) / 2, kHeight - 50, 90, 28);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    connect(delaybutton_updown_, &QSpinBox::valueChanged, this,
            &AdvancedSetupDialog::upDownClicked);
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

void AdvancedSetupDialog::showDelay() {
    const QString text = QString::number(remoteButtonDelayMs_);  // "%lu"
    startupbuttondelay_edit_->setText(text);
    waitbutton_edit_->setText(text);
    const QSignalBlocker quiet(delaybutton_updown_);
    delaybutton_updown_->setValue(upDownPosition(remoteButtonDelayMs_));
}

void AdvancedSetupDialog::upDownClicked(int position) {
    remoteButtonDelayMs_ = static_cast<std::uint32_t>(position);
    waitbutton_edit_->setText(QString::number(remoteButtonDelayMs_));
    emit remoteButtonDelayChanged(remoteButtonDelayMs_);
}

}  // namespace dyno
