// dynotool: the command-line face of the dyno core, for scripts and black-box tests.
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Commands.h"

namespace {

struct CommandEntry {
    std::string_view name;
    dyno::cli::Command run;
    std::string_view usage;
};

constexpr CommandEntry kCommands[] = {
    {"info", dyno::cli::runInfo, "info FILE [--json]"},
    {"curves", dyno::cli::runCurves,
     "curves FILE --run N [--mph] [--kw] [--with-rpm] [--roller-weight KG] [--json|--csv]"},
    {"graph", dyno::cli::runGraph,
     "graph FILE1 [FILE2 [FILE3 [FILE4]]] --out PNG [--run N,...] [--speed A:B] [--power A:B] "
     "[--rpm A:B] [--show-rpm] [--torque] [--fixed-gearing] [--air] [--mph] [--kw] [--panel]"},
    {"analog", dyno::cli::runAnalog,
     "analog FILE1 [FILE2 [FILE3 [FILE4]]] --out PNG [--run N,...] [--channels 1,3,5] "
     "[--vscale hp|speed] [--zoom N] [--offset N] [--shift a,b,c,d] [--left-scale C] "
     "[--end-hp N] [--mph] [--kw] [--ad-settings FILE.ana] [--plot-only]"},
    {"correction", dyno::cli::runCorrection,
     "correction --temperature T --pressure P --humidity H --standard K [--fahrenheit] "
     "[--inch-hg]"},
    {"simulate", dyno::cli::runSimulate,
     "simulate --out FILE.zsd [--vehicle NAME] [--test norpm|720|360|180|deg:N] "
     "[--channels 1,2,..] [--seed S] [--realtime [--time-lapse N]] [--remote-delay MS] "
     "[--roller-weight KG] [--gearbox variomatic|fixed] [--pressure P] [--temperature T] "
     "[--humidity H] [--standard K] [--make T] [--model T] [--owner T] [--remark T] "
     "[--verbose]\n"
     "  dynotool simulate --pty [--vehicle NAME] [--seed S] [--time-lapse N] [--remote-delay MS]"},
    {"record", dyno::cli::runRecord,
     "record --port PORT --out FILE.zsd [--test norpm|720|360|180|deg:N] [--channels 1,2,..] "
     "[--weather] [--dyno K40|K70|K80] [--roller-weight KG] [--roller-code N] "
     "[--gearbox variomatic|fixed] [--transfer-delay D] [--pressure P] [--temperature T] "
     "[--humidity H] [--standard K] [--make T] [--model T] [--owner T] [--remark T] "
     "[--timeout S] [--verbose]"},
};

void printUsage(std::ostream& out) {
    out << "usage: dynotool COMMAND [OPTIONS]\ncommands:\n";
    for (const auto& command : kCommands) out << "  dynotool " << command.usage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
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
