// The window and `dynotool record`/`simulate` prepare a test start through the same
// function: the same set-up typed into the pages and given as options gives the
// same start, constants, channel scaling, markers and weather set-up included, for
// the K40 electronics and for the K70/K80 card.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "app/acquisition/TestControl.h"
#include "app/composition/MainWindow.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/SetupPage.h"
#include "cli/commands/CardSimulation.h"
#include "cli/options/Arguments.h"
#include "cli/options/RecordingOptions.h"
#include "model/DynoSettings.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

struct SameSetup {
    const char* description;
    std::function<void(MainWindow&)> typeIntoPages;
    std::vector<std::string> options;
};

cli::RecordingOptions recordOptions(const std::vector<std::string>& words) {
    std::set<std::string> valueOptions = cli::recordingValueOptions();
    valueOptions.insert("port");
    return cli::recordingOptionsFrom(
        cli::Arguments(words, valueOptions, cli::recordingFlagOptions()), cli::RecordingDefaults{});
}

TEST(TestStartAgreement, PagesAndRecordOptionsGiveEqualStarts) {
    const SameSetup setups[] = {
        {"the window's defaults", [](MainWindow&) {}, {}},
        {"K80 with rpm, channels, station and a fixed gearbox",
         [](MainWindow& w) {
             controls::writeItemIndex(&w, "dynomodel", 2);
             controls::writeChecked(&w, "test360button", true);
             controls::writeChecked(&w, "ad1_check", true);
             controls::writeChecked(&w, "ad3_check", true);
             controls::writeChecked(&w, "vejrstation_check", true);
             controls::writeText(&w, "rollerweightedit", "150.5");
             controls::writeItemIndex(&w, "linear_rpm_check", 1);
             controls::writeItemIndex(&w, "corrchoice", 2);
             w.programState().transferDelay = 33;
             w.programState().rollerCode = 62;
         },
         {"--dyno", "K80", "--test", "360", "--channels", "1,3", "--weather", "--roller-weight",
          "150.5", "--gearbox", "fixed", "--transfer-delay", "33", "--roller-code", "62",
          "--standard", "DIN"}},
        {"user defined degrees on a K40",
         [](MainWindow& w) {
             controls::writeChecked(&w, "testuserdefbutton", true);
             controls::writeText(&w, "testuserdef", "720");
         },
         {"--test", "deg:720"}},
    };
    for (const SameSetup& setup : setups) {
        QTemporaryDir startDir;
        auto model = SessionModel::create();
        MainWindow window(*model, startDir.path());
        // What the settings file puts in force with the Setup page's defaults.
        window.programState().weatherConstants = {250.0, 250.0, 250.0};
        controls::writeText(&window, "comedit", "ttyUSB0");
        setup.typeIntoPages(window);

        std::vector<std::string> words{"--port", "ttyUSB0", "--out", "unused.zsd"};
        words.insert(words.end(), setup.options.begin(), setup.options.end());
        const PreparedTestStart fromOptions = recordOptions(words).prepared;
        const PreparedTestStart fromPages = window.testControl()->prepare(false);
        EXPECT_TRUE(fromOptions.error.empty()) << setup.description;
        EXPECT_EQ(fromPages, fromOptions) << setup.description;
    }
}

// `simulate --card` and "Start Test" with the card chosen: the same card start (base,
// remote button and its delay, settle wait, channels, station) and the same card.
TEST(TestStartAgreement, PagesAndCardSimulationGiveEqualCardStarts) {
    const SameSetup setups[] = {
        {"a K70 without rpm",
         [](MainWindow& w) { controls::writeItemIndex(&w, "dynomodel", 1); },
         {"--model", "K70"}},
        {"a K80 with rpm, channels, station, a fixed gearbox and DIN",
         [](MainWindow& w) {
             controls::writeItemIndex(&w, "dynomodel", 2);
             controls::writeChecked(&w, "test360button", true);
             controls::writeChecked(&w, "ad2_check", true);
             controls::writeChecked(&w, "vejrstation_check", true);
             controls::writeText(&w, "rollerweightedit", "150.5");
             controls::writeItemIndex(&w, "linear_rpm_check", 1);
             controls::writeItemIndex(&w, "corrchoice", 2);
             w.programState().rollerCode = kK80RollerCodeOffset;
         },
         {"--model", "K80", "--test", "360", "--channels", "2", "--weather", "--roller-weight",
          "150.5", "--gearbox", "fixed", "--standard", "DIN"}},
    };
    for (const SameSetup& setup : setups) {
        QTemporaryDir startDir;
        auto model = SessionModel::create();
        MainWindow window(*model, startDir.path());
        window.programState().weatherConstants = {250.0, 250.0, 250.0};
        controls::writeItemIndex(&window, "electronics", 0);  // "K80/K70 type card"
        setup.typeIntoPages(window);
        // What reading the settings puts in force for the dyno chosen.
        const auto dyno = static_cast<DynoModel>(window.setupPage()->dynoModelIndex());
        window.programState().remoteButtonMask = remoteButtonMaskFor(dyno);

        std::vector<std::string> words{"--out", "unused.zsd"};
        words.insert(words.end(), setup.options.begin(), setup.options.end());
        const cli::Arguments arguments(words, cli::recordingValueOptions(),
                                       cli::recordingFlagOptions());
        const PreparedTestStart fromOptions = cli::simulatedCardStart(
            arguments, cli::recordingOptionsFrom(arguments, cli::RecordingDefaults{}));
        const PreparedTestStart fromPages = window.testControl()->prepare(false);
        EXPECT_TRUE(fromPages.error.empty()) << setup.description;
        EXPECT_EQ(fromPages.dyno.currentElectronics, Electronics::Card) << setup.description;
        EXPECT_EQ(fromPages.card, fromOptions.card) << setup.description;
        EXPECT_EQ(fromPages.cardChoice, fromOptions.cardChoice) << setup.description;
    }
}

}  // namespace
}  // namespace dyno
