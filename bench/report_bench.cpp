// The printed report of four full-length sessions with power, torque and engine-speed
// curves, written as a PDF: the time from the evaluated sessions to a finished file,
// and the file's size (curves as vector paths, text as text).
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "../tests/display/SyntheticRuns.h"
#include "display/DynoEmblem.h"
#include "display/graph/GraphImages.h"
#include "display/graph/GraphUpdate.h"
#include "print/ReportFiles.h"

namespace {

using namespace dyno;

struct FourSessions {
    FourSessions() {
        GraphControls controls;
        for (int s = 1; s <= kSessionSlots; ++s) {
            TestSession& session = model->slot(s);
            graph_testing::recordSyntheticRun(session, 0, graph_testing::syntheticRunOfSlot(s));
            graph_testing::nameSyntheticSession(session, s);
        }
        controls.scaleTexts = {"0", "150", "0", "20", "0", "10000"};
        controls.runChoice = {0, 0, 0, 0};
        controls.torqueTicked.fill(true);
        controls.speedAndRpm = true;
        auto workspace = EvaluationWorkspace::create();
        GraphImages images = GraphImages::create();
        GraphPainters painters(images);
        updateGraph(*state, controls, *model, *workspace, painters.canvas());
    }

    ReportInputs report() const {
        ReportInputs inputs = reportOfGraph(*model, *state);
        inputs.remarkLines = {1, 1, 1, 1};
        inputs.smallPicture = dynoEmblem({205, 93});
        return inputs;
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<GraphState> state = std::make_unique<GraphState>();
};

void BM_FourSessionReportPdf(benchmark::State& bench) {
    const FourSessions sessions;
    const ReportInputs report = sessions.report();
    const QPageLayout layout = reportPageLayout();
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("report.pdf"));
    for (auto _ : bench) {
        if (!writeReportPdf(file, report, layout)) bench.SkipWithError("cannot write the PDF");
    }
    bench.counters["pdf_kb"] = static_cast<double>(QFileInfo(file).size()) / 1024.0;
}
BENCHMARK(BM_FourSessionReportPdf)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

#include "OffscreenBenchMain.h"
