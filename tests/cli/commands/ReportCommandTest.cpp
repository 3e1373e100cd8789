// Black-box tests of `dynotool report`: sessions saved as archives are printed by the
// binary to PDF and PNG, read back with pdftotext and by pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <regex>

#include "files/SettingsFileCodec.h"
#include "model/SessionModel.h"
#include "support/DynotoolRun.h"
#include "support/PdfText.h"
#include "support/ReportSessions.h"

namespace dyno {
namespace {

using testing::pdfText;
using testing::runDynotool;

// Where each of `words` first appears after the previous one; npos when one is
// missing or out of order.
::testing::AssertionResult inOrder(const std::string& text, const std::vector<std::string>& words) {
    std::size_t from = 0;
    for (const std::string& word : words) {
        const std::size_t at = text.find(word, from);
        if (at == std::string::npos) {
            return ::testing::AssertionFailure()
                   << "'" << word << "' missing after offset " << from << " in:\n"
                   << text;
        }
        from = at + word.size();
    }
    return ::testing::AssertionSuccess();
}

class ReportCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        auto model = SessionModel::create();
        ASSERT_TRUE(sessions.saveInto(*model, "dynotool_report_"));
        folder = sessions.folder;
        archives = sessions.archives;
    }

    testing::ReportSessions sessions;
    std::filesystem::path folder;
    std::vector<std::string> archives;
};

TEST_F(ReportCommand, FourSessionPdfReadsBackInPageOrderWithTheSettingsFilesWorkshop) {
    DynoSettings settings = firstStartSettings();
    settings.companyName = "Moped Garage";
    settings.companyPhone = "5550100";
    ASSERT_TRUE(saveSettingsFile(folder / kSettingsFileName, settings).ok());
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const std::string pdf = (folder / "report.pdf").string();
    const auto run = runDynotool({"report", archives[0], archives[1], archives[2], archives[3],
                                  "--out", pdf, "--torque", "--remarks", "1,0,1,0"});
    std::filesystem::current_path(before);
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    const std::string text = pdfText(pdf);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "one page";
    EXPECT_TRUE(
        inOrder(text, {"Hp", "Kph", "Measured by Moped Garage tel.5550100 on the VKR Korvalis.",
                       "Make1", "Model1", "Owner1", "Maxhp", "Remark1", "Roll.tq", "Maxkph",
                       "STP corr.f.", "Make2", "Make3", "Remark3", "Make4"}));
    EXPECT_EQ(text.find("Remark2"), std::string::npos) << "session 2 prints no remark line";
}

TEST_F(ReportCommand, GraphLimitsAndUnitsComeFromTheSettingsFileUnlessAnOptionSays) {
    DynoSettings settings = firstStartSettings();
    settings.endSpeedText = "120";
    settings.endPowerText = "30";
    settings.speedInMph = true;
    settings.powerInKw = true;
    ASSERT_TRUE(saveSettingsFile(folder / kSettingsFileName, settings).ok());
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const std::string fromFile = (folder / "from_file.pdf").string();
    const std::string fromOptions = (folder / "from_options.pdf").string();
    const auto first = runDynotool({"report", archives[0], "--out", fromFile});
    const auto second = runDynotool({"report", archives[0], "--out", fromOptions, "--speed",
                                     "0:250", "--power", "0:20", "--kph", "--hp"});
    std::filesystem::current_path(before);
    ASSERT_EQ(first.exitStatus, 0) << first.err;
    ASSERT_EQ(second.exitStatus, 0) << second.err;

    const std::string file = pdfText(fromFile);
    EXPECT_TRUE(inOrder(file, {"30", "25", "20", "15", "Mph"})) << "0-30 in six divisions";
    EXPECT_NE(file.find("Kw"), std::string::npos);
    EXPECT_NE(file.find(" 110 "), std::string::npos) << file;
    EXPECT_NE(file.find("Maxmph"), std::string::npos);
    const std::string options = pdfText(fromOptions);
    EXPECT_TRUE(inOrder(options, {"20", "18", "16", "Hp", "Kph"})) << "0-20 by 2";
    EXPECT_EQ(options.find("Mph"), std::string::npos);
    EXPECT_EQ(options.find("Kw"), std::string::npos);
    EXPECT_NE(options.find(" 225 "), std::string::npos) << "0-250 by 25";
    EXPECT_EQ(options.find(" 110 "), std::string::npos) << options;
}

TEST_F(ReportCommand, PngIsA600DpiPageWithFrameGridAndCurves) {
    const std::string png = (folder / "report.png").string();
    const auto run = runDynotool({"report", archives[0], "--out", png, "--page", "letter",
                                  "--no-header", "--line-width", "2"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const QImage page(QString::fromStdString(png));
    // Letter, 8.5 x 11 inches less 5 mm all round, at 600 dpi.
    EXPECT_NEAR(page.width(), 5100 - 236, 4);
    EXPECT_NEAR(page.height(), 6600 - 236, 4);
    EXPECT_EQ(page.dotsPerMeterX(), 23622);
    const int w = page.width(), h = page.height();
    const int left = w / 12, right = static_cast<int>(w - 0.05 * w);
    const int top = h / 6, bottom = static_cast<int>(0.6 * h);
    // Frame 5 pixels wide (line width 2); the graph's default scale 0..150 km/h, 0..20 hp.
    EXPECT_EQ(page.pixel(left - 2, (top + bottom) / 2), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(left - 3, (top + bottom) / 2), qRgb(255, 255, 255));
    const int rowY = static_cast<int>(top + (bottom - top) / 10.0);
    const int dotX = static_cast<int>(left + 4 * ((right - left) / 15.0 / 10.0));
    EXPECT_EQ(page.pixel(dotX + 1, rowY - 1), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(dotX + 2, rowY), qRgb(255, 255, 255));
    int red = 0;
    for (int y = top; y < bottom; y += 1) {
        for (int x = left; x < right; x += 1) red += page.pixel(x, y) == qRgb(255, 0, 0);
    }
    EXPECT_GT(red, 2000) << "session 1's power curve, 2 pixels wide";
}

TEST_F(ReportCommand, ScaleWithoutDivisionsPrintsThePageWithTheLimitToCheck) {
    const std::string pdf = (folder / "flat.pdf").string();
    const auto run = runDynotool({"report", archives[0], "--out", pdf, "--power", "5:5"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("Check Start Hp and End Hp"), std::string::npos) << run.out;
    EXPECT_TRUE(inOrder(pdfText(pdf), {"Kph", "Check Start Hp and End Hp", "Make1"}));
}

TEST_F(ReportCommand, AnalysisAddsTheFirstSessionsAnalysisPageAfterTheReport) {
    const std::string out = (folder / "analysis.pdf").string();
    const std::string coastDown = DYNO_TEST_DATA_DIR "/coast_down_scooter50_seed7.zsd";
    const auto run = runDynotool({"report", coastDown, archives[1], "--out", out, "--analysis"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string text = pdfText(out);
    const std::size_t pageBreak = text.find('\f');
    ASSERT_NE(pageBreak, std::string::npos);
    const std::string analysisPage = text.substr(pageBreak + 1);
    EXPECT_TRUE(inOrder(analysisPage, {"Analysis of Test session 1", "Wheel power", "Engine side",
                                       "Run 1", "Coast-down usable", "Run 3", "Mean", "Spread",
                                       "The runs agree within 3 %.", "Measured by"}))
        << analysisPage;
    EXPECT_EQ(text.substr(0, pageBreak).find("Analysis of"), std::string::npos)
        << "nothing of it on the first page";
}

TEST_F(ReportCommand, ChannelsAreDrawnOnTheAnalysisPageAndReadAtEachRunsPeakPower) {
    const std::string lambda = (folder / "lambda.zsd").string();
    const auto ridden =
        runDynotool({"simulate", "--coast-down", "--lambda", "--channels", "3", "--out", lambda});
    ASSERT_EQ(ridden.exitStatus, 0) << ridden.err;
    const std::string settings = (folder / "analysis.ini").string();
    std::ofstream(settings) << "[channel3]\nname = AFR\nunit = AFR\nvalue_low = 10\n"
                               "value_high = 20\n[channel2]\nname = EGT\nunit = degC\n"
                               "recorded_high = 0\n";
    const std::string out = (folder / "channels.pdf").string();
    const auto run = runDynotool({"report", lambda, "--out", out, "--analysis", "--channels", "3",
                                  "--analysis-settings", settings});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string text = pdfText(out);
    const std::regex line(
        R"(AFR \(AFR\) at peak power: run 1 ([\d.]+), run 2 ([\d.]+), run 3 ([\d.]+))");
    std::smatch readings;
    ASSERT_TRUE(std::regex_search(text, readings, line)) << text;
    for (std::size_t r = 1; r <= 3; ++r) {
        // The simulated engine runs at AFR 12 at the launch, 14 at the limiter.
        EXPECT_GT(std::stod(readings[r]), 11.8) << r;
        EXPECT_LT(std::stod(readings[r]), 14.2) << r;
    }

    const auto refused = runDynotool({"report", lambda, "--out", out, "--analysis", "--channels",
                                      "2", "--analysis-settings", settings});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("Channel 2 (EGT): the two recorded points are equal"),
              std::string::npos)
        << refused.err;
    const auto withoutPage = runDynotool({"report", lambda, "--out", out, "--channels", "3"});
    EXPECT_EQ(withoutPage.exitStatus, 2) << withoutPage.err;
    const auto three =
        runDynotool({"report", lambda, "--out", out, "--analysis", "--channels", "1,2,3"});
    EXPECT_EQ(three.exitStatus, 2) << three.err;
}

TEST_F(ReportCommand, BadOptionsExitWithOneLineReason) {
    const std::string out = (folder / "r.pdf").string();
    const std::vector<std::vector<std::string>> cases = {
        {"--out", (folder / "r.txt").string()},
        {"--out", out, "--remarks", "1,4"},
        {"--out", out, "--font", "Times"},
        {"--out", out, "--page", "a3"},
        {"--out", out, "--owner", "--no-owner"},
        {"--out", out, "--line-width", "wide"},
        {"--out", (folder / "r.png").string(), "--analysis"},
    };
    for (const auto& options : cases) {
        std::vector<std::string> words{"report", archives[0]};
        words.insert(words.end(), options.begin(), options.end());
        const auto run = runDynotool(words);
        EXPECT_EQ(run.exitStatus, 2) << options.back();
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    const auto missingLogo = runDynotool(
        {"report", archives[0], "--out", out, "--logo", (folder / "none.bmp").string()});
    EXPECT_EQ(missingLogo.exitStatus, 1);
}

}  // namespace
}  // namespace dyno
