#pragma once

#include <QWidget>

#include <array>
#include <string>

#include "display/graph/GraphUpdate.h"
#include "evaluation/AirTexts.h"
#include "evaluation/CorrectionSources.h"
#include "files/SavedAirData.h"
#include "model/DynoSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace dyno {

class CalculatorDialog;
class MessageSink;
struct TestSession;

// The Param. page: air data entry, the correction factor of session 1, the graph
// limits, the air and rolling resistance of the losses curve and the calculator.
// Every value lives in its box as typed; the settings file, the graph and the K40
// link read and fill the boxes through the accessors below.
class ParamPage : public QWidget {
    Q_OBJECT
  public:
    explicit ParamPage(QWidget* parent = nullptr);

    // The settings this page holds ("Torque displayed as Ft.lbs", the two unit
    // boxes and `corrchoice`), for the settings file, and back.
    void readSettings(DynoSettings& settings) const;
    void showSettings(const DynoSettings& settings);
    // The six graph limit boxes (`startkmhedit` .. `endrpmedit`).
    ScaleTexts scaleTexts() const;
    void showScaleTexts(const ScaleTexts& texts);
    // A read of the settings file with the Fahrenheit or inch flag puts a typical
    // value in that unit into the box.
    void showTemperatureText(const std::string& text);
    void showPressureText(const std::string& text);

    // "Display Air/Rolling resistance curve" and its two values as typed:
    // "Airresistance value" and "Rolling resistance".
    bool isAirCurveShown() const;
    std::string airResistanceText() const;
    std::string rollingResistanceText() const;

    // The weather station's readings in the air boxes, and a factor in
    // `correctionedit`.
    void showStationValues(const StationDisplayTexts& texts);
    void showCorrectionText(const QString& text);

    // "Use Fahrenheit" and "Use Inch - HG".
    AirUnitOptions airUnits() const;
    // The `corrchoice` standard (EEC while nothing is chosen).
    CorrectionStandard correctionStandard() const;
    // `baroedit`, `tempedit` and `fugtedit` read leniently and converted to mbar,
    // degrees Celsius and percent, as a save stores them.
    SavedAirData savedAirData() const;

    // "Use correction factor": the factor from the three boxes becomes slot 1's
    // factor (after the out-of-limits warning) and is shown in `correctionedit`.
    void useCorrectionFactor(TestSession& slot1, MessageSink& messages);
    // "Factor = 1.00  ( Uncorrected Hp )": slot 1 uncorrected, its standard kept.
    void useFactorOne(TestSession& slot1);

    // After a session was loaded into slot 1: its air data, standard and factor.
    // A standard word outside 0..4 leaves `corrchoice` as it is.
    void showSession1(const AirTexts& air, int standardWord, double correctionFactor);

  public slots:
    void showCalculator();

  signals:
    void useCorrectionRequested();
    void factorOneRequested();

  private:
    QLineEdit* humidity_;
    QLineEdit* temperature_;
    QLineEdit* pressure_;
    QCheckBox* fahrenheit_;
    QCheckBox* inchHg_;
    QComboBox* standard_;
    QLineEdit* correctionFactor_;
    std::array<QLineEdit*, 6> graphLimits_{};  // in the order of ScaleTexts
    QCheckBox* airCurveShown_ = nullptr;
    QLineEdit* airResistance_ = nullptr;
    QLineEdit* rollingResistance_ = nullptr;
    QCheckBox* torqueInFtLbs_ = nullptr;
    CalculatorDialog* calculator_ = nullptr;
};

}  // namespace dyno
