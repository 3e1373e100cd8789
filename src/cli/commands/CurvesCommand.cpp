// `dynotool curves FILE --run N [--mph] [--kw] [--with-rpm] [--roller-weight KG]
// [--json|--csv]`: loads a session archive into slot 1 and evaluates one run
// exactly as "Update Display" would, then prints the curves.
#include <ostream>
#include <string>

#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/options/EvaluationArguments.h"
#include "cli/options/LoadSessionArgument.h"
#include "cli/output/Json.h"
#include "evaluation/RunEvaluation.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

// The points where speed, power, torque and rpm all exist: 0 .. evalCount - 2. JSON
// and CSV carry exactly these.
std::size_t pointCount(int evalCount) {
    return evalCount > 1 ? static_cast<std::size_t>(evalCount - 1) : 0;
}

std::string jsonArray(const EvaluatedCurves::Curve& curve, std::size_t points) {
    std::string text = "[";
    text.reserve(points * 20);
    for (std::size_t i = 0; i < points; ++i) {
        if (i) text += ", ";
        text += jsonNumber(curve[i]);
    }
    return text + "]";
}

void printJson(const EvaluatedCurves& curves, int evalCount, std::ostream& out) {
    const std::size_t points = pointCount(evalCount);
    JsonObject json;
    json.add("evalCount", evalCount);
    json.add("points", static_cast<int>(points));
    json.add("maxSpeedText", curves.maxSpeedText.view());
    json.add("maxPowerText", curves.maxPowerText.view());
    json.add("maxTorqueText", curves.maxTorqueText.view());
    json.addRaw("speedCurve", jsonArray(curves.speedCurve, points));
    json.addRaw("rpmCurve", jsonArray(curves.rpmCurve, points));
    json.addRaw("powerCurve", jsonArray(curves.powerCurve, points));
    json.addRaw("torqueCurve", jsonArray(curves.torqueCurve, points));
    out << json.str() << "\n";
}

// The torque figure is named in Nm, as the printed report names its maximum.
void printCsv(const EvaluatedCurves& curves, int evalCount, const EvaluationOptions& options,
              std::ostream& out) {
    out << "index," << (options.speedInMph ? "speed_mph" : "speed_kmh") << ",engine_speed_rpm,"
        << (options.powerInKw ? "power_kw" : "power_hp") << ",torque_nm\n";
    for (std::size_t at = 0; at < pointCount(evalCount); ++at) {
        out << at << ',' << formatRoundTrip(curves.speedCurve[at]) << ','
            << formatRoundTrip(curves.rpmCurve[at]) << ',' << formatRoundTrip(curves.powerCurve[at])
            << ',' << formatRoundTrip(curves.torqueCurve[at]) << '\n';
    }
}

int runNumberOf(const Arguments& arguments) {
    arguments.required("run");
    return arguments.integerIn("run", 1, kRunsPerSession, 1);
}

}  // namespace

int runCurves(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::set<std::string> valueOptions = evaluationValueOptions();
    valueOptions.insert("run");
    std::set<std::string> flagOptions = evaluationFlagOptions();
    flagOptions.insert({"with-rpm", "json", "csv"});
    const Arguments arguments(words, valueOptions, flagOptions);
    if (arguments.operands().size() != 1) throw UsageError("expects one session archive FILE");
    if (arguments.flag("json") && arguments.flag("csv")) {
        throw UsageError("choose one of --json and --csv");
    }
    const int run = runNumberOf(arguments);

    EvaluationOptions options = evaluationOptionsOf(arguments);
    options.rpmCurveShown = arguments.flag("with-rpm");

    auto model = SessionModel::create();
    if (!loadSessionArgument("curves", arguments.operands().front(), model->slot(1), err)) {
        return 1;
    }
    auto workspace = EvaluationWorkspace::create();
    const EvaluationReport report = evaluate(*model, 1, run - 1, options, *workspace);
    for (const std::string& warning : warningTexts(report.warnings)) {
        err << "dynotool curves: warning: " << warning << "\n";
    }
    const EvaluatedCurves& curves = model->slot(1).curves;
    if (arguments.flag("csv")) {
        printCsv(curves, report.evalCount, options, out);
    } else {
        printJson(curves, report.evalCount, out);
    }
    return 0;
}

}  // namespace dyno::cli
