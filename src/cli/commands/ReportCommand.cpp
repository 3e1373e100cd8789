// `dynotool report FILE1 [FILE2..4] --out report.pdf|report.png [--run N,...]
// [--page a4|letter] [graph options as dynotool graph] [--remarks N,N,N,N]
// [--font FAMILY SIZE] [--line-width N] [--owner|--no-owner] [--header|--no-header]
// [--company TEXT] [--phone TEXT] [--logo FILE]`: the printed test report of the
// sessions, drawn by the same painter as the window's print, as a one-page PDF (real
// text, vector curves) or a 600-dpi PNG. Print settings, company and phone come from
// "vkr_dyno.ini" in the current folder as the window reads them, and the header from
// its "vkrprint.bmp"; so do the graph limits and the speed and power units, as the
// window's print takes them from its Param. and Setup pages. The options override
// them (--kph and --hp undo a file's mph and kW). Prints one JSON line.
#include <QImage>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/options/ChannelArguments.h"
#include "cli/options/GraphArguments.h"
#include "cli/output/Json.h"
#include "display/DynoEmblem.h"
#include "display/graph/GraphAxes.h"
#include "display/graph/GraphImages.h"
#include "evaluation/ChannelCalibrationRules.h"
#include "evaluation/SessionAnalysis.h"
#include "evaluation/SessionChannels.h"
#include "files/SettingsFileCodec.h"
#include "model/TextNumbers.h"
#include "print/ReportFiles.h"
#include "print/ReportGeometry.h"

namespace dyno::cli {

namespace {

struct FontChoice {
    std::string family;
    std::string size;
};

// "--font FAMILY SIZE" takes two words: taken out before the other options are read.
std::optional<FontChoice> takeFontOption(std::vector<std::string>& words) {
    const auto at = std::find(words.begin(), words.end(), std::string("--font"));
    if (at == words.end()) return std::nullopt;
    if (words.end() - at < 3) throw UsageError("--font expects FAMILY SIZE");
    FontChoice font{*(at + 1), *(at + 2)};
    words.erase(at, at + 3);
    return font;
}

QFont fontOf(const FontChoice& choice) {
    const auto size = strictDecimal(choice.size);
    if (!size || *size < 1.0 || *size > 72.0) {
        throw UsageError("--font SIZE is a point size of 1 to 72 (got '" + choice.size + "')");
    }
    QFont font(QString::fromStdString(choice.family));
    font.setPointSizeF(*size);
    return font;
}

// "N" or "N,N,..": remark lines (0..3) for slots 1.. in turn; the rest print none.
std::array<int, kSessionSlots> remarkLinesOf(const std::string& text) {
    std::array<int, kSessionSlots> lines{};
    std::size_t from = 0;
    for (std::size_t slot = 0;; ++slot) {
        const std::size_t comma = text.find(',', from);
        const auto count = strictInteger(text.substr(from, comma - from));
        if (slot >= lines.size() || !count || *count < 0 || *count > 3) {
            throw UsageError(
                "--remarks takes up to four counts of 0 to 3 separated by commas (got '" + text +
                "')");
        }
        lines[slot] = *count;
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    return lines;
}

bool isOn(const Arguments& arguments, const std::string& on, const std::string& off,
          bool fallback) {
    if (arguments.flag(on) && arguments.flag(off)) {
        throw UsageError("--" + on + " and --" + off + " exclude each other");
    }
    if (arguments.flag(on)) return true;
    if (arguments.flag(off)) return false;
    return fallback;
}

// What the window's pages would hold after reading the settings file of the
// current folder: the first start's defaults when there is none, and then
// dynotool's own graph ranges.
struct FolderSettings {
    DynoSettings settings;
    GraphDefaults graph;
};

FolderSettings folderSettings() {
    FolderSettings folder;
    const SettingsFileRead read =
        readSettingsFile(std::filesystem::path(kSettingsFileName), folder.settings);
    if (!read.error) {
        const auto& limits = read.inForce.graphLimits;
        folder.graph.scale = {limits[0], limits[1], limits[2], limits[3], limits[4], limits[5]};
        folder.graph.speedInMph = folder.settings.speedInMph;
        folder.graph.powerInKw = folder.settings.powerInKw;
    }
    return folder;
}

PrintSettings printSettingsOf(const Arguments& arguments, const DynoSettings& settings) {
    PrintSettings print = dyno::printSettingsOf(settings);
    if (const auto width = arguments.value("line-width")) {
        const auto value = strictInteger(*width);
        if (!value || *value < 0 || *value > 100) {
            throw UsageError("--line-width takes 0 to 100 pixels (got '" + *width + "')");
        }
        print.lineWidth = *value;
    }
    print.printOwnerName = isOn(arguments, "owner", "no-owner", print.printOwnerName);
    print.printHeader = isOn(arguments, "header", "no-header", print.printHeader);
    print.companyName = arguments.value("company").value_or(print.companyName);
    print.companyPhone = arguments.value("phone").value_or(print.companyPhone);
    return print;
}

QPageSize::PageSizeId pageSizeOf(const Arguments& arguments) {
    const std::string page = arguments.value("page").value_or("a4");
    if (page == "a4") return QPageSize::A4;
    if (page == "letter") return QPageSize::Letter;
    throw UsageError("--page is a4 or letter (got '" + page + "')");
}

bool endsWith(std::string text, const std::string& ending) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// The settings file's units give way to the other unit's option.
void applyUnitOptions(const Arguments& arguments, GraphDefaults& graph) {
    if (arguments.flag("kph") && arguments.flag("mph"))
        throw UsageError("--kph and --mph exclude each other");
    if (arguments.flag("hp") && arguments.flag("kw"))
        throw UsageError("--hp and --kw exclude each other");
    if (arguments.flag("kph")) graph.speedInMph = false;
    if (arguments.flag("hp")) graph.powerInKw = false;
}

// The remark lines printed under each session: as given, or as the window presets
// them, one line for every session shown.
std::array<int, kSessionSlots> remarkLinesFor(const Arguments& arguments, std::size_t sessions) {
    std::array<int, kSessionSlots> remarkLines{};
    if (const auto text = arguments.value("remarks")) {
        remarkLines = remarkLinesOf(*text);
    } else {
        std::fill_n(remarkLines.begin(), sessions, 1);
    }
    return remarkLines;
}

// The picture at the top of the page: --logo's, which must be readable, or
// "vkrprint.bmp" of the current folder, which prints without a header when it is
// missing or unreadable.
bool loadHeaderPicture(const Arguments& arguments, QImage& header, std::ostream& err) {
    if (const auto logo = arguments.value("logo")) {
        if (header.load(QString::fromStdString(*logo))) return true;
        err << "dynotool report: cannot read the picture: " << *logo << "\n";
        return false;
    }
    header.load(QStringLiteral("vkrprint.bmp"));
    return true;
}

// The report with the Analysis page of its first session after it, in the report's
// units and on its scale.
// The shown channels of --channels (at most two) with their calibrations and
// delays; a calibration that cannot be used is named on `err`.
std::optional<ShownChannels> shownChannelsOf(const std::optional<ChannelChoice>& choice,
                                             std::ostream& err) {
    ShownChannels shown{};
    if (!choice) return shown;
    if (choice->channels.size() > shown.size()) {
        throw UsageError("--channels draws at most two channels over the analysis");
    }
    for (std::size_t k = 0; k < choice->channels.size(); ++k) {
        const int channel = choice->channels[k];
        const auto index = static_cast<std::size_t>(channel - 1);
        const ChannelCalibration& calibration = choice->analysis.channels[index];
        if (const auto refusal = calibrationRefusal(channel, calibration)) {
            err << "dynotool report: " << *refusal << "\n";
            return std::nullopt;
        }
        shown[k] = {channel, calibration, choice->delaySeconds[index]};
    }
    return shown;
}

bool writeReportWithAnalysis(const QString& target, const ReportInputs& report,
                             const QPageLayout& layout, const GraphState& state,
                             const GraphControls& controls, const ShownChannels& shown,
                             const AnalysisSettings& calibrations) {
    const TestSession& session = report.model.slot(1);
    auto analysis = AnalysisWorkspace::create();
    auto channels = std::make_unique<SessionChannelCurves>();
    const EvaluationOptions options{state.flags.speedInMph, state.flags.powerInKw, false,
                                    controls.useTypedRollerWeight, controls.typedRollerWeightKg};
    analyseSession(session, options, *analysis);
    analyseChannels(session, options, shown, *analysis, *channels);
    AnalysisReportInputs page(session, *analysis);
    page.scale = state.scale;
    page.units = {state.flags.powerInKw, state.flags.speedInMph};
    page.channels =
        channelOverlayOf(*channels, {shown[0].channel, shown[1].channel}, calibrations.channels);
    page.print = report.print;
    page.font = report.font;
    return writeReportPdf(target, report, layout, &page);
}

}  // namespace

int runReport(const std::vector<std::string>& givenWords, std::ostream& out, std::ostream& err) {
    std::vector<std::string> words = givenWords;
    const std::optional<FontChoice> font = takeFontOption(words);
    std::set<std::string> values = kGraphValueOptions;
    values.insert({"out", "page", "remarks", "line-width", "company", "phone", "logo"});
    for (const std::string& option : channelValueOptions()) values.insert(option);
    std::set<std::string> flags = kGraphFlagOptions;
    flags.insert({"owner", "no-owner", "header", "no-header", "kph", "hp", "analysis"});
    const Arguments arguments(words, values, flags);
    const auto& files = arguments.operands();
    FolderSettings folder = folderSettings();
    applyUnitOptions(arguments, folder.graph);
    GraphRequest request = graphRequestOf(arguments, files.size(), folder.graph);
    const std::string outFile = arguments.required("out");
    const bool isPdf = endsWith(outFile, ".pdf");
    if (!isPdf && !endsWith(outFile, ".png")) throw UsageError("--out names a .pdf or a .png file");
    const bool withAnalysis = arguments.flag("analysis");
    if (withAnalysis && !isPdf)
        throw UsageError("--analysis adds a second page: --out names a .pdf");
    const ChannelChoiceRead channelChoice = channelChoiceOf("report", arguments, err);
    if (channelChoice.failed) return 1;
    if (channelChoice.choice && !withAnalysis) {
        throw UsageError("--channels draws the channels on the analysis page: add --analysis");
    }
    const std::optional<ShownChannels> shown = shownChannelsOf(channelChoice.choice, err);
    if (!shown) return 1;
    const QPageLayout layout = reportPageLayout(pageSizeOf(arguments));
    const std::array<int, kSessionSlots> remarkLines = remarkLinesFor(arguments, files.size());
    PrintSettings print = printSettingsOf(arguments, folder.settings);

    const auto application = headlessApplication();
    QImage header;
    if (!loadHeaderPicture(arguments, header, err)) return 1;

    auto model = SessionModel::create();
    if (!loadGraphSessions("report", files, request, *model, err)) return 1;
    // The update the window ran before its print: evaluates the chosen runs.
    auto workspace = EvaluationWorkspace::create();
    auto state = std::make_unique<GraphState>();
    GraphImages images = GraphImages::create();
    {
        GraphPainters painters(images);
        updateGraph(*state, request.controls, *model, *workspace, painters.canvas());
    }

    ReportInputs report = reportOfGraph(*model, *state);
    report.print = print;
    report.remarkLines = remarkLines;
    if (font) report.font = fontOf(*font);
    report.headerPicture = header;
    report.smallPicture = dynoEmblem({205, 93});

    const QString target = QString::fromStdString(outFile);
    QSize size = reportPageSize(layout);
    bool written = false;
    if (isPdf && withAnalysis) {
        written = writeReportWithAnalysis(
            target, report, layout, *state, request.controls, *shown,
            channelChoice.choice ? channelChoice.choice->analysis : AnalysisSettings{});
    } else if (isPdf) {
        written = writeReportPdf(target, report, layout);
    } else {
        const QImage image = reportImage(report, layout);
        size = image.size();
        written = image.save(target, "PNG");
    }
    if (!written) {
        err << "dynotool report: cannot write the report: " << outFile << "\n";
        return 1;
    }
    JsonObject json;
    json.add("out", outFile)
        .add("width", size.width())
        .add("height", size.height())
        .add("dpi", kReportDpi);
    const auto problems = scaleProblems(state->scale, state->flags.rpmAxisShown);
    if (!problems.empty()) json.add("scaleHint", scaleHint(problems.front()));
    out << json.str() << "\n";
    return 0;
}

}  // namespace dyno::cli
