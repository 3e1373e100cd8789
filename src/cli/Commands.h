#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace dyno::cli {

// One dynotool command: the words after its name in, machine-readable output on
// `out`, a one-line reason on `err`; returns the exit status.
using Command = int (*)(const std::vector<std::string>& words, std::ostream& out,
                        std::ostream& err);

}  // namespace dyno::cli
