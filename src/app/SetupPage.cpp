#include "app/SetupPage.h"

#include "app/ControlBuilders.h"

#include <QLabel>
#include <QRadioButton>

#include "app/PortList.h"
#include "widgets/Led.h"

namespace dyno {

namespace {

using build::addCheck;
using build::addEdit;
using build::addLabel;

// A captioned group of radio buttons, one per item, the way the settings address
// it: by item index.
QGroupBox* addRadioGroup(QWidget* parent, const char* name, const QString& caption,
                         const QStringList& items, int chosen, QRect geometry) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], group);
        item->setGeometry(8, 18 + 20 * i, geometry.width() - 12, 18);
        item->setChecked(i == chosen);
    }
    return group;
}

}  // namespace

SetupPage::SetupPage(QWidget* parent)
    : QWidget(parent),
      comedit_(new QComboBox(this)),
      saveinifile_(new QPushButton(QStringLiteral("Save initialization file"), this)),
      advancebutton_(new QPushButton(QStringLiteral("Advanced setup"), this)),
      getWsDataButton_(nullptr),
      samplesEdit_(nullptr),
      led_(new Led(this)) {
    setObjectName(QStringLiteral("TabSheet1"));

    // Graph limits shown after a start: speed and power up to 3 digits, rpm up to 5.
    auto* limits = new QGroupBox(QStringLiteral("Graph limits at start"), this);
    limits->setGeometry(10, 8, 250, 110);
    addLabel(limits, QStringLiteral("Start Speed"), {8, 22, 70, 20});
    addEdit(limits, "inistartkmhedit", QStringLiteral("0"), {80, 20, 40, 21}, 3);
    addLabel(limits, QStringLiteral("End Speed"), {130, 22, 70, 20});
    addEdit(limits, "iniendkmhedit", QStringLiteral("100"), {200, 20, 40, 21}, 3);
    addLabel(limits, QStringLiteral("Start Hp"), {8, 50, 70, 20});
    addEdit(limits, "inistarthpedit", QStringLiteral("0"), {80, 48, 40, 21}, 3);
    addLabel(limits, QStringLiteral("End Hp"), {130, 50, 70, 20});
    addEdit(limits, "iniendhpedit", QStringLiteral("10"), {200, 48, 40, 21}, 3);
    addLabel(limits, QStringLiteral("Start Rpm"), {8, 78, 70, 20});
    addEdit(limits, "inistartrpmedit", QStringLiteral("0"), {80, 76, 40, 21}, 5);
    addLabel(limits, QStringLiteral("End Rpm"), {130, 78, 70, 20});
    addEdit(limits, "iniendrpmedit", QStringLiteral("15000"), {200, 76, 40, 21}, 5);

    // 20 characters may be typed; the settings file keeps 19.
    auto* company = new QGroupBox(QStringLiteral("Company"), this);
    company->setGeometry(10, 126, 250, 130);
    addLabel(company, QStringLiteral("Company name"), {8, 22, 90, 20});
    addEdit(company, "firmanavnedit", QStringLiteral("Your company"), {100, 20, 140, 21}, 20);
    addLabel(company, QStringLiteral("Phone"), {8, 50, 90, 20});
    addEdit(company, "tlfedit", QStringLiteral("1234567890"), {100, 48, 140, 21}, 12);
    addLabel(company, QStringLiteral("Initial test folder"), {8, 78, 230, 20});
    addEdit(company, "initialdiredit", QStringLiteral("Name of initial test folder"),
            {8, 98, 232, 21});

    auto* print = new QGroupBox(QStringLiteral("Print"), this);
    print->setGeometry(10, 264, 250, 100);
    addCheck(print, "printownerbox", QStringLiteral("Print owner name"), {8, 20, 230, 20}, true);
    addCheck(print, "printheaderbox", QStringLiteral("Print header"), {8, 42, 230, 20});
    addLabel(print, QStringLiteral("Graph line width"), {8, 68, 120, 20});
    addEdit(print, "printlinewidth_edit", QStringLiteral("3"), {130, 66, 40, 21});

    auto* units = new QGroupBox(QStringLiteral("Units"), this);
    units->setGeometry(10, 372, 250, 70);
    addCheck(units, "kwflagbox", QStringLiteral("Show power as KW"), {8, 20, 230, 20});
    addCheck(units, "mphflagbox", QStringLiteral("Show speed as MPH"), {8, 42, 230, 20});

    saveinifile_->setObjectName(QStringLiteral("saveinifile"));
    saveinifile_->setGeometry(10, 454, 250, 30);

    addRadioGroup(this, "dynomodel", QStringLiteral("Dyno model"),
                  {QStringLiteral("K40"), QStringLiteral("K70"), QStringLiteral("K80")}, 0,
                  {270, 8, 120, 84});
    addRadioGroup(this, "electronics", QStringLiteral("Dyno electronics type"),
                  {QStringLiteral("K80/K70 type card"), QStringLiteral("USB/Serial interface")}, 1,
                  {400, 8, 180, 84});
    addRadioGroup(this, "roller_type", QStringLiteral("K80/K70 Roller type"),
                  {QStringLiteral("Standard roller"), QStringLiteral("Heavy roller"),
                   QStringLiteral("Standard + Eddy Br."), QStringLiteral("Heavy + Eddy Br.")},
                  0, {270, 100, 150, 104});
    addRadioGroup(this, "rollerspecs", QStringLiteral("K80/K70 Roller specs."),
                  {QStringLiteral("Roller -extras"), QStringLiteral("Roller w. Starter"),
                   QStringLiteral("Roller w. Disc Br."), QStringLiteral("Roller w. both")},
                  0, {430, 100, 150, 104});
    addLabel(this, QStringLiteral("Roller weight"), {270, 214, 90, 20});
    addEdit(this, "rollerweightedit", QStringLiteral("184"), {360, 212, 60, 21});
    // Off: each loaded session keeps the roller weight it was recorded with.
    addCheck(this, "update_test_weight", QStringLiteral("Update loaded tests with Rollerweight"),
             {270, 372, 320, 20});

    auto* k40 = new QGroupBox(QStringLiteral("K40 Dyno electronics"), this);
    k40->setGeometry(270, 244, 310, 80);
    addLabel(k40, QStringLiteral("Select Port"), {8, 22, 80, 20});
    comedit_->setParent(k40);
    comedit_->setObjectName(QStringLiteral("comedit"));
    comedit_->setGeometry(90, 20, 110, 22);
    led_->setParent(k40);
    led_->setObjectName(QStringLiteral("led"));
    led_->setGeometry(210, 23, 16, 16);
    addLabel(k40, QStringLiteral("Samples"), {8, 50, 80, 20});
    samplesEdit_ = addEdit(k40, "samples_edit", QString(), {90, 48, 60, 21});
    samplesEdit_->setReadOnly(true);
    // The firmware version the K40 electronics report at start-up.
    addLabel(k40, QStringLiteral("Version"), {160, 50, 50, 20});
    addEdit(k40, "versionhigh", QString(), {212, 48, 36, 21})->setReadOnly(true);
    addEdit(k40, "versionlow", QString(), {252, 48, 36, 21})->setReadOnly(true);
    // Any name can be restored or typed; the list offers the usual ones.
    comedit_->setEditable(true);
    setPortChoices(k40PortChoices({}));

    advancebutton_->setObjectName(QStringLiteral("advancebutton"));
    advancebutton_->setGeometry(270, 334, 150, 28);

    auto* weather = new QGroupBox(QStringLiteral("Weatherstation"), this);
    weather->setGeometry(590, 8, 185, 190);
    addCheck(weather, "vejrstation_check", QStringLiteral("Weatherstation connected"),
             {8, 20, 170, 20});
    addLabel(weather, QStringLiteral("Constants:"), {8, 46, 170, 20});
    addLabel(weather, QStringLiteral("Temp."), {8, 70, 70, 20});
    addEdit(weather, "weathertempedit", QStringLiteral("250"), {80, 68, 90, 21});
    addLabel(weather, QStringLiteral("Baro."), {8, 96, 70, 20});
    addEdit(weather, "weatherbaroedit", QStringLiteral("250"), {80, 94, 90, 21});
    addLabel(weather, QStringLiteral("Humidity"), {8, 122, 70, 20});
    addEdit(weather, "weatherfugtedit", QStringLiteral("250"), {80, 120, 90, 21});
    getWsDataButton_ = new QPushButton(QStringLiteral("Get data from Weatherstation"), weather);
    getWsDataButton_->setObjectName(QStringLiteral("get_ws_data_button"));
    getWsDataButton_->setGeometry(8, 152, 170, 28);
}

void SetupPage::setPortChoices(const QStringList& ports) {
    const QString chosen = comedit_->currentText();
    comedit_->clear();
    comedit_->addItems(ports);
    if (chosen.isEmpty()) {
        comedit_->setCurrentIndex(0);
    } else {
        comedit_->setEditText(chosen);
    }
}

}  // namespace dyno
