#pragma once

#include "engine/work_network.h"

#include <cstdint>
#include <vector>

namespace tavrin {

// The I3..I6 percentages (0..100) of one network, in this order.
struct IndicatorRecord {
    std::int32_t i3 = 0;
    std::int32_t i4 = 0;
    std::int32_t i5 = 0;
    std::int32_t i6 = 0;
    bool operator==(const IndicatorRecord&) const = default;
};

// Progressive and regressive levels and the indicators of a work network whose cover rows hold
// its covering pairs (the covering pairs of a are the members of C(a) that are also in S(a)).
// Tables are sized once from n and the level count m; nothing allocates per call.
class IndicatorMeter {
public:
    // Throws std::invalid_argument unless 1 <= levelCount <= activityCount.
    IndicatorMeter(int activityCount, int levelCount);

    int activityCount() const { return m_n; }
    int levelCount() const { return m_levels; }

    // Fills PL (1-based longest-path level over covering pairs) and returns the largest PL.
    int progressiveLevels(const WorkNetwork& network);
    // PL of activity a from the last progressiveLevels call.
    int progressiveLevel(int a) const { return m_progressive[static_cast<std::size_t>(a)]; }

    // Fills RL from the predecessor closure, starting every activity at m.
    void regressiveLevels(const WorkNetwork& network);
    int regressiveLevel(int a) const { return m_regressive[static_cast<std::size_t>(a)]; }

    // I3..I6 of the network. Requires PL to be current for it; throws std::invalid_argument
    // when PL does not reach exactly m levels.
    IndicatorRecord measure(const WorkNetwork& network);

private:
    void countWidths();
    void countLengths(const WorkNetwork& network);
    std::int32_t activityDistribution() const; // I3
    std::int32_t shortArcs() const;            // I4
    std::int32_t longArcs() const;             // I5
    std::int32_t topologicalFloat() const;     // I6

    int width(int level) const { return m_width[static_cast<std::size_t>(level)]; }
    int length(int span) const { return m_length[static_cast<std::size_t>(span)]; }

    int m_n;
    int m_levels;
    std::vector<int> m_progressive;
    std::vector<int> m_regressive;
    std::vector<int> m_width;  // activities per progressive level, 0..m
    std::vector<int> m_length; // covering pairs per level difference, 0..m
};

} // namespace tavrin
