#pragma once

#include <cstdint>
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

    // Numbers are read whole and strictly: "abc", "10x" and an empty value are usage
    // errors, "1e308" reads as 1e308. A script never gets a silently different value.
    // Every numeric option goes through these.
    std::optional<double> number(const std::string& name) const;
    double number(const std::string& name, double fallback) const;
    double numberIn(const std::string& name, double lowest, double highest, double fallback) const;
    std::optional<std::int32_t> integer(const std::string& name) const;
    std::int32_t integerIn(const std::string& name, std::int32_t lowest, std::int32_t highest,
                           std::int32_t fallback) const;
    // "1,2,3": whole numbers lowest..highest separated by `separator`.
    std::optional<std::vector<std::int32_t>> integerList(const std::string& name,
                                                         std::int32_t lowest, std::int32_t highest,
                                                         char separator = ',') const;
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    const std::vector<std::string>& operands() const { return operands_; }

  private:
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> operands_;
};

}  // namespace dyno::cli
