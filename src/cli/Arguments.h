#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace dyno::cli {

// A usage error: dynotool prints its message as the one-line reason and exits 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The words after the command name: "--name value" options, "--flag" switches and
// positional operands. Which options take a value is declared up front, so a
// missing value or an unknown option is reported instead of guessed.
class Arguments {
  public:
    Arguments(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
              const std::set<std::string>& flagOptions);

    std::optional<std::string> value(const std::string& name) const;
    std::string required(const std::string& name) const;
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    const std::vector<std::string>& operands() const { return operands_; }

  private:
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> operands_;
};

}  // namespace dyno::cli
