#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dyno {

// The published standards the power can be corrected by, as `corrchoice` lists
// them; the index is stored with a session (SessionHeader::kCorrectionStandard).
enum class CorrectionStandard : std::int16_t {
    SaeStp = 0,
    SaeJ1349 = 1,
    Din = 2,
    Eec = 3,  // the Param. page's default
    Iso1585 = 4,
};

inline constexpr int kCorrectionStandards = 5;

// The temperature term and reference pressure of the base factor
// sqrt((1.8 T + c) / 537) x p0 / B x 1.18 - 0.18.
struct CorrectionStandardConstants {
    double temperatureTerm;        // c
    double referencePressureMbar;  // p0
};

CorrectionStandardConstants constantsOf(CorrectionStandard standard);

// "SAE STP", "SAE J1349", "DIN", "EEC", "ISO 1585".
std::string_view correctionStandardName(CorrectionStandard standard);

std::optional<CorrectionStandard> correctionStandardFromIndex(int index);
// The exact name as shown in the list.
std::optional<CorrectionStandard> correctionStandardNamed(std::string_view name);

}  // namespace dyno
