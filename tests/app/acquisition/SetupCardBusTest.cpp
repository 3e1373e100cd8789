#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <map>

#include "acquisition/ports/LinuxPortCardBus.h"
#include "app/RecordingMessageSink.h"
#include "app/acquisition/CardStartup.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/files/SettingsBinding.h"
#include "app/pages/ControlLookup.h"
#include "files/SettingsFileCodec.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

using Message = RecordingMessageSink::Message;

constexpr Electronics kCard = Electronics::Card;
constexpr Electronics kUsbSerial = Electronics::UsbSerial;

class RecordingCardBus : public CardBus {
  public:
    std::uint8_t readPort(std::uint16_t address) override { return ports[address]; }
    void writePort(std::uint16_t address, std::uint8_t value) override { ports[address] = value; }
    std::map<std::uint16_t, std::uint8_t> ports;
};

CardBusOpening failingOpen(const CardChoice&) {
    return {nullptr, "Permission denied"};
}

TEST(CardStartup, CardThatCannotBeOpenedShowsTheReasonAndEndsWithStatus1) {
    RecordingMessageSink messages;
    const CardStartup startup = connectCard(kCard, {}, failingOpen, messages);
    EXPECT_EQ(startup.exitStatus, 1);
    EXPECT_EQ(startup.bus, nullptr);
    EXPECT_EQ(messages.messages,
              std::vector<Message>({{MessageKind::Error, "GetLastError", "Permission denied"}}));
}

TEST(CardStartup, OpenedCardIsKeptAndOtherElectronicsLeaveItAlone) {
    RecordingMessageSink messages;
    int opened = 0;
    auto open = [&opened](const CardChoice&) {
        ++opened;
        return CardBusOpening{std::make_unique<RecordingCardBus>(), {}};
    };
    CardStartup card = connectCard(kCard, {}, open, messages);
    EXPECT_FALSE(card.exitStatus);
    ASSERT_NE(card.bus, nullptr);
    card.bus->writePort(0x1B3, 0x99);
    EXPECT_EQ(card.bus->readPort(0x1B3), 0x99);

    const CardStartup usb = connectCard(kUsbSerial, {}, open, messages);
    EXPECT_FALSE(usb.exitStatus);
    EXPECT_EQ(usb.bus, nullptr);
    EXPECT_EQ(opened, 1);
    const CardStartup simulated = connectCard(kCard, {}, CardBusOpener{}, messages);
    EXPECT_FALSE(simulated.exitStatus) << "no opener: the card is simulated elsewhere";
    EXPECT_TRUE(messages.messages.empty());
}

TEST(CardStartup, PortDeviceThatIsMissingGivesTheSystemsText) {
    const CardBusOpening opening = LinuxPortCardBus::open("/nonexistent/dev/port");
    EXPECT_EQ(opening.bus, nullptr);
    EXPECT_EQ(opening.errorText, "No such file or directory");
}

// The port device's refusal keeps the system's text and adds the command that lets
// the installed program reach the ports.
TEST(CardStartup, PortDeviceRefusalNamesTheSetcapCommandForThisProgram) {
    CardBusOpening refused;
    refused.errorText = "Permission denied";
    const CardBusOpening opening = explainedPortRefusal(std::move(refused));
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    const auto lineBreak = opening.errorText.find('\n');
    ASSERT_NE(lineBreak, std::string::npos);
    EXPECT_EQ(opening.errorText.substr(0, lineBreak), "Permission denied") << "the system's text";
    EXPECT_NE(opening.errorText.find("sudo setcap cap_sys_rawio+ep " + program + " "),
              std::string::npos)
        << opening.errorText;
    EXPECT_EQ(opening.errorText.find('\n', lineBreak + 1), std::string::npos) << "one line more";
}

// The whole start-up of the window: settings naming the card, a bus that fails.
TEST(CardStartup, WindowWithTheCardChosenAsksForExitStatus1WhenTheBusFails) {
    QTemporaryDir startDir;
    DynoSettings settings;
    settings.electronicsType = static_cast<int>(kCard);
    ASSERT_TRUE(
        saveSettingsFile(QDir(startDir.path()).filePath("vkr_dyno.ini").toStdString(), settings));
    auto model = SessionModel::create();
    MainWindow window(*model, startDir.path());
    RecordingMessageSink messages;
    window.setSettingsMessageSink(messages);

    EXPECT_EQ(window.startUp(failingOpen), 1);
    EXPECT_EQ(messages.messages,
              std::vector<Message>({{MessageKind::Error, "File error", "Cannot read .ana file"},
                                    {MessageKind::Error, "GetLastError", "Permission denied"}}));
}

TEST(CardStartup, WindowSettingsRoundTripAndUsbStartsWithoutTheCard) {
    QTemporaryDir startDir;
    auto model = SessionModel::create();
    RecordingMessageSink messages;
    {
        MainWindow window(*model, startDir.path());
        window.setSettingsMessageSink(messages);
        EXPECT_FALSE(window.startUp(failingOpen)) << "USB/Serial is the default electronics";
        QObject* root = &window;
        controls::writeText(root, "firmanavnedit", "Moped Service");
        controls::writeText(root, "iniendkmhedit", "80");
        controls::writeItemIndex(root, "dynomodel", 1);
        messages.messages.clear();
        window.findChild<QPushButton*>("saveinifile")->click();
        EXPECT_EQ(messages.messages,
                  std::vector<Message>({{MessageKind::Information, "VKR dyno", "Ini file saved"}}));
        EXPECT_EQ(window.programState().graphScale.endKmh, 80);
    }
    MainWindow window(*model, startDir.path());
    window.setSettingsMessageSink(messages);
    messages.messages.clear();
    EXPECT_FALSE(window.startUp(failingOpen));
    QString text;
    controls::readText(&window, "companylabel", text);
    EXPECT_EQ(text, "Moped Service");
    controls::readText(&window, "iniendkmhedit", text);
    EXPECT_EQ(text, "80");
    EXPECT_EQ(window.programState().dyno.speedFactor, 5.6772);
}

}  // namespace
}  // namespace dyno
