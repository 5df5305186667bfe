#include "support/literal_reference.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

namespace tavrin::testing {
namespace {

using Row = std::vector<bool>;
using Index = std::size_t;

Index ix(int v) {
    return static_cast<Index>(v);
}

int pairNumber(int i, int j, int n) {
    return i * (2 * n - i - 1) / 2 + (j - i - 1);
}

bool rowsMeet(const Row& a, const Row& b) {
    for (Index k = 0; k < a.size(); ++k) {
        if (a[k] && b[k]) {
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- canonical form

struct Canon {
    int n;
    const Relation& s; // s[x][y]: x precedes y
    std::vector<long double> weight;
    long double baseSum = 0;
    std::vector<int> inT, outT, inD, outD, rem, lambda, best;
    std::vector<std::uint32_t> key;
    std::vector<Row> dp, ds;
    std::vector<Row> cand;
    long double bestSignature = 0;
    int leaves = 0;

    Canon(const Relation& closure, int count) : n(count), s(closure) {
        const int pairs = n * (n - 1) / 2;
        const double ratio = n - 1 <= 60 ? 1.23456789 : 1.023456789;
        weight.resize(ix(pairs) + 1);
        weight[0] = static_cast<long double>(0.00001);
        for (int p = 0; p < pairs; ++p) {
            weight[ix(p) + 1] = weight[ix(p)] * static_cast<long double>(ratio);
        }
        for (int p = 0; p < pairs; ++p) {
            baseSum += weight[ix(p)];
        }
        baseSum += weight[ix(pairs)];
        for (auto* v : {&inT, &outT, &inD, &outD, &rem, &lambda, &best}) {
            v->assign(ix(n), 0);
        }
        key.assign(ix(n), 0);
        dp.assign(ix(n), Row(ix(n)));
        ds.assign(ix(n), Row(ix(n)));
        cand.assign(ix(n) + 1, Row(ix(n)));
    }

    void prepare() {
        for (int x = n - 2; x >= 0; --x) {
            Row cs = s[ix(x)];
            for (int y = 0; y < n; ++y) {
                if (!s[ix(x)][ix(y)]) {
                    continue;
                }
                ++inT[ix(y)];
                ++outT[ix(x)];
                dp[ix(y)][ix(x)] = true;
                ds[ix(x)][ix(y)] = true;
                if (y != n - 1) {
                    for (int z = 0; z < n; ++z) {
                        if (s[ix(y)][ix(z)]) {
                            cs[ix(z)] = false;
                        }
                    }
                }
            }
            for (int y = 0; y < n; ++y) {
                if (cs[ix(y)]) {
                    ++inD[ix(y)];
                    ++outD[ix(x)];
                }
            }
        }
        for (int a = n - 1; a >= 0; --a) {
            if (inT[ix(a)] == 0) {
                cand[0][ix(a)] = true;
            }
            rem[ix(a)] = inT[ix(a)];
            key[ix(a)] = static_cast<std::uint32_t>(outT[ix(a)]) * 16777216u
                         + static_cast<std::uint32_t>(outD[ix(a)]) * 65536u
                         + static_cast<std::uint32_t>(inT[ix(a)]) * 256u
                         + static_cast<std::uint32_t>(inD[ix(a)]);
        }
        bestSignature = baseSum;
    }

    long double signature() const {
        long double sum = 0;
        for (int x = n - 2; x >= 0; --x) {
            for (int y = 0; y < n; ++y) {
                if (s[ix(x)][ix(y)]) {
                    sum += weight[ix(pairNumber(lambda[ix(x)], lambda[ix(y)], n))];
                }
            }
        }
        return sum;
    }

    void search(int d) {
        if (leaves == 1000) {
            return;
        }
        if (d == n - 1) {
            ++leaves;
            for (int a = 0; a < n; ++a) {
                if (cand[ix(d)][ix(a)]) {
                    lambda[ix(a)] = n - 1;
                }
            }
            const long double sig = signature();
            if (sig < bestSignature) {
                bestSignature = sig;
                best = lambda;
            }
            return;
        }
        Row branch(ix(n));
        std::int32_t refKey = -1;
        Row refDp(ix(n)), refDs(ix(n));
        for (int a = n - 1; a >= 0; --a) {
            if (!cand[ix(d)][ix(a)]) {
                continue;
            }
            const long double k = static_cast<long double>(key[ix(a)]);
            if ((dp[ix(a)] != refDp || ds[ix(a)] != refDs) && k == static_cast<long double>(refKey)
                && inT[ix(a)] + outT[ix(a)] >= 1) {
                branch[ix(a)] = true;
            }
            if (k > static_cast<long double>(refKey)) {
                std::fill(branch.begin(), branch.end(), false);
                branch[ix(a)] = true;
                refDp = dp[ix(a)];
                refDs = ds[ix(a)];
                refKey = static_cast<std::int32_t>(k);
            }
        }
        for (int a = n - 1; a >= 0; --a) {
            if (!branch[ix(a)]) {
                continue;
            }
            cand[ix(d) + 1] = cand[ix(d)];
            cand[ix(d) + 1][ix(a)] = false;
            lambda[ix(a)] = d;
            for (int y = 0; y < n; ++y) {
                if (s[ix(a)][ix(y)] && --rem[ix(y)] == 0) {
                    cand[ix(d) + 1][ix(y)] = true;
                }
            }
            search(d + 1);
            for (int y = 0; y < n; ++y) {
                if (s[ix(a)][ix(y)]) {
                    ++rem[ix(y)];
                }
            }
        }
    }
};

// ---------------------------------------------------------------- work network

struct Net {
    int n;
    std::vector<Row> S, P, C;
    std::vector<int> cover;

    explicit Net(int count)
        : n(count), S(ix(n), Row(ix(n))), P(ix(n), Row(ix(n))), C(ix(n), Row(ix(n))) {}

    void chain() {
        cover.clear();
        for (int a = 0; a < n; ++a) {
            std::fill(S[ix(a)].begin(), S[ix(a)].end(), false);
            std::fill(P[ix(a)].begin(), P[ix(a)].end(), false);
            std::fill(C[ix(a)].begin(), C[ix(a)].end(), false);
            for (int b = 0; b < n; ++b) {
                S[ix(a)][ix(b)] = b > a;
                P[ix(a)][ix(b)] = b < a;
            }
            if (a + 1 < n) {
                C[ix(a)][ix(a) + 1] = true;
            }
        }
        for (int a = n - 2; a >= 0; --a) {
            cover.push_back(pairNumber(a, a + 1, n));
        }
    }

    Relation closure() const { return S; }

    // PL of every activity over the covering pairs (C and S both set).
    std::vector<int> levels() const {
        std::vector<int> pl(ix(n), 1);
        for (int a = 0; a < n; ++a) {
            for (int b = 0; b < n; ++b) {
                if (C[ix(a)][ix(b)] && S[ix(a)][ix(b)]) {
                    pl[ix(b)] = std::max(pl[ix(b)], pl[ix(a)] + 1);
                }
            }
        }
        return pl;
    }
    int levelCount() const {
        const auto pl = levels();
        return *std::max_element(pl.begin(), pl.end());
    }
};

std::pair<int, int> pairOf(int p, int n) {
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (pairNumber(i, j, n) == p) {
                return {i, j};
            }
        }
    }
    assert(false);
    return {-1, -1};
}

struct Store {
    int n;
    std::vector<std::vector<Word>> rows;

    bool offer(const Relation& closure) {
        auto form = literalCanonicalForm(closure);
        for (const auto& r : rows) {
            if (r == form) {
                return false;
            }
        }
        rows.push_back(std::move(form));
        return true;
    }
};

// ---------------------------------------------------------------- indicator generator

struct IndicatorGen {
    int n, m, M;
    RandomSource& random;
    Net net;
    Store store;
    std::vector<IndicatorRecord> records;
    std::vector<int> trial;
    std::vector<int> undoF, undoG;

    IndicatorGen(int count, int levels, int maxNetworks, RandomSource& source)
        : n(count), m(levels), M(maxNetworks), random(source), net(count), store{count, {}} {}

    void list(int i, int j, bool local, std::vector<int>* undo, int who) {
        net.cover.push_back(pairNumber(i, j, n));
        if (local) {
            trial.push_back(pairNumber(i, j, n));
            undo->push_back(who);
        }
    }

    void removePair(int i, int j, bool local) {
        net.S[ix(i)][ix(j)] = false;
        net.P[ix(j)][ix(i)] = false;
        net.C[ix(i)][ix(j)] = false;
        for (int f = i - 1; f >= 0; --f) {
            if (net.S[ix(f)][ix(j)] && !rowsMeet(net.S[ix(f)], net.P[ix(j)])
                && !net.C[ix(f)][ix(j)]) {
                list(f, j, local, &undoF, f);
                net.C[ix(f)][ix(j)] = true;
            }
        }
        for (int g = j + 1; g < n; ++g) {
            if (net.S[ix(i)][ix(g)] && !rowsMeet(net.S[ix(i)], net.P[ix(g)])
                && !net.C[ix(i)][ix(g)]) {
                list(i, g, local, &undoG, g);
                net.C[ix(i)][ix(g)] = true;
            }
        }
    }

    void offer() {
        if (store.offer(net.closure())) {
            records.push_back(literalIndicators(net.closure(), m));
        }
    }

    bool full() const { return static_cast<int>(store.rows.size()) == M; }

    void layered(const std::vector<int>& sizes) {
        const int L = static_cast<int>(sizes.size());
        std::vector<int> levelOf;
        for (int l = 0; l < L; ++l) {
            for (int k = 0; k < sizes[ix(l)]; ++k) {
                levelOf.push_back(l);
            }
        }
        for (int a = 0; a < n; ++a) {
            for (int b = 0; b < n; ++b) {
                net.S[ix(a)][ix(b)] = levelOf[ix(b)] > levelOf[ix(a)];
                net.P[ix(a)][ix(b)] = levelOf[ix(b)] < levelOf[ix(a)];
                net.C[ix(a)][ix(b)] = levelOf[ix(b)] == levelOf[ix(a)] + 1;
            }
        }
        net.cover.clear();
        for (int l = L - 2; l >= 0; --l) {
            for (int a = n - 1; a >= 0; --a) {
                if (levelOf[ix(a)] != l) {
                    continue;
                }
                for (int b = n - 1; b >= 0; --b) {
                    if (levelOf[ix(b)] == l + 1) {
                        net.cover.push_back(pairNumber(a, b, n));
                    }
                }
            }
        }
    }

    std::vector<int> drawPlan() {
        int L = m;
        if (n > m) {
            L = m + random.below(n + 1 - m);
        }
        std::vector<int> size(ix(L) + 1);
        int remaining = n;
        for (int i = L - 1; i >= 1; --i) {
            const int s = remaining - i;
            const int T = s * (s + 1) / 2;
            const int r1 = random.below(T);
            const int r2 = random.below(n);
            int k = s;
            int x = r1;
            while (x > 0) {
                x -= r2 + k;
                --k;
            }
            size[ix(i)] = s - k + 1;
            remaining -= size[ix(i)];
        }
        size[0] = remaining;
        for (int t = 0; t < 2 * n; ++t) {
            const int i = random.below(L);
            const int j = random.below(L);
            std::swap(size[ix(i)], size[ix(j)]);
        }
        size.pop_back();
        return size;
    }

    void attempt() {
        int levels = net.levelCount();
        const int bias = random.below(20);
        while (levels > m) {
            const int k = random.below(static_cast<int>(net.cover.size()));
            const int p = net.cover[ix(k)];
            net.cover[ix(k)] = net.cover.back();
            net.cover.pop_back();
            const auto [i, j] = pairOf(p, n);
            removePair(i, j, false);
            levels = net.levelCount();
        }
        if (full()) {
            return;
        }
        offer();
        trial = net.cover;
        while (!trial.empty()) {
            const auto pl = net.levels();
            std::vector<int> cum(trial.size());
            for (Index e = 0; e < trial.size(); ++e) {
                const auto [i, j] = pairOf(trial[e], n);
                const int d = pl[ix(j)] - pl[ix(i)];
                cum[e] = e == 0 ? d + bias : cum[e - 1] + d * d + bias;
            }
            const int r = random.below(cum.back());
            Index e = 0;
            while (r > cum[e]) {
                ++e;
            }
            const int p = trial[e];
            const Index pos = static_cast<Index>(std::find(net.cover.begin(), net.cover.end(), p)
                                                 - net.cover.begin());
            undoF.clear();
            undoG.clear();
            const auto [i, j] = pairOf(p, n);
            removePair(i, j, true);
            levels = net.levelCount();
            if (levels < m) {
                net.S[ix(i)][ix(j)] = true;
                net.P[ix(j)][ix(i)] = true;
                net.C[ix(i)][ix(j)] = true;
                for (auto f = undoF.rbegin(); f != undoF.rend(); ++f) {
                    net.C[ix(*f)][ix(j)] = false;
                    net.cover.pop_back();
                    trial.pop_back();
                }
                for (auto g = undoG.rbegin(); g != undoG.rend(); ++g) {
                    net.C[ix(i)][ix(*g)] = false;
                    net.cover.pop_back();
                    trial.pop_back();
                }
                trial[e] = trial.back();
                trial.pop_back();
            } else {
                net.cover[pos] = net.cover.back();
                net.cover.pop_back();
                trial[e] = trial.back();
                trial.pop_back();
                if (full()) {
                    return;
                }
                offer();
            }
        }
    }
};

} // namespace

std::vector<Word> literalCanonicalForm(const Relation& closure, int* leaves) {
    const int n = static_cast<int>(closure.size());
    Canon canon(closure, n);
    canon.prepare();
    canon.search(0);
    const int pairs = n * (n - 1) / 2;
    std::vector<Word> form(ix(pairs > 1 ? (pairs - 1) / 32 : 0) + 1);
    for (int x = n - 2; x >= 0; --x) {
        for (int y = 0; y < n; ++y) {
            if (closure[ix(x)][ix(y)]) {
                const int p = pairNumber(canon.best[ix(x)], canon.best[ix(y)], n);
                form[ix(p / 32)] |= Word{1} << (p % 32);
            }
        }
    }
    if (leaves != nullptr) {
        *leaves = canon.leaves;
    }
    return form;
}

int literalLevelCount(const Relation& closure) {
    Net net(static_cast<int>(closure.size()));
    net.S = closure;
    for (int a = 0; a < net.n; ++a) {
        for (int b = 0; b < net.n; ++b) {
            net.P[ix(b)][ix(a)] = closure[ix(a)][ix(b)];
            bool covering = closure[ix(a)][ix(b)];
            for (int c = a + 1; c < b && covering; ++c) {
                covering = !(closure[ix(a)][ix(c)] && closure[ix(c)][ix(b)]);
            }
            net.C[ix(a)][ix(b)] = covering;
        }
    }
    return net.n == 0 ? 0 : net.levelCount();
}

IndicatorRecord literalIndicators(const Relation& closure, int m) {
    const int n = static_cast<int>(closure.size());
    Net net(n);
    net.S = closure;
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            net.P[ix(b)][ix(a)] = closure[ix(a)][ix(b)];
            bool covering = closure[ix(a)][ix(b)];
            for (int c = a + 1; c < b && covering; ++c) {
                covering = !(closure[ix(a)][ix(c)] && closure[ix(c)][ix(b)]);
            }
            net.C[ix(a)][ix(b)] = covering;
        }
    }
    const auto pl = net.levels();
    std::vector<int> rl(ix(n), m);
    for (int a = n - 1; a >= 0; --a) {
        for (int p = 0; p < n; ++p) {
            if (net.P[ix(a)][ix(p)]) {
                rl[ix(p)] = std::min(rl[ix(p)], rl[ix(a)] - 1);
            }
        }
    }
    std::vector<int> width(ix(m) + 2, 0), length(ix(m) + 2, 0);
    for (int a = 0; a < n; ++a) {
        ++width[ix(pl[ix(a)])];
    }
    IndicatorRecord out;
    if (m == 1 || m == n) {
        out.i3 = 0;
    } else {
        const double avg = static_cast<double>(n) / m;
        const double denominator = (m - 1.0) * 2.0 * (avg - 1.0);
        double D = 0;
        for (int l = 1; l <= m; ++l) {
            const double diff = width[ix(l)] - avg;
            D = diff >= 0 ? D + diff : D - diff;
        }
        out.i3 = static_cast<std::int32_t>(100.0L * static_cast<long double>(D)
                                           / static_cast<long double>(denominator));
    }
    int dmax = 0;
    for (int l = 1; l < m; ++l) {
        dmax += width[ix(l)] * width[ix(l) + 1];
    }
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            if (net.C[ix(a)][ix(b)] && net.S[ix(a)][ix(b)]) {
                ++length[ix(pl[ix(b)] - pl[ix(a)])];
            }
        }
    }
    const int w1 = width[1];
    if (dmax == 0 || n - w1 - dmax == 0) {
        out.i4 = 100;
    } else {
        out.i4 = ((length[1] - n + w1) * 100) / (dmax - n + w1);
    }
    int top = 0;
    for (int l = 0; l <= m; ++l) {
        if (length[ix(l)] > 0) {
            top = l;
        }
    }
    int arcs = 0;
    for (int l = 1; l <= top; ++l) {
        arcs += length[ix(l)];
    }
    const int e = arcs - n + w1;
    if (e == 0) {
        out.i5 = 100;
    } else {
        float s = 0.0f;
        for (int l = m - 1; l >= 2; --l) {
            s = s + static_cast<float>((l - m + 1) * length[ix(l)]);
        }
        if (m > 2) {
            s = s / static_cast<float>(2 - m);
        }
        out.i5 = static_cast<std::int32_t>(
            (static_cast<long double>(length[1]) + static_cast<long double>(s) - n + w1) * 100.0L
            / e);
    }
    if (m == 1 || m == n) {
        out.i6 = 0;
    } else {
        float s = 0.0f;
        for (int a = 0; a < n; ++a) {
            s += static_cast<float>(rl[ix(a)] - pl[ix(a)]);
        }
        out.i6 = static_cast<std::int32_t>(100.0L * static_cast<long double>(s)
                                           / static_cast<long double>((m - 1) * (n - m)));
    }
    return out;
}

LiteralRun literalOrderStrengthRun(int n, double os, int M, std::int32_t seed) {
    RandomSource random;
    random.seed(seed);
    const int pairs = n * (n - 1) / 2;
    const int target = static_cast<int>(static_cast<long double>(pairs) * os + 0.05);
    const int removals = pairs - target;
    Store store{n, {}};
    Net net(n);
    for (int attempt = 1; attempt <= M; ++attempt) {
        net.chain(); // the cover rows hold the listed marks
        for (int r = 0; r < removals; ++r) {
            const int k = random.below(static_cast<int>(net.cover.size()));
            const int p = net.cover[ix(k)];
            net.cover[ix(k)] = net.cover.back();
            net.cover.pop_back();
            const auto [i, j] = pairOf(p, n);
            net.S[ix(i)][ix(j)] = false;
            net.P[ix(j)][ix(i)] = false;
            for (int f = j - 1; f >= 0; --f) {
                if (!rowsMeet(net.S[ix(f)], net.P[ix(j)]) && !net.C[ix(f)][ix(j)]) {
                    net.cover.push_back(pairNumber(f, j, n));
                    net.C[ix(f)][ix(j)] = true;
                }
            }
            for (int g = i + 1; g < n; ++g) {
                if (!rowsMeet(net.S[ix(i)], net.P[ix(g)]) && !net.C[ix(i)][ix(g)]) {
                    net.cover.push_back(pairNumber(i, g, n));
                    net.C[ix(i)][ix(g)] = true;
                }
            }
        }
        store.offer(net.closure());
    }
    return {store.rows, {}};
}

LiteralRun literalIndicatorRun(int n, double i2, int M, std::int32_t seed) {
    RandomSource random;
    random.seed(seed);
    const int m = static_cast<int>(static_cast<long double>(n - 1) * i2 + 1.0L);
    IndicatorGen gen(n, m, M, random);
    for (int attempt = 1; attempt <= M; ++attempt) {
        gen.layered(gen.drawPlan());
        gen.attempt();
        if (gen.full()) {
            break;
        }
    }
    return {gen.store.rows, gen.records};
}

Relation decodeArcSet(const Word* row, int n) {
    Relation rel(ix(n), Row(ix(n)));
    int p = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j, ++p) {
            rel[ix(i)][ix(j)] = testBit(row, p);
        }
    }
    return rel;
}

} // namespace tavrin::testing
