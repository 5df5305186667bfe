#pragma once

#include "engine/pair_index.h"
#include "engine/work_network.h"

#include <string_view>
#include <utility>
#include <vector>

namespace tavrin::testing {

// Builds a work network from compact text such as "0>2 1>2 2>3": arcs i>j with i < j. The
// closure rows S and P get the transitive closure, the cover rows and the cover list the
// covering pairs (in increasing pair order).
WorkNetwork network(int activityCount, std::string_view arcs);

// The same from a list of arcs.
WorkNetwork networkFromArcs(int activityCount, const std::vector<std::pair<int, int>>& arcs);

// Related pairs (i, j) of the closure, in increasing pair order.
std::vector<std::pair<int, int>> relatedPairs(const WorkNetwork& network);

} // namespace tavrin::testing
