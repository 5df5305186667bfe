#pragma once

#include "engine/bits.h"
#include "engine/work_network.h"

namespace tavrin {

// True when S(f) and P(j) share an activity, for f < j: the pair (f, j) then has an activity
// between its ends. Only the words that can hold activities f+1..j-1 are read, since S(f)
// holds nothing up to f and P(j) nothing from j on; the answer equals a full-row test.
inline bool hasActivityBetween(const WorkNetwork& network, int f, int j) {
    if (j - f < 2) {
        return false;
    }
    const Word* succ = network.succ(f);
    const Word* pred = network.pred(j);
    const int high = wordOf(network.position(f + 1));
    const int low = wordOf(network.position(j - 1));
    for (int w = high; w >= low; --w) {
        if ((succ[w] & pred[w]) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace tavrin
