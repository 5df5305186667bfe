#pragma once

#include "engine/bits.h"

namespace tavrin {

// Whole-row word operations for the short rows of the event network. Plain loops: the rows
// are one or two words long in the common case, where a library copy or fill call would
// cost more than the work.
inline void copyWords(Word* to, const Word* from, int words) {
    for (int w = 0; w < words; ++w) {
        to[w] = from[w];
    }
}

inline void clearWords(Word* row, int words) {
    for (int w = 0; w < words; ++w) {
        row[w] = 0;
    }
}

inline void fillWords(Word* row, int words) {
    for (int w = 0; w < words; ++w) {
        row[w] = ~Word{0};
    }
}

} // namespace tavrin
