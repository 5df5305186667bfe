#pragma once

#include <cstdint>

namespace tavrin {

// The one linear congruential source of a process: next = state * 22695477 + 1 (mod 2^32),
// value (state >> 16) & 0x7FFF. Every random decision of a run and of an export is a draw from
// it, in a fixed order, so that a seed reproduces networks and files.
class RandomSource {
public:
    // State := seed, then one value is drawn and discarded.
    void seed(std::int32_t seed) {
        m_state = static_cast<std::uint32_t>(seed);
        draw();
    }

    // 0..32767.
    int draw() {
        m_state = m_state * 22695477u + 1u;
        return static_cast<int>((m_state >> 16) & 0x7FFFu);
    }

    // Draw() mod k, k > 0. Values from 32,768 up never occur for larger k.
    int below(int k) { return draw() % k; }

    std::uint32_t state() const { return m_state; }
    void setState(std::uint32_t state) { m_state = state; }

private:
    std::uint32_t m_state = 0;
};

} // namespace tavrin
