#include "support/network_builder.h"

#include <cassert>
#include <sstream>
#include <string>

namespace tavrin::testing {

WorkNetwork networkFromArcs(int n, const std::vector<std::pair<int, int>>& arcs) {
    WorkNetwork net(n);
    std::vector<std::vector<bool>> rel(static_cast<std::size_t>(n),
                                       std::vector<bool>(static_cast<std::size_t>(n)));
    for (auto [i, j] : arcs) {
        assert(0 <= i && i < j && j < n);
        rel[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = true;
    }
    // Closure: arcs run upward, so a descending sweep suffices.
    for (int i = n - 1; i >= 0; --i) {
        for (int j = i + 1; j < n; ++j) {
            if (rel[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]) {
                for (int k = j + 1; k < n; ++k) {
                    if (rel[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)]) {
                        rel[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = true;
                    }
                }
            }
        }
    }
    for (int a = 0; a <= n; ++a) {
        net.clear(net.succ(a));
        net.clear(net.pred(a));
        net.clear(net.cover(a));
    }
    net.setCoverLength(0);
    PairIndex pairs(n);
    auto related = [&](int i, int j) {
        return rel[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    };
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (!related(i, j)) {
                continue;
            }
            net.insert(net.succ(i), j);
            net.insert(net.pred(j), i);
            bool covering = true;
            for (int k = i + 1; k < j && covering; ++k) {
                covering = !(related(i, k) && related(k, j));
            }
            if (covering) {
                net.insert(net.cover(i), j);
                net.appendCover(pairs(i, j));
            }
        }
    }
    return net;
}

WorkNetwork network(int n, std::string_view arcs) {
    std::vector<std::pair<int, int>> list;
    std::istringstream in{std::string(arcs)};
    std::string token;
    while (in >> token) {
        const auto gt = token.find('>');
        assert(gt != std::string::npos);
        list.emplace_back(std::stoi(token.substr(0, gt)), std::stoi(token.substr(gt + 1)));
    }
    return networkFromArcs(n, list);
}

std::vector<std::pair<int, int>> relatedPairs(const WorkNetwork& net) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < net.activityCount(); ++i) {
        for (int j = i + 1; j < net.activityCount(); ++j) {
            if (net.contains(net.succ(i), j)) {
                out.emplace_back(i, j);
            }
        }
    }
    return out;
}

} // namespace tavrin::testing
