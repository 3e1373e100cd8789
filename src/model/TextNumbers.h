#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The two ways the program reads numbers typed into its boxes, and the way it
// writes numbers for people. None of them depends on the process locale (which
// the toolkit sets from the environment): the lenient readers and every
// formatter use a point, only the strict decimal reader also takes the user's
// decimal separator.
namespace dyno {

// Lenient: the leading number of the text, 0 when there is none. Leading blanks
// are skipped; then an optional sign, decimal digits and at most one point. No
// exponent, no "nan", "inf" or hexadecimal: "1e3" reads 1, "0x10" reads 0.
double leadingNumber(std::string_view text);

// Lenient whole number: optional sign and leading decimal digits, 0 when there are
// none ("12.7" reads 12). Values beyond the 32-bit range saturate at its ends.
std::int32_t leadingInteger(std::string_view text);

// Strict: the whole text (blanks around it allowed) must be one decimal number
// written with `decimalSeparator` or a point, optionally with an exponent. The
// point is always taken because the program shows the numbers it restores with
// one ("250.5", "1.10000002384186"); it must read back what it shows. Anything
// else, and any non-finite value, fails.
std::optional<double> strictDecimal(std::string_view text, char decimalSeparator = '.');

// Strict whole number in the 32-bit range (blanks around it allowed).
std::optional<std::int32_t> strictInteger(std::string_view text);

// The messages shown when a strict conversion fails, as the toolkit words them.
std::string notAFloatMessage(std::string_view text);
std::string notAnIntegerMessage(std::string_view text);

// printf-style "%.<decimals>f", always with a point; "-0.00" is kept as C prints it.
std::string formatFixed(double value, int decimals);

// Writes "%.<decimals>f" into `out` without allocating; returns the characters
// written, or 0 if the buffer is too small. Used on the evaluation's hot path.
std::size_t formatFixedInto(double value, int decimals, char* out, std::size_t size);

// "%.15g": the general form with up to 15 significant digits (1.1f shows as
// 1.10000002384186), as restored settings are shown.
std::string formatGeneral15(double value);

// "%.17g": reads back as the same double, for JSON and CSV output.
std::string formatRoundTrip(double value);

}  // namespace dyno
