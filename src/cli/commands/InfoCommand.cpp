// `dynotool info FILE [--json]`: what a session archive holds, as a load into a slot
// would see it: texts, correction factor, header words, values, air data and the
// length of each run.
#include <array>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/options/LoadSessionArgument.h"
#include "cli/output/Json.h"
#include "model/Cp1252.h"
#include "model/TestSession.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

// The six texts in record order, with the JSON keys they are shown under.
std::array<std::pair<const char*, std::string_view>, 6> textsOf(const TestSession& session) {
    return {{{"remarkLine1", session.remarkLine1.view()},
             {"remarkLine2", session.remarkLine2.view()},
             {"remarkLine3", session.remarkLine3.view()},
             {"make", session.make.view()},
             {"model", session.model.view()},
             {"owner", session.owner.view()}}};
}

void printJson(const TestSession& session, std::ostream& out) {
    JsonObject json;
    for (const auto& [key, text] : textsOf(session)) json.add(key, fromWindows1252(text));
    json.add("correctionFactor", session.correctionFactor);

    std::string header = "[";
    for (std::size_t w = 0; w < session.header.words.size(); ++w) {
        header += (w ? ", " : "") + std::to_string(session.header.words[w]);
    }
    json.addRaw("header", header + "]");

    std::string values = "[";
    for (std::size_t v = 0; v < session.values.values.size(); ++v) {
        values += (v ? ", " : "") + jsonNumber(session.values.values[v]);
    }
    json.addRaw("values", values + "]");

    json.add("airPressure", session.airPressure);
    json.add("airTemperature", session.airTemperature);
    json.add("airHumidity", session.airHumidity);

    std::string runs = "[";
    for (int r = 0; r < kRunsPerSession; ++r) {
        runs +=
            (r ? ", " : "") + JsonObject().add("rollerSamples", session.leadingPeriods(r)).str();
    }
    json.addRaw("runs", runs + "]");
    out << json.str() << "\n";
}

void printText(const TestSession& session, std::ostream& out) {
    for (const auto& [key, text] : textsOf(session)) {
        out << key << ": " << fromWindows1252(text) << "\n";
    }
    out << "correctionFactor: " << formatGeneral15(session.correctionFactor) << "\n";
    out << "header:";
    for (const auto word : session.header.words) out << " " << word;
    out << "\nvalues:";
    for (const double value : session.values.values) out << " " << formatGeneral15(value);
    out << "\nairPressure: " << formatGeneral15(session.airPressure) << " mbar\n";
    out << "airTemperature: " << formatGeneral15(session.airTemperature) << " C\n";
    out << "airHumidity: " << formatGeneral15(session.airHumidity) << " %\n";
    for (int r = 0; r < kRunsPerSession; ++r) {
        out << "run " << r + 1 << ": " << session.leadingPeriods(r) << " roller samples\n";
    }
}

}  // namespace

int runInfo(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const Arguments arguments(words, {}, {"json"});
    if (arguments.operands().size() != 1) throw UsageError("expects one session archive FILE");
    const std::string& file = arguments.operands().front();

    // A fresh slot: what a load into an empty slot would show.
    auto session = std::make_unique<TestSession>();
    if (!loadSessionArgument("info", file, *session, err)) return 1;
    if (arguments.flag("json")) {
        printJson(*session, out);
    } else {
        printText(*session, out);
    }
    return 0;
}

}  // namespace dyno::cli
