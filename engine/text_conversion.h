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

// What a real text holds. A number is out of range when its double overflows or a non-zero
// value rounds to zero; a denormal is representable and in range. Every real conversion uses
// this one range, so a text that one field refuses no other accepts.
enum class RealText { Number, NotANumber, OutOfRange };
RealText classifyReal(std::string_view text, char decimalSeparator = '.');

// Decimal real with the given decimal separator and an optional exponent, correctly rounded to
// a double. "nan", "inf" and values out of range fail.
std::optional<double> parseReal(std::string_view text, char decimalSeparator = '.');

// The same text correctly rounded straight to extended precision (no double in between). It
// fails for the same texts as parseReal, although extended precision could hold more.
std::optional<long double> parseExtended(std::string_view text, char decimalSeparator = '.');

// A fraction text as a whole percentage: the extended value times 100, truncated toward zero.
// "0.6" gives 60, "0.53" (held just below) gives 52.
std::optional<std::int32_t> parsePercent(std::string_view text, char decimalSeparator = '.');

// A typed value as messages show it: in single quotes, with control characters escaped (\n,
// \r, \t, else \xNN) so that the message stays on one line. Ordinary text is unchanged.
std::string quotedText(std::string_view text);
// The same without the quotes, for paths and names inside a message.
std::string escapedText(std::string_view text);

inline constexpr const char* kInvalidIntegerSuffix = " is not a valid integer value.";
inline constexpr const char* kInvalidRealSuffix = " is not a valid floating point value.";
inline constexpr const char* kOutOfRangeSuffix = " is out of range.";

// quotedText(text) + kInvalidIntegerSuffix.
std::string invalidIntegerMessage(std::string_view text);
// For a refused real text: quotedText(text) + kOutOfRangeSuffix when it is a number out of
// range, else + kInvalidRealSuffix.
std::string invalidRealMessage(std::string_view text, char decimalSeparator = '.');
// quotedText(text) + kOutOfRangeSuffix, also for a number a field cannot use (a percentage
// beyond 32 bits).
std::string outOfRangeMessage(std::string_view text);

// The general real format: up to 15 significant digits, no trailing zeros ("0.35", "1", "37").
std::string formatReal(double value);

} // namespace tavrin
