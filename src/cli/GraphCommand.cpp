// `dynotool graph FILE1 [FILE2 [FILE3 [FILE4]]] --out graph.png|.jpg|.bmp|.pdf
// [--run N,...] [--speed A:B] [--power A:B] [--rpm A:B] [--show-rpm] [--torque]
// [--fixed-gearing] [--air] [--mph] [--kw] [--plot-only]`: loads the archives into
// slots 1 to 4, runs the same update as "Update Display" and writes the page's panel
// (graph, label strips, legend box and remark lines as laid out on the page), or with
// --plot-only the bare 600 x 400 graph area.
// Prints one JSON line: the file written and each slot's maximum power text.
#include <QGuiApplication>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/DrawingArguments.h"
#include "cli/Json.h"
#include "cli/LoadSessionArgument.h"
#include "cli/PictureFile.h"
#include "display/GraphImages.h"
#include "display/GraphPanel.h"
#include "display/GraphUpdate.h"
#include "model/Cp1252.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

struct Bounds {
    std::int32_t start;
    std::int32_t end;
};

// "A:B", two whole numbers.
Bounds boundsOf(const Arguments& arguments, const std::string& name, Bounds fallback) {
    constexpr std::int32_t kLimit = std::numeric_limits<std::int32_t>::max();
    const auto numbers = arguments.integerList(name, -kLimit, kLimit, ':');
    if (!numbers) return fallback;
    if (numbers->size() != 2) {
        throw UsageError("--" + name + " expects START:END (got '" + *arguments.value(name) + "')");
    }
    return {(*numbers)[0], (*numbers)[1]};
}

std::string decimal(std::int32_t value) {
    return formatFixed(value, 0);
}

// Runs the update into the boxes (images, or pictures for vectors) and writes the
// panel or the bare plot.
template <typename Boxes, typename Painters>
bool drawAndWrite(Boxes boxes, const std::function<RemarkLines(GraphCanvas&)>& update,
                  const std::string& outFile, PictureFormat format, bool isPlotOnly) {
    RemarkLines remarks;
    {
        Painters painters(boxes);
        remarks = update(painters.canvas());
    }
    const QSize size = isPlotOnly ? QSize(600, 400) : graphPanelSize();
    return writePicture(outFile, format, size, [&](QPainter& painter) {
        if (isPlotOnly) {
            paintGraphPlot(painter, boxes);
        } else {
            paintGraphPanel(painter, boxes, remarks);
        }
    });
}

}  // namespace

int runGraph(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const Arguments arguments(words, {"out", "run", "speed", "power", "rpm"},
                              {"show-rpm", "torque", "fixed-gearing", "air", "mph", "kw", "panel",
                               "plot-only"});
    const auto& files = arguments.operands();
    if (files.empty() || files.size() > kSessionSlots) {
        throw UsageError("expects one to four session archives");
    }
    const std::string outFile = arguments.required("out");
    const PictureFormat format = pictureFormatOf(outFile);
    // The panel is the default; --panel is still taken from older scripts.
    const bool isPlotOnly = arguments.flag("plot-only");
    if (isPlotOnly && arguments.flag("panel")) {
        throw UsageError("choose one of --panel and --plot-only");
    }
    const std::vector<int> runs = runsOf(arguments, files.size());
    const Bounds speed = boundsOf(arguments, "speed", {0, 150});
    const Bounds power = boundsOf(arguments, "power", {0, 20});
    const Bounds rpm = boundsOf(arguments, "rpm", {0, 10000});

    GraphControls controls;
    controls.scaleTexts = {decimal(speed.start), decimal(speed.end), decimal(power.start),
                           decimal(power.end),   decimal(rpm.start), decimal(rpm.end)};
    controls.speedAndRpm = arguments.flag("show-rpm");
    controls.fixedGearing = arguments.flag("fixed-gearing");
    controls.showAirCurve = arguments.flag("air");
    controls.speedInMph = arguments.flag("mph");
    controls.powerInKw = arguments.flag("kw");
    controls.runChoice.fill(-1);
    controls.torqueTicked.fill(arguments.flag("torque"));

    const GraphScale scale{speed.start, speed.end, power.start, power.end, rpm.start, rpm.end};
    const ScaleProblem problem = scaleProblem(scale, controls.speedAndRpm);
    if (problem != ScaleProblem::none) {
        throw UsageError("the graph cannot be drawn with this scale: " +
                         std::string(scaleHint(problem)));
    }

    auto model = SessionModel::create();
    for (std::size_t f = 0; f < files.size(); ++f) {
        const int slot = static_cast<int>(f) + 1;
        if (!loadSessionArgument("graph", files[f], model->slot(slot), err)) return 1;
        controls.runChoice[f] = runs[f] - 1;
    }

    const auto application = headlessApplication();
    auto workspace = EvaluationWorkspace::create();
    auto state = std::make_unique<GraphState>();
    const QSize size = isPlotOnly ? QSize(600, 400) : graphPanelSize();
    const auto update = [&](GraphCanvas& canvas) {
        return updateGraph(*state, controls, *model, *workspace, canvas).remarkLines;
    };
    const bool isWritten =
        format == PictureFormat::Pdf
            ? drawAndWrite<GraphPictures, GraphPicturePainters>(GraphPictures::create(), update, outFile,
                                                                format, isPlotOnly)
            : drawAndWrite<GraphImages, GraphPainters>(GraphImages::create(), update, outFile,
                                                       format, isPlotOnly);
    if (!isWritten) {
        err << "dynotool graph: cannot write the picture: " << outFile << "\n";
        return 1;
    }

    std::string slotList = "[";
    for (std::size_t f = 0; f < files.size(); ++f) {
        const TestSession& session = model->slot(static_cast<int>(f) + 1);
        slotList += (f ? ", " : "") +
                    JsonObject()
                        .add("slot", static_cast<int>(f) + 1)
                        .add("run", runs[f])
                        .add("maxPowerText", fromWindows1252(session.curves.maxPowerText.view()))
                        .str();
    }
    out << JsonObject()
               .add("out", outFile)
               .add("width", size.width())
               .add("height", size.height())
               .addRaw("slots", slotList + "]")
               .str()
        << "\n";
    return 0;
}

}  // namespace dyno::cli
