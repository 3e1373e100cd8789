#include "app/pages/TestPage.h"

#include "app/pages/ControlBuilders.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace dyno {

namespace {

using build::addEdit;
using build::addLabel;

const QString kStartTestCaption = QStringLiteral("Start Test");
const QString kStartWithRpmCaption = QStringLiteral("Start Test with RPM reg.");

bool askWithMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Test"), text,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

TestPage::TestPage(QWidget* parent)
    : QWidget(parent),
      confirm_([this](const QString& text) { return askWithMessageBox(this, text); }),
      userDegrees_(nullptr),
      startTest_(new QPushButton(kStartTestCaption, this)),
      revCounterCheck_(new QPushButton(QStringLiteral("Rev. Counter check"), this)),
      fixedGearing_(nullptr),
      rpmAt100_(nullptr),
      useRpmData_(nullptr) {
    setObjectName(QStringLiteral("testside1"));
    // In this order: the tab order follows the order of creation.
    buildTestTypes();
    setUpStartButtons();
    buildGearbox();
    buildRpmAt100();
    buildAnalogChannels();
    buildColourLevels();
}

void TestPage::buildTestTypes() {
    auto* types = new QGroupBox(QStringLiteral("Test type"), this);
    types->setGeometry(10, 8, 360, 150);
    struct TypeButton {
        const char* name;
        QString caption;
    };
    const TypeButton typeButtons[] = {
        {"norpmtestbutton", QStringLiteral("No RPM registration")},
        {"test720button", QStringLiteral("720 ° between ignition impulses")},
        {"test360button", QStringLiteral("360 ° between ignition impulses")},
        {"test180button", QStringLiteral("180 ° between ignition impulses")},
        {"testuserdefbutton", QStringLiteral("User defined degrees =")},
    };
    for (std::size_t i = 0; i < testTypes_.size(); ++i) {
        auto* button = new QRadioButton(typeButtons[i].caption, types);
        button->setObjectName(QString::fromLatin1(typeButtons[i].name));
        button->setGeometry(10, 20 + 24 * static_cast<int>(i), 250, 20);
        testTypes_[i] = button;
        const bool isWithRpm = i != 0;
        connect(button, &QRadioButton::toggled, this, [this, isWithRpm](bool isChecked) {
            if (isChecked) testTypeChosen(isWithRpm);
        });
    }
    userDegrees_ = addEdit(types, "testuserdef", QStringLiteral("360"), {200, 115, 60, 21});
    testTypes_[0]->setChecked(true);
}

void TestPage::setUpStartButtons() {
    startTest_->setObjectName(QStringLiteral("starttestbutton"));
    startTest_->setGeometry(10, 170, 175, 40);
    revCounterCheck_->setObjectName(QStringLiteral("revcounterbutton"));
    revCounterCheck_->setGeometry(195, 170, 175, 40);
    revCounterCheck_->setEnabled(false);
    connect(startTest_, &QPushButton::clicked, this, &TestPage::startTest);
    connect(revCounterCheck_, &QPushButton::clicked, this, &TestPage::startRevCounterCheck);
}

void TestPage::buildGearbox() {
    auto* gearbox = new QGroupBox(QStringLiteral("Gearbox type"), this);
    gearbox->setObjectName(QStringLiteral("linear_rpm_check"));
    gearbox->setGeometry(390, 8, 180, 70);
    auto* variomatic = new QRadioButton(QStringLiteral("Variomatic"), gearbox);
    variomatic->setGeometry(10, 20, 160, 20);
    variomatic->setChecked(true);
    fixedGearing_ = new QRadioButton(QStringLiteral("Fixed gearing"), gearbox);
    fixedGearing_->setGeometry(10, 42, 160, 20);
}

void TestPage::buildRpmAt100() {
    auto* rpmAt100 = new QGroupBox(QString(), this);
    rpmAt100->setGeometry(390, 86, 180, 124);
    addLabel(rpmAt100, QStringLiteral("Rpm at 100 Kph"), {10, 12, 160, 20});
    addLabel(rpmAt100, QStringLiteral("Manually specify"), {10, 34, 160, 20});
    rpmAt100_ = addEdit(rpmAt100, "rpm_at_100_edit", QStringLiteral("0"), {10, 58, 80, 21});
    useRpmData_ = new QPushButton(QStringLiteral("Use Rpm data"), rpmAt100);
    useRpmData_->setObjectName(QStringLiteral("use_rpm_at_100kph"));
    useRpmData_->setGeometry(10, 86, 120, 28);
}

void TestPage::buildAnalogChannels() {
    auto* analog = new QGroupBox(QStringLiteral("Record from analog channels : "), this);
    analog->setGeometry(10, 222, 360, 76);
    for (std::size_t i = 0; i < channels_.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        auto* box = new QCheckBox(QStringLiteral("Channel %1").arg(n), analog);
        box->setObjectName(QStringLiteral("ad%1_check").arg(n));
        box->setGeometry(10 + 115 * (static_cast<int>(i) % 3), 20 + 26 * (static_cast<int>(i) / 3),
                         110, 20);
        channels_[i] = box;
    }
}

// The marker levels of channels 1 and 2 on the Speed page.
void TestPage::buildColourLevels() {
    auto* levels =
        new QGroupBox(QStringLiteral("Percent settings for Speedo screen analog colors"), this);
    levels->setGeometry(390, 222, 340, 100);
    addLabel(levels, QStringLiteral("Green level"), {90, 20, 100, 20});
    addLabel(levels, QStringLiteral("Yellow level"), {200, 20, 100, 20});
    addLabel(levels, QStringLiteral("Channel 1"), {10, 44, 80, 20});
    addLabel(levels, QStringLiteral("Channel 2"), {10, 70, 80, 20});
    markers_ = {addEdit(levels, "pos_a1edit", QStringLiteral("50"), {90, 42, 60, 21}),
                addEdit(levels, "pos_a2edit", QStringLiteral("75"), {200, 42, 60, 21}),
                addEdit(levels, "pos_b1edit", QStringLiteral("50"), {90, 68, 60, 21}),
                addEdit(levels, "pos_b2edit", QStringLiteral("75"), {200, 68, 60, 21})};
}

void TestPage::testTypeChosen(bool isWithRpm) {
    revCounterCheck_->setEnabled(isWithRpm);
    startTest_->setText(isWithRpm ? kStartWithRpmCaption : kStartTestCaption);
}

void TestPage::startTest() {
    if (confirm_(QStringLiteral("Start new test"))) emit testStartConfirmed();
}

void TestPage::startRevCounterCheck() {
    if (confirm_(QStringLiteral("Start rev. counter check"))) emit revCounterCheckConfirmed();
}

TestTypeButtons TestPage::testTypeButtons() const {
    TestTypeButtons buttons;
    for (std::size_t i = 0; i < testTypes_.size(); ++i) {
        if (testTypes_[i]->isChecked()) buttons.check(static_cast<TestType>(i));
    }
    return buttons;
}

QString TestPage::userDegreesText() const {
    return userDegrees_->text();
}

GearboxType TestPage::gearbox() const {
    return fixedGearing_->isChecked() ? GearboxType::FixedGearing : GearboxType::Variomatic;
}

std::array<bool, 5> TestPage::analogChannels() const {
    std::array<bool, 5> ticked{};
    for (std::size_t i = 0; i < channels_.size(); ++i) ticked[i] = channels_[i]->isChecked();
    return ticked;
}

BarMarkerEntries TestPage::barMarkerEntries() const {
    return {textOf(markers_[0]), textOf(markers_[1]), textOf(markers_[2]), textOf(markers_[3])};
}

QString TestPage::rpmAt100Text() const {
    return rpmAt100_->text();
}

}  // namespace dyno
