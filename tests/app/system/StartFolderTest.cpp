// The folder a menu start prepares: what a first test needs, and nothing of the
// workshop's own overwritten on later starts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "app/RecordingMessageSink.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/files/SettingsBinding.h"
#include "app/files/SettingsFiles.h"
#include "app/pages/AnalysisPage.h"
#include "app/pages/FilePage.h"
#include "app/pages/SetupPage.h"
#include "app/system/StartFolder.h"
#include "files/AnalogSettingsFileCodec.h"
#include "files/SettingsFileCodec.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

TEST(StartFolder, AFirstStartMakesSettingsLogoAndTestFolderThatTheProgramReads) {
    QTemporaryDir home;
    const QString folder = QDir(home.path()).filePath("data/vkr_dyno");
    ASSERT_EQ(prepareStartFolder(folder), std::nullopt);

    DynoSettings settings;
    const SettingsFileRead read =
        readSettingsFile(QDir(folder).filePath("vkr_dyno.ini").toStdString(), settings);
    EXPECT_FALSE(read.error);
    EXPECT_EQ(resolveInitialFolder(QString::fromStdString(settings.initialFolder), folder, "/home"),
              QDir(folder).filePath("Tests"));
    AnalogChannelTextSet channels{};
    EXPECT_TRUE(
        readAnalogSettingsFile(QDir(folder).filePath("vkr_dyno.ana").toStdString(), channels).ok());
    EXPECT_EQ(channels, defaultAnalogChannelTexts());
    EXPECT_EQ(QImage(QDir(folder).filePath("vkrprint.bmp")).size(), QSize(1600, 450));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("vkr_dyno_analysis.ini")))
        << "a workshop's own channels start uncalibrated";
}

TEST(StartFolder, ALaterStartKeepsTheWorkshopsOwnFiles) {
    QTemporaryDir home;
    const QString folder = home.path();
    ASSERT_EQ(prepareStartFolder(folder), std::nullopt);
    QFile ini(QDir(folder).filePath("vkr_dyno.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("saved by the workshop");
    ini.close();
    QFile::remove(QDir(folder).filePath("vkrprint.bmp"));

    ASSERT_EQ(prepareStartFolder(folder), std::nullopt);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), "saved by the workshop");
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath("vkrprint.bmp"))) << "a missing one comes back";
}

TEST(StartFolder, TheDemoFolderStartsWithoutAMessageOnElectronicsThatAnswer) {
    QTemporaryDir folder;
    ASSERT_EQ(prepareStartFolder(folder.path(), FirstK40Port::Simulated), std::nullopt);
    RecordingMessageSink messages;
    ProgramOptions options;
    options.timeLapse = 20;
    options.messages = &messages;
    ProgramParts parts(options);
    auto model = SessionModel::create();
    MainWindow window(parts, *model, folder.path());
    window.setSettingsMessageSink(messages);
    ASSERT_FALSE(window.startUp(CardBusOpener{}, false));

    EXPECT_EQ(window.setupPage()->portName(), "SIM");
    EXPECT_EQ(window.analysisPage()->shownChannels(), (std::array<int, 2>{3, 0}))
        << "the simulated lambda controller's channel, over the power curves";
    EXPECT_EQ(window.filePage()->currentFolder(), QDir(folder.path()).filePath("Tests"))
        << "the File page opens where the sessions go";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !window.findChild<QLineEdit*>("versionhigh")->text().isEmpty(); }));
    EXPECT_TRUE(messages.messages.empty());

    // Saving the settings there keeps the simulated electronics.
    ASSERT_TRUE(window.settingsFiles()->saveProgramSettings());
    DynoSettings saved;
    ASSERT_FALSE(
        readSettingsFile(QDir(folder.path()).filePath("vkr_dyno.ini").toStdString(), saved).error);
    EXPECT_EQ(saved.serialPortName, "SIM");
}

TEST(StartFolder, TheUsersFolderIsUnderTheDataHome) {
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    EXPECT_EQ(userStartFolder(), QDir(home.path()).filePath("vkr_dyno"));
    qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace dyno
