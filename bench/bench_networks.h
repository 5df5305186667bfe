#pragma once

#include "engine/random_source.h"
#include "engine/work_network.h"

#include <algorithm>
#include <random>
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

// Random networks in the stored form: every activity gets up to three successors among the next
// forty, and the closure is kept as an ArcSet.
inline std::vector<std::vector<Word>> storedNetworks(int n, int count, unsigned seed) {
    std::mt19937 generator(seed);
    const std::size_t words = static_cast<std::size_t>((n + 63) / 64);
    std::vector<std::vector<Word>> rows;
    for (int c = 0; c < count; ++c) {
        std::vector<std::vector<std::uint64_t>> closure(static_cast<std::size_t>(n),
                                                        std::vector<std::uint64_t>(words));
        for (int i = n - 2; i >= 0; --i) {
            auto& row = closure[static_cast<std::size_t>(i)];
            std::uniform_int_distribution<int> next(i + 1, std::min(n - 1, i + 40));
            for (int s = 0; s < 3; ++s) {
                const int j = next(generator);
                row[static_cast<std::size_t>(j / 64)] |= std::uint64_t{1} << (j % 64);
                const auto& later = closure[static_cast<std::size_t>(j)];
                for (std::size_t w = 0; w < words; ++w) {
                    row[w] |= later[w];
                }
            }
        }
        const int pairs = n * (n - 1) / 2;
        std::vector<Word> arcSet(static_cast<std::size_t>(pairs > 0 ? (pairs - 1) / 32 + 1 : 1));
        int p = 0;
        for (int i = 0; i < n; ++i) {
            const auto& row = closure[static_cast<std::size_t>(i)];
            for (int j = i + 1; j < n; ++j, ++p) {
                if ((row[static_cast<std::size_t>(j / 64)] >> (j % 64)) & 1u) {
                    arcSet[static_cast<std::size_t>(p / 32)] |= Word{1} << (p % 32);
                }
            }
        }
        rows.push_back(std::move(arcSet));
    }
    return rows;
}

} // namespace tavrin::bench
