#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace tavrin {

// Every set (arc sets, activity rows, event rows) is an array of 32-bit words.
using Word = std::uint32_t;

// Entry k is 2^k.
inline constexpr std::array<Word, 32> kBitMasks = [] {
    std::array<Word, 32> masks{};
    for (int k = 0; k < 32; ++k) {
        masks[static_cast<std::size_t>(k)] = Word{1} << k;
    }
    return masks;
}();

// Index of the highest set bit of a non-zero word (floor(log2 x)), 0..31. Same values as a
// 65,536-entry lookup table with a 16-bit split, computed directly.
inline int highestBit(Word x) {
    return 31 - std::countl_zero(x);
}

inline int wordOf(int position) {
    return position >> 5;
}
inline Word maskOf(int position) {
    return kBitMasks[static_cast<std::size_t>(position & 31)];
}

inline bool testBit(const Word* row, int position) {
    return (row[wordOf(position)] & maskOf(position)) != 0;
}
inline void setBit(Word* row, int position) {
    row[wordOf(position)] |= maskOf(position);
}
inline void clearBit(Word* row, int position) {
    row[wordOf(position)] &= ~maskOf(position);
}

// The set-bit walk: words from index words-1 down to 0, within a word the highest bit first.
// Its order fixes list appends and floating-point summation orders, so every member loop uses
// it. The visitor gets the position (bit + 32 * word index).
template <class Visit> inline void forEachSetBit(const Word* row, int words, Visit&& visit) {
    for (int w = words - 1; w >= 0; --w) {
        Word word = row[w];
        while (word != 0) {
            const int b = highestBit(word);
            word ^= kBitMasks[static_cast<std::size_t>(b)];
            visit(b + 32 * w);
        }
    }
}

// True when the rows share a member; scans from the last word down, as the walk does.
inline bool intersects(const Word* a, const Word* b, int words) {
    for (int w = words - 1; w >= 0; --w) {
        if ((a[w] & b[w]) != 0) {
            return true;
        }
    }
    return false;
}

inline bool rowsEqual(const Word* a, const Word* b, int words) {
    for (int w = words - 1; w >= 0; --w) {
        if (a[w] != b[w]) {
            return false;
        }
    }
    return true;
}

inline bool rowEmpty(const Word* row, int words) {
    for (int w = 0; w < words; ++w) {
        if (row[w] != 0) {
            return false;
        }
    }
    return true;
}

inline int popCount(const Word* row, int words) {
    int count = 0;
    for (int w = 0; w < words; ++w) {
        count += std::popcount(row[w]);
    }
    return count;
}

} // namespace tavrin
