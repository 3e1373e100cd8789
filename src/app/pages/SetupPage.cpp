#include "app/pages/SetupPage.h"

#include "app/pages/ControlBuilders.h"

#include <QLabel>

#include "app/system/PortList.h"
#include "model/TextNumbers.h"
#include "widgets/Led.h"

namespace dyno {

namespace {

using build::addCheck;
using build::addEdit;
using build::addLabel;
using build::addRadioGroup;
using build::chooseItem;
using build::chosenItem;

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

void showText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text));
}

}  // namespace

SetupPage::SetupPage(QWidget* parent)
    : QWidget(parent),
      port_(new QComboBox(this)),
      portLed_(new Led(this)),
      saveSettings_(new QPushButton(QStringLiteral("Save initialization file"), this)),
      advancedSetup_(new QPushButton(QStringLiteral("Advanced setup"), this)) {
    setObjectName(QStringLiteral("TabSheet1"));
    // In this order: the tab order follows the order of creation.
    buildGraphLimits();
    buildCompany();
    buildPrint();
    buildUnits();
    saveSettings_->setObjectName(QStringLiteral("saveinifile"));
    saveSettings_->setGeometry(10, 454, 250, 30);
    buildDynoChoices();
    buildK40Electronics();
    buildNoAnswerText();
    advancedSetup_->setObjectName(QStringLiteral("advancebutton"));
    advancedSetup_->setGeometry(270, 334, 150, 28);
    buildWeatherStation();
}

// Graph limits shown after a start: speed and power up to 3 digits, rpm up to 5.
void SetupPage::buildGraphLimits() {
    auto* limits = new QGroupBox(QStringLiteral("Graph limits at start"), this);
    limits->setGeometry(10, 8, 250, 110);
    struct LimitBox {
        const char* name;
        const char* caption;
        const char* text;
        int digits;
    };
    constexpr LimitBox kLimitBoxes[] = {
        {"inistartkmhedit", "Start Speed", "0", 3}, {"iniendkmhedit", "End Speed", "100", 3},
        {"inistarthpedit", "Start Hp", "0", 3},     {"iniendhpedit", "End Hp", "10", 3},
        {"inistartrpmedit", "Start Rpm", "0", 5},   {"iniendrpmedit", "End Rpm", "15000", 5},
    };
    for (std::size_t i = 0; i < graphLimits_.size(); ++i) {
        const LimitBox& box = kLimitBoxes[i];
        const bool isStart = i % 2 == 0;
        const int y = 20 + 28 * static_cast<int>(i / 2);
        addLabel(limits, QString::fromLatin1(box.caption), {isStart ? 8 : 130, y + 2, 70, 20});
        graphLimits_[i] =
            addEdit(limits, QString::fromLatin1(box.name), QString::fromLatin1(box.text),
                    {isStart ? 80 : 200, y, 40, 21}, box.digits);
    }
}

// 20 characters may be typed; the settings file keeps 19.
void SetupPage::buildCompany() {
    auto* company = new QGroupBox(QStringLiteral("Company"), this);
    company->setGeometry(10, 126, 250, 130);
    addLabel(company, QStringLiteral("Company name"), {8, 22, 90, 20});
    companyName_ =
        addEdit(company, "firmanavnedit", QStringLiteral("Your company"), {100, 20, 140, 21}, 20);
    addLabel(company, QStringLiteral("Phone"), {8, 50, 90, 20});
    phone_ = addEdit(company, "tlfedit", QStringLiteral("1234567890"), {100, 48, 140, 21}, 12);
    addLabel(company, QStringLiteral("Initial test folder"), {8, 78, 230, 20});
    initialFolder_ = addEdit(company, "initialdiredit",
                             QStringLiteral("Name of initial test folder"), {8, 98, 232, 21});
}

void SetupPage::buildPrint() {
    auto* print = new QGroupBox(QStringLiteral("Print"), this);
    print->setGeometry(10, 264, 250, 100);
    printOwnerName_ = addCheck(print, "printownerbox", QStringLiteral("Print owner name"),
                               {8, 20, 230, 20}, true);
    printHeader_ =
        addCheck(print, "printheaderbox", QStringLiteral("Print header"), {8, 42, 230, 20});
    addLabel(print, QStringLiteral("Graph line width"), {8, 68, 120, 20});
    printLineWidth_ = addEdit(print, "printlinewidth_edit", QStringLiteral("3"), {130, 66, 40, 21});
}

void SetupPage::buildUnits() {
    auto* units = new QGroupBox(QStringLiteral("Units"), this);
    units->setGeometry(10, 372, 250, 70);
    powerInKw_ = addCheck(units, "kwflagbox", QStringLiteral("Show power as KW"), {8, 20, 230, 20});
    speedInMph_ =
        addCheck(units, "mphflagbox", QStringLiteral("Show speed as MPH"), {8, 42, 230, 20});
}

// The dyno's model, electronics and roller.
void SetupPage::buildDynoChoices() {
    dynoModel_ =
        addRadioGroup(this, "dynomodel", QStringLiteral("Dyno model"),
                      {QStringLiteral("K40"), QStringLiteral("K70"), QStringLiteral("K80")}, 0,
                      {270, 8, 120, 84});
    electronics_ =
        addRadioGroup(this, "electronics", QStringLiteral("Dyno electronics type"),
                      {QStringLiteral("K80/K70 type card"), QStringLiteral("USB/Serial interface")},
                      1, {400, 8, 180, 84});
    rollerType_ =
        addRadioGroup(this, "roller_type", QStringLiteral("K80/K70 Roller type"),
                      {QStringLiteral("Standard roller"), QStringLiteral("Heavy roller"),
                       QStringLiteral("Standard + Eddy Br."), QStringLiteral("Heavy + Eddy Br.")},
                      0, {270, 100, 150, 104});
    rollerSpecs_ =
        addRadioGroup(this, "rollerspecs", QStringLiteral("K80/K70 Roller specs."),
                      {QStringLiteral("Roller -extras"), QStringLiteral("Roller w. Starter"),
                       QStringLiteral("Roller w. Disc Br."), QStringLiteral("Roller w. both")},
                      0, {430, 100, 150, 104});
    addLabel(this, QStringLiteral("Roller weight"), {270, 214, 90, 20});
    rollerWeight_ = addEdit(this, "rollerweightedit", QStringLiteral("184"), {360, 212, 60, 21});
    // Off: each loaded session keeps the roller weight it was recorded with.
    rollerWeightForLoadedTests_ =
        addCheck(this, "update_test_weight",
                 QStringLiteral("Update loaded tests with Rollerweight"), {270, 372, 320, 20});
}

void SetupPage::buildK40Electronics() {
    auto* k40 = new QGroupBox(QStringLiteral("K40 Dyno electronics"), this);
    k40->setGeometry(270, 244, 310, 80);
    addLabel(k40, QStringLiteral("Select Port"), {8, 22, 80, 20});
    port_->setParent(k40);
    port_->setObjectName(QStringLiteral("comedit"));
    port_->setGeometry(90, 20, 110, 22);
    portLed_->setParent(k40);
    portLed_->setObjectName(QStringLiteral("led"));
    portLed_->setGeometry(210, 23, 16, 16);
    addLabel(k40, QStringLiteral("Samples"), {8, 50, 80, 20});
    samples_ = addEdit(k40, "samples_edit", QString(), {90, 48, 60, 21});
    samples_->setReadOnly(true);
    // The firmware version the K40 electronics report at start-up.
    addLabel(k40, QStringLiteral("Version"), {160, 50, 50, 20});
    versionHigh_ = addEdit(k40, "versionhigh", QString(), {212, 48, 36, 21});
    versionHigh_->setReadOnly(true);
    versionLow_ = addEdit(k40, "versionlow", QString(), {252, 48, 36, 21});
    versionLow_->setReadOnly(true);
    // Any name can be restored or typed; the list offers the usual ones.
    port_->setEditable(true);
    setPortChoices(k40PortChoices({}));
}

// The LED says only that the port is open; this says when nobody answers on it.
void SetupPage::buildNoAnswerText() {
    noAnswer_ = new QLabel(this);
    noAnswer_->setObjectName(QStringLiteral("noanswertext"));
    noAnswer_->setGeometry(270, 400, 310, 54);
    noAnswer_->setWordWrap(true);
    noAnswer_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    noAnswer_->setStyleSheet(QStringLiteral("color: #FF0000; font-weight: bold;"));
    noAnswer_->hide();
}

void SetupPage::buildWeatherStation() {
    auto* weather = new QGroupBox(QStringLiteral("Weatherstation"), this);
    weather->setGeometry(590, 8, 185, 190);
    weatherStation_ = addCheck(weather, "vejrstation_check",
                               QStringLiteral("Weatherstation connected"), {8, 20, 170, 20});
    addLabel(weather, QStringLiteral("Constants:"), {8, 46, 170, 20});
    addLabel(weather, QStringLiteral("Temp."), {8, 70, 70, 20});
    weatherTemperatureConstant_ =
        addEdit(weather, "weathertempedit", QStringLiteral("250"), {80, 68, 90, 21});
    addLabel(weather, QStringLiteral("Baro."), {8, 96, 70, 20});
    weatherPressureConstant_ =
        addEdit(weather, "weatherbaroedit", QStringLiteral("250"), {80, 94, 90, 21});
    addLabel(weather, QStringLiteral("Humidity"), {8, 122, 70, 20});
    weatherHumidityConstant_ =
        addEdit(weather, "weatherfugtedit", QStringLiteral("250"), {80, 120, 90, 21});
    weatherStationRequest_ =
        new QPushButton(QStringLiteral("Get data from Weatherstation"), weather);
    weatherStationRequest_->setObjectName(QStringLiteral("get_ws_data_button"));
    weatherStationRequest_->setGeometry(8, 152, 170, 28);
}

void SetupPage::setPortChoices(const QStringList& ports) {
    const QString chosen = port_->currentText();
    port_->clear();
    port_->addItems(ports);
    if (chosen.isEmpty()) {
        port_->setCurrentIndex(0);
    } else {
        port_->setEditText(chosen);
    }
}

void SetupPage::readSettings(DynoSettings& s) const {
    std::string* limits[] = {&s.startSpeedText, &s.endSpeedText, &s.startPowerText,
                             &s.endPowerText,   &s.startRpmText, &s.endRpmText};
    for (std::size_t i = 0; i < graphLimits_.size(); ++i) *limits[i] = textOf(graphLimits_[i]);
    s.companyName = textOf(companyName_);
    s.companyPhone = textOf(phone_);
    s.initialFolder = textOf(initialFolder_);
    s.printOwnerName = printOwnerName_->isChecked();
    s.printHeader = printHeader_->isChecked();
    s.printLineWidthText = textOf(printLineWidth_);
    s.powerInKw = powerInKw_->isChecked();
    s.speedInMph = speedInMph_->isChecked();
    s.dynoModel = chosenItem(dynoModel_);
    s.rollerType = chosenItem(rollerType_);
    s.rollerSpecs = chosenItem(rollerSpecs_);
    s.rollerWeightText = textOf(rollerWeight_);
    s.electronicsType = chosenItem(electronics_);
    s.weatherStationConnected = weatherStation_->isChecked();
    s.serialPortName = port_->currentText().toStdString();
    s.weatherHumidityConstantText = textOf(weatherHumidityConstant_);
    s.weatherPressureConstantText = textOf(weatherPressureConstant_);
    s.weatherTemperatureConstantText = textOf(weatherTemperatureConstant_);
}

void SetupPage::showSettings(const DynoSettings& s) {
    const std::string* limits[] = {&s.startSpeedText, &s.endSpeedText, &s.startPowerText,
                                   &s.endPowerText,   &s.startRpmText, &s.endRpmText};
    for (std::size_t i = 0; i < graphLimits_.size(); ++i) showText(graphLimits_[i], *limits[i]);
    showText(companyName_, s.companyName);
    showText(phone_, s.companyPhone);
    showText(initialFolder_, s.initialFolder);
    printOwnerName_->setChecked(s.printOwnerName);
    printHeader_->setChecked(s.printHeader);
    showText(printLineWidth_, s.printLineWidthText);
    powerInKw_->setChecked(s.powerInKw);
    speedInMph_->setChecked(s.speedInMph);
    chooseItem(dynoModel_, s.dynoModel);
    chooseItem(rollerType_, s.rollerType);
    chooseItem(rollerSpecs_, s.rollerSpecs);
    showText(rollerWeight_, s.rollerWeightText);
    chooseItem(electronics_, s.electronicsType);
    weatherStation_->setChecked(s.weatherStationConnected);
    port_->setEditText(QString::fromStdString(s.serialPortName));
    showText(weatherHumidityConstant_, s.weatherHumidityConstantText);
    showText(weatherPressureConstant_, s.weatherPressureConstantText);
    showText(weatherTemperatureConstant_, s.weatherTemperatureConstantText);
}

int SetupPage::dynoModelIndex() const {
    return chosenItem(dynoModel_);
}

int SetupPage::electronicsIndex() const {
    return chosenItem(electronics_);
}

std::string SetupPage::portName() const {
    return port_->currentText().trimmed().toStdString();
}

std::string SetupPage::rollerWeightText() const {
    return textOf(rollerWeight_);
}

bool SetupPage::isWeatherStationConnected() const {
    return weatherStation_->isChecked();
}

bool SetupPage::isPowerInKw() const {
    return powerInKw_->isChecked();
}

bool SetupPage::isSpeedInMph() const {
    return speedInMph_->isChecked();
}

bool SetupPage::isRollerWeightForLoadedTests() const {
    return rollerWeightForLoadedTests_->isChecked();
}

EvaluationOptions SetupPage::evaluationOptions() const {
    EvaluationOptions options;
    options.speedInMph = isSpeedInMph();
    options.powerInKw = isPowerInKw();
    options.useTypedRollerWeight = isRollerWeightForLoadedTests();
    options.typedRollerWeightKg = leadingNumber(rollerWeightText());
    return options;
}

void SetupPage::setPortLedOn(bool isOn) {
    portLed_->setOn(isOn);
}

void SetupPage::showFirmwareVersion(const QString& high, const QString& low) {
    versionHigh_->setText(high);
    versionLow_->setText(low);
}

void SetupPage::showSampleSetting(const QString& samples) {
    samples_->setText(samples);
}

void SetupPage::showNoAnswer(const QString& text) {
    noAnswer_->setText(text);
    noAnswer_->setVisible(!text.isEmpty());
}

QString SetupPage::noAnswerText() const {
    return noAnswer_->isHidden() ? QString() : noAnswer_->text();
}

}  // namespace dyno
