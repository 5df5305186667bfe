#include "engine/complexity_index.h"
#include "engine/order_strength_generator.h"
#include "engine/random_source.h"
#include "support/network_builder.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tavrin {
namespace {

using testing::network;
using testing::networkFromArcs;

using Row = std::vector<bool>;
using Arc = std::pair<int, int>;
using Relation = std::vector<Row>;

// ---- A plain second construction, with boolean vectors and no bit rows ----------------------

Relation closureOf(const WorkNetwork& net) {
    const int n = net.activityCount();
    Relation rel(static_cast<std::size_t>(n), Row(static_cast<std::size_t>(n)));
    for (auto [i, j] : testing::relatedPairs(net)) {
        rel[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = true;
    }
    return rel;
}

struct PlainAoa {
    int events = 0;
    int virtualEnd = 0;
    int dummyArcs = 0;
    std::vector<Arc> arcs;
};

// Events keyed by (finished before, started after); the last activity gets two fresh events;
// one dummy arc per distinct end-to-start link that no two other links bridge.
PlainAoa plainAoa(const Relation& rel) {
    const int n = static_cast<int>(rel.size());
    auto at = [&](int i, int j) {
        return static_cast<bool>(rel[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    };
    Relation cover(rel.size(), Row(rel.size()));
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            bool between = false;
            for (int k = i + 1; k < j; ++k) {
                between = between || (at(i, k) && at(k, j));
            }
            cover[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = at(i, j) && !between;
        }
    }
    auto immediate = [&](int i, int j) {
        return static_cast<bool>(cover[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    };
    using Key = std::pair<Row, Row>;
    std::vector<Key> keys;
    std::map<Key, int> known;
    const Row full(static_cast<std::size_t>(n), true);
    auto eventOf = [&](const Key& key, bool lookUp) {
        const auto found = known.find(key);
        if (lookUp && found != known.end()) {
            return found->second;
        }
        keys.push_back(key);
        known.emplace(key, static_cast<int>(keys.size()) - 1);
        return static_cast<int>(keys.size()) - 1;
    };
    std::vector<int> start(static_cast<std::size_t>(n)), end(static_cast<std::size_t>(n));
    for (int a = 0; a < n - 1; ++a) {
        Key s{Row(static_cast<std::size_t>(n)), full}, e{full, Row(static_cast<std::size_t>(n))};
        for (int k = 0; k < n; ++k) {
            s.first[static_cast<std::size_t>(k)] = at(k, a);
            e.second[static_cast<std::size_t>(k)] = at(a, k);
            for (int x = 0; x < n; ++x) {
                if (immediate(x, a) && !at(x, k)) {
                    s.second[static_cast<std::size_t>(k)] = false;
                }
                if (immediate(a, x) && !at(k, x)) {
                    e.first[static_cast<std::size_t>(k)] = false;
                }
            }
        }
        const bool hadEnd = known.count(e) > 0;
        start[static_cast<std::size_t>(a)] = eventOf(s, true);
        end[static_cast<std::size_t>(a)] = hadEnd ? known.at(e) : eventOf(e, false);
    }
    const Key none{Row(static_cast<std::size_t>(n)), Row(static_cast<std::size_t>(n))};
    start[static_cast<std::size_t>(n - 1)] = eventOf(none, false);
    end[static_cast<std::size_t>(n - 1)] = eventOf(none, false);

    std::vector<Arc> links;
    for (int a = n - 2; a >= 0; --a) {
        for (int x = a + 1; x < n; ++x) {
            const Arc link{end[static_cast<std::size_t>(a)], start[static_cast<std::size_t>(x)]};
            if (immediate(a, x) && link.first != link.second
                && std::find(links.begin(), links.end(), link) == links.end()) {
                links.push_back(link);
            }
        }
    }
    auto subset = [](const Row& a, const Row& b) {
        for (std::size_t k = 0; k < a.size(); ++k) {
            if (a[k] && !b[k]) {
                return false;
            }
        }
        return true;
    };
    auto precedes = [&](int u, int v) {
        const Key& ku = keys[static_cast<std::size_t>(u)];
        const Key& kv = keys[static_cast<std::size_t>(v)];
        return subset(ku.first, kv.first) && subset(kv.second, ku.second);
    };
    PlainAoa aoa;
    for (int a = 0; a < n; ++a) {
        aoa.arcs.emplace_back(start[static_cast<std::size_t>(a)], end[static_cast<std::size_t>(a)]);
    }
    for (auto l1 = links.rbegin(); l1 != links.rend(); ++l1) {
        std::set<int> pSet, qSet;
        for (const Arc& l2 : links) {
            if (l2.second == l1->second && l2.first != l1->first && precedes(l1->first, l2.first)) {
                pSet.insert(l2.first);
            }
            if (l2.first == l1->first && l2.second != l1->second
                && precedes(l2.second, l1->second)) {
                qSet.insert(l2.second);
            }
        }
        const bool bridged =
            std::any_of(pSet.begin(), pSet.end(), [&](int m) { return qSet.count(m) > 0; });
        if (!bridged) {
            aoa.arcs.push_back(*l1);
            ++aoa.dummyArcs;
        }
    }
    aoa.events = static_cast<int>(keys.size());
    aoa.virtualEnd = aoa.events - 1;
    return aoa;
}

// Exchange scanning as described: scan the arc list from the last arc, exchange the numbers of
// the ends of the first arc that runs downward, start again; stop after a clean scan.
std::vector<int> scannedNumbers(const PlainAoa& aoa) {
    std::vector<int> number(static_cast<std::size_t>(aoa.events));
    for (int e = 0; e < aoa.events; ++e) {
        number[static_cast<std::size_t>(e)] = e;
    }
    for (auto arc = aoa.arcs.rbegin(); arc != aoa.arcs.rend();) {
        int& from = number[static_cast<std::size_t>(arc->first)];
        int& to = number[static_cast<std::size_t>(arc->second)];
        if (to < from) {
            std::swap(from, to);
            arc = aoa.arcs.rbegin();
        } else {
            ++arc;
        }
    }
    return number;
}

// The engine's event network matches the plain one arc for arc, numbers included.
void expectSameEventNetwork(const EventNetwork& events, const PlainAoa& aoa) {
    ASSERT_EQ(events.eventCount(), aoa.events);
    ASSERT_EQ(events.arcCount(), static_cast<int>(aoa.arcs.size()));
    ASSERT_EQ(events.dummyArcCount(), aoa.dummyArcs);
    const std::vector<int> number = scannedNumbers(aoa);
    for (int k = 0; k < events.arcCount(); ++k) {
        const Arc& arc = aoa.arcs[static_cast<std::size_t>(k)];
        ASSERT_EQ(events.arcStart(k), number[static_cast<std::size_t>(arc.first)]) << "arc " << k;
        ASSERT_EQ(events.arcEnd(k), number[static_cast<std::size_t>(arc.second)]) << "arc " << k;
    }
}

// The event graph with every event that has no successor joined to the VirtualEnd, as
// successor lists, and the events reachable from the project start (event 0).
struct EventGraph {
    std::vector<std::vector<int>> succ;
    std::vector<bool> fromStart;
};

EventGraph eventGraph(const PlainAoa& aoa) {
    EventGraph g{std::vector<std::vector<int>>(static_cast<std::size_t>(aoa.events)),
                 std::vector<bool>(static_cast<std::size_t>(aoa.events))};
    for (auto [u, v] : aoa.arcs) {
        g.succ[static_cast<std::size_t>(u)].push_back(v);
    }
    for (int v = 0; v < aoa.virtualEnd; ++v) {
        if (g.succ[static_cast<std::size_t>(v)].empty()) {
            g.succ[static_cast<std::size_t>(v)].push_back(aoa.virtualEnd);
        }
    }
    std::function<void(int)> visit = [&](int v) {
        if (!g.fromStart[static_cast<std::size_t>(v)]) {
            g.fromStart[static_cast<std::size_t>(v)] = true;
            for (int w : g.succ[static_cast<std::size_t>(v)]) {
                visit(w);
            }
        }
    };
    visit(0);
    return g;
}

// Maximum bipartite matching by simple augmenting paths (one depth-first search per left
// vertex; a right vertex is visited once per search).
int kuhnMatching(const std::vector<std::vector<int>>& edges, int rightCount) {
    std::vector<int> mate(static_cast<std::size_t>(rightCount), -1);
    std::vector<int> seen(static_cast<std::size_t>(rightCount), -1);
    int search = 0;
    std::function<bool(int)> tryLeft = [&](int l) {
        for (int r : edges[static_cast<std::size_t>(l)]) {
            int& mark = seen[static_cast<std::size_t>(r)];
            if (mark != search) {
                mark = search;
                int& matched = mate[static_cast<std::size_t>(r)];
                if (matched < 0 || tryLeft(matched)) {
                    matched = l;
                    return true;
                }
            }
        }
        return false;
    };
    int size = 0;
    for (search = 0; search < static_cast<int>(edges.size()); ++search) {
        size += tryLeft(search) ? 1 : 0;
    }
    return size;
}

// Complexity graph from dominator sets (Dom(v) = {v} + the intersection over predecessors,
// iterated to a fixed point): an arc i -> r when i reaches r, idom(r) strictly dominates i
// and ipdom(i) strictly post-dominates r. Events no path from the start reaches take no part.
int plainComplexity(const PlainAoa& aoa) {
    const EventGraph g = eventGraph(aoa);
    const auto size = static_cast<std::size_t>(aoa.events);
    const auto end = static_cast<std::size_t>(aoa.virtualEnd);
    using Sets = std::vector<std::vector<bool>>;
    Sets reach(size, Row(size)), dom(size, Row(size, true)), pdom(size, Row(size, true));
    dom[0] = Row(size);
    dom[0][0] = true;
    pdom[end] = Row(size);
    pdom[end][end] = true;
    bool changed = true;
    auto lower = [&](Sets& sets, std::size_t v, std::size_t k, bool value) {
        changed |= sets[v][k] != value;
        sets[v][k] = value;
    };
    while (changed) {
        changed = false;
        for (std::size_t v = 0; v < size; ++v) {
            for (int w : g.succ[v]) {
                const auto s = static_cast<std::size_t>(w);
                for (std::size_t k = 0; k < size; ++k) {
                    lower(reach, v, k, reach[v][k] || k == s || reach[s][k]);
                    if (k != s && g.fromStart[v]) {
                        lower(dom, s, k, dom[s][k] && dom[v][k]);
                    }
                    if (k != v) {
                        lower(pdom, v, k, pdom[v][k] && pdom[s][k]);
                    }
                }
            }
        }
    }
    auto count = [](const Row& row) { return std::count(row.begin(), row.end(), true); };
    auto immediateOf = [&](const Sets& sets, std::size_t v) {
        for (std::size_t d = 0; d < size; ++d) {
            if (d != v && sets[v][d] && count(sets[d]) + 1 == count(sets[v])) {
                return d;
            }
        }
        return size;
    };
    std::vector<std::vector<int>> edges(end);
    for (std::size_t i = 0; i < end; ++i) {
        for (std::size_t r = 0; r < end && g.fromStart[i]; ++r) {
            const std::size_t idom = immediateOf(dom, r);
            const std::size_t ipdom = immediateOf(pdom, i);
            if (reach[i][r] && idom != size && idom != i && dom[i][idom] && ipdom != r
                && pdom[r][ipdom]) {
                edges[i].push_back(static_cast<int>(r));
            }
        }
    }
    return kuhnMatching(edges, aoa.virtualEnd);
}

// ---- Brute force over node reductions -----------------------------------------------------

// A two-terminal multigraph as a sorted arc list, source 0.
using Multigraph = std::vector<Arc>;

int degree(const Multigraph& g, int v, bool in) {
    return static_cast<int>(std::count_if(
        g.begin(), g.end(), [&](const Arc& a) { return (in ? a.second : a.first) == v; }));
}

// Applies parallel and series reductions until neither applies.
void reduceSeriesParallel(Multigraph& g, int sink) {
    for (bool changed = true; changed;) {
        std::sort(g.begin(), g.end());
        g.erase(std::unique(g.begin(), g.end()), g.end());
        changed = false;
        for (const Arc& a : g) {
            const int v = a.second;
            if (v != sink && degree(g, v, true) == 1 && degree(g, v, false) == 1) {
                const auto out =
                    std::find_if(g.begin(), g.end(), [&](const Arc& b) { return b.first == v; });
                const Arc joined{a.first, out->second};
                g.erase(std::remove_if(g.begin(), g.end(),
                                       [&](const Arc& b) { return b.first == v || b.second == v; }),
                        g.end());
                g.push_back(joined);
                changed = true;
                break;
            }
        }
    }
}

// Node reduction of v through its single in-arc (in) or single out-arc (!in): the arcs at v
// are replaced by arcs that bypass it.
Multigraph reduceNode(const Multigraph& g, int v, bool in) {
    Multigraph out;
    std::vector<int> across;
    int through = -1;
    for (const Arc& a : g) {
        if (a.first != v && a.second != v) {
            out.push_back(a);
        } else if ((a.second == v) == in) {
            through = in ? a.first : a.second;
        } else {
            across.push_back(in ? a.second : a.first);
        }
    }
    for (int w : across) {
        out.push_back(in ? Arc{through, w} : Arc{w, through});
    }
    return out;
}

bool reducible(Multigraph g, int sink, int budget, std::set<std::pair<Multigraph, int>>& failed) {
    reduceSeriesParallel(g, sink);
    if (g.size() == 1) {
        return true;
    }
    if (budget == 0 || failed.count({g, budget}) > 0) {
        return false;
    }
    std::set<int> nodes;
    for (const Arc& a : g) {
        nodes.insert(a.second);
    }
    nodes.erase(sink);
    for (int v : nodes) {
        for (bool in : {true, false}) {
            if (degree(g, v, in) == 1
                && reducible(reduceNode(g, v, in), sink, budget - 1, failed)) {
                return true;
            }
        }
    }
    failed.insert({g, budget});
    return false;
}

// Fewest node reductions that, with series and parallel reductions, leave a single arc.
// Events no path from the start reaches (the last activity's start when it has no
// predecessor) form a separate component of one arc and are left out.
int reductionComplexity(const PlainAoa& aoa) {
    const EventGraph g = eventGraph(aoa);
    Multigraph arcs;
    for (int v = 0; v < aoa.events; ++v) {
        if (!g.fromStart[static_cast<std::size_t>(v)]) {
            continue;
        }
        for (int w : g.succ[static_cast<std::size_t>(v)]) {
            arcs.emplace_back(v, w);
        }
    }
    std::set<std::pair<Multigraph, int>> failed;
    for (int budget = 0;; ++budget) {
        if (reducible(arcs, aoa.virtualEnd, budget, failed)) {
            return budget;
        }
    }
}

// ---- Networks ------------------------------------------------------------------------------

// Upward arcs, each present with the given per-mille chance.
WorkNetwork randomNetwork(int n, int perMille, RandomSource& random) {
    std::vector<Arc> arcs;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (random.below(1000) < perMille) {
                arcs.emplace_back(i, j);
            }
        }
    }
    return networkFromArcs(n, arcs);
}

// A network as the order-strength generator makes it.
WorkNetwork orderStrengthNetwork(int n, long double orderStrength, RandomSource& random) {
    const int pairs = n * (n - 1) / 2;
    const int target = static_cast<int>(pairs * orderStrength + 0.05L);
    OrderStrengthGenerator generator(n, pairs - target, random);
    generator.buildNetwork();
    return generator.network();
}

std::vector<std::vector<int>> engineGraph(const ComplexityGraph& graph) {
    std::vector<std::vector<int>> edges(static_cast<std::size_t>(graph.eventCount()));
    for (int i = 0; i < graph.eventCount(); ++i) {
        forEachSetBit(graph.arcs(i), graph.words(),
                      [&](int r) { edges[static_cast<std::size_t>(i)].push_back(r); });
    }
    return edges;
}

// Every closed relation on n activities, each once.
std::vector<WorkNetwork> allNetworks(int n) {
    std::vector<Arc> pairs;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            pairs.emplace_back(i, j);
        }
    }
    std::set<std::vector<Arc>> closures;
    std::vector<WorkNetwork> out;
    for (unsigned mask = 0; mask < (1u << pairs.size()); ++mask) {
        std::vector<Arc> arcs;
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            if ((mask >> p) & 1u) {
                arcs.push_back(pairs[p]);
            }
        }
        WorkNetwork net = networkFromArcs(n, arcs);
        if (closures.insert(testing::relatedPairs(net)).second) {
            out.push_back(std::move(net));
        }
    }
    return out;
}

// ---- Tests ---------------------------------------------------------------------------------

TEST(ComplexityIndex, ChainHasOneDummyArcAndNoComplexityArcs) {
    for (int n : {2, 3, 4, 10, 33, 70}) {
        SCOPED_TRACE(n);
        std::vector<Arc> arcs;
        for (int a = 0; a + 1 < n; ++a) {
            arcs.emplace_back(a, a + 1);
        }
        ComplexityIndex index(n);
        EXPECT_EQ(index.compute(networkFromArcs(n, arcs)), 0);
        // Start of 0, the n-2 shared end/start events, end of n-2, the last activity's two.
        EXPECT_EQ(index.eventNetwork().eventCount(), n + 2);
        EXPECT_EQ(index.eventNetwork().dummyArcCount(), 1);
        const ComplexityGraph& graph = index.complexityGraph();
        for (int i = 0; i < graph.eventCount(); ++i) {
            EXPECT_TRUE(rowEmpty(graph.arcs(i), graph.words()));
        }
    }
}

TEST(ComplexityIndex, NetworkWithoutPrecedencesHasNoComplexity) {
    for (int n : {1, 2, 3, 10, 40, 65}) {
        SCOPED_TRACE(n);
        ComplexityIndex index(n);
        EXPECT_EQ(index.compute(network(n, "")), 0);
        // Project start and common end, the last activity's own start and the VirtualEnd; for
        // one activity just its two events.
        EXPECT_EQ(index.eventNetwork().eventCount(), n == 1 ? 2 : 4);
        EXPECT_EQ(index.eventNetwork().dummyArcCount(), 0);
        EXPECT_EQ(index.eventNetwork().arcCount(), n);
    }
}

TEST(ComplexityIndex, WorkedExamples) {
    struct Case {
        int n;
        const char* arcs;
        int events;
        int dummyArcs;
        int ci;
    };
    const Case cases[] = {
        {2, "0>1", 4, 1, 0},
        // 1 and 2 run in parallel between the end of 0 and the start of 3: the shared end
        // event of 1 and 2 needs one dummy arc to the last activity's own start event.
        {4, "0>1 0>2 1>3 2>3", 5, 1, 0},
        // The bridge: 1 and 2 start together at e1; 1 ends at e2 = start of 3 ({0,1,2},{3,5});
        // 2 ends at e3 = start of 4 ({0,2},{3,4,5}); the dummy e3 -> e2 (3 also follows 2)
        // closes the bridge e1-e2-e3-e4, so one node reduction is needed. The second dummy
        // joins the common end e4 of 3 and 4 to the last activity's start.
        {6, "0>1 0>2 1>3 2>3 2>4 3>5 4>5", 7, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arcs);
        ComplexityIndex index(c.n);
        EXPECT_EQ(index.compute(network(c.n, c.arcs)), c.ci);
        EXPECT_EQ(index.eventNetwork().eventCount(), c.events);
        EXPECT_EQ(index.eventNetwork().dummyArcCount(), c.dummyArcs);
    }
}

TEST(ComplexityIndex, AgreesWithNodeReductionsOnAllSmallNetworks) {
    int complex = 0;
    for (int n = 1; n <= 6; ++n) {
        ComplexityIndex index(n);
        for (const WorkNetwork& net : allNetworks(n)) {
            const PlainAoa aoa = plainAoa(closureOf(net));
            const int ci = index.compute(net);
            ASSERT_NO_FATAL_FAILURE(expectSameEventNetwork(index.eventNetwork(), aoa));
            ASSERT_EQ(ci, reductionComplexity(aoa))
                << n << " " << ::testing::PrintToString(testing::relatedPairs(net));
            complex += ci > 0 ? 1 : 0;
        }
    }
    EXPECT_GT(complex, 0);
}

// The matching must be maximum. An alternating search that stops after one pass over its
// frontier words misses augmenting paths on about one network in a hundred of this size.
TEST(ComplexityIndex, MatchingIsMaximumOnRandomNetworks) {
    RandomSource random;
    random.seed(2024);
    int large = 0;
    for (int round = 0; round < 1500; ++round) {
        const int n = 20 + random.below(41);
        const WorkNetwork net =
            round % 4 == 0 ? randomNetwork(n, 30 + random.below(200), random)
                           : orderStrengthNetwork(n, 0.2L + random.below(7) * 0.1L, random);
        ComplexityIndex index(n);
        const int ci = index.compute(net);
        const ComplexityGraph& graph = index.complexityGraph();
        ASSERT_EQ(ci, kuhnMatching(engineGraph(graph), graph.eventCount())) << "round " << round;
        large += graph.eventCount() > 32 ? 1 : 0;
    }
    EXPECT_GT(large, 1000);
}

// End to end against the plain construction with dominator sets.
TEST(ComplexityIndex, AgreesWithPlainConstructionOnRandomNetworks) {
    RandomSource random;
    random.seed(77);
    for (int round = 0; round < 40; ++round) {
        const int n = 20 + random.below(41);
        const WorkNetwork net =
            round % 2 == 0 ? randomNetwork(n, 30 + random.below(200), random)
                           : orderStrengthNetwork(n, 0.2L + random.below(7) * 0.1L, random);
        ComplexityIndex index(n);
        const int ci = index.compute(net);
        const PlainAoa aoa = plainAoa(closureOf(net));
        SCOPED_TRACE(round);
        ASSERT_NO_FATAL_FAILURE(expectSameEventNetwork(index.eventNetwork(), aoa));
        ASSERT_EQ(ci, plainComplexity(aoa));
    }
}

// Reused tables must not carry anything over from the network before.
TEST(ComplexityIndex, ReuseGivesTheResultOfAFreshIndex) {
    RandomSource random;
    random.seed(7);
    ComplexityIndex reused(45);
    for (int round = 0; round < 40; ++round) {
        const WorkNetwork net = orderStrengthNetwork(45, 0.1L * (round % 10), random);
        EXPECT_EQ(reused.compute(net), ComplexityIndex(45).compute(net));
    }
}

// Beyond 501 events, 16 words per event row or 4,001 links the tables are sized from n.
TEST(ComplexityIndex, NetworksBeyondTheFixedCapacities) {
    struct Case {
        int n;
        long double orderStrength;
    };
    RandomSource random;
    random.seed(99);
    for (const Case c : {Case{300, 0.8L}, Case{300, 0.5L}, Case{1000, 0.8L}}) {
        SCOPED_TRACE(c.n);
        const WorkNetwork net = orderStrengthNetwork(c.n, c.orderStrength, random);
        ComplexityIndex index(c.n);
        const int ci = index.compute(net);
        const EventNetwork& events = index.eventNetwork();
        EXPECT_TRUE(events.eventCount() > 501 || events.linkCount() > 4001);
        const ComplexityGraph& graph = index.complexityGraph();
        EXPECT_EQ(ci, kuhnMatching(engineGraph(graph), graph.eventCount()));
        for (int arc = 0; arc < events.arcCount(); ++arc) {
            ASSERT_LT(events.arcStart(arc), events.arcEnd(arc));
        }
    }
}

TEST(ComplexityIndex, RejectsMismatchedActivityCounts) {
    EXPECT_THROW(ComplexityIndex(0), std::invalid_argument);
    EXPECT_THROW(ComplexityIndex(2001), std::invalid_argument);
    ComplexityIndex index(5);
    EXPECT_THROW(index.compute(network(6, "0>1")), std::invalid_argument);
}

} // namespace
} // namespace tavrin
