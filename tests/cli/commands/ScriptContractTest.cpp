// What scripts rely on across every dynotool command: numbers read whole and
// strictly, help for each command, curves that agree between CSV and JSON, and
// pictures written in the format their name asks for.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "model/TextNumbers.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using testing::runDynotool;

class ScriptContract : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder() = std::filesystem::temp_directory_path() /
                   ("dynotool_contract_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder());
        const auto made = runDynotool({"simulate", "--out", archive(), "--remark", "Contract"});
        ASSERT_EQ(made.exitStatus, 0) << made.err;
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder()); }

    static std::filesystem::path& folder() {
        static std::filesystem::path path;
        return path;
    }
    static std::string archive() { return (folder() / "session.zsd").string(); }
    static std::string file(const std::string& name) { return (folder() / name).string(); }
};

TEST_F(ScriptContract, EveryNumericOptionRefusesWhatIsNotWhollyANumber) {
    struct Case {
        std::vector<std::string> words;  // a command line valid without the option
        std::string option;
    };
    const std::string a = archive();
    const std::string png = file("strict.png");
    const std::string zsd = file("strict.zsd");
    const std::vector<std::string> correction = {"correction", "--temperature", "23",
                                                 "--pressure", "1000",          "--humidity",
                                                 "50",         "--standard",    "EEC"};
    const std::vector<std::string> simulate = {"simulate", "--out", zsd};
    const std::vector<std::string> record = {"record", "--port", "ttyNoSuchDyno", "--out", zsd};
    std::vector<Case> cases = {
        {{"curves", a, "--run", "1"}, "run"},
        {{"curves", a, "--run", "1"}, "roller-weight"},
        {{"analysis", a}, "run"},
        {{"analysis", a}, "roller-weight"},
        {{"graph", a, "--out", png}, "run"},
        {{"graph", a, "--out", png}, "speed"},
        {{"graph", a, "--out", png}, "power"},
        {{"graph", a, "--out", png}, "rpm"},
        {{"analog", a, "--out", png}, "run"},
        {{"analog", a, "--out", png}, "channels"},
        {{"analog", a, "--out", png}, "zoom"},
        {{"analog", a, "--out", png}, "offset"},
        {{"analog", a, "--out", png}, "shift"},
        {{"analog", a, "--out", png}, "left-scale"},
        {{"analog", a, "--out", png}, "end-hp"},
        {{"simulate", "--out", zsd, "--realtime"}, "time-lapse"},
        {{"simulate", "--pty"}, "idle-exit"},
        {{"simulate", "--pty"}, "seed"},
        {{"simulate", "--pty"}, "remote-delay"},
    };
    for (const char* option : {"temperature", "pressure", "humidity", "standard"}) {
        cases.push_back({correction, option});
    }
    for (const char* option : {"roller-weight", "transfer-delay", "pressure", "temperature",
                               "humidity", "standard", "timeout", "channels", "seed"}) {
        cases.push_back({simulate, option});
    }
    for (const char* option : {"roller-weight", "roller-code", "transfer-delay", "pressure",
                               "temperature", "humidity", "standard", "timeout", "channels"}) {
        cases.push_back({record, option});
    }
    for (const Case& c : cases) {
        for (const char* bad : {"abc", "10x", ""}) {
            std::vector<std::string> words = c.words;
            words.insert(words.end(), {"--" + c.option, bad});
            const auto run = runDynotool(words);
            SCOPED_TRACE(c.words.front() + " --" + c.option + " '" + bad + "'");
            EXPECT_EQ(run.exitStatus, 2) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_NE(run.err.find("--" + c.option), std::string::npos) << run.err;
            EXPECT_EQ(run.out, "");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(png));
    EXPECT_FALSE(std::filesystem::exists(zsd));
}

TEST_F(ScriptContract, ExponentsAreReadWholeNeverAsTheirLeadingDigit) {
    // 1e308 kg is beyond any roller: refused, where "1" would have been taken.
    const auto heavy = runDynotool({"curves", archive(), "--run", "1", "--roller-weight", "1e308"});
    EXPECT_EQ(heavy.exitStatus, 2) << heavy.err;
    // 1.84e2 is the standard roller's 184 kg: the same curves as without the option.
    const auto written =
        runDynotool({"curves", archive(), "--run", "1", "--roller-weight", "1.84e2"});
    const auto standard =
        runDynotool({"curves", archive(), "--run", "1", "--roller-weight", "184"});
    ASSERT_EQ(written.exitStatus, 0) << written.err;
    EXPECT_EQ(written.out, standard.out);
}

TEST_F(ScriptContract, EveryCommandExplainsItselfAndItsExitStatus) {
    const auto overview = runDynotool({"--help"});
    ASSERT_EQ(overview.exitStatus, 0);
    const std::regex commandLine("^  dynotool ([a-z]+) ");
    std::istringstream lines(overview.out);
    int commands = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_search(line, match, commandLine)) continue;
        ++commands;
        const auto help = runDynotool({match[1].str(), "--help"});
        SCOPED_TRACE(match[1].str());
        EXPECT_EQ(help.exitStatus, 0);
        EXPECT_EQ(help.out.rfind("usage: dynotool " + match[1].str(), 0), 0u) << help.out;
        EXPECT_NE(help.out.find("exit status: 0 success, 1 failure"), std::string::npos);
        EXPECT_NE(help.out.find("2 usage error"), std::string::npos);
        EXPECT_EQ(help.err, "");
    }
    EXPECT_GE(commands, 6);
    EXPECT_NE(overview.out.find("exit status"), std::string::npos);
}

std::vector<std::vector<double>> csvColumns(const std::string& csv, std::string& header) {
    std::istringstream in(csv);
    std::getline(in, header);
    std::vector<std::vector<double>> columns(4);
    for (std::string line; std::getline(in, line);) {
        std::istringstream cells(line);
        std::string cell;
        std::getline(cells, cell, ',');  // index
        for (auto& column : columns) {
            std::getline(cells, cell, ',');
            column.push_back(std::stod(cell));
        }
    }
    return columns;
}

std::vector<double> jsonArray(const std::string& json, const std::string& key) {
    std::smatch match;
    const std::regex pattern("\"" + key + "\": \\[([^\\]]*)\\]");
    std::vector<double> numbers;
    if (!std::regex_search(json, match, pattern)) return numbers;
    std::istringstream in(match[1].str());
    for (std::string cell; std::getline(in, cell, ',');) numbers.push_back(std::stod(cell));
    return numbers;
}

TEST_F(ScriptContract, CurvesCarryTheSamePointsAsCsvAndAsJson) {
    for (const std::vector<std::string>& units :
         {std::vector<std::string>{}, std::vector<std::string>{"--mph", "--kw"}}) {
        std::vector<std::string> words{"curves", archive(), "--run", "2", "--with-rpm"};
        words.insert(words.end(), units.begin(), units.end());
        auto csvWords = words;
        csvWords.push_back("--csv");
        const auto csv = runDynotool(csvWords);
        const auto json = runDynotool(words);
        ASSERT_EQ(csv.exitStatus, 0) << csv.err;
        ASSERT_EQ(json.exitStatus, 0) << json.err;

        std::string header;
        const auto columns = csvColumns(csv.out, header);
        const bool isImperial = !units.empty();
        EXPECT_EQ(header, std::string("index,") + (isImperial ? "speed_mph" : "speed_kmh") +
                              ",engine_speed_rpm," + (isImperial ? "power_kw" : "power_hp") +
                              ",torque_nm");
        ASSERT_GT(columns[0].size(), 100u);
        const char* keys[] = {"speedCurve", "rpmCurve", "powerCurve", "torqueCurve"};
        for (std::size_t k = 0; k < 4; ++k) {
            SCOPED_TRACE(keys[k]);
            EXPECT_EQ(jsonArray(json.out, keys[k]), columns[k]);
        }
        EXPECT_NE(json.out.find("\"points\": " + std::to_string(columns[0].size())),
                  std::string::npos);
    }
}

TEST_F(ScriptContract, GraphWritesTheFormatItsNameAsksFor) {
    struct Format {
        const char* extension;
        std::string magic;
    };
    const Format formats[] = {
        {".png", "\x89PNG"}, {".JPG", "\xFF\xD8\xFF"}, {".bmp", "BM"}, {".pdf", "%PDF"}};
    for (const Format& format : formats) {
        for (const bool isPlotOnly : {false, true}) {
            const std::string out =
                file(std::string("graph") + (isPlotOnly ? "_plot" : "") + format.extension);
            std::vector<std::string> words{"graph", archive(), "--out", out};
            if (isPlotOnly) words.push_back("--plot-only");
            const auto run = runDynotool(words);
            SCOPED_TRACE(out);
            ASSERT_EQ(run.exitStatus, 0) << run.err;
            EXPECT_EQ(run.err, "") << "no toolkit chatter on success";
            std::ifstream in(out, std::ios::binary);
            std::string start(format.magic.size(), '\0');
            in.read(start.data(), static_cast<std::streamsize>(start.size()));
            EXPECT_EQ(start, format.magic);
            const std::string size =
                isPlotOnly ? "\"width\": 600, \"height\": 400" : "\"width\": 782";
            EXPECT_NE(run.out.find(size), std::string::npos) << run.out;
        }
    }
    for (const char* refused : {"graph.gif", "graph.txt", "graph"}) {
        const auto run = runDynotool({"graph", archive(), "--out", file(refused)});
        EXPECT_EQ(run.exitStatus, 2) << refused;
        EXPECT_NE(run.err.find(".png, .jpg, .bmp or .pdf"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(file(refused)));
    }
}

}  // namespace
}  // namespace dyno
