// The Analysis page in the window: the chosen session is analysed when the page
// comes to the front, its figures fill the table, its curves the graph in the runs'
// colours, and "Print" prints the page as a report of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/RecordingMessageSink.h"
#include "app/SimulatedSessionWindow.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/pages/AnalysisPage.h"
#include "app/pages/ControlLookup.h"
#include "display/GraphPalette.h"
#include "display/graph/GraphBoxPlaces.h"
#include "display/graph/GraphFrame.h"
#include "files/SessionLoading.h"
#include "model/SessionModel.h"
#include "support/PdfText.h"
#include "widgets/ShadowLabel.h"

namespace dyno {
namespace {

const std::string kCoastDownArchive = DYNO_TEST_DATA_DIR "/coast_down_scooter50_seed7.zsd";

struct AnalysisWindow {
    AnalysisWindow() {
        EXPECT_TRUE(loadSessionFile(kCoastDownArchive, model->slot(3)).ok());
        page().chooseSlot(3);
        window.pages()->setCurrentWidget(&page());
    }
    AnalysisPage& page() const { return *window.analysisPage(); }
    QString cell(int row, int column) const {
        return controls::find<QTableWidget>(&window, "analysistable")->item(row, column)->text();
    }
    void tick(const char* name, bool ticked) const {
        controls::find<QCheckBox>(&window, name)->setChecked(ticked);
    }
    // Pixels of the graph area in `colour`.
    int graphPixels(const QColor& colour) const {
        const QImage graph =
            page().panel().copy(QRect(graph::kGraphAt, QSize(kGraphWidth, kGraphHeight)));
        int count = 0;
        for (int y = 0; y < graph.height(); ++y) {
            for (int x = 0; x < graph.width(); ++x) count += graph.pixelColor(x, y) == colour;
        }
        return count;
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    MainWindow window{*model, QDir::currentPath()};
};

TEST(AnalysisPage, ShowsTheChosenSessionsRunsTheirEngineSideAndThatTheyAgree) {
    AnalysisWindow analysis;
    EXPECT_EQ(analysis.page().chosenSlot(), 3);
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        EXPECT_EQ(analysis.cell(run, 0), QStringLiteral("Run %1").arg(run + 1));
        EXPECT_EQ(analysis.cell(run, 5), "Coast-down usable");
        EXPECT_TRUE(analysis.cell(run, 1).endsWith(" hp"));
        EXPECT_TRUE(analysis.cell(run, 2).endsWith(" km/h"));
        // The engine makes more than the roller sees.
        EXPECT_GT(analysis.cell(run, 4).section(' ', 0, 0).toDouble(),
                  analysis.cell(run, 1).section(' ', 0, 0).toDouble());
    }
    EXPECT_EQ(analysis.cell(3, 0), "Mean");
    EXPECT_TRUE(analysis.cell(4, 1).endsWith(" %"));
    EXPECT_EQ(controls::find<QLabel>(&analysis.window, "analysisverdict")->text(),
              "The runs agree within 3 %.");
}

TEST(AnalysisPage, EachRunIsDrawnInItsColourAndTheMeanInItsOwn) {
    AnalysisWindow analysis;
    analysis.tick("analysisrun2", false);
    analysis.tick("analysisrun3", false);
    EXPECT_GT(analysis.graphPixels(graph::powerColour(1)), 300) << "run 1, red";
    EXPECT_EQ(analysis.graphPixels(graph::powerColour(2)), 0);
    EXPECT_EQ(analysis.graphPixels(graph::powerColour(3)), 0);
    EXPECT_EQ(analysis.graphPixels(graph::powerColour(4)), 0);

    analysis.tick("analysismean", true);
    EXPECT_EQ(analysis.graphPixels(graph::powerColour(1)), 0);
    EXPECT_GT(analysis.graphPixels(graph::powerColour(4)), 300) << "the mean, purple";

    // Without its curves nothing of the mean is left.
    analysis.tick("analysiswheel", false);
    analysis.tick("analysisloss", false);
    analysis.tick("analysisengine", false);
    EXPECT_EQ(analysis.graphPixels(graph::powerColour(4)), 0);
}

TEST(AnalysisPage, AnEmptySessionHasNoFiguresAndSaysWhy) {
    AnalysisWindow analysis;
    analysis.page().chooseSlot(2);
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(analysis.cell(run, 1), "-");
        EXPECT_EQ(analysis.cell(run, 4), "-");
        EXPECT_EQ(analysis.cell(run, 5), "No roller data in the run");
    }
    EXPECT_EQ(controls::find<QLabel>(&analysis.window, "analysisverdict")->text(),
              "Three runs are needed to tell whether one differs.");
    EXPECT_EQ(analysis.graphPixels(graph::powerColour(1)), 0);
}

TEST(AnalysisPage, PrintPrintsThePageAsAReportOfItsOwn) {
    AnalysisWindow analysis;
    QTemporaryDir folder;
    const QString pdf = QDir(folder.path()).filePath("analysis.pdf");
    analysis.page().setPrinterChooser([&](QPrinter& printer) {
        EXPECT_EQ(printer.resolution(), 600);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    controls::find<QPushButton>(&analysis.window, "analysisprint")->click();
    const std::string text = testing::pdfText(pdf.toStdString());
    for (const char* words : {"Analysis of Test session 3", "Engine side", "Coast-down usable",
                              "The runs agree within 3 %.", "Measured by Your company"}) {
        EXPECT_NE(text.find(words), std::string::npos) << words << " in:\n" << text;
    }
}

// The window's simulated dyno as `--simulate` and `--demo` start it: the rider rolls
// down after each run and a lambda controller feeds channel 3. The session recorded
// shows its engine side at once, and channel 3 in air-fuel ratio over the power.
TEST(AnalysisPage, ASessionRecordedOnTheSimulatedDynoShowsItsEngineSideAndItsMixture) {
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    auto model = SessionModel::create();
    ProgramOptions options = testing::fastSimulatedSession();
    options.electronics.coastDown.isOn = true;
    options.electronics.lambdaProbe.isOn = true;
    ProgramParts parts(options);
    MainWindow window(parts, *model, startDir.path());
    testing::takeSessionMessages(window, messages);
    window.findChild<QAbstractButton*>("ad3_check")->click();
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&window, &f3);
    auto* remote = window.findChild<ShadowLabel*>("remotetext");
    ASSERT_TRUE(QTest::qWaitFor([&] { return remote->text() == "Test session finished"; }, 90'000))
        << remote->text().toStdString();

    AnalysisPage& page = *window.analysisPage();
    AnalysisSettings settings;
    settings.channels[2] = {"AFR", "AFR", 0.0, 10.0, 1023.0, 20.0, 1};  // 0-5 V on the K40
    settings.channels[0] = settings.channels[2];  // calibrated, but never recorded
    settings.shownChannels = {3, 1};
    page.showSettings(settings);
    page.updateAnalysis();  // as when the page comes to the front
    const auto* table = controls::find<QTableWidget>(&window, "analysistable");
    for (int run = 0; run < 3; ++run) {
        ASSERT_NE(table->item(run, 5), nullptr);
        EXPECT_EQ(table->item(run, 5)->text(), "Coast-down usable") << run;
        EXPECT_NE(table->item(run, 4)->text(), "-") << run;
    }

    // Channel 1 was calibrated but not ticked for the test: no curve, and the page says so.
    auto* notes = controls::find<QLabel>(&window, "analysisreading");
    EXPECT_EQ(notes->text(), "Channel 1 (AFR): not recorded in this session");

    // The cursor at 40 km/h on the 0-100 km/h scale: every run reads its power there,
    // the engine side, its engine speed when recorded and the mixture the simulated engine ran, AFR
    // 12 at the launch leaning to 14 at the limiter; channel 1 has no curve to read.
    const QStringList reading = page.readingAt(240);
    ASSERT_EQ(reading.size(), 4) << reading.join('|').toStdString();
    EXPECT_EQ(reading[0], "40.0 km/h");
    const QRegularExpression run(QStringLiteral(
        R"(^Run \d: [\d.]+ hp, engine [\d.]+ hp, (\d+ rpm, )?AFR \(AFR\) ([\d.]+)$)"));
    for (int r = 1; r <= 3; ++r) {
        const auto match = run.match(reading[r]);
        ASSERT_TRUE(match.hasMatch()) << "[" << reading[r].toStdString() << "]";
        EXPECT_GT(match.captured(2).toDouble(), 11.8);
        EXPECT_LT(match.captured(2).toDouble(), 14.2);
    }
    EXPECT_FALSE(reading.join(' ').contains("Channel 1"));

    // A calibration that cannot be used is refused, naming the channel.
    settings.channels[2].recordedHigh = settings.channels[2].recordedLow;
    page.showSettings(settings);
    page.updateAnalysis();
    EXPECT_TRUE(notes->text().startsWith("Channel 3 (AFR): the two recorded points are equal"))
        << notes->text().toStdString();
    EXPECT_FALSE(page.readingAt(240).join(' ').contains("AFR"));
}

// The channel choice is the file's: read at start-up, written when the user chooses.
TEST(AnalysisPage, TheChannelChoiceIsKeptBetweenStarts) {
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    auto model = SessionModel::create();
    ProgramOptions options;
    options.messages = &messages;
    ProgramParts parts(options);
    {
        QFile file(QDir(startDir.path()).filePath("vkr_dyno_analysis.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "[channel3]\nname = AFR\nunit = AFR\nvalue_low = 10\nvalue_high = 20\n"
            "[graph]\nchannels = 3\n");
    }
    MainWindow window(parts, *model, startDir.path());
    window.startUp(parts.cardBusOpener(), false);
    auto* first = controls::find<QComboBox>(&window, "analysischannel1");
    EXPECT_EQ(first->currentText(), "Channel 3 (AFR)");
    EXPECT_EQ(window.analysisPage()->shownChannels(), (std::array<int, 2>{3, 0}));

    auto* second = controls::find<QComboBox>(&window, "analysischannel2");
    second->setCurrentIndex(5);
    emit second->activated(5);
    MainWindow again(parts, *model, startDir.path());
    again.startUp(parts.cardBusOpener(), false);
    EXPECT_EQ(again.analysisPage()->shownChannels(), (std::array<int, 2>{3, 5}));
}

}  // namespace
}  // namespace dyno
