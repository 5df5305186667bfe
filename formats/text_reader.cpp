#include "formats/text_reader.h"

#include <cstdio>

namespace tavrin::formats {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Long tokens are cut in messages: a line of garbage must not make a message of megabytes.
constexpr std::size_t kShownChars = 24;

} // namespace

std::string quoteToken(std::string_view token) {
    if (token.empty()) {
        return "the end of the file";
    }
    std::string shown;
    bool printable = true;
    for (const char c : token.substr(0, kShownChars)) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code >= 0x7f) {
            printable = false;
            break;
        }
    }
    if (printable) {
        shown = "\"" + std::string(token.substr(0, kShownChars)) + "\"";
    } else {
        shown = "the bytes";
        for (const char c : token.substr(0, 8)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, " %02x", static_cast<unsigned char>(c));
            shown += hex;
        }
    }
    if (token.size() > kShownChars || (!printable && token.size() > 8)) {
        shown += "...";
    }
    return shown;
}

TextReader::TextReader(std::string_view bytes, const std::string& fileName)
    : m_bytes(bytes), m_fileName(fileName) {}

void TextReader::skipWhitespace() {
    while (m_at < m_bytes.size() && isSpace(m_bytes[m_at])) {
        m_line += m_bytes[m_at] == '\n' ? 1 : 0;
        ++m_at;
    }
    m_tokenLine = m_line;
}

std::string_view TextReader::next() {
    skipWhitespace();
    const std::size_t first = m_at;
    while (m_at < m_bytes.size() && !isSpace(m_bytes[m_at])) {
        ++m_at;
    }
    return m_bytes.substr(first, m_at - first);
}

bool TextReader::atEnd() {
    skipWhitespace();
    return m_at == m_bytes.size();
}

void TextReader::fail(const std::string& message) const {
    throw FormatError(m_fileName, m_tokenLine, message);
}

std::int64_t parseNumber(std::string_view token, std::string_view what, std::int64_t largest,
                         const std::string& fileName, int line) {
    const auto fail = [&](const std::string& message) {
        throw FormatError(fileName, line, message);
    };
    const auto expected = [&] {
        return std::string(what) + ": expected a whole number from 0 to " + std::to_string(largest)
               + ", found " + quoteToken(token);
    };
    if (token.empty()) {
        fail(expected());
    }
    std::int64_t value = 0;
    for (const char c : token) {
        if (c < '0' || c > '9') {
            fail(expected());
        }
        value = value * 10 + (c - '0');
        if (value > largest) {
            fail(expected());
        }
    }
    return value;
}

std::int64_t TextReader::number(std::string_view what, std::int64_t largest) {
    const std::string_view token = next();
    return parseNumber(token, what, largest, m_fileName, m_tokenLine);
}

void TextReader::expect(std::string_view word) {
    const std::string_view token = next();
    if (token != word) {
        fail("expected \"" + std::string(word) + "\", found " + quoteToken(token));
    }
}

} // namespace tavrin::formats
