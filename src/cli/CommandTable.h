#pragma once

#include <span>
#include <string_view>

#include "cli/commands/Commands.h"

// dynotool's commands with their usage and purpose: what `dynotool --help` and
// `dynotool COMMAND --help` print, and what the man page's command list is made of.
namespace dyno::cli {

struct CommandEntry {
    std::string_view name;
    Command run;
    std::string_view usage;
    std::string_view purpose = {};  // what `dynotool COMMAND --help` explains
};

std::span<const CommandEntry> commandTable();

// The exit statuses, as every help text ends.
extern const std::string_view kExitStatusText;

}  // namespace dyno::cli
