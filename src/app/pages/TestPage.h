#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "acquisition/electronics/TestStart.h"
#include "acquisition/k40/K40TestSequence.h"
#include "evaluation/DynoPreparationRpm.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dyno {

// The Test page: how a test is recorded (test type, analog channels, gearbox), the
// levels of the Speed page's bars, the engine speed at 100 km/h, and the start of a
// test or a rev counter check. The page asks and shows; TestControl starts.
class TestPage : public QWidget {
    Q_OBJECT
  public:
    // Asks before a start: true for OK. The window asks with a message box; tests
    // answer.
    using Confirmation = std::function<bool(const QString& text)>;

    explicit TestPage(QWidget* parent = nullptr);

    void setConfirmation(Confirmation confirmation) { confirm_ = std::move(confirmation); }

    TestTypeButtons testTypeButtons() const;
    QString userDegreesText() const;
    GearboxType gearbox() const;
    std::array<bool, 5> analogChannels() const;  // `ad1_check` .. `ad5_check`
    BarMarkerEntries barMarkerEntries() const;
    QString rpmAt100Text() const;  // `rpm_at_100_edit`

    QPushButton* startTestButton() const { return startTest_; }
    QPushButton* revCounterButton() const { return revCounterCheck_; }
    QPushButton* useRpmDataButton() const { return useRpmData_; }

  public slots:
    // "Start Test" and F3: "Start new test", then testStartConfirmed().
    void startTest();
    // "Rev. Counter check": "Start rev. counter check", then revCounterCheckConfirmed().
    void startRevCounterCheck();

  signals:
    void testStartConfirmed();
    void revCounterCheckConfirmed();

  private:
    // The constructor's groups of controls, top left to bottom right.
    void buildTestTypes();
    void setUpStartButtons();
    void buildGearbox();
    void buildRpmAt100();
    void buildAnalogChannels();
    void buildColourLevels();
    void testTypeChosen(bool isWithRpm);

    Confirmation confirm_;
    std::array<QRadioButton*, 5> testTypes_{};  // in the order of TestType
    QLineEdit* userDegrees_;
    QPushButton* startTest_;
    QPushButton* revCounterCheck_;
    QRadioButton* fixedGearing_;
    QLineEdit* rpmAt100_;
    QPushButton* useRpmData_;
    std::array<QCheckBox*, 5> channels_{};
    std::array<QLineEdit*, 4> markers_{};
};

}  // namespace dyno
