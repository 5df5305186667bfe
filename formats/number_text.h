#pragma once

#include <cassert>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Raw-buffer text output shared by the writers: the callers make room first, these never check.
namespace tavrin::formats {

// The most characters a 32-bit number takes, its sign included; a 64-bit one (sums of values).
inline constexpr std::size_t kNumberChars = 11;
inline constexpr std::size_t kWideNumberChars = 20;

inline char* putText(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

inline constexpr std::string_view kSpaces = "                ";
// Spare bytes every buffer keeps beyond what it means to write: see putNumber.
inline constexpr std::size_t kSlack = 16;

// printf's "%<width>d": right-aligned in at least width (at most 16) characters, longer numbers
// in full.
// With separate set, a number that fills or outgrows its width gets one space before it, so that
// it never runs into the number before it on the line; numbers that fit keep the plain bytes.
inline int digitCount(std::uint64_t magnitude) {
    int count = 1;
    for (std::uint64_t bound = 10; magnitude >= bound && count < 19; bound *= 10) {
        ++count;
    }
    return magnitude >= 10000000000000000000u ? 20 : count;
}

inline char* putNumber(char* out, std::int64_t value, int width = 0, bool separate = false) {
    std::uint64_t magnitude =
        value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const int length = digitCount(magnitude) + (value < 0 ? 1 : 0);
    if (length < width) {
        // One fixed-size copy is quicker than a loop; the bytes beyond the field are
        // overwritten by what follows, which is why every buffer keeps kSlack spare bytes.
        std::memcpy(out, kSpaces.data(), kSpaces.size());
        out += width - length;
    } else if (separate) {
        *out++ = ' ';
    }
    // Digits straight into place, last first: no copy through a scratch buffer.
    char* const end = out + length;
    if (magnitude < 100 && value >= 0) {
        if (magnitude >= 10) {
            out[0] = static_cast<char>('0' + magnitude / 10);
        }
        end[-1] = static_cast<char>('0' + magnitude % 10);
        return end;
    }
    char* first = end;
    do {
        *--first = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (value < 0) {
        *--first = '-';
    }
    return end;
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
        m_end = m_at + m_text.size();
    }

    // Room for at least count more characters; the returned pointer is where writing goes on.
    char* room(std::size_t count) {
        if (static_cast<std::size_t>(m_end - m_at) < count + kSlack) {
            grow(count);
        }
        m_limit = m_at + count;
        return m_at;
    }
    // Marks the characters up to end as written, all within the room asked for last.
    void advance(char* end) {
        assert(end >= m_at && end <= m_limit);
        m_at = end;
    }
    // How much is written, and where an earlier offset is now (the text moves as it grows).
    std::size_t written() const { return static_cast<std::size_t>(m_at - m_text.data()); }
    char* at(std::size_t offset) { return m_text.data() + offset; }
    void finish() { m_text.resize(static_cast<std::size_t>(m_at - m_text.data())); }

private:
    void grow(std::size_t count) {
        const auto used = static_cast<std::size_t>(m_at - m_text.data());
        m_text.resize(2 * m_text.size() + count + kSlack);
        m_at = m_text.data() + used;
        m_end = m_text.data() + m_text.size();
    }

    std::string& m_text;
    char* m_at;
    char* m_end;
    char* m_limit = nullptr;
};

} // namespace tavrin::formats
