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
#include <memory>
#include <ostream>
#include <set>
#include <string>

#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/options/GraphArguments.h"
#include "cli/output/Json.h"
#include "cli/output/PictureFile.h"
#include "display/graph/GraphImages.h"
#include "display/graph/GraphPanel.h"
#include "display/graph/GraphUpdate.h"
#include "model/Cp1252.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

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
    std::set<std::string> flags = kGraphFlagOptions;
    flags.insert({"panel", "plot-only"});
    std::set<std::string> values = kGraphValueOptions;
    values.insert("out");
    const Arguments arguments(words, values, flags);
    const auto& files = arguments.operands();
    GraphRequest request = graphRequestOf(arguments, files.size());
    const std::string outFile = arguments.required("out");
    const PictureFormat format = pictureFormatOf(outFile);
    // The panel is the default; --panel is still taken from older scripts.
    const bool isPlotOnly = arguments.flag("plot-only");
    if (isPlotOnly && arguments.flag("panel")) {
        throw UsageError("choose one of --panel and --plot-only");
    }
    GraphControls& controls = request.controls;

    const ScaleProblem problem = scaleProblem(request.scale, controls.speedAndRpm);
    if (problem != ScaleProblem::none) {
        throw UsageError("the graph cannot be drawn with this scale: " +
                         std::string(scaleHint(problem)));
    }

    auto model = SessionModel::create();
    if (!loadGraphSessions("graph", files, request, *model, err)) return 1;

    const auto application = headlessApplication();
    auto workspace = EvaluationWorkspace::create();
    auto state = std::make_unique<GraphState>();
    const QSize size = isPlotOnly ? QSize(600, 400) : graphPanelSize();
    const auto update = [&](GraphCanvas& canvas) {
        return updateGraph(*state, controls, *model, *workspace, canvas).remarkLines;
    };
    const bool isWritten = format == PictureFormat::Pdf
                               ? drawAndWrite<GraphPictures, GraphPicturePainters>(
                                     GraphPictures::create(), update, outFile, format, isPlotOnly)
                               : drawAndWrite<GraphImages, GraphPainters>(
                                     GraphImages::create(), update, outFile, format, isPlotOnly);
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
                        .add("run", request.runs[f])
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
