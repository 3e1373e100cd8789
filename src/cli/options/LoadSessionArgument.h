#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "model/TestSession.h"

namespace dyno::cli {

// Loads the session archive named on a command line into `slot`, as the File page's
// load buttons do. On failure prints one line "dynotool COMMAND: reason: FILE" on
// `err` and returns false; the slot is then unchanged.
bool loadSessionArgument(std::string_view command, const std::string& file, TestSession& slot,
                         std::ostream& err);

}  // namespace dyno::cli
