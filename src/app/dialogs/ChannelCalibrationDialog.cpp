#include "app/dialogs/ChannelCalibrationDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/pages/ControlBuilders.h"
#include "evaluation/ChannelCalibrationRules.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 250;
constexpr int kRowHeight = 30;
constexpr int kFirstRow = 30;
constexpr std::array<int, 4> kPointLeft{410, 470, 530, 590};
constexpr std::array<const char*, 4> kPointHeadings{"Rec. low", "Value", "Rec. high", "Value"};

QString numberText(double value) {
    return QString::fromStdString(formatRoundTrip(value));
}

}  // namespace

ChannelCalibrationDialog::ChannelCalibrationDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("calibrationdialog"));
    setWindowTitle(QStringLiteral("Channel calibrations"));
    setFixedSize(kWidth, kHeight);
    build::addLabel(this, QStringLiteral("Preset"), {80, 8, 150, 18});
    build::addLabel(this, QStringLiteral("Name"), {240, 8, 80, 18});
    build::addLabel(this, QStringLiteral("Unit"), {330, 8, 70, 18});
    for (std::size_t p = 0; p < kPointLeft.size(); ++p) {
        build::addLabel(this, QString::fromLatin1(kPointHeadings[p]), {kPointLeft[p], 8, 58, 18});
    }
    build::addLabel(this, QStringLiteral("Smoothing"), {655, 8, 90, 18});
    for (int c = 1; c <= kAnalogChannels; ++c) buildRow(c, kFirstRow + kRowHeight * (c - 1));

    problem_ = build::addLabel(this, QString(), {12, kHeight - 70, kWidth - 24, 30},
                               QStringLiteral("calibrationproblem"));
    problem_->setWordWrap(true);
    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setObjectName(QStringLiteral("calibrationapply"));
    apply->setGeometry(kWidth - 180, kHeight - 36, 80, 26);
    connect(apply, &QPushButton::clicked, this, [this] {
        if (const auto channels = calibrations()) {
            problem_->clear();
            emit applied(*channels);
        }
    });
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("calibrationclose"));
    close->setGeometry(kWidth - 92, kHeight - 36, 80, 26);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void ChannelCalibrationDialog::buildRow(int channel, int y) {
    ChannelRow& row = rows_[static_cast<std::size_t>(channel - 1)];
    const QString n = QString::number(channel);
    build::addLabel(this, QStringLiteral("Channel %1").arg(channel), {12, y + 2, 66, 18});
    row.preset = new QComboBox(this);
    row.preset->setObjectName(QStringLiteral("calibrationpreset") + n);
    row.preset->addItem(QStringLiteral("Preset..."));
    for (const CalibrationPreset& preset : calibrationPresets()) {
        row.preset->addItem(
            QString::fromLatin1(preset.title.data(), static_cast<qsizetype>(preset.title.size())));
    }
    row.preset->setGeometry(80, y, 150, 22);
    connect(row.preset, &QComboBox::activated, this,
            [this, &row](int index) { takePreset(row, index); });
    row.name = build::addEdit(this, QStringLiteral("calibrationname") + n, QString(),
                              {240, y, 80, 22}, 20);
    row.unit = build::addEdit(this, QStringLiteral("calibrationunit") + n, QString(),
                              {330, y, 70, 22}, 12);
    for (std::size_t p = 0; p < row.points.size(); ++p) {
        row.points[p] =
            build::addEdit(this, QStringLiteral("calibrationpoint%1_%2").arg(n).arg(p + 1),
                           QString(), {kPointLeft[p], y, 56, 22}, 12);
    }
    row.smoothing = new QSpinBox(this);
    row.smoothing->setObjectName(QStringLiteral("calibrationsmoothing") + n);
    row.smoothing->setRange(1, 50);
    row.smoothing->setGeometry(655, y, 60, 22);
}

// A preset fills the row; the row's own name stays when it has one.
void ChannelCalibrationDialog::takePreset(ChannelRow& row, int index) {
    const auto presets = calibrationPresets();
    if (index < 1 || index > static_cast<int>(presets.size())) return;
    const ChannelCalibration& preset = presets[static_cast<std::size_t>(index - 1)].calibration;
    if (row.name->text().trimmed().isEmpty())
        row.name->setText(QString::fromStdString(preset.name));
    row.unit->setText(QString::fromStdString(preset.unit));
    const std::array<double, 4> points{preset.recordedLow, preset.valueLow, preset.recordedHigh,
                                       preset.valueHigh};
    for (std::size_t p = 0; p < points.size(); ++p) row.points[p]->setText(numberText(points[p]));
    row.smoothing->setValue(preset.smoothingSamples);
    row.preset->setCurrentIndex(0);
}

void ChannelCalibrationDialog::showCalibrations(
    const std::array<ChannelCalibration, kAnalogChannels>& channels) {
    for (std::size_t c = 0; c < channels.size(); ++c) {
        const ChannelCalibration& calibration = channels[c];
        ChannelRow& row = rows_[c];
        row.name->setText(QString::fromStdString(calibration.name));
        row.unit->setText(QString::fromStdString(calibration.unit));
        const std::array<double, 4> points{calibration.recordedLow, calibration.valueLow,
                                           calibration.recordedHigh, calibration.valueHigh};
        for (std::size_t p = 0; p < points.size(); ++p) {
            row.points[p]->setText(numberText(points[p]));
        }
        row.smoothing->setValue(calibration.smoothingSamples);
    }
    problem_->clear();
}

std::optional<std::array<ChannelCalibration, kAnalogChannels>>
ChannelCalibrationDialog::calibrations() {
    std::array<ChannelCalibration, kAnalogChannels> channels{};
    for (std::size_t c = 0; c < rows_.size(); ++c) {
        const ChannelRow& row = rows_[c];
        const int channel = static_cast<int>(c) + 1;
        ChannelCalibration& calibration = channels[c];
        calibration.name = row.name->text().trimmed().toStdString();
        calibration.unit = row.unit->text().trimmed().toStdString();
        std::array<double*, 4> points{&calibration.recordedLow, &calibration.valueLow,
                                      &calibration.recordedHigh, &calibration.valueHigh};
        for (std::size_t p = 0; p < points.size(); ++p) {
            const auto number = strictDecimal(row.points[p]->text().trimmed().toStdString());
            if (!number) {
                problem_->setText(QStringLiteral("Channel %1: '%2' is not a number.")
                                      .arg(channel)
                                      .arg(row.points[p]->text()));
                return std::nullopt;
            }
            *points[p] = *number;
        }
        calibration.smoothingSamples = row.smoothing->value();
        if (calibration.name.empty()) continue;  // not calibrated: nothing to refuse
        if (const auto refusal = calibrationRefusal(channel, calibration)) {
            problem_->setText(QString::fromStdString(*refusal));
            return std::nullopt;
        }
    }
    return channels;
}

}  // namespace dyno
