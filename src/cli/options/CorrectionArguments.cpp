#include "cli/options/CorrectionArguments.h"

#include <optional>

#include "cli/options/Arguments.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

CorrectionStandard standardArgument(const std::string& text) {
    std::optional<CorrectionStandard> standard;
    if (const std::optional<std::int32_t> index = strictInteger(text)) {
        standard = correctionStandardFromIndex(*index);
    } else {
        standard = correctionStandardNamed(text);
    }
    if (!standard) {
        throw UsageError(
            "--standard must be 0..4 or one of \"SAE STP\", \"SAE J1349\", \"DIN\", \"EEC\", "
            "\"ISO 1585\", not \"" +
            text + "\"");
    }
    return *standard;
}

void StreamMessageSink::show(MessageKind kind, std::string_view caption, std::string_view text) {
    const char* label = kind == MessageKind::Error     ? "error"
                        : kind == MessageKind::Warning ? "warning"
                                                       : "information";
    err_ << label << ": " << caption << ": " << text << "\n";
}

}  // namespace dyno::cli
