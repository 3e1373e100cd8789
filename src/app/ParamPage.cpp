#include "app/ParamPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CalculatorDialog.h"
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
      fugtedit_(namedEdit("fugtedit", "50", this)),
      tempedit_(namedEdit("tempedit", "23", this)),
      baroedit_(namedEdit("baroedit", "1000", this)),
      fahrenheitcheck_(namedCheck("fahrenheitcheck", "Use Fahrenheit", this)),
      inchhgcheck_(namedCheck("inchhgcheck", "Use Inch - HG", this)),
      corrchoice_(new QComboBox(this)),
      correctionedit_(namedEdit("correctionedit", "1", this)) {
    setObjectName(QStringLiteral("TabSheet5"));

    auto* air = new QGroupBox(QStringLiteral("Air data"), this);
    auto* airForm = new QFormLayout(air);
    airForm->addRow(QStringLiteral("Humidity %"), fugtedit_);
    airForm->addRow(QStringLiteral("Temperature"), tempedit_);
    airForm->addRow(QStringLiteral("Barometric pressure"), baroedit_);
    airForm->addRow(fahrenheitcheck_);
    airForm->addRow(inchhgcheck_);

    auto* correction = new QGroupBox(QStringLiteral("Correction factor type"), this);
    auto* correctionLayout = new QVBoxLayout(correction);
    corrchoice_->setObjectName(QStringLiteral("corrchoice"));
    for (int i = 0; i < kCorrectionStandards; ++i) {
        const auto name = correctionStandardName(*correctionStandardFromIndex(i));
        corrchoice_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    corrchoice_->setCurrentIndex(static_cast<int>(CorrectionStandard::Eec));
    correctionLayout->addWidget(corrchoice_);
    correctionLayout->addWidget(new QLabel(QStringLiteral("Correction factor for test 1")));
    correctionedit_->setReadOnly(true);
    correctionLayout->addWidget(correctionedit_);
    auto* useButton = namedButton("usecorrectionbutton", "Use correction factor", correction);
    auto* oneButton = namedButton("factor1button", "Factor = 1.00  ( Uncorrected Hp )", correction);
    correctionLayout->addWidget(useButton);
    correctionLayout->addWidget(oneButton);
    correctionLayout->addStretch();
    connect(useButton, &QPushButton::clicked, this, &ParamPage::useCorrectionRequested);
    connect(oneButton, &QPushButton::clicked, this, &ParamPage::factorOneRequested);

    auto* limits = new QGroupBox(QStringLiteral("Graph scheme coordinates"), this);
    auto* limitsForm = new QFormLayout(limits);
    for (const LimitBox& box : kLimitBoxes) {
        limitsForm->addRow(QString::fromLatin1(box.caption),
                           namedEdit(box.name, box.startText, limits));
    }

    auto* options = new QWidget(this);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(
        namedCheck("showaircheckbox", "Display Air/Rolling resistance curve", options));
    optionsLayout->addWidget(namedCheck("torquebox", "Torque displayed as Ft.lbs", options));
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

AirUnitOptions ParamPage::airUnits() const {
    return AirUnitOptions{fahrenheitcheck_->isChecked(), inchhgcheck_->isChecked()};
}

CorrectionStandard ParamPage::correctionStandard() const {
    return correctionStandardFromIndex(corrchoice_->currentIndex())
        .value_or(CorrectionStandard::Eec);
}

SavedAirData ParamPage::savedAirData() const {
    const AirUnitOptions units = airUnits();
    return savedAirDataFromEntries(baroedit_->text().toStdString(), tempedit_->text().toStdString(),
                                   fugtedit_->text().toStdString(), units.isPressureInchHg,
                                   units.isTemperatureFahrenheit);
}

void ParamPage::useCorrectionFactor(TestSession& slot1, MessageSink& messages) {
    const std::string humidity = fugtedit_->text().toStdString();
    const std::string temperature = tempedit_->text().toStdString();
    const std::string pressure = baroedit_->text().toStdString();
    const CorrectionPageEntries entries{humidity, temperature, pressure, airUnits(),
                                        correctionStandard()};
    const CorrectionResult result = correctionFromPage(entries);
    applyCorrection(result, CorrectionTarget::CorrectionFactor, slot1, messages);
    correctionedit_->setText(QString::fromStdString(result.correctionText));
}

void ParamPage::useFactorOne(TestSession& slot1) {
    const CorrectionResult result = factorOne();
    slot1.correctionFactor = result.factor;
    correctionedit_->setText(QString::fromStdString(result.correctionText));
}

void ParamPage::showSession1(const AirTexts& air, int standardWord, double correctionFactor) {
    baroedit_->setText(QString::fromStdString(air.pressure));
    tempedit_->setText(QString::fromStdString(air.temperature));
    fugtedit_->setText(QString::fromStdString(air.humidity));
    if (correctionStandardFromIndex(standardWord)) corrchoice_->setCurrentIndex(standardWord);
    correctionedit_->setText(QString::fromStdString(formatFixed(correctionFactor, 3)));
}

void ParamPage::showCalculator() {
    if (calculator_ == nullptr) calculator_ = new CalculatorDialog(this);
    calculator_->show();
    calculator_->raise();
    calculator_->activateWindow();
}

}  // namespace dyno
