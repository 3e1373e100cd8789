// `dynotool curves FILE --run N [--mph] [--kw] [--with-rpm] [--roller-weight KG]
// [--channels 1,3 [--analysis-settings FILE] [--ad-settings FILE.ana]] [--json|--csv]`:
// loads a session archive into slot 1 and evaluates one run exactly as "Update
// Display" would, then prints the curves. With --channels each channel follows in its
// calibrated unit at the same points: a CSV column named after the calibration
// ("AFR_AFR", see columnNameOf; empty cells where a delayed channel has no reading)
// and in JSON an entry of "channels" (values null where there is no reading; "values"
// null for a channel not recorded, which has no CSV column).
#include <ostream>
#include <set>
#include <span>
#include <string>

#include "cli/commands/ChannelColumns.h"
#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/options/ChannelArguments.h"
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

std::string channelJson(const ChannelColumn& column, std::size_t points) {
    JsonObject json;
    json.add("channel", column.channel);
    json.add("name", column.name);
    json.add("unit", column.unit);
    json.add("column", column.column);
    json.add("recorded", column.isRecorded());
    if (!column.isRecorded()) return json.addRaw("values", "null").str();
    std::string values = "[";
    for (std::size_t i = 0; i < points; ++i) {
        if (i) values += ", ";
        const bool isReading = i < static_cast<std::size_t>(column.curve->pointCount);
        values += isReading ? jsonNumber(column.curve->values[i]) : "null";
    }
    return json.addRaw("values", values + "]").str();
}

std::string channelsJson(const std::vector<ChannelColumn>& columns, std::size_t points) {
    std::string text = "[";
    for (const ChannelColumn& column : columns) {
        if (text.size() > 1) text += ", ";
        text += channelJson(column, points);
    }
    return text + "]";
}

void printJson(const EvaluatedCurves& curves, int evalCount,
               const std::optional<std::vector<ChannelColumn>>& channels, std::ostream& out) {
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
    if (channels) json.addRaw("channels", channelsJson(*channels, points));
    out << json.str() << "\n";
}

// The torque figure is named in Nm, as the printed report names its maximum.
// The CSV's own columns; a channel's column never takes one of these names.
std::vector<std::string> csvColumns(const EvaluationOptions& options) {
    return {"index", options.speedInMph ? "speed_mph" : "speed_kmh", "engine_speed_rpm",
            options.powerInKw ? "power_kw" : "power_hp", "torque_nm"};
}

void printCsv(const EvaluatedCurves& curves, int evalCount, const EvaluationOptions& options,
              std::span<const ChannelColumn> channels, std::ostream& out) {
    const auto columns = csvColumns(options);
    for (std::size_t c = 0; c < columns.size(); ++c) out << (c ? "," : "") << columns[c];
    for (const ChannelColumn& channel : channels) {
        if (channel.isRecorded()) out << ',' << channel.column;
    }
    out << '\n';
    for (std::size_t at = 0; at < pointCount(evalCount); ++at) {
        out << at << ',' << formatRoundTrip(curves.speedCurve[at]) << ','
            << formatRoundTrip(curves.rpmCurve[at]) << ',' << formatRoundTrip(curves.powerCurve[at])
            << ',' << formatRoundTrip(curves.torqueCurve[at]);
        for (const ChannelColumn& channel : channels) {
            if (!channel.isRecorded()) continue;
            out << ',';
            if (at < static_cast<std::size_t>(channel.curve->pointCount)) {
                out << formatRoundTrip(channel.curve->values[at]);
            }
        }
        out << '\n';
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
    for (const std::string& option : channelValueOptions()) valueOptions.insert(option);
    std::set<std::string> flagOptions = evaluationFlagOptions();
    flagOptions.insert({"with-rpm", "json", "csv"});
    const Arguments arguments(words, valueOptions, flagOptions);
    if (arguments.operands().size() != 1) throw UsageError("expects one session archive FILE");
    if (arguments.flag("json") && arguments.flag("csv")) {
        throw UsageError("choose one of --json and --csv");
    }
    const int run = runNumberOf(arguments);
    const ChannelChoiceRead channelChoice = channelChoiceOf("curves", arguments, err);
    if (channelChoice.failed) return 1;

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
    std::optional<std::vector<ChannelColumn>> channels;
    if (channelChoice.choice) {
        const ChannelCurveSource source{model->slot(1), run - 1, workspace->timeAxis(),
                                        report.evalCount};
        const auto taken = csvColumns(options);
        channels = channelColumnsOf("curves", *channelChoice.choice, source,
                                    std::set<std::string>(taken.begin(), taken.end()), err);
        if (!channels) return 1;
    }
    const EvaluatedCurves& curves = model->slot(1).curves;
    if (arguments.flag("csv")) {
        printCsv(
            curves, report.evalCount, options,
            channels ? std::span<const ChannelColumn>(*channels) : std::span<const ChannelColumn>{},
            out);
    } else {
        printJson(curves, report.evalCount, channels, out);
    }
    return 0;
}

}  // namespace dyno::cli
