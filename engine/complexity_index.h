#pragma once

#include "engine/complexity_graph.h"
#include "engine/complexity_matching.h"
#include "engine/event_network.h"
#include "engine/work_network.h"

namespace tavrin {

// The complexity index CI of a network: the least number of node reductions that make its
// activity-on-arc form series-parallel, found as a maximum matching. Tables are sized once
// from n and reused; compute() allocates nothing.
class ComplexityIndex {
public:
    // Throws std::invalid_argument unless activityCount >= 1.
    explicit ComplexityIndex(int activityCount);

    // CI of the network held in the closure rows S and P of the work network. Throws
    // std::invalid_argument when its activity count differs from the constructor's.
    int compute(const WorkNetwork& network);

    // The forms of the network last computed.
    const EventNetwork& eventNetwork() const { return m_events; }
    const ComplexityGraph& complexityGraph() const { return m_graph; }

private:
    EventNetwork m_events;
    ComplexityGraph m_graph;
    ComplexityMatching m_matching;
};

} // namespace tavrin
