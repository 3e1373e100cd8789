#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include "app/dialogs/AdvancedSetupDialog.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/SetupPage.h"
#include "app/system/PortList.h"

namespace dyno {
namespace {

QString textOf(const QObject* root, const char* name) {
    QString text;
    EXPECT_TRUE(controls::readText(root, name, text)) << name << " is missing";
    return text;
}

QStringList radioCaptions(const QObject* root, const char* name) {
    auto* group = controls::find<QGroupBox>(root, name);
    if (group == nullptr) return {QStringLiteral("<missing>")};
    QStringList captions;
    for (auto* item : controls::radioItems(group)) captions << item->text();
    return captions;
}

TEST(SetupPage, ControlsOfTheSettingsFileStartWithTheWindowDefaults) {
    SetupPage page;
    EXPECT_EQ(page.objectName(), "TabSheet1");
    const std::pair<const char*, const char*> texts[] = {
        {"inistartkmhedit", "0"},
        {"iniendkmhedit", "100"},
        {"inistarthpedit", "0"},
        {"iniendhpedit", "10"},
        {"inistartrpmedit", "0"},
        {"iniendrpmedit", "15000"},
        {"printlinewidth_edit", "3"},
        {"rollerweightedit", "184"},
        {"weatherfugtedit", "250"},
        {"weatherbaroedit", "250"},
        {"weathertempedit", "250"},
        {"comedit", "COM1"},
        {"initialdiredit", "Name of initial test folder"},
    };
    for (const auto& [name, text] : texts) EXPECT_EQ(textOf(&page, name), text) << name;

    const std::tuple<const char*, const char*, bool> checks[] = {
        {"printownerbox", "Print owner name", true},
        {"printheaderbox", "Print header", false},
        {"kwflagbox", "Show power as KW", false},
        {"mphflagbox", "Show speed as MPH", false},
        {"vejrstation_check", "Weatherstation connected", false},
    };
    for (const auto& [name, caption, checked] : checks) {
        auto* box = controls::find<QAbstractButton>(&page, name);
        ASSERT_NE(box, nullptr) << name;
        EXPECT_EQ(box->text(), caption);
        EXPECT_EQ(box->isChecked(), checked) << name;
    }

    EXPECT_EQ(radioCaptions(&page, "dynomodel"), QStringList({"K40", "K70", "K80"}));
    EXPECT_EQ(radioCaptions(&page, "electronics"),
              QStringList({"K80/K70 type card", "USB/Serial interface"}));
    EXPECT_EQ(radioCaptions(&page, "roller_type"),
              QStringList(
                  {"Standard roller", "Heavy roller", "Standard + Eddy Br.", "Heavy + Eddy Br."}));
    EXPECT_EQ(radioCaptions(&page, "rollerspecs"),
              QStringList(
                  {"Roller -extras", "Roller w. Starter", "Roller w. Disc Br.", "Roller w. both"}));
    const std::pair<const char*, int> choices[] = {
        {"dynomodel", 0}, {"electronics", 1}, {"roller_type", 0}, {"rollerspecs", 0}};
    for (const auto& [name, expected] : choices) {
        int index = -2;
        EXPECT_TRUE(controls::readItemIndex(&page, name, index));
        EXPECT_EQ(index, expected) << name;
    }

    EXPECT_EQ(page.saveSettingsButton()->text(), "Save initialization file");
    EXPECT_EQ(page.saveSettingsButton()->objectName(), "saveinifile");
    EXPECT_EQ(page.advancedSetupButton()->text(), "Advanced setup");
    EXPECT_NE(controls::find<QWidget>(&page, "led"), nullptr);
}

TEST(K40PortList, ComNamesThenPortsOfThisMachineThenTheSimulation) {
    const QStringList choices =
        k40PortChoices({"ttyUSB0", "ttyS0", "ttyS8", "ttyACM1", "ttyUSB0", "ttyS12"});
    EXPECT_EQ(choices, QStringList({"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8",
                                    "COM9", "ttyUSB0", "ttyACM1", "ttyS12", "SIM"}))
        << "ttyS0 .. ttyS8 are COM1 .. COM9 already; repeats appear once";
    const QStringList here = k40PortChoicesOfThisMachine();
    EXPECT_EQ(here.first(), "COM1");
    EXPECT_EQ(here.last(), "SIM");

    SetupPage page;
    page.setPortChoices(choices);
    EXPECT_EQ(page.portChoice()->count(), choices.size());
    EXPECT_EQ(page.portChoice()->currentText(), "COM1") << "the chosen port survives a new list";
}

TEST(AdvancedSetupDialog, ControlsAndDefaults) {
    AdvancedSetupDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Advanced setup");
    EXPECT_EQ(dialog.size(), QSize(305, 522));
    EXPECT_EQ(radioCaptions(&dialog, "dyno_io_group"), QStringList({" 1B0 - 1BB", " 1F0 - 1FB"}));
    int io = -1;
    controls::readItemIndex(&dialog, "dyno_io_group", io);
    EXPECT_EQ(io, 0);
    EXPECT_EQ(textOf(&dialog, "serial_delayedit"), "20");
    EXPECT_EQ(textOf(&dialog, "waitbutton_edit"), "400");
    EXPECT_EQ(textOf(&dialog, "startupbuttondelay_edit"), "400");
    EXPECT_EQ(textOf(&dialog, "Label1"), "USB data transfer delay");
    EXPECT_EQ(textOf(&dialog, "Label9"), "Remote button delay");
    EXPECT_EQ(controls::find<QAbstractButton>(&dialog, "useoptdelaybutton_check")->text(),
              "Use optimized testbutton delay");
    EXPECT_EQ(dialog.delayUpDown()->maximum(), 10000);
    EXPECT_EQ(dialog.delayUpDown()->singleStep(), 10);

    auto* ok = controls::find<QPushButton>(&dialog, "Button1");
    ASSERT_NE(ok, nullptr);
    dialog.show();
    ok->click();
    EXPECT_FALSE(dialog.isVisible());
}

TEST(AdvancedSetupDialog, UpFrom5000Gives5010AtOnce) {
    AdvancedSetupDialog dialog;
    dialog.setRemoteButtonDelay(5000);
    QSignalSpy changed(&dialog, &AdvancedSetupDialog::remoteButtonDelayChanged);
    dialog.delayUpDown()->stepUp();
    EXPECT_EQ(dialog.waitEdit()->text(), "5010");
    EXPECT_EQ(dialog.remoteButtonDelay(), 5010u);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<std::uint32_t>(), 5010u);
    // The other box follows on the next paint.
    EXPECT_EQ(dialog.remoteDelayEdit()->text(), "5000");
    dialog.show();
    EXPECT_EQ(dialog.remoteDelayEdit()->text(), "5010");
}

TEST(AdvancedSetupDialog, AnOpenDialogShowsTheDelayInBothBoxesOnItsNextPaint) {
    AdvancedSetupDialog dialog;
    dialog.setRemoteButtonDelay(400);
    dialog.show();
    dialog.delayUpDown()->stepUp();
    dialog.delayUpDown()->stepUp();
    EXPECT_EQ(dialog.remoteDelayEdit()->text(), "400");
    dialog.grab();  // paints the dialog
    EXPECT_EQ(dialog.remoteDelayEdit()->text(), "420");
    EXPECT_EQ(dialog.waitEdit()->text(), "420");
}

TEST(AdvancedSetupDialog, DelayShownUnsignedAndUpDownKeeps16Bits) {
    AdvancedSetupDialog dialog;
    dialog.setRemoteButtonDelay(70000);
    EXPECT_EQ(dialog.waitEdit()->text(), "70000");
    EXPECT_EQ(dialog.remoteDelayEdit()->text(), "70000");
    EXPECT_EQ(dialog.delayUpDown()->value(), 70000 - 65536);
    EXPECT_EQ(dialog.remoteButtonDelay(), 70000u) << "showing it does not change the delay";
}

}  // namespace
}  // namespace dyno
