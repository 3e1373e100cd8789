#pragma once

#include <QWidget>

#include "evaluation/CorrectionSources.h"
#include "files/SavedAirData.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace dyno {

class CalculatorDialog;
class MessageSink;
struct TestSession;

// The air data and units as the Param. page shows them for one session.
struct AirTexts {
    std::string pressure;     // mbar "%.0f", or inch of mercury "%.2f"
    std::string temperature;  // degrees Celsius or Fahrenheit, "%.0f"
    std::string humidity;     // percent, "%.0f"
};

// The Param. page: air data entry, the correction factor of session 1, the graph
// limits and the calculator. Every value lives in its box as typed; the settings
// file and the other pages reach the boxes by their component names.
class ParamPage : public QWidget {
    Q_OBJECT
  public:
    explicit ParamPage(QWidget* parent = nullptr);

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
    QLineEdit* fugtedit_;
    QLineEdit* tempedit_;
    QLineEdit* baroedit_;
    QCheckBox* fahrenheitcheck_;
    QCheckBox* inchhgcheck_;
    QComboBox* corrchoice_;
    QLineEdit* correctionedit_;
    CalculatorDialog* calculator_ = nullptr;
};

}  // namespace dyno
