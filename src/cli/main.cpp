// dynotool: the command-line face of the dyno core, for scripts and black-box tests.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandTable.h"
#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/output/ToolkitMessages.h"

namespace {

void printUsage(std::ostream& out) {
    out << "usage: dynotool COMMAND [OPTIONS]\n       dynotool COMMAND --help\ncommands:\n";
    for (const auto& command : dyno::cli::commandTable())
        out << "  dynotool " << command.usage << "\n";
    out << dyno::cli::kExitStatusText;
}

void printCommandHelp(const dyno::cli::CommandEntry& command, std::ostream& out) {
    out << "usage: dynotool " << command.usage << "\n";
    if (!command.purpose.empty()) out << command.purpose << "\n";
    out << dyno::cli::kExitStatusText;
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
    for (const auto& command : dyno::cli::commandTable()) {
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
