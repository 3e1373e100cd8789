// The Analog page redraws everything on every click of its controls, the scroll bar
// included. Measured: the whole redraw with four full-length sessions showing all
// five channels (evaluation, scales, frame, curves and channels), and one cursor
// move over four slots.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <cmath>
#include <memory>

#include "../tests/display/SyntheticRuns.h"
#include "display/analog/AnalogCursor.h"
#include "display/analog/AnalogRedraw.h"

namespace {

using namespace dyno;

struct FourSessions {
    FourSessions() {
        for (int s = 1; s <= kSessionSlots; ++s) {
            TestSession& session = model->slot(s);
            graph_testing::recordSyntheticRun(session, 0, graph_testing::syntheticRunOfSlot(s));
            for (std::size_t c = 0; c < kAnalogChannels; ++c) {
                auto& samples = session.analogSamples[0][c];
                for (std::size_t i = 0; i < samples.size(); ++i) {
                    samples[i] = static_cast<std::uint16_t>(
                        500 + 300 * std::sin(0.01 * static_cast<double>((c + 1) * i)));
                }
            }
        }
        view.runItem = {1, 1, 1, 1};
        view.channelTicked.fill(true);
        view.slotShift = {0, 20, 40, 60};
        view.endHp = 20;
        // Every channel read a little later than its curve sample.
        for (auto& channel : view.channels) channel.delayText = "0.05";
    }

    void redraw() {
        AnalogPainters painters(images);
        redrawAnalog(view, *model, *workspace, painters.canvas(), buffers);
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<EvaluationWorkspace> workspace = EvaluationWorkspace::create();
    AnalogView view;
    AnalogBuffers buffers;
    AnalogImages images = AnalogImages::create();
};

void BM_FullRedrawFourSlotsFiveChannels(benchmark::State& bench) {
    FourSessions sessions;
    sessions.view.zoom = static_cast<int>(bench.range(0));
    for (auto _ : bench) {
        sessions.redraw();
        benchmark::DoNotOptimize(sessions.images.plot.constBits());
    }
}
// Zoom 1 draws the most samples (600 per curve and channel); 2 is the page's start.
BENCHMARK(BM_FullRedrawFourSlotsFiveChannels)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_CursorMoveFourSlots(benchmark::State& bench) {
    FourSessions sessions;
    sessions.view.zoom = 1;
    sessions.redraw();
    QPainter painter(&sessions.images.plot);
    int column = 100;
    drawInvertedCursorLine(painter, column);
    for (auto _ : bench) {
        drawInvertedCursorLine(painter, column);
        column = column == 500 ? 100 : column + 1;
        drawInvertedCursorLine(painter, column);
        drawReadoutFields(painter, readAnalogCursor(sessions.view, *sessions.model, column));
    }
}
BENCHMARK(BM_CursorMoveFourSlots)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "OffscreenBenchMain.h"
