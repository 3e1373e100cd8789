// The Analysis page in the window: the chosen session is analysed when the page
// comes to the front, its figures fill the table, its curves the graph in the runs'
// colours, and "Print" prints the page as a report of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/RecordingMessageSink.h"
#include "app/SimulatedSessionWindow.h"
#include "app/composition/MainWindow.h"
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
// down after each run, and the session recorded shows its engine side at once.
TEST(AnalysisPage, ASessionRecordedOnTheSimulatedDynoShowsItsEngineSide) {
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    auto model = SessionModel::create();
    ProgramOptions options = testing::fastSimulatedSession();
    options.electronics.coastDown.isOn = true;
    ProgramParts parts(options);
    MainWindow window(parts, *model, startDir.path());
    testing::takeSessionMessages(window, messages);
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&window, &f3);
    auto* remote = window.findChild<ShadowLabel*>("remotetext");
    ASSERT_TRUE(QTest::qWaitFor([&] { return remote->text() == "Test session finished"; }, 90'000))
        << remote->text().toStdString();

    window.analysisPage()->updateAnalysis();  // as when the page comes to the front
    const auto* table = controls::find<QTableWidget>(&window, "analysistable");
    for (int run = 0; run < 3; ++run) {
        ASSERT_NE(table->item(run, 5), nullptr);
        EXPECT_EQ(table->item(run, 5)->text(), "Coast-down usable") << run;
        EXPECT_NE(table->item(run, 4)->text(), "-") << run;
    }
}

}  // namespace
}  // namespace dyno
