#include "display/analog/AnalogRedraw.h"

#include <algorithm>

#include "display/analog/AnalogScales.h"
#include "evaluation/RunEvaluation.h"

namespace dyno {

void redrawAnalog(const AnalogView& view, SessionModel& model, EvaluationWorkspace& workspace,
                  AnalogCanvas& canvas, AnalogBuffers& buffers) {
    const auto leftChannel =
        static_cast<std::size_t>(std::clamp(view.leftScaleChannel, 0, kAnalogChannels - 1));
    drawScaleStrip(canvas.leftScale, canvas.texts, leftScaleTexts(view.channels[leftChannel]));
    drawScaleStrip(canvas.rightScale, canvas.texts,
                   rightScaleTexts(view.curve, view.endHp, view.evaluation.powerInKw,
                                   view.evaluation.speedInMph));
    drawAnalogFrame(canvas.plot);

    AnalogSlotPlot plot;
    plot.zoom = std::max(view.zoom, 1);
    plot.curve = view.curve;
    plot.endHp = view.endHp;
    plot.channelTicked = view.channelTicked;
    plot.channels = channelScalingOf(view.channels, view.decimalSeparator);
    for (int s = 1; s <= kSessionSlots; ++s) {
        const auto index = static_cast<std::size_t>(s - 1);
        const int item = view.runItem[index];
        if (item < 1 || item > kRunsPerSession) continue;
        plot.slot = s;
        plot.run = item - 1;
        // Wide sums: offsets typed on a command line may be anything.
        plot.firstSample = static_cast<int>(std::clamp<long long>(
            static_cast<long long>(view.scrollOffset) + view.slotShift[index], 0, kSamplesPerRun));
        evaluate(model, s, plot.run, view.evaluation, workspace);
        plotAnalogSlot(canvas.plot, model.slot(s), workspace.timeAxis(), plot, buffers);
    }
}

}  // namespace dyno
