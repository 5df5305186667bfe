#include "engine/indicators.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tavrin {

namespace {

// Visits the covering pairs (a, b) of a in increasing b: members of C(a) also in S(a).
template <class Visit> void forEachCoveringPair(const WorkNetwork& network, int a, Visit&& visit) {
    const Word* cover = network.cover(a);
    const Word* succ = network.succ(a);
    const int last = network.activityCount() - 1;
    for (int w = network.rowWords() - 1; w >= 0; --w) {
        Word word = cover[w] & succ[w];
        while (word != 0) {
            const int b = highestBit(word);
            word ^= kBitMasks[static_cast<std::size_t>(b)];
            visit(last - (b + 32 * w));
        }
    }
}

} // namespace

IndicatorMeter::IndicatorMeter(int activityCount, int levelCount)
    : m_n(activityCount), m_levels(levelCount) {
    if (levelCount < 1 || levelCount > activityCount) {
        throw std::invalid_argument("IndicatorMeter: level count " + std::to_string(levelCount)
                                    + " is outside 1.." + std::to_string(activityCount));
    }
    m_progressive.resize(static_cast<std::size_t>(activityCount) + 1);
    m_regressive.resize(static_cast<std::size_t>(activityCount) + 1);
    m_width.resize(static_cast<std::size_t>(levelCount) + 2);
    m_length.resize(static_cast<std::size_t>(levelCount) + 2);
}

int IndicatorMeter::progressiveLevels(const WorkNetwork& network) {
    int* level = m_progressive.data();
    std::fill(level, level + m_n, 1);
    int top = 1;
    // Pairs run upward, so one increasing pass gives the longest-path level.
    for (int a = 0; a < m_n; ++a) {
        const int next = level[a] + 1;
        forEachCoveringPair(network, a, [&](int b) {
            if (level[b] < next) {
                level[b] = next;
                top = std::max(top, next);
            }
        });
    }
    return top;
}

void IndicatorMeter::regressiveLevels(const WorkNetwork& network) {
    int* level = m_regressive.data();
    std::fill(level, level + m_n, m_levels);
    for (int a = m_n - 1; a >= 0; --a) {
        const int before = level[a] - 1;
        network.forEachMember(network.pred(a),
                              [&](int p) { level[p] = std::min(level[p], before); });
    }
}

IndicatorRecord IndicatorMeter::measure(const WorkNetwork& network) {
    regressiveLevels(network);
    countWidths();
    countLengths(network);
    return IndicatorRecord{activityDistribution(), shortArcs(), longArcs(), topologicalFloat()};
}

void IndicatorMeter::countWidths() {
    std::fill(m_width.begin(), m_width.end(), 0);
    int top = 0;
    for (int a = 0; a < m_n; ++a) {
        const int level = m_progressive[static_cast<std::size_t>(a)];
        if (level < 1 || level > m_levels) {
            throw std::invalid_argument("IndicatorMeter: activity " + std::to_string(a)
                                        + " has progressive level " + std::to_string(level)
                                        + ", the run has " + std::to_string(m_levels));
        }
        ++m_width[static_cast<std::size_t>(level)];
        top = std::max(top, level);
    }
    if (top != m_levels) {
        throw std::invalid_argument("IndicatorMeter: the network has " + std::to_string(top)
                                    + " progressive levels, the run has "
                                    + std::to_string(m_levels));
    }
}

void IndicatorMeter::countLengths(const WorkNetwork& network) {
    std::fill(m_length.begin(), m_length.end(), 0);
    for (int a = 0; a < m_n; ++a) {
        const int from = m_progressive[static_cast<std::size_t>(a)];
        forEachCoveringPair(network, a, [&](int b) {
            ++m_length[static_cast<std::size_t>(m_progressive[static_cast<std::size_t>(b)] - from)];
        });
    }
}

// Deviation of the level widths from the average, in double steps; only the last product and
// quotient are extended. The double steps are what make some exact halves come out just below.
std::int32_t IndicatorMeter::activityDistribution() const {
    const int m = m_levels;
    if (m == 1 || m == m_n) {
        return 0;
    }
    const double average = static_cast<double>(m_n) / static_cast<double>(m);
    const double denominator = (static_cast<double>(m) - 1.0) * 2.0 * (average - 1.0);
    double deviation = 0.0;
    for (int l = 1; l <= m; ++l) {
        const double diff = static_cast<double>(width(l)) - average;
        deviation = diff >= 0.0 ? deviation + diff : deviation - diff;
    }
    return static_cast<std::int32_t>(100.0L * static_cast<long double>(deviation)
                                     / static_cast<long double>(denominator));
}

// Covering pairs of length 1 against the most there could be.
std::int32_t IndicatorMeter::shortArcs() const {
    int most = 0; // Dmax
    for (int l = 1; l < m_levels; ++l) {
        most += width(l) * width(l + 1);
    }
    const int first = width(1);
    if (most == 0 || m_n - first - most == 0) {
        return 100;
    }
    return ((length(1) - m_n + first) * 100) / (most - m_n + first);
}

// Covering pairs weighted down with their length. The weighted sum is held in single precision.
std::int32_t IndicatorMeter::longArcs() const {
    const int m = m_levels;
    int top = 0;
    for (int l = m; l >= 1; --l) {
        if (length(l) > 0) {
            top = l;
            break;
        }
    }
    int pairs = 0;
    for (int l = 1; l <= top; ++l) {
        pairs += length(l);
    }
    const int first = width(1);
    const int excess = pairs - m_n + first;
    if (excess == 0) {
        return 100;
    }
    float weighted = 0.0f;
    for (int l = m - 1; l >= 2; --l) {
        // The exact sum (every term is an integer well inside double range), rounded once.
        const std::int64_t term = static_cast<std::int64_t>(l - m + 1) * length(l);
        weighted = static_cast<float>(static_cast<double>(weighted) + static_cast<double>(term));
    }
    if (m > 2) {
        weighted = weighted / static_cast<float>(2 - m);
    }
    long double share = static_cast<long double>(length(1)) + static_cast<long double>(weighted);
    share = share - m_n;
    share = share + first;
    return static_cast<std::int32_t>(share * 100.0L / static_cast<long double>(excess));
}

// Mean slack between regressive and progressive level, against the largest possible.
std::int32_t IndicatorMeter::topologicalFloat() const {
    const int m = m_levels;
    if (m == 1 || m == m_n) {
        return 0;
    }
    float slack = 0.0f;
    for (int a = 0; a < m_n; ++a) {
        const auto i = static_cast<std::size_t>(a);
        slack += static_cast<float>(m_regressive[i] - m_progressive[i]);
    }
    const int most = (m - 1) * (m_n - m);
    return static_cast<std::int32_t>(100.0L * static_cast<long double>(slack)
                                     / static_cast<long double>(most));
}

} // namespace tavrin
