#pragma once

#include "engine/bits.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace tavrin {

// The duplicate index of the store: per bucket the most recent slot, per slot the one kept
// before it in the same bucket. A presence bitmap marks the buckets used since the last
// reset, so heads need no clearing.
class BucketChains {
public:
    static constexpr int kBucketCount = 65536;
    // Outside the slot range, so that every slot a store can hold stays reachable.
    static constexpr int kEnd = -1;

    BucketChains() : m_heads(static_cast<std::size_t>(kBucketCount), kEnd) { reset(); }

    void reset() {
        m_next.clear();
        m_used.fill(Word{0});
    }

    // Slots so far; the next added slot is size().
    int size() const { return static_cast<int>(m_next.size()); }

    // The most recent slot of a bucket, or kEnd.
    int head(int bucket) const {
        return testBit(m_used.data(), bucket) ? m_heads[static_cast<std::size_t>(bucket)] : kEnd;
    }
    // The slot kept before this one in its bucket, or kEnd.
    int next(int slot) const { return m_next[static_cast<std::size_t>(slot)]; }

    // Makes room for one more slot, geometrically, so that add() cannot throw. Throws
    // std::bad_alloc and changes nothing when memory runs out.
    void reserveOne() {
        if (m_next.size() == m_next.capacity()) {
            m_next.reserve(std::max<std::size_t>(64, 2 * m_next.capacity()));
        }
    }

    // Adds slot size() to the bucket; reserveOne() must have made room.
    void add(int bucket) {
        m_next.push_back(head(bucket));
        setBit(m_used.data(), bucket);
        m_heads[static_cast<std::size_t>(bucket)] = size() - 1;
    }

private:
    std::vector<int> m_next;
    std::vector<int> m_heads;
    std::array<Word, kBucketCount / 32> m_used;
};

} // namespace tavrin
