#include "app/pages/ParamPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/CalculatorDialog.h"
#include "evaluation/CorrectionApply.h"
#include "model/TestSession.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

QLineEdit* namedEdit(const char* name, const char* text, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromLatin1(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QCheckBox* namedCheck(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton* namedButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// The six graph limits in the order of `GraphScale`; the Setup page's start-up
// coordinates overwrite these when the settings file is read.
struct LimitBox {
    const char* name;
    const char* caption;
    const char* startText;
};
constexpr LimitBox kLimitBoxes[] = {
    {"startkmhedit", "Start Speed", "0"}, {"endkmhedit", "End Speed", "100"},
    {"starthpedit", "Start Hp", "0"},     {"endhpedit", "End Hp", "10"},
    {"startrpmedit", "Start Rpm", "0"},   {"endrpmedit", "End Rpm", "15000"},
};

}  // namespace

ParamPage::ParamPage(QWidget* parent)
    : QWidget(parent),
      humidity_(namedEdit("fugtedit", "50", this)),
      temperature_(namedEdit("tempedit", "23", this)),
      pressure_(namedEdit("baroedit", "1000", this)),
      fahrenheit_(namedCheck("fahrenheitcheck", "Use Fahrenheit", this)),
      inchHg_(namedCheck("inchhgcheck", "Use Inch - HG", this)),
      standard_(new QComboBox(this)),
      correctionFactor_(namedEdit("correctionedit", "1", this)) {
    setObjectName(QStringLiteral("TabSheet5"));

    auto* air = new QGroupBox(QStringLiteral("Air data"), this);
    auto* airForm = new QFormLayout(air);
    airForm->addRow(QStringLiteral("Humidity %"), humidity_);
    airForm->addRow(QStringLiteral("Temperature"), temperature_);
    airForm->addRow(QStringLiteral("Barometric pressure"), pressure_);
    airForm->addRow(fahrenheit_);
    airForm->addRow(inchHg_);

    auto* correction = new QGroupBox(QStringLiteral("Correction factor type"), this);
    auto* correctionLayout = new QVBoxLayout(correction);
    standard_->setObjectName(QStringLiteral("corrchoice"));
    for (int i = 0; i < kCorrectionStandards; ++i) {
        const auto name = correctionStandardName(*correctionStandardFromIndex(i));
        standard_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    standard_->setCurrentIndex(static_cast<int>(CorrectionStandard::Eec));
    correctionLayout->addWidget(standard_);
    correctionLayout->addWidget(new QLabel(QStringLiteral("Correction factor for test 1")));
    correctionFactor_->setReadOnly(true);
    correctionLayout->addWidget(correctionFactor_);
    auto* useButton = namedButton("usecorrectionbutton", "Use correction factor", correction);
    auto* oneButton = namedButton("factor1button", "Factor = 1.00  ( Uncorrected Hp )", correction);
    correctionLayout->addWidget(useButton);
    correctionLayout->addWidget(oneButton);
    correctionLayout->addStretch();
    connect(useButton, &QPushButton::clicked, this, &ParamPage::useCorrectionRequested);
    connect(oneButton, &QPushButton::clicked, this, &ParamPage::factorOneRequested);

    auto* limits = new QGroupBox(QStringLiteral("Graph scheme coordinates"), this);
    auto* limitsForm = new QFormLayout(limits);
    for (std::size_t i = 0; i < graphLimits_.size(); ++i) {
        const LimitBox& box = kLimitBoxes[i];
        graphLimits_[i] = namedEdit(box.name, box.startText, limits);
        limitsForm->addRow(QString::fromLatin1(box.caption), graphLimits_[i]);
    }

    auto* options = new QWidget(this);
    auto* optionsLayout = new QVBoxLayout(options);
    airCurveShown_ = namedCheck("showaircheckbox", "Display Air/Rolling resistance curve", options);
    optionsLayout->addWidget(airCurveShown_);
    // The losses curve: air drag grows with the square of speed, rolling resistance
    // is the same at every speed.
    auto* losses = new QFormLayout;
    airResistance_ = namedEdit("vindmodstandedit", "0.030", options);
    rollingResistance_ = namedEdit("rullemodstandedit", "0.5", options);
    losses->addRow(QStringLiteral("Airresistance value"), airResistance_);
    losses->addRow(QStringLiteral("Rolling resistance"), rollingResistance_);
    optionsLayout->addLayout(losses);
    torqueInFtLbs_ = namedCheck("torquebox", "Torque displayed as Ft.lbs", options);
    optionsLayout->addWidget(torqueInFtLbs_);
    auto* calculatorButton = namedButton("calculatorbutton", "Calculator", options);
    optionsLayout->addWidget(calculatorButton);
    optionsLayout->addStretch();
    connect(calculatorButton, &QPushButton::clicked, this, &ParamPage::showCalculator);

    auto* grid = new QGridLayout(this);
    grid->addWidget(air, 0, 0);
    grid->addWidget(correction, 0, 1);
    grid->addWidget(limits, 1, 0);
    grid->addWidget(options, 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(2, 1);
}

void ParamPage::readSettings(DynoSettings& s) const {
    s.torqueInFtLbs = torqueInFtLbs_->isChecked();
    s.useFahrenheit = fahrenheit_->isChecked();
    s.useInchHg = inchHg_->isChecked();
    s.correctionStandard = standard_->currentIndex();
}

void ParamPage::showSettings(const DynoSettings& s) {
    torqueInFtLbs_->setChecked(s.torqueInFtLbs);
    fahrenheit_->setChecked(s.useFahrenheit);
    inchHg_->setChecked(s.useInchHg);
    // A stored index the list does not have leaves the choice as it is.
    if (correctionStandardFromIndex(s.correctionStandard)) {
        standard_->setCurrentIndex(s.correctionStandard);
    }
}

ScaleTexts ParamPage::scaleTexts() const {
    const auto text = [this](std::size_t i) { return graphLimits_[i]->text().toStdString(); };
    return ScaleTexts{text(0), text(1), text(2), text(3), text(4), text(5)};
}

void ParamPage::showScaleTexts(const ScaleTexts& texts) {
    const std::string* values[] = {&texts.startKmh, &texts.endKmh,   &texts.startHp,
                                   &texts.endHp,    &texts.startRpm, &texts.endRpm};
    for (std::size_t i = 0; i < graphLimits_.size(); ++i) {
        graphLimits_[i]->setText(QString::fromStdString(*values[i]));
    }
}

void ParamPage::showTemperatureText(const std::string& text) {
    temperature_->setText(QString::fromStdString(text));
}

void ParamPage::showPressureText(const std::string& text) {
    pressure_->setText(QString::fromStdString(text));
}

bool ParamPage::isAirCurveShown() const {
    return airCurveShown_->isChecked();
}

std::string ParamPage::airResistanceText() const {
    return airResistance_->text().toStdString();
}

std::string ParamPage::rollingResistanceText() const {
    return rollingResistance_->text().toStdString();
}

void ParamPage::showStationValues(const StationDisplayTexts& texts) {
    pressure_->setText(QString::fromStdString(texts.pressure));
    temperature_->setText(QString::fromStdString(texts.temperature));
    humidity_->setText(QString::fromStdString(texts.humidity));
}

void ParamPage::showCorrectionText(const QString& text) {
    correctionFactor_->setText(text);
}

AirUnitOptions ParamPage::airUnits() const {
    return AirUnitOptions{fahrenheit_->isChecked(), inchHg_->isChecked()};
}

CorrectionStandard ParamPage::correctionStandard() const {
    return correctionStandardFromIndex(standard_->currentIndex()).value_or(CorrectionStandard::Eec);
}

SavedAirData ParamPage::savedAirData() const {
    const AirUnitOptions units = airUnits();
    return savedAirDataFromEntries(
        pressure_->text().toStdString(), temperature_->text().toStdString(),
        humidity_->text().toStdString(), units.isPressureInchHg, units.isTemperatureFahrenheit);
}

void ParamPage::useCorrectionFactor(TestSession& slot1, MessageSink& messages) {
    const std::string humidity = humidity_->text().toStdString();
    const std::string temperature = temperature_->text().toStdString();
    const std::string pressure = pressure_->text().toStdString();
    const CorrectionPageEntries entries{humidity, temperature, pressure, airUnits(),
                                        correctionStandard()};
    const CorrectionResult result = correctionFromPage(entries);
    applyCorrection(result, CorrectionTarget::CorrectionFactor, slot1, messages);
    correctionFactor_->setText(QString::fromStdString(result.correctionText));
}

void ParamPage::useFactorOne(TestSession& slot1) {
    const CorrectionResult result = factorOne();
    slot1.correctionFactor = result.factor;
    correctionFactor_->setText(QString::fromStdString(result.correctionText));
}

void ParamPage::showSession1(const AirTexts& air, int standardWord, double correctionFactor) {
    pressure_->setText(QString::fromStdString(air.pressure));
    temperature_->setText(QString::fromStdString(air.temperature));
    humidity_->setText(QString::fromStdString(air.humidity));
    if (correctionStandardFromIndex(standardWord)) standard_->setCurrentIndex(standardWord);
    correctionFactor_->setText(QString::fromStdString(formatFixed(correctionFactor, 3)));
}

void ParamPage::showCalculator() {
    if (calculator_ == nullptr) calculator_ = new CalculatorDialog(this);
    calculator_->show();
    calculator_->raise();
    calculator_->activateWindow();
}

}  // namespace dyno
