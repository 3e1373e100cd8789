#include "evaluation/CorrectionStandard.h"

#include <array>

namespace dyno {

namespace {

struct StandardEntry {
    std::string_view name;
    CorrectionStandardConstants constants;
};

// Indexed by CorrectionStandard.
constexpr std::array<StandardEntry, kCorrectionStandards> kStandards{{
    {"SAE STP", {506.0, 1012.0}},
    {"SAE J1349", {492.0, 990.0}},
    {"DIN", {501.0, 993.0}},
    {"EEC", {492.0, 990.0}},
    {"ISO 1585", {492.0, 990.0}},
}};

const StandardEntry& entryOf(CorrectionStandard standard) {
    return kStandards[static_cast<std::size_t>(standard)];
}

}  // namespace

CorrectionStandardConstants constantsOf(CorrectionStandard standard) {
    return entryOf(standard).constants;
}

std::string_view correctionStandardName(CorrectionStandard standard) {
    return entryOf(standard).name;
}

std::optional<CorrectionStandard> correctionStandardFromIndex(int index) {
    if (index < 0 || index >= kCorrectionStandards) return std::nullopt;
    return static_cast<CorrectionStandard>(index);
}

std::optional<CorrectionStandard> correctionStandardNamed(std::string_view name) {
    for (std::size_t i = 0; i < kStandards.size(); ++i) {
        if (kStandards[i].name == name) return static_cast<CorrectionStandard>(i);
    }
    return std::nullopt;
}

}  // namespace dyno
