#include "cli/options/Arguments.h"

#include <algorithm>

#include "model/TextNumbers.h"

namespace dyno::cli {

Arguments::Arguments(const std::vector<std::string>& words,
                     const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0 || word == "--") {
            operands_.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (valueOptions.count(name)) {
            if (inlineValue) {
                values_[name] = *inlineValue;
            } else if (i + 1 < words.size()) {
                values_[name] = words[++i];
            } else {
                throw UsageError("option --" + name + " needs a value");
            }
        } else if (flagOptions.count(name) && !inlineValue) {
            flags_.insert(name);
        } else {
            throw UsageError("unknown option --" + name);
        }
    }
}

std::optional<std::string> Arguments::value(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string Arguments::required(const std::string& name) const {
    auto v = value(name);
    if (!v) throw UsageError("missing --" + name);
    return *v;
}

namespace {

std::string shownNumber(double value) {
    return formatGeneral15(value);
}

}  // namespace

std::optional<double> Arguments::number(const std::string& name) const {
    const auto text = value(name);
    if (!text) return std::nullopt;
    const auto number = strictDecimal(*text);
    if (!number) throw UsageError("--" + name + " expects a number, not '" + *text + "'");
    return number;
}

double Arguments::number(const std::string& name, double fallback) const {
    return number(name).value_or(fallback);
}

double Arguments::numberIn(const std::string& name, double lowest, double highest,
                           double fallback) const {
    const auto read = number(name);
    if (!read) return fallback;
    if (*read < lowest || *read > highest) {
        throw UsageError("--" + name + " must be " + shownNumber(lowest) + ".." +
                         shownNumber(highest) + ", not '" + *value(name) + "'");
    }
    return *read;
}

std::optional<std::int32_t> Arguments::integer(const std::string& name) const {
    const auto text = value(name);
    if (!text) return std::nullopt;
    const auto number = strictInteger(*text);
    if (!number) throw UsageError("--" + name + " expects a whole number, not '" + *text + "'");
    return number;
}

std::int32_t Arguments::integerIn(const std::string& name, std::int32_t lowest,
                                  std::int32_t highest, std::int32_t fallback) const {
    const auto read = integer(name);
    if (!read) return fallback;
    if (*read < lowest || *read > highest) {
        throw UsageError("--" + name + " must be a whole number " + std::to_string(lowest) + ".." +
                         std::to_string(highest) + ", not '" + *value(name) + "'");
    }
    return *read;
}

std::optional<std::vector<std::int32_t>> Arguments::integerList(const std::string& name,
                                                                std::int32_t lowest,
                                                                std::int32_t highest,
                                                                char separator) const {
    const auto text = value(name);
    if (!text) return std::nullopt;
    std::vector<std::int32_t> numbers;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = std::min(text->find(separator, from), text->size());
        const auto number = strictInteger(std::string_view(*text).substr(from, end - from));
        if (!number || *number < lowest || *number > highest) {
            throw UsageError("--" + name + " takes whole numbers " + std::to_string(lowest) + ".." +
                             std::to_string(highest) + " separated by '" +
                             std::string(1, separator) + "', not '" + *text + "'");
        }
        numbers.push_back(*number);
        if (end == text->size()) break;
        from = end + 1;
    }
    return numbers;
}

}  // namespace dyno::cli
