#pragma once

#include "engine/work_network.h"

namespace tavrin {

// The complexity index CI of a network: the least number of node reductions that make its
// activity-on-arc form series-parallel, found as a maximum matching. Tables are sized once
// from n and reused; compute() allocates nothing.
class ComplexityIndex {
public:
    explicit ComplexityIndex(int activityCount);

    // CI of the network held in the closure rows S and P of the work network.
    int compute(const WorkNetwork& network);
};

} // namespace tavrin
