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

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

Relation closureOf(const WorkNetwork& net) {
    const int n = net.activityCount();
    Relation rel(at(n), Row(at(n)));
    for (auto [i, j] : testing::relatedPairs(net)) {
        rel[at(i)][at(j)] = true;
    }
    return rel;
}

struct PlainAoa {
    int events = 0;
    int virtualEnd = 0;
    int dummyArcs = 0;
    std::vector<Arc> arcs;
};

// Events keyed by (finished before, started after), created in activity order; the last
// activity gets two fresh events; one dummy arc per distinct end-to-start link that no two
// other links bridge. "All set" is every activity set.
class PlainBuilder {
public:
    explicit PlainBuilder(const Relation& rel) : m_rel(rel), m_n(static_cast<int>(rel.size())) {
        m_cover = Relation(at(m_n), Row(at(m_n)));
        for (int i = 0; i < m_n; ++i) {
            for (int j = i + 1; j < m_n; ++j) {
                bool between = false;
                for (int k = i + 1; k < j; ++k) {
                    between = between || (related(i, k) && related(k, j));
                }
                m_cover[at(i)][at(j)] = related(i, j) && !between;
            }
        }
    }

    PlainAoa build() {
        placeEvents();
        PlainAoa aoa;
        for (int a = 0; a < m_n; ++a) {
            aoa.arcs.emplace_back(m_start[at(a)], m_end[at(a)]);
        }
        const std::vector<Arc> links = listLinks();
        for (auto link = links.rbegin(); link != links.rend(); ++link) {
            if (!bridged(*link, links)) {
                aoa.arcs.push_back(*link);
                ++aoa.dummyArcs;
            }
        }
        aoa.events = static_cast<int>(m_keys.size());
        aoa.virtualEnd = aoa.events - 1;
        return aoa;
    }

private:
    using Key = std::pair<Row, Row>;

    bool related(int i, int j) const { return m_rel[at(i)][at(j)]; }
    bool immediate(int i, int j) const { return m_cover[at(i)][at(j)]; }

    int create(const Key& key) {
        m_keys.push_back(key);
        m_known.emplace(key, static_cast<int>(m_keys.size()) - 1);
        return static_cast<int>(m_keys.size()) - 1;
    }

    void placeEvents() {
        m_start.assign(at(m_n), -1);
        m_end.assign(at(m_n), -1);
        for (int a = 0; a < m_n - 1; ++a) {
            Key start{Row(at(m_n)), Row(at(m_n), true)}, end{Row(at(m_n), true), Row(at(m_n))};
            for (int k = 0; k < m_n; ++k) {
                start.first[at(k)] = related(k, a);
                end.second[at(k)] = related(a, k);
                for (int x = 0; x < m_n; ++x) {
                    if (immediate(x, a) && !related(x, k)) {
                        start.second[at(k)] = false;
                    }
                    if (immediate(a, x) && !related(k, x)) {
                        end.first[at(k)] = false;
                    }
                }
            }
            const auto oldStart = m_known.find(start);
            const auto oldEnd = m_known.find(end);
            m_start[at(a)] = oldStart != m_known.end() ? oldStart->second : create(start);
            m_end[at(a)] = oldEnd != m_known.end() ? oldEnd->second : create(end);
        }
        const Key none{Row(at(m_n)), Row(at(m_n))};
        m_start[at(m_n - 1)] = create(none);
        m_end[at(m_n - 1)] = create(none);
    }

    std::vector<Arc> listLinks() const {
        std::vector<Arc> links;
        for (int a = m_n - 2; a >= 0; --a) {
            for (int x = a + 1; x < m_n; ++x) {
                const Arc link{m_end[at(a)], m_start[at(x)]};
                if (immediate(a, x) && link.first != link.second
                    && std::find(links.begin(), links.end(), link) == links.end()) {
                    links.push_back(link);
                }
            }
        }
        return links;
    }

    bool precedes(int u, int v) const {
        const Key& ku = m_keys[at(u)];
        const Key& kv = m_keys[at(v)];
        for (int k = 0; k < m_n; ++k) {
            if ((ku.first[at(k)] && !kv.first[at(k)]) || (kv.second[at(k)] && !ku.second[at(k)])) {
                return false;
            }
        }
        return true;
    }

    bool bridged(const Arc& l1, const std::vector<Arc>& links) const {
        std::set<int> pSet, qSet;
        for (const Arc& l2 : links) {
            if (l2.second == l1.second && l2.first != l1.first && precedes(l1.first, l2.first)) {
                pSet.insert(l2.first);
            }
            if (l2.first == l1.first && l2.second != l1.second && precedes(l2.second, l1.second)) {
                qSet.insert(l2.second);
            }
        }
        return std::any_of(pSet.begin(), pSet.end(), [&](int m) { return qSet.count(m) > 0; });
    }

    const Relation& m_rel;
    int m_n;
    Relation m_cover;
    std::vector<Key> m_keys;
    std::map<Key, int> m_known;
    std::vector<int> m_start;
    std::vector<int> m_end;
};

PlainAoa plainAoa(const Relation& rel) {
    return PlainBuilder(rel).build();
}

// Exchange scanning as described: scan the arc list from the last arc, exchange the numbers of
// the ends of the first arc that runs downward, start again; stop after a clean scan.
std::vector<int> scannedNumbers(const PlainAoa& aoa) {
    std::vector<int> number(at(aoa.events));
    for (int e = 0; e < aoa.events; ++e) {
        number[at(e)] = e;
    }
    for (auto arc = aoa.arcs.rbegin(); arc != aoa.arcs.rend();) {
        int& from = number[at(arc->first)];
        int& to = number[at(arc->second)];
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
        const Arc& arc = aoa.arcs[at(k)];
        ASSERT_EQ(events.arcStart(k), number[at(arc.first)]) << "arc " << k;
        ASSERT_EQ(events.arcEnd(k), number[at(arc.second)]) << "arc " << k;
    }
}

// The event graph with every event that has no successor joined to the VirtualEnd, as
// successor lists, and the events reachable from the project start (event 0).
struct EventGraph {
    std::vector<std::vector<int>> succ;
    std::vector<bool> fromStart;
};

EventGraph eventGraph(const PlainAoa& aoa) {
    EventGraph g{std::vector<std::vector<int>>(at(aoa.events)), std::vector<bool>(at(aoa.events))};
    for (auto [u, v] : aoa.arcs) {
        g.succ[at(u)].push_back(v);
    }
    for (int v = 0; v < aoa.virtualEnd; ++v) {
        if (g.succ[at(v)].empty()) {
            g.succ[at(v)].push_back(aoa.virtualEnd);
        }
    }
    std::function<void(int)> visit = [&](int v) {
        if (!g.fromStart[at(v)]) {
            g.fromStart[at(v)] = true;
            for (int w : g.succ[at(v)]) {
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
    std::vector<int> mate(at(rightCount), -1);
    std::vector<int> seen(at(rightCount), -1);
    int search = 0;
    std::function<bool(int)> tryLeft = [&](int l) {
        for (int r : edges[at(l)]) {
            int& mark = seen[at(r)];
            if (mark != search) {
                mark = search;
                int& matched = mate[at(r)];
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

// The engine's complexity graph as edge lists.
std::vector<std::vector<int>> engineGraph(const ComplexityGraph& graph) {
    std::vector<std::vector<int>> edges(at(graph.eventCount()));
    for (int i = 0; i < graph.eventCount(); ++i) {
        forEachSetBit(graph.arcs(i), graph.words(), [&](int r) { edges[at(i)].push_back(r); });
    }
    return edges;
}

using Sets = std::vector<Row>;

// Reachability, dominator and post-dominator sets as fixed points of
// Dom(s) = {s} + the intersection of Dom(v) over the predecessors v reached from the start,
// PDom(v) = {v} + the intersection of PDom(s) over the successors s.
struct Dominance {
    Sets reach, dom, pdom;
};

Dominance dominance(const EventGraph& g, std::size_t end) {
    const std::size_t size = g.succ.size();
    Dominance d{Sets(size, Row(size)), Sets(size, Row(size, true)), Sets(size, Row(size, true))};
    d.dom[0] = Row(size);
    d.dom[0][0] = true;
    d.pdom[end] = Row(size);
    d.pdom[end][end] = true;
    bool changed = true;
    auto lower = [&](Sets& sets, std::size_t v, std::size_t k, bool value) {
        changed |= sets[v][k] != value;
        sets[v][k] = value;
    };
    while (changed) {
        changed = false;
        for (std::size_t v = 0; v < size; ++v) {
            for (int w : g.succ[v]) {
                const auto s = at(w);
                for (std::size_t k = 0; k < size; ++k) {
                    lower(d.reach, v, k, d.reach[v][k] || k == s || d.reach[s][k]);
                    if (k != s && g.fromStart[v]) {
                        lower(d.dom, s, k, d.dom[s][k] && d.dom[v][k]);
                    }
                    if (k != v) {
                        lower(d.pdom, v, k, d.pdom[v][k] && d.pdom[s][k]);
                    }
                }
            }
        }
    }
    return d;
}

// The member of sets[v] other than v whose own set is one smaller; sets.size() if none.
std::size_t immediateOf(const Sets& sets, std::size_t v) {
    auto count = [](const Row& row) { return std::count(row.begin(), row.end(), true); };
    for (std::size_t d = 0; d < sets.size(); ++d) {
        if (d != v && sets[v][d] && count(sets[d]) + 1 == count(sets[v])) {
            return d;
        }
    }
    return sets.size();
}

// The engine's immediate dominators and post-dominators are those of the dominator sets.
void expectSameDominators(const ComplexityGraph& graph, const PlainAoa& aoa) {
    const EventGraph g = eventGraph(aoa);
    const auto end = at(aoa.virtualEnd);
    const Dominance d = dominance(g, end);
    const std::vector<int> number = scannedNumbers(aoa);
    for (std::size_t v = 0; v < end; ++v) {
        const int engineEvent = number[v];
        const std::size_t ipdom = immediateOf(d.pdom, v);
        ASSERT_EQ(graph.immediatePostDominator(engineEvent), number[ipdom]) << "event " << v;
        if (v == 0 || !g.fromStart[v]) {
            ASSERT_EQ(graph.immediateDominator(engineEvent), ComplexityGraph::kNoEvent);
        } else {
            const std::size_t idom = immediateOf(d.dom, v);
            ASSERT_EQ(graph.immediateDominator(engineEvent), number[idom]) << "event " << v;
        }
    }
}

// Complexity graph from the dominator sets: an arc i -> r when i reaches r, idom(r) strictly
// dominates i and ipdom(i) strictly post-dominates r. Events no path from the start reaches
// take no part. Plain event numbers.
std::vector<std::vector<int>> plainGraph(const PlainAoa& aoa) {
    const EventGraph g = eventGraph(aoa);
    const auto end = at(aoa.virtualEnd);
    const Dominance d = dominance(g, end);
    std::vector<std::vector<int>> edges(end);
    for (std::size_t i = 0; i < end; ++i) {
        const std::size_t ipdom = immediateOf(d.pdom, i);
        for (std::size_t r = 0; r < end && g.fromStart[i]; ++r) {
            const std::size_t idom = immediateOf(d.dom, r);
            if (d.reach[i][r] && idom != i && d.dom[i][idom] && ipdom != r && d.pdom[r][ipdom]) {
                edges[i].push_back(static_cast<int>(r));
            }
        }
    }
    return edges;
}

// CI as the maximum matching of the plain complexity graph.
int plainComplexity(const PlainAoa& aoa) {
    return kuhnMatching(plainGraph(aoa), aoa.virtualEnd);
}

// The engine's complexity graph is the plain one under the scanned numbering.
void expectSameGraph(const ComplexityGraph& graph, const PlainAoa& aoa) {
    const std::vector<int> number = scannedNumbers(aoa);
    const std::vector<std::vector<int>> plain = plainGraph(aoa);
    std::set<Arc> expected;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        for (int r : plain[i]) {
            expected.emplace(number[i], number[at(r)]);
        }
    }
    std::set<Arc> actual;
    const std::vector<std::vector<int>> edges = engineGraph(graph);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        for (int r : edges[i]) {
            actual.emplace(static_cast<int>(i), r);
        }
    }
    EXPECT_EQ(actual, expected);
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
        if (!g.fromStart[at(v)]) {
            continue;
        }
        for (int w : g.succ[at(v)]) {
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
    std::vector<int> countByCi(3);
    for (int n = 1; n <= 6; ++n) {
        ComplexityIndex index(n);
        for (const WorkNetwork& net : allNetworks(n)) {
            const PlainAoa aoa = plainAoa(closureOf(net));
            const int ci = index.compute(net);
            ASSERT_NO_FATAL_FAILURE(expectSameEventNetwork(index.eventNetwork(), aoa));
            ASSERT_EQ(ci, reductionComplexity(aoa))
                << n << " " << ::testing::PrintToString(testing::relatedPairs(net));
            ASSERT_EQ(ci, plainComplexity(aoa));
            ++countByCi[at(std::min(ci, 2))];
        }
    }
    // Some of these networks need one node reduction, some two.
    EXPECT_GT(countByCi[1], 0);
    EXPECT_GT(countByCi[2], 0);
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
        ASSERT_NO_FATAL_FAILURE(expectSameDominators(index.complexityGraph(), aoa));
        expectSameGraph(index.complexityGraph(), aoa);
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
