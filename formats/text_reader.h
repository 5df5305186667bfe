#pragma once

#include "formats/instance_io.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin::formats {

// Values a reader accepts: counts, durations, demands and availabilities are never negative, and
// their sums (a horizon, a schedule) must still fit comfortably in 64 bits.
inline constexpr std::int64_t kLargestValue = 2147483647;

// Whitespace-separated tokens of a text file with the line each starts on. Faults are thrown as
// FormatError naming the file and the line.
class TextReader {
public:
    TextReader(std::string_view bytes, const std::string& fileName);

    // The next token, empty at the end of the text.
    std::string_view next();
    // The next token as a whole number in 0..largest; what names the value in messages.
    std::int64_t number(std::string_view what, std::int64_t largest = kLargestValue);
    // The next token, which must equal word.
    void expect(std::string_view word);
    // True when only whitespace is left.
    bool atEnd();

    // The line of the last token returned (of the next one after skipWhitespace()).
    int line() const { return m_tokenLine; }
    const std::string& fileName() const { return m_fileName; }
    [[noreturn]] void fail(const std::string& message) const;

private:
    void skipWhitespace();

    std::string_view m_bytes;
    std::size_t m_at = 0;
    int m_line = 1;
    int m_tokenLine = 1;
    const std::string& m_fileName;
};

// A whole token as a number in 0..largest, or a FormatError at the given line.
std::int64_t parseNumber(std::string_view token, std::string_view what, std::int64_t largest,
                         const std::string& fileName, int line);

// How a token reads in a message: printable text in quotes, other bytes as hexadecimal codes.
std::string quoteToken(std::string_view token);

} // namespace tavrin::formats
