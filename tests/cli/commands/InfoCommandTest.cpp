// Black-box tests of `dynotool info`: archives are written with the library, then the
// binary is run on them as a script would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/ArchiveFixtures.h"
#include "files/SessionArchive.h"
#include "files/SessionFixtures.h"
#include "model/TextNumbers.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using testing::ScratchFolder;
using testing::writeFile;
using testing::writeZip;

using testing::ToolRun;

ToolRun runInfo(const ScratchFolder&, std::vector<std::string> words) {
    words.insert(words.begin(), "info");
    return testing::runDynotool(words);
}

class InfoCommand : public ::testing::Test {
  protected:
    ScratchFolder folder;
    std::unique_ptr<TestSession> session = testing::recordedSession();
    const SavedAirData air{1008.0, 18.5, 52.0};

    std::string saved(const std::string& name) {
        const auto file = folder / name;
        EXPECT_TRUE(saveSessionArchive(file, *session, air).ok());
        return file.string();
    }

    // Exit status non-zero and exactly one line on stderr containing `reason`.
    void expectRefused(const std::vector<std::string>& words, const std::string& reason) {
        const auto run = runInfo(folder, words);
        EXPECT_NE(run.exitStatus, 0);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    }
};

TEST_F(InfoCommand, JsonShowsTheRecordAsALoadSeesIt) {
    session->remarkLine3.assign("Tyre \"Sport\" 3.00\\10");
    const auto run = runInfo(folder, {saved("run.zsd"), "--json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string& json = run.out;
    EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 1);
    EXPECT_NE(json.find("\"remarkLine1\": \"Cylinder kit 70 ccm, 19 mm carburettor, main jet 82\""),
              std::string::npos);
    EXPECT_NE(json.find("\"remarkLine2\": \"Sport exhaust \xC3\xA6\xC3\xB8\xC3\xA5\""),
              std::string::npos);
    EXPECT_NE(json.find("\"remarkLine3\": \"Tyre \\\"Sport\\\" 3.00\\\\10\""), std::string::npos);
    EXPECT_NE(json.find("\"owner\": \"J\xC3\xB8rgen Hansen\""), std::string::npos);
    EXPECT_NE(json.find("\"correctionFactor\": " + formatRoundTrip(1.0371)), std::string::npos);
    EXPECT_NE(json.find("\"header\": [-3, 4, 11, 18, 25, 32, 39, 46, 53, 60]"), std::string::npos);
    EXPECT_NE(json.find("\"values\": [" + formatRoundTrip(-1.0 / 3) + ", " +
                        formatRoundTrip(0.125 - 0.25)),
              std::string::npos);
    EXPECT_NE(json.find("\"airPressure\": 1008"), std::string::npos);
    EXPECT_NE(json.find("\"airTemperature\": 18.5"), std::string::npos);
    EXPECT_NE(json.find("\"runs\": [{\"rollerSamples\": 1850}, {\"rollerSamples\": 1999}, "
                        "{\"rollerSamples\": 640}]"),
              std::string::npos)
        << json;
}

TEST_F(InfoCommand, TextFormIsReadableLineByLine) {
    const auto run = runInfo(folder, {saved("run.zsd")});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("make: Piaggio-like\n"), std::string::npos);
    EXPECT_NE(run.out.find("correctionFactor: 1.0371\n"), std::string::npos);
    EXPECT_NE(run.out.find("airHumidity: 52 %\n"), std::string::npos);
    EXPECT_NE(run.out.find("run 2: 1999 roller samples\n"), std::string::npos);
}

TEST_F(InfoCommand, BadInputIsRefusedWithOneLineInTheProgramsWords) {
    expectRefused({(folder / "missing.zsd").string()}, "Cannot read zipfile");
    expectRefused({(folder / "missing.txt").string()}, "Cannot read file");

    writeFile(folder / "letter.zsd", std::string("Dear customer"));
    expectRefused({(folder / "letter.zsd").string()}, "Cannot read zipfile");

    writeZip(folder / "photos.zsd", {{"front.jpg", {0xFF, 0xD8}}});
    expectRefused({(folder / "photos.zsd").string()}, "no member vkrzip.diz");

    const std::string good = saved("good.zsd");
    std::filesystem::resize_file(good, std::filesystem::file_size(good) - 30);
    expectRefused({good}, "Cannot read zipfile");

    std::filesystem::copy_file(saved("run.zsd"), folder / "RUN.ZSD");
    expectRefused({(folder / "RUN.ZSD").string()}, "no \".zsd\"");
}

TEST_F(InfoCommand, MissingOrExtraOperandsAreUsageErrors) {
    EXPECT_EQ(runInfo(folder, {}).exitStatus, 2);
    EXPECT_EQ(runInfo(folder, {"a.zsd", "b.zsd"}).exitStatus, 2);
    EXPECT_EQ(runInfo(folder, {"a.zsd", "--csv"}).exitStatus, 2);
}

}  // namespace
}  // namespace dyno
