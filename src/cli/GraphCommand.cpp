// `dynotool graph FILE1 [FILE2 [FILE3 [FILE4]]] --out graph.png [--run N,...]
// [--speed A:B] [--power A:B] [--rpm A:B] [--show-rpm] [--torque] [--fixed-gearing]
// [--air] [--mph] [--kw] [--panel]`: loads the archives into slots 1 to 4, runs the
// same update as "Update Display" and writes the 600 x 400 graph area as PNG (with
// --panel the area with its label strips and legend box as laid out on the page).
// Prints one JSON line: the file written and each slot's maximum power text.
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <memory>
#include <set>
#include <ostream>
#include <string>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/GraphArguments.h"
#include "cli/Json.h"
#include "display/GraphImages.h"
#include "display/GraphUpdate.h"
#include "model/Cp1252.h"
#include "model/SessionModel.h"

namespace dyno::cli {

int runGraph(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::set<std::string> flags = kGraphFlagOptions;
    flags.insert("panel");
    std::set<std::string> values = kGraphValueOptions;
    values.insert("out");
    const Arguments arguments(words, values, flags);
    const auto& files = arguments.operands();
    GraphRequest request = graphRequestOf(arguments, files.size());
    const std::string outFile = arguments.required("out");
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
    GraphImages images = GraphImages::create();
    {
        GraphPainters painters(images);
        updateGraph(*state, controls, *model, *workspace, painters.canvas());
    }
    const QImage image = arguments.flag("panel") ? images.panel() : images.graph;
    if (!image.save(QString::fromStdString(outFile), "PNG")) {
        err << "dynotool graph: cannot write the image: " << outFile << "\n";
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
               .add("width", image.width())
               .add("height", image.height())
               .addRaw("slots", slotList + "]")
               .str()
        << "\n";
    return 0;
}

}  // namespace dyno::cli
