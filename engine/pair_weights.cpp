#include "engine/pair_weights.h"

#include <stdexcept>
#include <string>

namespace tavrin {

double PairWeights::ratio(int activityCount) {
    return activityCount - 1 <= 60 ? 1.23456789 : 1.023456789;
}

PairWeights::PairWeights(int activityCount) : m_n(activityCount) {
    if (activityCount < 1) {
        throw std::invalid_argument("PairWeights: activity count " + std::to_string(activityCount)
                                    + " is below 1");
    }
    const int pairCount = activityCount * (activityCount - 1) / 2;
    m_weights.resize(static_cast<std::size_t>(pairCount) + 1);
    // Both factors are doubles; the products are formed and kept in extended precision.
    const long double r = ratio(activityCount);
    long double w = 0.00001;
    for (auto& weight : m_weights) {
        weight = w;
        w *= r;
    }
    m_rowOffset.resize(static_cast<std::size_t>(activityCount));
    int start = 0;
    for (int i = 0; i < activityCount; ++i) {
        m_rowOffset[static_cast<std::size_t>(i)] = start - i - 1;
        start += activityCount - 1 - i;
    }
    // Pair order, then w[P]: that is all weights in increasing order.
    for (const long double weight : m_weights) {
        m_baseSum += weight;
    }
}

} // namespace tavrin
