#include "app/dialogs/LiveViewDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "app/acquisition/RiderLiveView.h"
#include "app/pages/ControlBuilders.h"

namespace dyno {

namespace {

constexpr int kWidth = 340;
constexpr int kHeight = 470;
constexpr int kQrSide = 220;

}  // namespace

LiveViewDialog::LiveViewDialog(const RiderLiveView& view, QWidget* parent)
    : QDialog(parent), view_(view) {
    setObjectName(QStringLiteral("liveviewdialog"));
    setWindowTitle(QStringLiteral("Rider's live view"));
    setFixedSize(kWidth, kHeight);
    isOn_ = build::addCheck(this, QStringLiteral("liveviewon"),
                            QStringLiteral("Serve the live view to a phone or tablet"),
                            {12, 10, 316, 20});
    build::addLabel(this, QStringLiteral("Port"), {12, 38, 60, 20});
    port_ = build::addEdit(this, QStringLiteral("liveviewport"), QString(), {80, 36, 70, 22}, 5);
    build::addLabel(this, QStringLiteral("Reach"), {12, 66, 60, 20});
    reach_ = new QComboBox(this);
    reach_->setObjectName(QStringLiteral("liveviewreach"));
    reach_->addItems({QStringLiteral("This PC only"), QStringLiteral("The workshop's network")});
    reach_->setGeometry(80, 64, 200, 22);
    showEachRun_ =
        build::addCheck(this, QStringLiteral("showeachrun"),
                        QStringLiteral("Show each run as it arrives"), {12, 94, 316, 20});
    address_ =
        build::addLabel(this, QString(), {12, 122, 316, 40}, QStringLiteral("liveviewaddress"));
    address_->setWordWrap(true);
    address_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    qrCode_ = build::addLabel(this, QString(), {(kWidth - kQrSide) / 2, 166, kQrSide, kQrSide},
                              QStringLiteral("liveviewqr"));
    qrCode_->setAlignment(Qt::AlignCenter);

    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setObjectName(QStringLiteral("liveviewapply"));
    apply->setGeometry(kWidth - 180, kHeight - 36, 80, 26);
    connect(apply, &QPushButton::clicked, this, [this] {
        if (const auto settings = choices()) {
            emit applied(*settings);
            showServing();
        }
    });
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("liveviewclose"));
    close->setGeometry(kWidth - 92, kHeight - 36, 80, 26);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void LiveViewDialog::showSettings(const LiveViewSettings& settings) {
    isOn_->setChecked(settings.isOn);
    port_->setText(QString::number(settings.port));
    reach_->setCurrentIndex(settings.reach == LiveViewReach::localNetwork ? 1 : 0);
    showEachRun_->setChecked(settings.showEachRun);
    showServing();
}

std::optional<LiveViewSettings> LiveViewDialog::choices() {
    bool isNumber = false;
    const uint port = port_->text().trimmed().toUInt(&isNumber);
    if (!isNumber || port < 1 || port > 65535) {
        address_->setText(QStringLiteral("The port is a whole number of 1 to 65535."));
        qrCode_->clear();
        return std::nullopt;
    }
    LiveViewSettings settings;
    settings.isOn = isOn_->isChecked();
    settings.port = static_cast<std::uint16_t>(port);
    settings.reach =
        reach_->currentIndex() == 1 ? LiveViewReach::localNetwork : LiveViewReach::thisPcOnly;
    settings.showEachRun = showEachRun_->isChecked();
    return settings;
}

void LiveViewDialog::showServing() {
    if (!view_.isRunning()) {
        address_->setText(view_.errorText().isEmpty() ? QStringLiteral("The live view is off.")
                                                      : view_.errorText());
        qrCode_->clear();
        return;
    }
    address_->setText(
        QStringLiteral("%1\nAccess code %2").arg(view_.address(), view_.accessCode()));
    const QImage code = view_.addressQrCode(4);
    qrCode_->setPixmap(QPixmap::fromImage(
        code.scaled(kQrSide, kQrSide, Qt::KeepAspectRatio, Qt::FastTransformation)));
}

}  // namespace dyno
