// Writes dynotool's man page from its template, with the command list made from the
// same table as `dynotool --help`, so that the two cannot drift apart:
// `dyno_manpage TEMPLATE OUT`. The template's line ".\" @COMMANDS@" is replaced.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/CommandTable.h"

namespace {

constexpr std::string_view kMarker = ".\\\" @COMMANDS@";

// Text as roff shows it: backslashes and dashes escaped, no line taken for a request.
std::string roffText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

// The lines of `text`, each without the "  dynotool " that continues a usage.
template <typename Each>
void eachLine(std::string_view text, Each each) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        constexpr std::string_view kContinued = "  dynotool ";
        if (line.starts_with(kContinued)) line.remove_prefix(kContinued.size());
        each(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

std::string commandList() {
    std::ostringstream out;
    for (const dyno::cli::CommandEntry& command : dyno::cli::commandTable()) {
        bool first = true;
        eachLine(command.usage, [&](std::string_view usage) {
            out << (first ? ".TP\n" : ".br\n") << ".B dynotool " << roffText(usage) << "\n";
            first = false;
        });
        if (!command.purpose.empty()) out << ".br\n";
        eachLine(command.purpose, [&](std::string_view line) { out << roffText(line) << "\n"; });
    }
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: dyno_manpage TEMPLATE OUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::ostringstream page;
    bool replaced = false;
    for (std::string line; std::getline(in, line);) {
        if (line == kMarker) {
            page << commandList();
            replaced = true;
        } else {
            page << line << "\n";
        }
    }
    if (!in.eof() || !replaced) {
        std::cerr << "dyno_manpage: cannot read the template or its marker: " << argv[1] << "\n";
        return 1;
    }
    std::ofstream out(argv[2]);
    out << page.str();
    return out.good() ? 0 : 1;
}
