// dynotool: the command-line face of the dyno core, for scripts and black-box tests.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ToolkitMessages.h"

namespace {

struct CommandEntry {
    std::string_view name;
    dyno::cli::Command run;
    std::string_view usage;
    std::string_view purpose = {};  // what `dynotool COMMAND --help` explains
};

constexpr CommandEntry kCommands[] = {
    {"info", dyno::cli::runInfo, "info FILE [--json]",
     "What a session archive holds: texts, header, values, air data and run lengths."},
    {"curves", dyno::cli::runCurves,
     "curves FILE --run N [--mph] [--kw] [--with-rpm] [--roller-weight KG] [--json|--csv]",
     "One run of a session archive evaluated as \"Update Display\" would. JSON (the default)\n"
     "or CSV carry the same points; the CSV header names each column's unit."},
    {"graph", dyno::cli::runGraph,
     "graph FILE1 [FILE2 [FILE3 [FILE4]]] --out FILE.png|.jpg|.bmp|.pdf [--run N,...] "
     "[--speed A:B] [--power A:B] [--rpm A:B] [--show-rpm] [--torque] [--fixed-gearing] [--air] "
     "[--mph] [--kw] [--plot-only]",
     "Up to four session archives drawn as the Graphs page draws them: the panel with its\n"
     "scales, legend and remark lines, or with --plot-only the bare 600 x 400 plot. The\n"
     "file's extension chooses the format; .pdf is drawn as vectors."},
    {"analog", dyno::cli::runAnalog,
     "analog FILE1 [FILE2 [FILE3 [FILE4]]] --out PNG [--run N,...] [--channels 1,3,5] "
     "[--vscale hp|speed] [--zoom N] [--offset N] [--shift a,b,c,d] [--left-scale C] "
     "[--end-hp N] [--mph] [--kw] [--ad-settings FILE.ana] [--plot-only]",
     "The analog channels of up to four session archives drawn as the Analog page draws them."},
    {"report", dyno::cli::runReport,
     "report FILE1 [FILE2 [FILE3 [FILE4]]] --out PDF|PNG [--run N,...] [--page a4|letter] "
     "[--speed A:B] [--power A:B] [--rpm A:B] [--show-rpm] [--torque] [--fixed-gearing] [--air] "
     "[--mph] [--kw] [--remarks N,N,N,N] [--font FAMILY SIZE] [--line-width N] "
     "[--owner|--no-owner] [--header|--no-header] [--company TEXT] [--phone TEXT] [--logo FILE]",
     "The printed test report of up to four session archives: a one-page PDF with real text\n"
     "and vector curves, or a 600-dpi PNG. Without options the print settings, company and\n"
     "phone come from vkr_dyno.ini in the current folder, as the window's \"Print\"."},
    {"correction", dyno::cli::runCorrection,
     "correction --temperature T --pressure P --humidity H --standard K [--fahrenheit] "
     "[--inch-hg]",
     "The Param. page's \"Use correction factor\" from typed weather values; one JSON line."},
    {"simulate", dyno::cli::runSimulate,
     "simulate --out FILE.zsd [--vehicle NAME] [--test norpm|720|360|180|deg:N] "
     "[--channels 1,2,..] [--seed S] [--realtime [--time-lapse N]] [--remote-delay MS] "
     "[--roller-weight KG] [--gearbox variomatic|fixed] [--pressure P] [--temperature T] "
     "[--humidity H] [--standard K] [--make T] [--model T] [--owner T] [--remark T] "
     "[--verbose]\n"
     "  dynotool simulate --pty [--vehicle NAME] [--seed S] [--time-lapse N] [--remote-delay MS] "
     "[--rider-runs N] [--idle-exit S] [--stray-bytes N [--stray-run R]]\n"
     "  dynotool simulate --card --out FILE.zsd [--model K70|K80] [--vehicle NAME] "
     "[--test ...] [--channels 1,2,..] [--weather] [--seed S] [--remote-delay MS] "
     "[--gearbox variomatic|fixed] [the Param. and Remarks options above]",
     "A whole three-run session of the simulated K40 electronics saved as an archive, or\n"
     "(--pty) the simulated electronics served on a pseudo-terminal whose path is printed\n"
     "first. The terminal is served until the command is stopped (Ctrl+C), or with\n"
     "--idle-exit once nothing went over the line for S seconds; with --rider-runs the\n"
     "rider stops after N runs; with --stray-bytes, N bytes that were never sent land in\n"
     "the transfer of run R (2), as on a line with a loose contact. With --card, a session of the simulated K70/K80 plug-in\n"
     "card (--model names the dyno)."},
    {"weather", dyno::cli::runWeather, "weather --port PORT|SIM [--json]",
     "Asks the K40 electronics (or the simulated ones, SIM) for the weather station's\n"
     "readings, with the settings file of the current folder as the window would."},
    {"record", dyno::cli::runRecord,
     "record --port PORT --out FILE.zsd [--test norpm|720|360|180|deg:N] [--channels 1,2,..] "
     "[--weather] [--dyno K40|K70|K80] [--roller-weight KG] [--roller-code N] "
     "[--gearbox variomatic|fixed] [--transfer-delay D] [--pressure P] [--temperature T] "
     "[--humidity H] [--standard K] [--make T] [--model T] [--owner T] [--remark T] "
     "[--timeout S] [--answer-wait S] [--verbose]",
     "A whole three-run session from the K40 electronics on a serial port, saved as an\n"
     "archive; exit 0 only when all three runs arrived whole. A session cut short (the\n"
     "port lost, --timeout S passed, Ctrl+C, SIGTERM or SIGHUP) saves the runs received\n"
     "and exits 1, as does one that finished with a run discarded as damaged.\n"
     "Electronics that send nothing at all for --answer-wait S seconds (10) end it with\n"
     "exit 1; give a longer wait for electronics switched on late."},
    {"library", dyno::cli::runLibrary,
     "library scan FOLDER [--db FILE]\n"
     "  dynotool library search [WORDS] [--make T] [--model T] [--owner T] [--since YYYY-MM-DD] "
     "[--until YYYY-MM-DD] [--min-power HP] [--dyno K40|K70|K80] [--sort date|power] "
     "[--limit N] [--unreadable] [--db FILE] [--json|--csv]",
     "The session library: an index of the session archives under a folder, searched by\n"
     "words of make, model, owner and remarks, and by date, dyno and power."},
};

constexpr std::string_view kExitStatus =
    "exit status: 0 success, 1 failure (a file that cannot be read or written, a session\n"
    "that does not finish), 2 usage error (unknown option, missing or malformed value).\n"
    "Numbers are read whole: \"10x\" or an empty value is a usage error.\n";

void printUsage(std::ostream& out) {
    out << "usage: dynotool COMMAND [OPTIONS]\n       dynotool COMMAND --help\ncommands:\n";
    for (const auto& command : kCommands) out << "  dynotool " << command.usage << "\n";
    out << kExitStatus;
}

void printCommandHelp(const CommandEntry& command, std::ostream& out) {
    out << "usage: dynotool " << command.usage << "\n";
    if (!command.purpose.empty()) out << command.purpose << "\n";
    out << kExitStatus;
}

bool asksForHelp(const std::vector<std::string>& words) {
    return std::any_of(words.begin(), words.end(),
                       [](const std::string& word) { return word == "--help" || word == "-h"; });
}

}  // namespace

int main(int argc, char** argv) {
    dyno::cli::quietToolkitMessages();
    if (argc < 2) {
        printUsage(std::cerr);
        return 2;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return 0;
    }
    const std::vector<std::string> words(argv + 2, argv + argc);
    for (const auto& command : kCommands) {
        if (command.name != name) continue;
        if (asksForHelp(words)) {
            printCommandHelp(command, std::cout);
            return 0;
        }
        try {
            return command.run(words, std::cout, std::cerr);
        } catch (const dyno::cli::UsageError& error) {
            std::cerr << "dynotool " << name << ": " << error.what() << "\n";
            return 2;
        } catch (const std::exception& error) {
            std::cerr << "dynotool " << name << ": " << error.what() << "\n";
            return 1;
        }
    }
    std::cerr << "dynotool: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return 2;
}
