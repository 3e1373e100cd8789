#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <array>
#include <string>

#include "evaluation/EvaluationOptions.h"
#include "model/DynoSettings.h"

class QLabel;

namespace dyno {

class Led;

// The Setup page: the workshop's name and phone, the graph limits a start shows,
// print options, the dyno model and roller, the electronics and the K40 port, the
// weather station constants, and "Save initialization file". The controls hold the
// settings as the workshop typed them; other parts read and fill them through the
// accessors below.
class SetupPage : public QWidget {
    Q_OBJECT
  public:
    explicit SetupPage(QWidget* parent = nullptr);

    // `comedit`'s list: the K40 port names offered (PortList builds it).
    void setPortChoices(const QStringList& ports);

    // The settings this page holds, for the settings file, and back.
    void readSettings(DynoSettings& settings) const;
    void showSettings(const DynoSettings& settings);

    // "Dyno model" and "Dyno electronics type" item indexes (-1 for none).
    int dynoModelIndex() const;
    int electronicsIndex() const;
    // `comedit` without the blanks around it.
    std::string portName() const;
    std::string rollerWeightText() const;
    bool isWeatherStationConnected() const;
    bool isPowerInKw() const;
    bool isSpeedInMph() const;
    // "Update loaded tests with Rollerweight".
    bool isRollerWeightForLoadedTests() const;
    // What an evaluation takes from this page: the units and the typed roller weight
    // ("Update loaded tests with Rollerweight"); the engine-speed curve is the caller's.
    EvaluationOptions evaluationOptions() const;

    // What the K40 electronics report: the port LED, firmware version, sample setting.
    void setPortLedOn(bool isOn);
    void showFirmwareVersion(const QString& high, const QString& low);
    void showSampleSetting(const QString& samples);
    // Under the K40 box: that the electronics do not answer; empty hides it.
    void showNoAnswer(const QString& text);
    QString noAnswerText() const;

    QPushButton* saveSettingsButton() const { return saveSettings_; }
    QPushButton* advancedSetupButton() const { return advancedSetup_; }
    QPushButton* weatherStationButton() const { return weatherStationRequest_; }
    QComboBox* portChoice() const { return port_; }
    QLineEdit* samplesEdit() const { return samples_; }
    Led* portLed() const { return portLed_; }

  private:
    // The constructor's groups of controls, left column first.
    void buildGraphLimits();
    void buildCompany();
    void buildPrint();
    void buildUnits();
    void buildDynoChoices();
    void buildK40Electronics();
    void buildNoAnswerText();
    void buildWeatherStation();

    // Start and end of speed, power and engine speed.
    std::array<QLineEdit*, 6> graphLimits_{};
    QLineEdit* companyName_;
    QLineEdit* phone_;
    QLineEdit* initialFolder_;
    QCheckBox* printOwnerName_;
    QCheckBox* printHeader_;
    QLineEdit* printLineWidth_;
    QCheckBox* powerInKw_;
    QCheckBox* speedInMph_;
    QGroupBox* dynoModel_;
    QGroupBox* electronics_;
    QGroupBox* rollerType_;
    QGroupBox* rollerSpecs_;
    QLineEdit* rollerWeight_;
    QCheckBox* rollerWeightForLoadedTests_;
    QComboBox* port_;
    Led* portLed_;
    QLineEdit* samples_;
    QLineEdit* versionHigh_;
    QLineEdit* versionLow_;
    QLabel* noAnswer_;
    QPushButton* saveSettings_;
    QPushButton* advancedSetup_;
    QCheckBox* weatherStation_;
    QLineEdit* weatherTemperatureConstant_;
    QLineEdit* weatherPressureConstant_;
    QLineEdit* weatherHumidityConstant_;
    QPushButton* weatherStationRequest_;
};

}  // namespace dyno
