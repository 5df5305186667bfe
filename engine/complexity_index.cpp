#include "engine/complexity_index.h"

namespace tavrin {

ComplexityIndex::ComplexityIndex(int activityCount)
    : m_events(activityCount), m_graph(activityCount), m_matching(activityCount) {}

int ComplexityIndex::compute(const WorkNetwork& network) {
    m_events.build(network);
    m_graph.build(m_events);
    return m_matching.maximumMatching(m_graph);
}

} // namespace tavrin
