#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>
#include <random>

#include "app/RecordingMessageSink.h"
#include "app/SettingsWindow.h"
#include "app/pages/ControlLookup.h"
#include "files/SettingsFileCodec.h"
#include "model/TextNumbers.h"

namespace dyno {
namespace {

// Reads and fills the real pages' controls by the names the workshop knows them by.
struct NamedControls {
    const QObject* root;

    QString text(const char* name) const {
        QString value;
        EXPECT_TRUE(controls::readText(root, name, value)) << name;
        return value;
    }
    void setText(const char* name, const QString& value) const {
        controls::writeText(root, name, value);
    }
    bool isChecked(const char* name) const {
        bool value = false;
        EXPECT_TRUE(controls::readChecked(root, name, value)) << name;
        return value;
    }
    int item(const char* name) const {
        int value = -2;
        EXPECT_TRUE(controls::readItemIndex(root, name, value)) << name;
        return value;
    }
};

struct NamedSettingsWindow : SettingsWindow, NamedControls {
    NamedSettingsWindow(const QString& startDirectory, const QString& home)
        : SettingsWindow(startDirectory, home), NamedControls{&window} {}
};

class SettingsFiles_ : public ::testing::Test {
  protected:
    std::unique_ptr<NamedSettingsWindow> newWindow() {
        return std::make_unique<NamedSettingsWindow>(startDir.path(), home.path());
    }
    QByteArray fileBytes() const {
        QFile file(QDir(startDir.path()).filePath("vkr_dyno.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeFile(const QByteArray& bytes) {
        QFile file(QDir(startDir.path()).filePath("vkr_dyno.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir startDir;
    QTemporaryDir home;
};

using Message = RecordingMessageSink::Message;

TEST_F(SettingsFiles_, MissingFileIsReportedAndTheFirstStartDefaultsApply) {
    auto w = newWindow();
    w->state.weatherConstants = {1, 2, 3};
    w->files.readProgramSettings();

    EXPECT_EQ(w->messages.messages,
              std::vector<Message>({{MessageKind::Error, "File error", "Cannot read ini file"}}));
    const char* limits[][2] = {
        {"inistartkmhedit", "startkmhedit"}, {"iniendkmhedit", "endkmhedit"},
        {"inistarthpedit", "starthpedit"},   {"iniendhpedit", "endhpedit"},
        {"inistartrpmedit", "startrpmedit"}, {"iniendrpmedit", "endrpmedit"}};
    const char* values[] = {"0", "100", "0", "10", "0", "15000"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(w->text(limits[i][0]), values[i]);
        EXPECT_EQ(w->text(limits[i][1]), values[i]) << "the Param. page gets the same limits";
    }
    EXPECT_EQ(w->state.graphScale, (GraphScale{0, 100, 0, 10, 0, 15000}));
    EXPECT_EQ(w->text("companylabel"), "Your company");
    EXPECT_EQ(w->text("tlflabel"), "1234567890");
    EXPECT_EQ(w->text("initialdiredit"), home.path()) << "a first start on Linux: home";
    EXPECT_EQ(w->shownFolder, home.path()) << "a stored folder that does not exist gives home";
    EXPECT_EQ(w->state.initialFolder, home.path());
    // Constants in force are 0 while the boxes keep showing the window's "250".
    EXPECT_EQ(w->state.weatherConstants.temperature, 0.0);
    EXPECT_EQ(w->state.weatherConstants.pressure, 0.0);
    EXPECT_EQ(w->text("weathertempedit"), "250");
    EXPECT_EQ(w->state.cardPressureScale, CardPressureScale::Per24);
    EXPECT_EQ(w->state.dyno.speedFactor, 2.2176);
    EXPECT_EQ(w->state.cardPorts.front(), 0x1B0);
    EXPECT_EQ(w->state.cardPorts.back(), 0x1BB);
    EXPECT_EQ(w->state.remoteButtonMask, 0x10);
    EXPECT_EQ(w->state.remoteButtonDelayMs, 400u);
    EXPECT_EQ(w->text("waitbutton_edit"), "400");
    EXPECT_EQ(w->state.transferDelay, 20);
    EXPECT_EQ(w->item("corrchoice"), 3) << "choices keep their window defaults";
    EXPECT_EQ(w->item("electronics"), 1);
    EXPECT_EQ(w->text("comedit"), "COM1");
    EXPECT_TRUE(fileBytes().isEmpty()) << "a read never writes";
}

TEST_F(SettingsFiles_, SavedSettingsComeBackIntoAFreshWindow) {
    auto first = newWindow();
    first->files.readProgramSettings();
    first->setText("inistartkmhedit", "10");
    first->setText("iniendkmhedit", "120");
    first->setText("iniendhpedit", "25");
    first->setText("iniendrpmedit", "12000");
    first->setText("firmanavnedit", "Scooter Workshop");
    first->setText("tlfedit", "555 12 34");
    first->setText("initialdiredit", home.path());
    first->setText("printlinewidth_edit", "2");
    first->setText("rollerweightedit", "184.5");
    first->setText("weathertempedit", "251.5");
    first->setText("weatherbaroedit", "-3");
    first->setText("weatherfugtedit", "0");
    first->setText("serial_delayedit", "300");
    first->setText("comedit", "ttyUSB0");
    for (const char* name : {"printheaderbox", "kwflagbox", "mphflagbox", "torquebox",
                             "vejrstation_check", "useoptdelaybutton_check"}) {
        controls::writeChecked(&first->window, name, true);
    }
    controls::writeChecked(&first->window, "printownerbox", false);
    controls::writeItemIndex(&first->window, "corrchoice", 1);
    controls::writeItemIndex(&first->window, "dynomodel", 2);
    controls::writeItemIndex(&first->window, "roller_type", 1);
    controls::writeItemIndex(&first->window, "rollerspecs", 2);
    controls::writeItemIndex(&first->window, "electronics", 0);
    controls::writeItemIndex(&first->window, "dyno_io_group", 1);
    first->advanced->setRemoteButtonDelay(650);
    first->messages.messages.clear();

    ASSERT_TRUE(first->files.saveProgramSettings());
    EXPECT_EQ(first->messages.messages,
              std::vector<Message>({{MessageKind::Information, "VKR dyno", "Ini file saved"}}));
    EXPECT_EQ(fileBytes().size(), 182);
    const DynoSettings saved = settingsFromPages(first->pages());

    auto second = newWindow();
    second->files.readProgramSettings();
    EXPECT_TRUE(second->messages.messages.empty());
    DynoSettings restored = settingsFromPages(second->pages());
    EXPECT_EQ(restored.transferDelayText, "44") << "300 keeps its low byte";
    restored.transferDelayText = saved.transferDelayText;
    EXPECT_EQ(restored, saved);
    EXPECT_EQ(second->text("companylabel"), "Scooter Workshop");
    EXPECT_EQ(second->text("startkmhedit"), "10");
    EXPECT_EQ(second->text("waitbutton_edit"), "650");

    // K80, heavy roller, disc brake: roller code 62; card at 1F0; button on bit 0.
    EXPECT_EQ(second->state.rollerCode, 62);
    EXPECT_EQ(second->state.dyno.speedFactor, 5.6556);
    EXPECT_EQ(second->state.remoteButtonMask, 0x01);
    EXPECT_EQ(second->state.cardPorts.front(), 0x1F0);
    EXPECT_EQ(second->state.cardPorts[11], 0x1FB);
    EXPECT_EQ(second->state.transferDelay, 44);
    EXPECT_EQ(second->state.remoteButtonDelayMs, 650u);
    EXPECT_TRUE(second->state.speedInMph);
    EXPECT_EQ(second->state.graphScale, (GraphScale{10, 120, 0, 25, 0, 12000}));
    EXPECT_EQ(second->state.weatherConstants.temperature, 251.5);
    EXPECT_EQ(second->state.weatherConstants.pressure, -3.0);
    EXPECT_EQ(second->state.cardPressureScale, CardPressureScale::Per253)
        << "a normal start keeps 100/253 until the settings are saved";
    EXPECT_EQ(second->shownFolder, QFileInfo(home.path()).absoluteFilePath());
}

TEST_F(SettingsFiles_, SavePutsTheLimitsConstantsDelayAndRollerCodeInForce) {
    auto w = newWindow();
    EXPECT_EQ(w->state.cardPressureScale, CardPressureScale::Per253);
    w->setText("inistartkmhedit", "12abc");
    w->setText("iniendkmhedit", "xyz");
    w->setText("weatherbaroedit", "7.25");
    w->setText("serial_delayedit", "300");
    controls::writeItemIndex(&w->window, "roller_type", 3);
    controls::writeItemIndex(&w->window, "rollerspecs", 1);
    ASSERT_TRUE(w->files.saveProgramSettings());
    EXPECT_EQ(w->state.graphScale.startKmh, 12) << "limits are read leniently";
    EXPECT_EQ(w->state.graphScale.endKmh, 0);
    EXPECT_EQ(w->state.weatherConstants.pressure, 7.25);
    EXPECT_EQ(w->state.transferDelay, 44);
    EXPECT_EQ(w->state.rollerCode, 31);
    EXPECT_EQ(w->state.cardPressureScale, CardPressureScale::Per24);
    EXPECT_EQ(w->text("serial_delayedit"), "300") << "the box keeps what was typed";
}

TEST_F(SettingsFiles_, FahrenheitAndInchFlagsPutTypicalValuesIntoTheParamPage) {
    {
        auto w = newWindow();
        controls::writeChecked(&w->window, "fahrenheitcheck", true);
        controls::writeChecked(&w->window, "inchhgcheck", true);
        ASSERT_TRUE(w->files.saveProgramSettings());
    }
    auto w = newWindow();
    w->files.readProgramSettings();
    EXPECT_TRUE(w->isChecked("fahrenheitcheck"));
    EXPECT_TRUE(w->isChecked("inchhgcheck"));
    EXPECT_EQ(w->text("tempedit"), "77");
    EXPECT_EQ(w->text("baroedit"), "29.15");

    controls::writeChecked(&w->window, "fahrenheitcheck", false);
    ASSERT_TRUE(w->files.saveProgramSettings());
    auto celsius = newWindow();
    celsius->files.readProgramSettings();
    EXPECT_EQ(celsius->text("tempedit"), "23") << "without the flag the box is left alone";
    EXPECT_EQ(celsius->text("baroedit"), "29.15");
}

TEST_F(SettingsFiles_, ConversionErrorSavesNothingAndChangesNothing) {
    auto w = newWindow();
    ASSERT_TRUE(w->files.saveProgramSettings());
    const QByteArray before = fileBytes();
    const ProgramState stateBefore = w->state;
    w->messages.messages.clear();

    w->setText("iniendkmhedit", "140");
    w->setText("firmanavnedit", "Changed");
    w->setText("weathertempedit", "2x5");
    EXPECT_FALSE(w->files.saveProgramSettings());
    EXPECT_EQ(w->messages.messages,
              std::vector<Message>({{MessageKind::Error, "vkr_dyno", notAFloatMessage("2x5")}}));

    w->setText("weathertempedit", "250");
    w->setText("serial_delayedit", "fast");
    EXPECT_FALSE(w->files.saveProgramSettings());
    EXPECT_EQ(w->messages.messages.back(),
              (Message{MessageKind::Error, "vkr_dyno", notAnIntegerMessage("fast")}));
    EXPECT_EQ(w->messages.messages.size(), 2u) << "\"Ini file saved\" is not shown";

    EXPECT_EQ(fileBytes(), before) << "the old file is untouched";
    EXPECT_EQ(w->state.graphScale, stateBefore.graphScale);
    EXPECT_EQ(w->state.transferDelay, stateBefore.transferDelay);
    EXPECT_EQ(QDir(startDir.path()).entryList(QDir::Files), QStringList({"vkr_dyno.ini"}))
        << "no temporary is left behind";
}

TEST_F(SettingsFiles_, StrictConstantsTakeTheUsersSeparatorAndThePointTheyAreShownWith) {
    {
        auto w = newWindow();
        w->setText("weathertempedit", "250.5");
        ASSERT_TRUE(w->files.saveProgramSettings());
    }
    auto w = newWindow();
    w->files.setDecimalSeparator(',');
    w->files.readProgramSettings();
    ASSERT_EQ(w->text("weathertempedit"), "250.5") << "restored numbers are shown with a point";
    EXPECT_TRUE(w->files.saveProgramSettings()) << "and saved again in a comma locale";
    w->setText("weathertempedit", "2,5");
    ASSERT_TRUE(w->files.saveProgramSettings());
    EXPECT_EQ(w->state.weatherConstants.temperature, 2.5);
    w->setText("weathertempedit", "2,5.1");
    EXPECT_FALSE(w->files.saveProgramSettings());
}

TEST_F(SettingsFiles_, RestoredTextsAreShownWholeAndOnlyTypingIsLimited) {
    QByteArray bytes(182, '\0');
    const std::int32_t largest = 2147483647;
    std::memcpy(bytes.data() + 4, &largest, 4);             // graph end speed, little-endian
    std::memcpy(bytes.data() + 44, "123456789012345", 15);  // a phone of 15 characters
    writeFile(bytes);
    auto w = newWindow();
    w->files.readProgramSettings();
    EXPECT_EQ(w->text("iniendkmhedit"), "2147483647");
    EXPECT_EQ(w->text("tlfedit"), "123456789012345");
    ASSERT_TRUE(w->files.saveProgramSettings());
    EXPECT_EQ(fileBytes().mid(44, 16), QByteArray("123456789012345\0", 16)) << "saved whole";

    auto* phone = w->window.findChild<QLineEdit*>("tlfedit");
    phone->clear();
    phone->setFocus();
    QTest::keyClicks(phone, "12345678901234");
    EXPECT_EQ(phone->text(), "123456789012") << "typing stops at 12 characters";
    phone->setText("123456789012345");
    QTest::keyClick(phone, Qt::Key_End);
    QTest::keyClick(phone, Qt::Key_Backspace);
    QTest::keyClicks(phone, "99");
    EXPECT_EQ(phone->text(), "12345678901234") << "a long text may be shortened, not lengthened";
}

TEST_F(SettingsFiles_, PortNameTooLongForTheFileIsRefusedAndNothingChanges) {
    auto w = newWindow();
    ASSERT_TRUE(w->files.saveProgramSettings());
    const QByteArray before = fileBytes();
    w->messages.messages.clear();
    w->setText("comedit", "ttyUSB12");
    w->setText("iniendkmhedit", "140");
    EXPECT_FALSE(w->files.saveProgramSettings());
    ASSERT_EQ(w->messages.messages.size(), 1u);
    EXPECT_EQ(w->messages.messages[0].text, portNameTooLongMessage("ttyUSB12"));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(w->state.graphScale.endKmh, 100);
}

TEST_F(SettingsFiles_, StoredFolderThatExistsIsTheInitialFolder) {
    QDir(startDir.path()).mkdir("sessions");
    {
        auto w = newWindow();
        w->setText("initialdiredit", "sessions");
        ASSERT_TRUE(w->files.saveProgramSettings());
    }
    auto w = newWindow();
    w->files.readProgramSettings();
    EXPECT_EQ(w->shownFolder, QDir(startDir.path()).absoluteFilePath("sessions"))
        << "a relative folder counts from the start directory";
    EXPECT_EQ(w->text("initialdiredit"), "sessions");

    EXPECT_EQ(resolveInitialFolder("", "/", "/home/x"), "/home/x");
    EXPECT_EQ(resolveInitialFolder("/no/such/folder", "/", "/home/x"), "/home/x");
}

TEST_F(SettingsFiles_, ForeignChoiceIndexesKeepTheWindowDefaults) {
    QByteArray bytes(182, '\0');
    bytes[130] = 7;  // dyno model
    bytes[144] = 9;  // electronics
    bytes[116] = 5;  // card I/O address choice
    writeFile(bytes);
    auto w = newWindow();
    w->files.readProgramSettings();
    EXPECT_EQ(w->item("dynomodel"), 0);
    EXPECT_EQ(w->item("electronics"), 1);
    EXPECT_EQ(w->item("dyno_io_group"), 0);
    EXPECT_EQ(w->state.dyno.speedFactor, 2.2176);
    EXPECT_EQ(w->state.cardPorts.front(), 0x1B0);
}

TEST_F(SettingsFiles_, AnyFileContentStartsUp) {
    std::mt19937 random(4);
    for (int round = 0; round < 40; ++round) {
        QByteArray bytes(static_cast<int>(random() % 260), '\0');
        for (auto& byte : bytes) byte = static_cast<char>(random());
        writeFile(bytes);
        auto w = newWindow();
        w->files.readProgramSettings();
        EXPECT_TRUE(w->messages.messages.empty());
        int model = -1;
        controls::readItemIndex(&w->window, "dynomodel", model);
        EXPECT_TRUE(model >= 0 && model <= 2);
    }
}

}  // namespace
}  // namespace dyno

namespace dyno {
namespace {

// The Analysis page's file: a damaged line is named and kept in ".bak" before the
// first save; a file that could not be read is never overwritten with defaults.
TEST_F(SettingsFiles_, AnalysisSettingsAreNeverLostToASave) {
    auto w = newWindow();
    const QString path = QDir(startDir.path()).filePath("vkr_dyno_analysis.ini");
    const QByteArray typed = "[channel3]\nname = AFR\nvalue_low = ten\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(typed);
    }
    const AnalysisSettings read = w->files.readAnalysisSettings();
    EXPECT_EQ(read.channels[2].name, "AFR");
    ASSERT_EQ(w->messages.messages.size(), 1u);
    EXPECT_NE(w->messages.messages[0].text.find("line 3"), std::string::npos)
        << w->messages.messages[0].text;
    ASSERT_TRUE(w->files.saveAnalysisSettings(read));
    QFile kept(path + ".bak");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), typed);

    QFile::remove(path);
    ASSERT_TRUE(QDir(startDir.path()).mkdir("vkr_dyno_analysis.ini"));
    w->messages.messages.clear();
    w->files.readAnalysisSettings();
    EXPECT_FALSE(w->files.saveAnalysisSettings(AnalysisSettings{}));
    EXPECT_TRUE(QFileInfo(path).isDir());
    ASSERT_EQ(w->messages.messages.size(), 2u);
    EXPECT_EQ(w->messages.messages[1].text,
              "vkr_dyno_analysis.ini could not be read at start-up and is not overwritten.");
}

}  // namespace
}  // namespace dyno
