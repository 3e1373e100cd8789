// `dynotool curves FILE --run N [--mph] [--kw] [--with-rpm] [--roller-weight KG]
// [--json|--csv]`: loads a session archive into slot 1 and evaluates one run
// exactly as "Update Display" would, then prints the curves.
#include <ostream>
#include <string>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/LoadSessionArgument.h"
#include "evaluation/RunEvaluation.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

constexpr double kLargestRollerWeightKg = 1.0e6;

std::string jsonArray(const EvaluatedCurves::Curve& curve) {
    std::string text = "[";
    text.reserve(curve.size() * 20);
    for (std::size_t i = 0; i < curve.size(); ++i) {
        if (i) text += ", ";
        text += jsonNumber(curve[i]);
    }
    return text + "]";
}

void printJson(const EvaluatedCurves& curves, int evalCount, std::ostream& out) {
    JsonObject json;
    json.add("evalCount", evalCount);
    json.add("maxSpeedText", curves.maxSpeedText.view());
    json.add("maxPowerText", curves.maxPowerText.view());
    json.add("maxTorqueText", curves.maxTorqueText.view());
    json.addRaw("speedCurve", jsonArray(curves.speedCurve));
    json.addRaw("rpmCurve", jsonArray(curves.rpmCurve));
    json.addRaw("powerCurve", jsonArray(curves.powerCurve));
    json.addRaw("torqueCurve", jsonArray(curves.torqueCurve));
    out << json.str() << "\n";
}

// One row per point where power, torque and rpm exist (0 .. evalCount - 2).
void printCsv(const EvaluatedCurves& curves, int evalCount, const EvaluationOptions& options,
              std::ostream& out) {
    out << "index," << (options.speedInMph ? "speed_mph" : "speed_kmh") << ",rpm,"
        << (options.powerInKw ? "power_kw" : "power_hp") << ",torque\n";
    for (int i = 0; i + 1 < evalCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        out << i << ',' << formatRoundTrip(curves.speedCurve[at]) << ','
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
    const Arguments arguments(words, {"run", "roller-weight"},
                              {"mph", "kw", "with-rpm", "json", "csv"});
    if (arguments.operands().size() != 1) throw UsageError("expects one session archive FILE");
    if (arguments.flag("json") && arguments.flag("csv")) {
        throw UsageError("choose one of --json and --csv");
    }
    const int run = runNumberOf(arguments);

    EvaluationOptions options;
    options.speedInMph = arguments.flag("mph");
    options.powerInKw = arguments.flag("kw");
    options.rpmCurveShown = arguments.flag("with-rpm");
    if (arguments.value("roller-weight")) {
        options.useTypedRollerWeight = true;
        options.typedRollerWeightKg =
            arguments.numberIn("roller-weight", 0.0, kLargestRollerWeightKg, 0.0);
    }

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
