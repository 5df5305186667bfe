#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Raw-buffer text output shared by the writers: the callers make room first, these never check.
namespace tavrin::formats {

// The most characters a 32-bit number takes, its sign included.
inline constexpr std::size_t kNumberChars = 11;

inline char* putText(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// printf's "%<width>d": right-aligned in at least width characters, longer numbers in full.
// With separate set, a number that fills or outgrows its width gets one space before it, so that
// it never runs into the number before it on the line; numbers that fit keep the plain bytes.
inline char* putNumber(char* out, std::int64_t value, int width = 0, bool separate = false) {
    char digits[24];
    char* const end = digits + sizeof digits;
    char* first = end;
    std::uint64_t magnitude =
        value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--first = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (value < 0) {
        *--first = '-';
    }
    auto length = end - first;
    if (separate && length >= width) {
        *out++ = ' ';
    }
    for (; length < width; ++length) {
        *out++ = ' ';
    }
    return putText(out, std::string_view(first, static_cast<std::size_t>(end - first)));
}

// A fixed-width field after another number on its line.
inline char* putField(char* out, std::int64_t value, int width) {
    return putNumber(out, value, width, true);
}

// A growing text whose writers reserve room for a stretch (a line, a job) and then write it with
// the raw functions above. finish() trims the text to what was written.
class TextOut {
public:
    explicit TextOut(std::string& text) : m_text(text) {
        m_text.resize(m_text.capacity() > 64 ? m_text.capacity() : 64);
        m_at = m_text.data();
    }

    // Room for at least count more characters; the returned pointer is where writing goes on.
    char* room(std::size_t count) {
        const std::size_t used = static_cast<std::size_t>(m_at - m_text.data());
        if (m_text.size() - used < count) {
            m_text.resize(2 * m_text.size() + count);
            m_at = m_text.data() + used;
        }
        return m_at;
    }
    // Marks the characters up to end as written.
    void advance(char* end) { m_at = end; }
    void finish() { m_text.resize(static_cast<std::size_t>(m_at - m_text.data())); }

private:
    std::string& m_text;
    char* m_at;
};

} // namespace tavrin::formats
