#pragma once

#include "engine/random_source.h"
#include "engine/work_network.h"

#include <utility>
#include <vector>

namespace tavrin::bench {

using Arcs = std::vector<std::pair<int, int>>;

// A work network with closure rows S, P and cover rows C from arcs i > j, i < j.
inline WorkNetwork networkFromArcs(int n, const Arcs& arcs) {
    WorkNetwork net(n);
    for (int a = 0; a <= n; ++a) {
        net.clear(net.succ(a));
        net.clear(net.pred(a));
        net.clear(net.cover(a));
    }
    std::vector<std::vector<int>> direct(static_cast<std::size_t>(n));
    for (auto [i, j] : arcs) {
        direct[static_cast<std::size_t>(i)].push_back(j);
    }
    const int words = net.rowWords();
    for (int i = n - 1; i >= 0; --i) {
        Word* row = net.succ(i);
        for (int j : direct[static_cast<std::size_t>(i)]) {
            net.insert(row, j);
            for (int w = 0; w < words; ++w) {
                row[w] |= net.succ(j)[w];
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        Word* cover = net.cover(i);
        net.copy(cover, net.succ(i));
        net.forEachMember(net.succ(i), [&](int j) {
            net.insert(net.pred(j), i);
            for (int w = 0; w < words; ++w) {
                cover[w] &= ~net.succ(j)[w];
            }
        });
    }
    return net;
}

// Every pair related with probability permille / 1000: degrees mostly differ.
inline Arcs randomArcs(int n, int permille, RandomSource& random) {
    Arcs arcs;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (random.below(1000) < permille) {
                arcs.emplace_back(i, j);
            }
        }
    }
    return arcs;
}

// Layers of the given width, numbered layer by layer; each activity after the first layer gets
// 1..maxPredecessors predecessors in the layer before it, so the progressive level is the layer
// number. With one predecessor many activities share their degrees.
inline Arcs layeredArcs(int n, int width, int maxPredecessors, RandomSource& random) {
    Arcs arcs;
    for (int b = width; b < n; ++b) {
        const int layerStart = (b / width - 1) * width;
        const int count = 1 + random.below(maxPredecessors);
        for (int k = 0; k < count; ++k) {
            arcs.emplace_back(layerStart + random.below(width), b);
        }
    }
    return arcs;
}

} // namespace tavrin::bench
