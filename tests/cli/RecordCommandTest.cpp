// `dynotool record` against `dynotool simulate --pty`: two processes, a pseudo-
// terminal between them and QSerialPort on the recording side, as with a USB adapter
// and the real electronics. The electronics run on a time lapse so a session takes
// seconds; the line then runs faster than 57600 baud.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <thread>

#include "evaluation/RunEvaluation.h"
#include "files/SessionLoading.h"
#include "model/SessionModel.h"
#include "simulator/VehicleProfile.h"
#include "support/DynotoolRun.h"
#include "support/PeakPowerCheck.h"

extern char** environ;

namespace dyno {
namespace {

using testing::runDynotool;

// `dynotool simulate --pty ...` in the background: the terminal's path is its first
// line; the rest of its output comes when it ends.
class PtyElectronics {
  public:
    explicit PtyElectronics(const std::vector<std::string>& options) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::vector<std::string> words{DYNOTOOL_PATH, "simulate", "--pty"};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, DYNOTOOL_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        out_ = ::fdopen(pipeFds[0], "r");
        char line[256] = {};
        if (out_ != nullptr && std::fgets(line, sizeof line, out_) != nullptr) {
            path_ = line;
            if (!path_.empty() && path_.back() == '\n') path_.pop_back();
        }
    }
    ~PtyElectronics() {
        kill();
        finish();
    }

    const std::string& path() const { return path_; }
    void kill() {
        if (pid_ > 0) ::kill(pid_, SIGTERM);
    }
    // Waits for the server to end; returns the rest of its output.
    std::string finish() {
        std::string rest;
        if (out_ != nullptr) {
            char buffer[4096];
            while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, out_)) {
                rest.append(buffer, n);
            }
            std::fclose(out_);
            out_ = nullptr;
        }
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return rest;
    }

  private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
    std::string path_;
};

std::string jsonArrayOf(const std::string& json, const std::string& key) {
    std::smatch match;
    const std::regex pattern("\"" + key + "\": (\\[[^\\]]*\\])");
    return std::regex_search(json, match, pattern) ? match[1].str() : "";
}

class RecordCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("dynotool_record_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

TEST_F(RecordCommand, RecordsTheWholeSessionTheElectronicsSendOverTheTerminal) {
    PtyElectronics electronics({"--vehicle", "bike125", "--time-lapse", "10", "--seed", "11"});
    ASSERT_EQ(electronics.path().rfind("/dev/", 0), 0u) << electronics.path();
    const auto archive = folder / "bike.zsd";
    const VehicleProfile& bike = *findVehicleProfile("bike125");
    const std::string degrees = std::to_string(bike.ignitionDegrees);
    const auto run = runDynotool({"record", "--port", electronics.path(), "--out", archive.string(),
                                  "--test", degrees, "--gearbox", "fixed", "--channels",
                                  "1,2,3,4,5", "--owner", "Workshop", "--timeout", "120"});
    // The terminal is served until it is stopped.
    electronics.kill();
    const std::string served = electronics.finish();
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    // Every run the electronics sent arrived whole: nothing was lost on the way.
    const std::string sent = jsonArrayOf(served, "runs");
    ASSERT_FALSE(sent.empty()) << served;
    EXPECT_EQ(jsonArrayOf(run.out, "runs"), sent) << run.out;
    EXPECT_NE(served.find("\"overrunBytes\": 0"), std::string::npos) << served;
    EXPECT_NE(served.find("\"undeliveredBytes\": 0"), std::string::npos) << served;
    EXPECT_NE(served.find("\"commands\": 4"), std::string::npos) << served;
    EXPECT_NE(run.out.find("\"firmware\": \"1.5\""), std::string::npos) << run.out;

    const auto info = runDynotool({"info", archive.string(), "--json"});
    ASSERT_EQ(info.exitStatus, 0);
    EXPECT_NE(info.out.find("\"owner\": \"Workshop\""), std::string::npos);

    auto model = SessionModel::create();
    ASSERT_TRUE(loadSessionFile(archive, model->slot(1)).ok());
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        EXPECT_NEAR(model->slot(1).values.rpmPer100(r), bike.rpmPerKmhLow, 1.0);
        testing::expectPeakPowerOfProfile(*model, 1, r, bike);
    }
}

TEST_F(RecordCommand, APortThatCannotBeOpenedEndsWithTheSystemsText) {
    const auto archive = folder / "none.zsd";
    const auto run = runDynotool({"record", "--port", "ttyNoSuchDyno", "--out", archive.string()});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "dynotool record: cannot open ttyNoSuchDyno (/dev/ttyNoSuchDyno): No such file or "
              "directory\n");
    EXPECT_FALSE(std::filesystem::exists(archive));
}

TEST_F(RecordCommand, ElectronicsThatVanishMidSessionEndItWithoutASave) {
    // Nobody presses the remote, so no run can have arrived.
    PtyElectronics electronics({"--vehicle", "bike125", "--remote-delay", "100000000"});
    const auto archive = folder / "lost.zsd";
    // The adapter is pulled out while the rider waits for the first run.
    std::thread pull([&] {
        ::usleep(1'500'000);
        electronics.kill();
    });
    const auto run = runDynotool(
        {"record", "--port", electronics.path(), "--out", archive.string(), "--timeout", "60"});
    pull.join();
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "dynotool record: Connection to the dyno electronics lost: the device hung "
              "up (0 of 3 runs received)\n");
    EXPECT_FALSE(std::filesystem::exists(archive));
}

TEST_F(RecordCommand, ASessionThatDoesNotFinishInTimeEndsWithoutASave) {
    // Nobody presses the remote.
    PtyElectronics electronics({"--remote-delay", "100000000"});
    const auto archive = folder / "late.zsd";
    const auto run = runDynotool(
        {"record", "--port", electronics.path(), "--out", archive.string(), "--timeout", "2"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "dynotool record: the session did not finish within 2 s (0 of 3 runs received)\n");
    EXPECT_FALSE(std::filesystem::exists(archive));
}

TEST_F(RecordCommand, ASessionCutShortKeepsTheRunsReceivedAndEndsNonZero) {
    // The rider rides one run and leaves; the command gives up after its timeout.
    PtyElectronics electronics({"--vehicle", "bike125", "--time-lapse", "10", "--rider-runs", "1"});
    const auto archive = folder / "short.zsd";
    const auto run = runDynotool({"record", "--port", electronics.path(), "--out",
                                  archive.string(), "--test", "720", "--timeout", "6"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "dynotool record: the session did not finish within 6 s (1 of 3 runs "
                       "received); saved the run received in " +
                           archive.string() + "\n");

    auto model = SessionModel::create();
    ASSERT_TRUE(loadSessionFile(archive, model->slot(1)).ok());
    EXPECT_GT(model->slot(1).leadingPeriods(0), 100);
    EXPECT_EQ(model->slot(1).leadingPeriods(1), 0);
    EXPECT_EQ(model->slot(1).leadingPeriods(2), 0);
    testing::expectPeakPowerOfProfile(*model, 1, 0, *findVehicleProfile("bike125"));
}

TEST_F(RecordCommand, RefusesOptionsNoPageWouldAccept) {
    const auto out = (folder / "x.zsd").string();
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"record", "--out", out},
             {"record", "--port", "COM1"},
             {"record", "--port", "COM1", "--out", out, "--dyno", "K90"},
             {"record", "--port", "COM1", "--out", out, "--gearbox", "cvt"},
             {"record", "--port", "COM1", "--out", out, "--transfer-delay", "300"},
             {"record", "--port", "COM1", "--out", out, "--dyno", "K70", "--roller-code", "45"},
             {"record", "--port", "COM1", "--out", out, "--roller-weight", "heavy"}}) {
        const auto run = runDynotool(words);
        EXPECT_EQ(run.exitStatus, 2) << words.back();
        EXPECT_EQ(run.err.rfind("dynotool record: ", 0), 0u) << run.err;
    }
}

}  // namespace
}  // namespace dyno
