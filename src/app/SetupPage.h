#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

namespace dyno {

class Led;

// The Setup page: the workshop's name and phone, the graph limits a start shows,
// print options, the dyno model and roller, the electronics and the K40 port, the
// weather station constants, and "Save initialization file". The controls hold the
// settings as the workshop typed them; SettingsBinding reads and fills them by name.
class SetupPage : public QWidget {
    Q_OBJECT
  public:
    explicit SetupPage(QWidget* parent = nullptr);

    // `comedit`'s list: the K40 port names offered (PortList builds it).
    void setPortChoices(const QStringList& ports);

    QPushButton* saveSettingsButton() const { return saveinifile_; }
    QPushButton* advancedSetupButton() const { return advancebutton_; }
    QPushButton* weatherStationButton() const { return getWsDataButton_; }
    QComboBox* portChoice() const { return comedit_; }
    QLineEdit* samplesEdit() const { return samplesEdit_; }
    Led* portLed() const { return led_; }

  private:
    QComboBox* comedit_;
    QPushButton* saveinifile_;
    QPushButton* advancebutton_;
    QPushButton* getWsDataButton_;
    QLineEdit* samplesEdit_;
    Led* led_;
};

}  // namespace dyno
