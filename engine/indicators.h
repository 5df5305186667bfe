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
// its covering pairs. Tables are sized once from n and the level count m; nothing allocates
// per call.
class IndicatorMeter {
public:
    IndicatorMeter(int activityCount, int levelCount);

    // Fills PL (1-based longest-path level over covering pairs) and returns the largest PL.
    int progressiveLevels(const WorkNetwork& network);
    // PL of activity a from the last progressiveLevels call.
    int progressiveLevel(int a) const { return m_progressive[static_cast<std::size_t>(a)]; }

    // Fills RL from the predecessor closure, starting every activity at m.
    void regressiveLevels(const WorkNetwork& network);
    int regressiveLevel(int a) const { return m_regressive[static_cast<std::size_t>(a)]; }

    // I3..I6 of the network. Requires PL to be current for it and the network to have exactly
    // m levels.
    IndicatorRecord measure(const WorkNetwork& network);

private:
    int m_n;
    int m_levels;
    std::vector<int> m_progressive;
    std::vector<int> m_regressive;
    std::vector<int> m_width;
    std::vector<int> m_length;
};

} // namespace tavrin
