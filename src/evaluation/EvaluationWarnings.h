#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dyno {

// Things an evaluation had to guess at. They come from damaged or foreign session
// files: no setting of this program writes such values.
enum class EvaluationWarning : std::uint8_t {
    kUnknownDynoModel,          // evaluated with the K40's constants
    kUnknownElectronics,        // evaluated with the USB/serial clock
    kUnknownRollerCode,         // evaluated as the model's standard roller without extras
    kMaximumTooLarge,           // a maximum too large for its text; the text says "overflow"
    kCorrectionFactorUnusable,  // the stored factor is no number: evaluated with 1.0
};

// A small set of warnings; copying it never allocates.
class EvaluationWarnings {
  public:
    constexpr void set(EvaluationWarning warning) { bits_ |= bitOf(warning); }
    constexpr bool has(EvaluationWarning warning) const { return (bits_ & bitOf(warning)) != 0; }
    constexpr bool any() const { return bits_ != 0; }

    constexpr EvaluationWarnings& operator|=(EvaluationWarnings other) {
        bits_ |= other.bits_;
        return *this;
    }

    friend constexpr bool operator==(EvaluationWarnings, EvaluationWarnings) = default;

  private:
    static constexpr std::uint8_t bitOf(EvaluationWarning warning) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(warning));
    }

    std::uint8_t bits_ = 0;
};

// One sentence per warning that is set, in the order of EvaluationWarning, for the
// window's message and for dynotool's stderr.
std::vector<std::string> warningTexts(EvaluationWarnings warnings);

}  // namespace dyno
