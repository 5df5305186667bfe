#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// Conversions of the texts users type. Every shell converts through these, so that the desktop
// program (locale separator) and the command-line tool ('.') read a text the same way.
// Surrounding blanks are ignored; anything else that is not a number fails.

// Decimal 32-bit integer with an optional sign; out-of-range values fail.
std::optional<std::int32_t> parseInteger(std::string_view text);

// Decimal real with the given decimal separator and an optional exponent, correctly rounded to
// a double. Non-finite results ("nan", "inf", overflow) fail.
std::optional<double> parseReal(std::string_view text, char decimalSeparator = '.');

// The same text correctly rounded straight to extended precision (no double in between).
std::optional<long double> parseExtended(std::string_view text, char decimalSeparator = '.');

// A fraction text as a whole percentage: the extended value times 100, truncated toward zero.
// "0.6" gives 60, "0.53" (held just below) gives 52.
std::optional<std::int32_t> parsePercent(std::string_view text, char decimalSeparator = '.');

// "'" + text + "' is not a valid integer value."
std::string invalidIntegerMessage(std::string_view text);
// "'" + text + "' is not a valid floating point value."
std::string invalidRealMessage(std::string_view text);

// The general real format: up to 15 significant digits, no trailing zeros ("0.35", "1", "37").
std::string formatReal(double value);

} // namespace tavrin
