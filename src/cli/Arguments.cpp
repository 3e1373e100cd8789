#include "cli/Arguments.h"

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

}  // namespace dyno::cli
