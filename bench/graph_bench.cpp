// The Graphs page redraws everything on every click, and the cursor readout on
// every mouse move. Measured: "Update Display" as the user gets it, through the
// page's handler in the window and the repaint of its paint boxes; the whole update
// with four full-length sessions showing power, torque and engine speed
// (evaluation, frame, curves, cursor tables and legend), its drawing part alone, and
// one cursor move over four slots.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <memory>

#include "../tests/display/SyntheticRuns.h"
#include "app/composition/MainWindow.h"
#include "app/pages/GraphsPage.h"
#include "display/graph/GraphCursor.h"
#include "display/graph/GraphFrame.h"
#include "display/graph/GraphImages.h"
#include "display/graph/GraphLegend.h"
#include "display/graph/GraphUpdate.h"

namespace {

using namespace dyno;

struct FourSessions {
    FourSessions() {
        for (int s = 1; s <= kSessionSlots; ++s) {
            graph_testing::recordSyntheticRun(model->slot(s), 0,
                                              graph_testing::syntheticRunOfSlot(s));
        }
        controls.scaleTexts = {"0", "150", "0", "20", "0", "10000"};
        controls.runChoice = {0, 0, 0, 0};
        controls.torqueTicked.fill(true);
        controls.speedAndRpm = true;
    }

    void update() {
        GraphPainters painters(images);
        updateGraph(*state, controls, *model, *workspace, painters.canvas());
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<EvaluationWorkspace> workspace = EvaluationWorkspace::create();
    std::unique_ptr<GraphState> state = std::make_unique<GraphState>();
    GraphControls controls;
    GraphImages images = GraphImages::create();
};

void BM_FullUpdateFourSlots(benchmark::State& bench) {
    FourSessions sessions;
    for (auto _ : bench) {
        sessions.update();
        benchmark::DoNotOptimize(sessions.images.graph.constBits());
    }
}
BENCHMARK(BM_FullUpdateFourSlots)->Unit(benchmark::kMicrosecond);

// "Update Display" on the Graphs page of the shown window: four full-length sessions
// with every curve (power, torque, engine speed and the air/rolling resistance
// curve), the handler and then the repaint of the five paint boxes it asks for.
void BM_UpdateDisplayWithRepaint(benchmark::State& bench) {
    QTemporaryDir folder;
    auto model = SessionModel::create();
    for (int s = 1; s <= kSessionSlots; ++s) {
        graph_testing::recordSyntheticRun(model->slot(s), 0, graph_testing::syntheticRunOfSlot(s));
    }
    MainWindow window(*model, folder.path());
    const char* boxes[] = {"startkmhedit", "endkmhedit",   "starthpedit",
                           "endhpedit",    "startrpmedit", "endrpmedit"};
    const char* limits[] = {"0", "150", "0", "20", "0", "10000"};
    for (int i = 0; i < 6; ++i) window.findChild<QLineEdit*>(boxes[i])->setText(limits[i]);
    window.findChild<QCheckBox*>("showaircheckbox")->setChecked(true);
    for (int s = 1; s <= kSessionSlots; ++s) {
        window.findChild<QCheckBox*>(QStringLiteral("test%1tq").arg(s))->setChecked(true);
        window.findChild<QGroupBox*>(QStringLiteral("test%1group").arg(s))
            ->findChildren<QRadioButton*>()
            .front()
            ->setChecked(true);
    }
    window.findChild<QGroupBox*>("scalegroup")
        ->findChildren<QRadioButton*>()
        .back()
        ->setChecked(true);
    window.pages()->setCurrentWidget(window.graphsPage());
    window.show();
    QApplication::processEvents();
    for (auto _ : bench) {
        window.graphsPage()->updateDisplay();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_UpdateDisplayWithRepaint)->Unit(benchmark::kMicrosecond);

// The same update without evaluation: the slots' curves stay as evaluated once.
void BM_FrameCurvesAndLegendFourSlots(benchmark::State& bench) {
    FourSessions sessions;
    sessions.update();
    PlotSettings settings;
    settings.scale = sessions.state->scale;
    settings.rpmAxisShown = true;
    for (auto _ : bench) {
        GraphPainters painters(sessions.images);
        GraphCanvas& canvas = painters.canvas();
        drawSpeedFrame(canvas, settings.scale);
        drawRpmScale(canvas, settings.scale);
        for (int s = 1; s <= kSessionSlots; ++s) {
            const auto index = static_cast<std::size_t>(s - 1);
            plotSession(canvas.graph, s, sessions.model->slot(s), 0,
                        sessions.state->selections[index], settings, sessions.state->buffers,
                        sessions.state->tables[index]);
        }
        drawLegend(canvas.legend, canvas.texts, *sessions.model, sessions.state->selections, false);
    }
}
BENCHMARK(BM_FrameCurvesAndLegendFourSlots)->Unit(benchmark::kMicrosecond);

// Remove the line at the old column, draw it at the new one, write the readings.
void BM_CursorMoveFourSlots(benchmark::State& bench) {
    FourSessions sessions;
    sessions.update();
    QPainter painter(&sessions.images.graph);
    int column = 100;
    drawInvertedCursorLine(painter, column);
    for (auto _ : bench) {
        drawInvertedCursorLine(painter, column);
        column = column == 500 ? 100 : column + 1;
        drawInvertedCursorLine(painter, column);
        drawCursorReadout(painter,
                          readCursor(sessions.state->selections, sessions.state->tables, column));
    }
}
BENCHMARK(BM_CursorMoveFourSlots)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
