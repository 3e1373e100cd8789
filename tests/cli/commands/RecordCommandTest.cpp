// `dynotool record` against `dynotool simulate --pty`: two processes, a pseudo-
// terminal between them and QSerialPort on the recording side, as with a USB adapter
// and the real electronics. The electronics run on a time lapse so a session takes
// seconds; the line then runs faster than 57600 baud.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// Starts dynotool with `command` and `options`; -1 when it could not be started.
pid_t spawnDynotool(std::vector<std::string> words, const std::vector<std::string>& options,
                    const posix_spawn_file_actions_t& actions) {
    words.insert(words.begin(), DYNOTOOL_PATH);
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, DYNOTOOL_PATH, &actions, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

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
        pid_ = spawnDynotool({"simulate", "--pty"}, options, actions);
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

// `dynotool record ...` in the background, its stderr in a file, so a test can wait
// for what it prints and send it a signal.
class RecordingInBackground {
  public:
    RecordingInBackground(const std::vector<std::string>& options, std::filesystem::path errFile)
        : errFile_(std::move(errFile)) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_ = spawnDynotool({"record"}, options, actions);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~RecordingInBackground() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    std::string err() const {
        std::ifstream in(errFile_);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Waits up to `seconds` for `text` on stderr.
    bool waitForErr(const std::string& text, int seconds) const {
        for (int i = 0; i < seconds * 20; ++i) {
            if (err().find(text) != std::string::npos) return true;
            ::usleep(50'000);
        }
        return false;
    }
    // kill(-1) would signal every process the user owns: only a command that started.
    void signal(int number) const {
        if (pid_ > 0) ::kill(pid_, number);
    }
    // The exit status once it has ended, -1 if a signal ended it.
    int finish() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    std::filesystem::path errFile_;
};

// A terminal with nothing behind it: an adapter plugged in, the electronics off.
class SilentTerminal {
  public:
    SilentTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
            path_ = ::ptsname(master_);
        }
    }
    ~SilentTerminal() {
        if (master_ >= 0) ::close(master_);
    }
    const std::string& path() const { return path_; }

  private:
    int master_ = -1;
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
    const auto run = runDynotool({"record", "--port", electronics.path(), "--out", archive.string(),
                                  "--test", "720", "--timeout", "6"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "dynotool record: the session did not finish within 6 s (1 of 3 runs "
              "received); saved the run received in " +
                  archive.string() + "\n");

    auto model = SessionModel::create();
    ASSERT_TRUE(loadSessionFile(archive, model->slot(1)).ok());
    EXPECT_GT(model->slot(1).leadingPeriods(0), 100);
    EXPECT_EQ(model->slot(1).leadingPeriods(1), 0);
    EXPECT_EQ(model->slot(1).leadingPeriods(2), 0);
    testing::expectPeakPowerOfProfile(*model, 1, 0, *findVehicleProfile("bike125"));
}

TEST_F(RecordCommand, CtrlCSigtermAndSighupSaveTheRunsReceivedAndExit1) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const std::string name = signal == SIGINT    ? "SIGINT"
                                 : signal == SIGTERM ? "SIGTERM"
                                                     : "SIGHUP";
        SCOPED_TRACE(name);
        // The rider rides one run and waits.
        PtyElectronics electronics(
            {"--vehicle", "bike125", "--time-lapse", "10", "--rider-runs", "1"});
        const auto archive = folder / (name + ".zsd");
        RecordingInBackground record({"--port", electronics.path(), "--out", archive.string(),
                                      "--test", "720", "--timeout", "120", "--verbose"},
                                     folder / (name + ".err"));
        ASSERT_TRUE(record.waitForErr("run 2\n", 60)) << record.err();
        record.signal(signal);
        EXPECT_EQ(record.finish(), 1);
        const std::string err = record.err();
        EXPECT_NE(err.find("dynotool record: stopped by " + name +
                           " (1 of 3 runs received); saved the run received in " +
                           archive.string() + "\n"),
                  std::string::npos)
            << err;

        auto model = SessionModel::create();
        ASSERT_TRUE(loadSessionFile(archive, model->slot(1)).ok());
        EXPECT_GT(model->slot(1).leadingPeriods(0), 100);
        EXPECT_EQ(model->slot(1).leadingPeriods(1), 0);
        testing::expectPeakPowerOfProfile(*model, 1, 0, *findVehicleProfile("bike125"));
    }
}

TEST_F(RecordCommand, AStderrThatHasGoneDoesNotEndItBeforeItsExit) {
    SilentTerminal adapter;
    ASSERT_FALSE(adapter.path().empty());
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);  // nobody reads what it writes
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    std::vector<std::string> words{DYNOTOOL_PATH,   "record", "--port",
                                   adapter.path(),  "--out",  (folder / "gone.zsd").string(),
                                   "--answer-wait", "1"};
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, DYNOTOOL_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    ASSERT_EQ(spawned, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
}

TEST_F(RecordCommand, ElectronicsThatNeverAnswerEndItAfterTheAnswerWait) {
    SilentTerminal adapter;
    ASSERT_FALSE(adapter.path().empty());
    const auto archive = folder / "silent.zsd";
    const auto started = std::chrono::steady_clock::now();
    const auto run = runDynotool(
        {"record", "--port", adapter.path(), "--out", archive.string(), "--answer-wait", "4"});
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(run.exitStatus, 1);
    const std::string noAnswer = "no answer from the dyno electronics on " + adapter.path() +
                                 ": check power, cable and --port";
    EXPECT_EQ(run.err, "warning: " + noAnswer + "\ndynotool record: " + noAnswer +
                           " (0 of 3 runs received)\n");
    EXPECT_LT(took, std::chrono::seconds(15));
    EXPECT_FALSE(std::filesystem::exists(archive));

    const auto help = runDynotool({"record", "--help"});
    EXPECT_NE(help.out.find("--answer-wait S"), std::string::npos) << help.out;
}

TEST_F(RecordCommand, ADamagedRunIsNamedAndTheCountsPrintedAreTheCountsStored) {
    // One stray byte in run 2: framed again, run 2 kept without the revolutions around
    // it. Five: run 2 cannot be trusted and is discarded. Either way the command says
    // so and does not exit 0.
    for (const int strayBytes : {1, 5}) {
        SCOPED_TRACE(strayBytes);
        PtyElectronics electronics({"--vehicle", "bike125", "--time-lapse", "10", "--seed", "3",
                                    "--stray-bytes", std::to_string(strayBytes)});
        const auto archive = folder / ("damaged" + std::to_string(strayBytes) + ".zsd");
        const auto run = runDynotool({"record", "--port", electronics.path(), "--out",
                                      archive.string(), "--test", "720", "--timeout", "120"});
        electronics.kill();
        const std::string sent = jsonArrayOf(electronics.finish(), "runs");
        EXPECT_EQ(run.exitStatus, 1) << run.err;
        const bool isKept = strayBytes == 1;
        EXPECT_NE(run.err.find(isKept ? "warning: VKR dyno: Run 2 arrived damaged: its data lost "
                                        "their framing once. The samples around the fault were "
                                        "left out; Run 2 was kept"
                                      : " times. Run 2 was discarded; the runs that arrived whole "
                                        "are kept.\n"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(isKept ? "dynotool record: the session finished with 3 of 3 runs, "
                                        "1 arrived damaged; saved the 3 runs received in "
                                      : "dynotool record: the session finished with 2 of 3 runs, "
                                        "1 arrived damaged; saved the 2 runs received in "),
                  std::string::npos)
            << run.err;

        auto model = SessionModel::create();
        ASSERT_TRUE(loadSessionFile(archive, model->slot(1)).ok());
        const TestSession& slot1 = model->slot(1);
        // What was printed is what was stored; runs 1 and 3 arrived whole.
        const std::string stored = "[" + std::to_string(slot1.leadingPeriods(0)) + ", " +
                                   std::to_string(slot1.leadingPeriods(1)) + ", " +
                                   std::to_string(slot1.leadingPeriods(2)) + "]";
        EXPECT_EQ(jsonArrayOf(run.out, "runs"), stored);
        std::smatch counts;
        ASSERT_TRUE(std::regex_match(sent, counts, std::regex(R"(\[(\d+), (\d+), (\d+)\])")))
            << sent;
        EXPECT_EQ(slot1.leadingPeriods(0), std::stoi(counts[1]));
        EXPECT_EQ(slot1.leadingPeriods(2), std::stoi(counts[3]));
        if (isKept) {
            // Two packets a revolution: the packets taken back around the fault are a few
            // revolutions. How many depends on where the framing is found again: in the
            // stream, or only once the line goes quiet, which a loaded computer reaches
            // a packet or two later.
            EXPECT_GT(slot1.leadingPeriods(1), std::stoi(counts[2]) - 20);
            EXPECT_LT(slot1.leadingPeriods(1), std::stoi(counts[2]));
        } else {
            EXPECT_EQ(slot1.leadingPeriods(1), 0);
        }
    }
}

TEST_F(RecordCommand, RefusesOptionsNoPageWouldAccept) {
    const auto out = (folder / "x.zsd").string();
    // A port that does not exist: the options are refused before any port is opened.
    const auto port = (folder / "no-such-port").string();
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"record", "--out", out},
             {"record", "--port", port},
             {"record", "--port", port, "--out", out, "--dyno", "K90"},
             {"record", "--port", port, "--out", out, "--gearbox", "cvt"},
             {"record", "--port", port, "--out", out, "--transfer-delay", "300"},
             {"record", "--port", port, "--out", out, "--dyno", "K70", "--roller-code", "45"},
             {"record", "--port", port, "--out", out, "--roller-weight", "heavy"},
             {"record", "--port", port, "--out", out, "--answer-wait", "0"}}) {
        const auto run = runDynotool(words);
        EXPECT_EQ(run.exitStatus, 2) << words.back();
        EXPECT_EQ(run.err.rfind("dynotool record: ", 0), 0u) << run.err;
    }
}

}  // namespace
}  // namespace dyno
