// `dynotool library scan FOLDER [--db FILE]` and `dynotool library search [WORDS]
// [--make T] [--model T] [--owner T] [--since YYYY-MM-DD] [--until YYYY-MM-DD]
// [--min-power HP] [--min-engine-power HP] [--max-spread PERCENT] [--dyno K40|K70|K80]
// [--sort date|power|engine-power|spread] [--limit N] [--unreadable] [--db FILE]
// [--json|--csv]`: the session library from a script.
#include <chrono>
#include <ostream>
#include <string>

#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/output/Json.h"
#include "cli/output/LibraryOutput.h"
#include "library/LibraryLocation.h"
#include "library/LibraryScan.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

std::filesystem::path indexFileOf(const Arguments& arguments) {
    const auto db = arguments.value("db");
    return db ? std::filesystem::path(*db) : defaultLibraryFile();
}

// Opens the index. A file named by --db that is not an index is refused. A damaged
// index is started anew, when `mayStartAnew`, and the folders it named are scanned
// again before anything else is done with it; otherwise it is refused.
LibraryIndex openIndex(const Arguments& arguments, std::ostream& err, bool mayStartAnew) {
    LibraryIndex index(indexFileOf(arguments),
                       LibraryOpening{arguments.value("db").has_value(), mayStartAnew});
    const LibraryOpenReport& opened = index.openReport();
    if (opened.rebuilt) {
        err << "dynotool library: " << opened.message << "\n";
        for (const auto& folder : opened.foldersToRescan) scanFolder(index, folder);
    }
    return index;
}

int runScan(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const Arguments arguments(words, {"db"}, {});
    if (arguments.operands().size() != 1) throw UsageError("expects one FOLDER to scan");
    const std::filesystem::path folder = arguments.operands().front();

    const auto started = std::chrono::steady_clock::now();
    LibraryIndex index = openIndex(arguments, err, true);
    const ScanReport report = scanFolder(index, folder);
    if (report.folderMissing) {
        err << "dynotool library: no such folder: " << folder.string() << "\n";
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;

    std::string unreadable = "[";
    for (const IndexedSession& session : index.unreadable(folder)) {
        if (unreadable.size() > 1) unreadable += ", ";
        unreadable += JsonObject()
                          .add("path", session.path.string())
                          .add("reason", session.unreadableReason)
                          .str();
    }
    out << JsonObject()
               .add("folder", indexPath(folder).string())
               .add("db", index.file().string())
               .add("found", report.found)
               .add("added", report.added)
               .add("changed", report.changed)
               .add("unchanged", report.unchanged)
               .add("removed", report.removed)
               .addRaw("unreadable", unreadable + "]")
               .add("seconds", took.count())
               .str()
        << "\n";
    return 0;
}

std::optional<std::int64_t> dateOption(const Arguments& arguments, const std::string& name,
                                       int dayOffset) {
    const auto text = arguments.value(name);
    if (!text) return std::nullopt;
    const auto start = localDayStartNs(*text, dayOffset);
    if (!start) throw UsageError("--" + name + " must be a date YYYY-MM-DD (got '" + *text + "')");
    return start;
}

// "--NAME X" as a decimal number of `unit`; nothing when absent.
std::optional<double> figureOption(const Arguments& arguments, const std::string& name,
                                   const std::string& unit) {
    const auto text = arguments.value(name);
    if (!text) return std::nullopt;
    const auto figure = strictDecimal(*text);
    if (!figure)
        throw UsageError("--" + name + " must be a number of " + unit + " (got '" + *text + "')");
    return figure;
}

LibraryOrder orderOf(const Arguments& arguments) {
    const std::string sort = arguments.value("sort").value_or("date");
    if (sort == "date") return LibraryOrder::newestFirst;
    if (sort == "power") return LibraryOrder::mostPowerFirst;
    if (sort == "engine-power") return LibraryOrder::mostEnginePowerFirst;
    if (sort == "spread") return LibraryOrder::leastSpreadFirst;
    throw UsageError("--sort must be date, power, engine-power or spread");
}

LibraryQuery queryOf(const Arguments& arguments) {
    LibraryQuery query;
    for (const std::string& word : arguments.operands()) {
        query.words += (query.words.empty() ? "" : " ") + word;
    }
    query.make = arguments.value("make").value_or("");
    query.model = arguments.value("model").value_or("");
    query.owner = arguments.value("owner").value_or("");
    query.sinceNs = dateOption(arguments, "since", 0);
    // "Until" a day takes that whole day in.
    query.untilNs = dateOption(arguments, "until", 1);
    query.minPowerHp = figureOption(arguments, "min-power", "hp");
    query.minEnginePowerHp = figureOption(arguments, "min-engine-power", "hp");
    query.maxSpreadPercent = figureOption(arguments, "max-spread", "percent");
    if (const auto dyno = arguments.value("dyno")) {
        for (int model = 0; model <= 2; ++model) {
            if (dynoModelName(model) == *dyno) query.dynoModel = model;
        }
        if (!query.dynoModel) throw UsageError("--dyno must be K40, K70 or K80");
    }
    query.order = orderOf(arguments);
    if (const auto limit = arguments.value("limit")) {
        const auto n = strictInteger(*limit);
        if (!n || *n < 0) throw UsageError("--limit must be a whole number");
        query.limit = *n;
    }
    return query;
}

int runSearch(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const Arguments arguments(words,
                              {"db", "make", "model", "owner", "since", "until", "min-power",
                               "min-engine-power", "max-spread", "dyno", "sort", "limit"},
                              {"json", "csv", "unreadable", "analysis"});
    if (arguments.flag("json") && arguments.flag("csv")) {
        throw UsageError("choose one of --json and --csv");
    }
    const LibraryQuery query = queryOf(arguments);
    // A search changes no file: a damaged index waits for the next scan.
    LibraryIndex index = openIndex(arguments, err, false);
    const auto found = arguments.flag("unreadable") ? index.unreadable() : index.search(query);
    const bool withAnalysis = arguments.flag("analysis");
    if (arguments.flag("csv")) {
        printLibraryCsv(found, out, withAnalysis);
    } else {
        printLibraryJson(found, out, withAnalysis);
    }
    return 0;
}

}  // namespace

int runLibrary(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) throw UsageError("expects scan or search");
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (words.front() == "scan") return runScan(rest, out, err);
    if (words.front() == "search") return runSearch(rest, out, err);
    throw UsageError("unknown library command '" + words.front() + "' (scan or search)");
}

}  // namespace dyno::cli
