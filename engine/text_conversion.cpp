#include "engine/text_conversion.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tavrin {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Copies the run of decimal digits at text[i] on to `out`; whether there was one.
bool copyDigits(std::string_view text, std::size_t& i, std::string& out) {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        out += text[i++];
    }
    return i != from;
}

// Checks the shape [sign] digits [sep digits] [e [sign] digits] and returns it with '.' as the
// separator, or nothing. Keeps from_chars from accepting "inf", "nan" or hexadecimal forms.
std::optional<std::string> normalisedReal(std::string_view text, char separator) {
    text = trimmed(text);
    std::string out;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            out += '-';
        }
        ++i;
    }
    bool digits = copyDigits(text, i, out);
    if (i < text.size() && text[i] == separator) {
        out += '.';
        ++i;
        digits = copyDigits(text, i, out) || digits;
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        out += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            out += text[i++];
        }
        if (!copyDigits(text, i, out)) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return out;
}

template <class Real> Real convert(const std::string& normal) {
    Real value{};
    std::from_chars(normal.data(), normal.data() + normal.size(), value);
    return value;
}

template <class Real> std::optional<Real> parseFloating(std::string_view text, char separator) {
    if (classifyReal(text, separator) != RealText::Number) {
        return std::nullopt;
    }
    return convert<Real>(*normalisedReal(text, separator));
}

} // namespace

std::optional<std::int32_t> parseInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value, 10);
    if (text.empty() || error != std::errc{} || end != last) {
        return std::nullopt;
    }
    return value;
}

RealText classifyReal(std::string_view text, char decimalSeparator) {
    const auto normal = normalisedReal(text, decimalSeparator);
    if (!normal) {
        return RealText::NotANumber;
    }
    // The range is the double's whatever the target type: from_chars reports both overflow and
    // a non-zero value that rounds to zero, and accepts denormals.
    double value = 0.0;
    const char* first = normal->data();
    const char* last = first + normal->size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        return RealText::OutOfRange;
    }
    if (error != std::errc{} || end != last || !std::isfinite(value)) {
        return RealText::NotANumber;
    }
    return RealText::Number;
}

std::optional<double> parseReal(std::string_view text, char decimalSeparator) {
    return parseFloating<double>(text, decimalSeparator);
}

std::optional<long double> parseExtended(std::string_view text, char decimalSeparator) {
    return parseFloating<long double>(text, decimalSeparator);
}

std::optional<std::int32_t> parsePercent(std::string_view text, char decimalSeparator) {
    const auto value = parseExtended(text, decimalSeparator);
    if (!value) {
        return std::nullopt;
    }
    const long double percent = *value * 100.0L;
    // Truncation of a value outside 32 bits has no meaning; treat it as a bad text.
    if (!(percent > -2147483649.0L && percent < 2147483648.0L)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(percent);
}

std::string escapedText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string quoted;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (code < 0x20 || code == 0x7F) {
            quoted += "\\x";
            quoted += kHex[code >> 4];
            quoted += kHex[code & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted;
}

std::string quotedText(std::string_view text) {
    return "'" + escapedText(text) + "'";
}

std::string invalidIntegerMessage(std::string_view text) {
    return quotedText(text) + kInvalidIntegerSuffix;
}

std::string invalidRealMessage(std::string_view text, char decimalSeparator) {
    if (classifyReal(text, decimalSeparator) == RealText::OutOfRange) {
        return outOfRangeMessage(text);
    }
    return quotedText(text) + kInvalidRealSuffix;
}

std::string outOfRangeMessage(std::string_view text) {
    return quotedText(text) + kOutOfRangeSuffix;
}

std::string formatReal(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer);
    // %G drops trailing zeros; the exponent is written without padding ("1E-5", not "1E-05").
    const auto e = text.find('E');
    if (e != std::string::npos) {
        std::size_t digits = e + 2;
        while (digits + 1 < text.size() && text[digits] == '0') {
            text.erase(digits, 1);
        }
        if (text[e + 1] == '+') {
            text.erase(e + 1, 1);
        }
    }
    return text;
}

} // namespace tavrin
