// Black-box tests of `dynotool correction`: the binary is run as a script would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "evaluation/CorrectionSources.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using testing::ToolRun;

ToolRun runCorrection(std::vector<std::string> words) {
    words.insert(words.begin(), "correction");
    return testing::runDynotool(words);
}

ToolRun runWith(const std::string& temperature, const std::string& pressure,
                const std::string& humidity, const std::string& standard) {
    return runCorrection({"--temperature", temperature, "--pressure", pressure, "--humidity",
                          humidity, "--standard", standard});
}

// Picks the three fields out of the single JSON line, insisting on its shape.
struct CorrectionLine {
    double factor;
    std::string text;
    bool isOutOfLimits;
};

CorrectionLine parsed(const std::string& out) {
    static const std::regex kLine(
        "\\{\"factor\": ([-+0-9.eE]+), \"text\": \"([^\"]*)\", \"outOfLimits\": (true|false)\\}\n");
    std::smatch match;
    EXPECT_TRUE(std::regex_match(out, match, kLine)) << out;
    if (match.empty()) return {0.0, "", false};
    return {std::strtod(match[1].str().c_str(), nullptr), match[2].str(), match[3] == "true"};
}

TEST(CorrectionCommand, PrintsOneJsonLineThatReadsBackAsTheComputedFactor) {
    const ToolRun run = runWith("23", "1000", "50", "EEC");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    const CorrectionLine line = parsed(run.out);
    EXPECT_EQ(line.factor, correctionFromPage({"50", "23", "1000"}).factor);
    EXPECT_NEAR(line.factor, 1.00003, 0.000005);
    EXPECT_EQ(line.text, "1.000");
    EXPECT_FALSE(line.isOutOfLimits);
}

TEST(CorrectionCommand, StandardByNumberOrByItsName) {
    const char* names[] = {"SAE STP", "SAE J1349", "DIN", "EEC", "ISO 1585"};
    for (int index = 0; index < 5; ++index) {
        const ToolRun byName = runWith("30", "950", "70", names[index]);
        const ToolRun byNumber = runWith("30", "950", "70", std::to_string(index));
        EXPECT_EQ(byName.exitStatus, 0) << names[index];
        EXPECT_EQ(byName.out, byNumber.out) << names[index];
        EXPECT_EQ(
            parsed(byName.out).factor,
            correctionFromPage({"70", "30", "950", {}, static_cast<CorrectionStandard>(index)})
                .factor);
    }
}

TEST(CorrectionCommand, UnitFlagsConvertLikeThePage) {
    const ToolRun run = runCorrection({"--temperature", "86", "--pressure", "28.5", "--humidity",
                                       "40", "--standard", "DIN", "--fahrenheit", "--inch-hg"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(
        parsed(run.out).factor,
        correctionFromPage({"40", "86", "28.5", {true, true}, CorrectionStandard::Din}).factor);
}

TEST(CorrectionCommand, ZeroOrHugePressureReportsOutOfLimitsWithFactorOne) {
    // 1e308 is read whole: far out of limits, never the leading "1".
    for (const char* pressure : {"0", "1e308"}) {
        const ToolRun run = runWith("23", pressure, "50", "3");
        EXPECT_EQ(run.exitStatus, 0) << pressure;
        EXPECT_EQ(run.out, "{\"factor\": 1, \"text\": \"1.000\", \"outOfLimits\": true}\n");
        EXPECT_NE(run.err.find("The correctionfactor is out of limits, changed to 1.00"),
                  std::string::npos);
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
}

TEST(CorrectionCommand, BadUsageExitsTwoWithOneLineAndNoOutput) {
    const std::vector<std::vector<std::string>> bad = {
        {"--temperature", "23", "--pressure", "1000", "--humidity", "50", "--standard", "5"},
        {"--temperature", "23", "--pressure", "1000", "--humidity", "50", "--standard", "eec"},
        {"--temperature", "23", "--pressure", "1000", "--humidity", "50", "--standard", "-1"},
        {"--temperature", "23", "--pressure", "1000", "--humidity", "50"},
        {"--temperature", "23", "--pressure", "1000", "--humidity", "50", "--standard", "3",
         "--celsius"},
        {"--temperature", "23", "--pressure", "1000", "--humidity", "50", "--standard", "3",
         "extra"},
        {"--temperature"},
    };
    for (const auto& words : bad) {
        const ToolRun run = runCorrection(words);
        EXPECT_EQ(run.exitStatus, 2) << words.back();
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

}  // namespace
}  // namespace dyno
