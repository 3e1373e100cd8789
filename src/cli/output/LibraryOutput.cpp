#include "cli/output/LibraryOutput.h"

#include <ctime>

#include "cli/output/Json.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

// Quoted when it holds a separator, a quote or a line break; quotes doubled.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// A figure the analysis may not have: null in JSON, an empty cell in CSV.
std::string figureJson(const std::optional<double>& figure) {
    return figure ? jsonNumber(*figure) : "null";
}

std::string figureCsv(const std::optional<double>& figure) {
    return figure ? formatRoundTrip(*figure) : "";
}

}  // namespace

std::string localTimeText(std::int64_t modifiedNs) {
    const std::time_t seconds = modifiedNs / 1'000'000'000;
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return "";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

void printLibraryJson(const std::vector<IndexedSession>& sessions, std::ostream& out,
                      bool withAnalysis) {
    for (const IndexedSession& s : sessions) {
        JsonObject json;
        json.add("path", s.path.string());
        json.add("modified", localTimeText(s.stamp.modifiedNs));
        if (!s.isReadable()) {
            out << json.add("unreadable", s.unreadableReason).str() << "\n";
            continue;
        }
        json.add("make", s.make).add("model", s.model).add("owner", s.owner);
        json.addRaw("remarks", "[" + jsonString(s.remarks[0]) + ", " + jsonString(s.remarks[1]) +
                                   ", " + jsonString(s.remarks[2]) + "]");
        json.add("dynoModel", dynoModelName(s.dynoModel));
        json.add("correctionFactor", s.correctionFactor);
        std::string runs = "[";
        for (const IndexedRun& run : s.runs) {
            if (runs.size() > 1) runs += ", ";
            runs += JsonObject()
                        .add("samples", run.samples)
                        .add("maxPowerHp", run.maxPowerHp)
                        .add("maxSpeedKmh", run.maxSpeedKmh)
                        .add("maxTorque", run.maxTorque)
                        .str();
        }
        json.addRaw("runs", runs + "]");
        if (withAnalysis) {
            json.addRaw("peakEnginePowerHp", figureJson(s.peakEnginePowerHp));
            json.addRaw("powerSpreadPercent", figureJson(s.powerSpreadPercent));
        }
        out << json.str() << "\n";
    }
}

void printLibraryCsv(const std::vector<IndexedSession>& sessions, std::ostream& out,
                     bool withAnalysis) {
    out << "path,modified,make,model,owner,remark1,remark2,remark3,dyno_model,"
           "correction_factor";
    for (int r = 1; r <= kRunsPerSession; ++r) {
        const std::string run = "run" + std::to_string(r);
        out << ',' << run << "_samples," << run << "_max_power_hp," << run << "_max_speed_kmh,"
            << run << "_max_torque";
    }
    // The analysis' columns come last, so that what a script reads by position stays.
    out << ",unreadable" << (withAnalysis ? ",peak_engine_power_hp,power_spread_percent" : "")
        << "\n";
    for (const IndexedSession& s : sessions) {
        out << csvField(s.path.string()) << ',' << localTimeText(s.stamp.modifiedNs) << ','
            << csvField(s.make) << ',' << csvField(s.model) << ',' << csvField(s.owner);
        for (const std::string& remark : s.remarks) out << ',' << csvField(remark);
        out << ',' << (s.isReadable() ? dynoModelName(s.dynoModel) : "") << ','
            << formatRoundTrip(s.correctionFactor);
        for (const IndexedRun& run : s.runs) {
            out << ',' << run.samples << ',' << formatRoundTrip(run.maxPowerHp) << ','
                << formatRoundTrip(run.maxSpeedKmh) << ',' << formatRoundTrip(run.maxTorque);
        }
        out << ',' << csvField(s.unreadableReason);
        if (withAnalysis) {
            out << ',' << figureCsv(s.peakEnginePowerHp) << ',' << figureCsv(s.powerSpreadPercent);
        }
        out << '\n';
    }
}

}  // namespace dyno::cli
