#include "support/literal_export.h"

#include <algorithm>
#include <cstdio>

namespace tavrin::testing {
namespace {

using Index = std::size_t;
Index ix(int v) {
    return static_cast<Index>(v);
}

struct Instance {
    int n = 0;
    int K = 0;
    std::vector<std::vector<bool>> succ;
    std::vector<int> preds, succs, duration, users, availability;
    std::vector<std::vector<int>> demand;
    std::vector<Word> mask;
};

void completePrecedence(Instance& in, const Word* row, RandomSource& random) {
    const int n = in.n;
    std::vector<std::vector<bool>> closure(ix(n), std::vector<bool>(ix(n)));
    int p = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j, ++p) {
            closure[ix(i)][ix(j)] = testBit(row, p);
        }
    }
    auto reduced = closure;
    for (int a = n - 2; a >= 0; --a) {
        for (int y = 0; y < n; ++y) {
            if (closure[ix(a)][ix(y)] && y != n - 1) {
                for (int z = 0; z < n; ++z) {
                    if (closure[ix(y)][ix(z)]) {
                        reduced[ix(a)][ix(z)] = false;
                    }
                }
            }
        }
    }
    in.succ.assign(ix(n), std::vector<bool>(ix(n)));
    in.preds.assign(ix(n), 0);
    in.succs.assign(ix(n), 0);
    in.duration.assign(ix(n), 0);
    for (int a = n - 2; a >= 0; --a) {
        in.duration[ix(a)] = random.below(10) + 1;
        for (int y = 0; y < n; ++y) {
            if (reduced[ix(a)][ix(y)]) {
                ++in.preds[ix(y)];
                ++in.succs[ix(a)];
                in.succ[ix(a)][ix(y)] = true;
            }
        }
    }
    in.duration[ix(n - 1)] = random.below(10) + 1;
}

void requirementPattern(Instance& in, const RunSettings& s, RandomSource& random) {
    const int n = in.n;
    const int K = in.K;
    in.mask.assign(ix(n), 0);
    in.users.assign(ix(K), 0);
    in.demand.assign(ix(n), std::vector<int>(ix(K), 0));
    auto require = [&](int a, int k) {
        in.mask[ix(a)] |= Word{1} << k;
        ++in.users[ix(k)];
    };
    if (s.requestMeasure == RequestMeasure::ResourceFactor) {
        const int N = n * K;
        int q = N;
        const int count = static_cast<int>(static_cast<long double>(N)
                                           * static_cast<long double>(s.resourceFactor));
        std::vector<int> list(ix(N) + 1);
        for (int i = 1; i <= N; ++i) {
            list[ix(i)] = i - 1;
        }
        for (int c = 0; c < count; ++c) {
            const int r = random.below(q) + 1;
            const int x = list[ix(r)];
            require(x / K, x % K);
            list[ix(r)] = list[ix(q)];
            --q;
        }
    } else {
        for (int a = n - 1; a >= 0; --a) {
            std::vector<int> list(ix(K) + 1);
            for (int i = 1; i <= K; ++i) {
                list[ix(i)] = i - 1;
            }
            int q = K;
            for (int c = 0; c < s.resourceUse; ++c) {
                const int r = random.below(q) + 1;
                require(a, list[ix(r)]);
                list[ix(r)] = list[ix(q)];
                --q;
            }
        }
    }
}

bool needs(const Instance& in, int a, int k) {
    return (in.mask[ix(a)] >> k & 1u) != 0;
}

void constrainedness(Instance& in, double rc, RandomSource& random) {
    in.availability.assign(ix(in.K), 10);
    for (int k = in.K - 1; k >= 0; --k) {
        const int total = static_cast<int>(static_cast<long double>(in.users[ix(k)])
                                               * static_cast<long double>(rc) * 10.0L
                                           + static_cast<long double>(0.01));
        std::vector<std::pair<int, int>> cand;
        for (int a = in.n - 1; a >= 0; --a) {
            if (needs(in, a, k)) {
                cand.emplace_back(a, 1);
            }
        }
        int last = static_cast<int>(cand.size()) - 1;
        int remaining = total - in.users[ix(k)];
        while (remaining > 0) {
            if (last == 0) {
                cand[0].second += remaining;
                break;
            }
            const int r = random.below(last);
            ++cand[ix(r)].second;
            --remaining;
            if (cand[ix(r)].second == 10) {
                in.demand[ix(cand[ix(r)].first)][ix(k)] = 10;
                cand[ix(r)] = cand[ix(last)];
                --last;
            }
        }
        for (int i = last; i >= 0; --i) {
            in.demand[ix(cand[ix(i)].first)][ix(k)] = cand[ix(i)].second;
        }
    }
}

void strength(Instance& in, double rs, RandomSource& random) {
    const int n = in.n;
    const int K = in.K;
    std::vector<int> finish(ix(n), 0);
    for (int a = 0; a < n; ++a) {
        finish[ix(a)] = std::max(finish[ix(a)], in.duration[ix(a)]);
        for (int s = 0; s < n; ++s) {
            if (in.succ[ix(a)][ix(s)] && finish[ix(a)] + in.duration[ix(s)] > finish[ix(s)]) {
                finish[ix(s)] = finish[ix(a)] + in.duration[ix(s)];
            }
        }
    }
    const int T = *std::max_element(finish.begin(), finish.end());
    std::vector<int> largest(ix(K), 0), peak(ix(K), 0);
    for (int a = n - 1; a >= 0; --a) {
        for (int k = K - 1; k >= 0; --k) {
            if (needs(in, a, k)) {
                in.demand[ix(a)][ix(k)] = random.below(10) + 1;
                largest[ix(k)] = std::max(largest[ix(k)], in.demand[ix(a)][ix(k)]);
            }
        }
    }
    std::vector<std::vector<int>> profile(ix(T) + 1, std::vector<int>(ix(K), 0));
    for (int a = n - 1; a >= 0; --a) {
        for (int t = finish[ix(a)] - in.duration[ix(a)] + 1; t <= finish[ix(a)]; ++t) {
            for (int k = K - 1; k >= 0; --k) {
                profile[ix(t)][ix(k)] += in.demand[ix(a)][ix(k)];
            }
        }
    }
    for (int t = T; t >= 0; --t) {
        for (int k = K - 1; k >= 0; --k) {
            peak[ix(k)] = std::max(peak[ix(k)], profile[ix(t)][ix(k)]);
        }
    }
    in.availability.assign(ix(K), 0);
    for (int k = K - 1; k >= 0; --k) {
        in.availability[ix(k)] = static_cast<int>(
            static_cast<long double>(peak[ix(k)] - largest[ix(k)]) * static_cast<long double>(rs)
            + static_cast<long double>(largest[ix(k)]));
    }
}

void put(std::string& out, const char* format, int value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
}

std::string write(const Instance& in) {
    const int n = in.n;
    const int K = in.K;
    const int N = n + 2;
    std::string out;
    put(out, "\n%4d", N);
    put(out, "%5d\n", K);
    put(out, "%4d", in.availability[0]);
    for (int k = 1; k < K; ++k) {
        put(out, "%5d", in.availability[ix(k)]);
    }
    out += "\n";
    put(out, "\n%4d", 0);
    for (int k = 0; k < K; ++k) {
        out += "   0";
    }
    int starts = 0;
    for (int a = 0; a < n; ++a) {
        starts += in.preds[ix(a)] == 0 ? 1 : 0;
    }
    put(out, "%4d ", starts);
    for (int a = 0; a < n; ++a) {
        if (in.preds[ix(a)] == 0) {
            put(out, "%d ", a + 2);
        }
    }
    for (int a = 0; a < n; ++a) {
        put(out, "\n%4d", in.duration[ix(a)]);
        for (int k = 0; k < K; ++k) {
            put(out, "%4d", in.demand[ix(a)][ix(k)]);
        }
        if (in.succs[ix(a)] != 0) {
            put(out, "%4d ", in.succs[ix(a)]);
            for (int b = n - 1; b >= 0; --b) {
                if (in.succ[ix(a)][ix(b)]) {
                    put(out, "%d ", b + 2);
                }
            }
        } else {
            put(out, "%4d ", 1);
            put(out, "%d", N);
        }
    }
    out += "\n   0   0";
    for (int k = 0; k < K; ++k) {
        out += "   0";
    }
    out += " \n";
    std::string crlf;
    for (char c : out) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return crlf;
}

} // namespace

std::string literalInstanceFile(const Word* row, int n, const RunSettings& s,
                                RandomSource& random) {
    Instance in;
    in.n = n;
    in.K = s.resourceCount;
    completePrecedence(in, row, random);
    requirementPattern(in, s, random);
    if (s.demandMeasure == DemandMeasure::ResourceConstrainedness) {
        constrainedness(in, s.resourceConstrainedness, random);
    } else {
        strength(in, s.resourceStrength, random);
    }
    return write(in);
}

std::vector<std::string> literalBatch(const std::vector<const Word*>& rows, int n,
                                      std::vector<int> pool, int count, const RunSettings& s,
                                      RandomSource& random) {
    std::vector<std::string> files;
    for (int c = 0; c < count; ++c) {
        const int r = random.below(static_cast<int>(pool.size()));
        const int slot = pool[ix(r)];
        pool[ix(r)] = pool.back();
        pool.pop_back();
        files.push_back(literalInstanceFile(rows[ix(slot)], n, s, random));
    }
    return files;
}

} // namespace tavrin::testing
