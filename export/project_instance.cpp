#include "export/project_instance.h"

#include <algorithm>
#include <bit>

namespace tavrin {
namespace {

std::size_t count(int n) {
    return static_cast<std::size_t>(n);
}

void clearPrecedence(ProjectInstance& instance) {
    PrecedenceMatrix& precedence = instance.precedence;
    std::fill(precedence.predecessorCount.begin(), precedence.predecessorCount.end(), 0);
    std::fill(precedence.successorCount.begin(), precedence.successorCount.end(), 0);
    std::fill(precedence.successorRows.begin(), precedence.successorRows.end(), Word{0});
    std::fill(instance.closureRows.begin(), instance.closureRows.end(), Word{0});
    std::fill(instance.reducedRows.begin(), instance.reducedRows.end(), Word{0});
}

// Pair p = PairIndex(i, j) becomes j in the closure row of i (position n-1-j). Pairs come in
// increasing order, so the row i of the current pair only ever moves forward.
void decodeClosure(ProjectInstance& instance, const Word* arcSet) {
    const int n = instance.activityCount;
    const int pairs = n * (n - 1) / 2;
    if (pairs == 0) {
        return;
    }
    const int lastWord = (pairs - 1) / 32;
    int i = 0;
    int rowStart = 0;   // PairIndex(i, i+1)
    int rowEnd = n - 1; // PairIndex(i+1, i+2)
    for (int w = 0; w <= lastWord; ++w) {
        Word word = arcSet[w];
        if (w == lastWord && pairs % 32 != 0) {
            word &= kBitMasks[static_cast<std::size_t>(pairs % 32)] - 1;
        }
        while (word != 0) {
            const int p = 32 * w + std::countr_zero(word);
            word &= word - 1;
            while (p >= rowEnd) {
                ++i;
                rowStart = rowEnd;
                rowEnd += n - 1 - i;
            }
            const int j = i + 1 + (p - rowStart);
            setBit(instance.closureRow(i), n - 1 - j);
        }
    }
}

// Removes from each closure row every member of the closure rows of its members. The row is
// walked as it shrinks: a member already removed lies in the closure of an earlier member, so its
// own closure is already gone and skipping it leaves the same immediate successors. Members of
// y's closure sit at lower positions than y, so only words up to y's are touched.
void reduceClosure(ProjectInstance& instance) {
    const int n = instance.activityCount;
    const int words = instance.rowWords;
    for (int a = n - 2; a >= 0; --a) {
        Word* reduced = instance.reducedRow(a);
        std::copy_n(instance.closureRow(a), words, reduced);
        for (int w = words - 1; w >= 0; --w) {
            Word pending = reduced[w];
            while (pending != 0) {
                const int b = highestBit(pending);
                pending ^= kBitMasks[static_cast<std::size_t>(b)];
                const int y = n - 1 - (b + 32 * w);
                const Word* closure = instance.closureRow(y);
                for (int v = 0; v <= w; ++v) {
                    reduced[v] &= ~closure[v];
                }
                pending &= reduced[w];
            }
        }
    }
}

int drawDuration(RandomSource& random) {
    return random.below(kMaxDuration) + 1;
}

void drawDurationsAndCount(ProjectInstance& instance, RandomSource& random) {
    const int n = instance.activityCount;
    PrecedenceMatrix& precedence = instance.precedence;
    for (int a = n - 2; a >= 0; --a) {
        instance.duration[count(a)] = drawDuration(random);
        Word* successors = instance.successorRow(a);
        forEachSetBit(instance.reducedRow(a), instance.rowWords, [&](int position) {
            const int y = n - 1 - position;
            ++precedence.predecessorCount[count(y)];
            ++precedence.successorCount[count(a)];
            setBit(successors, y);
        });
    }
    instance.duration[count(n - 1)] = drawDuration(random);
}

} // namespace

ResourceProfile::ResourceProfile(int activityCount, int resourceCount)
    : m_resources(resourceCount),
      m_counters((count(activityCount) * kMaxDuration + 1) * count(resourceCount)) {}

void ResourceProfile::reset(int lastTime) {
    assert(lastTime >= 0);
    assert((count(lastTime) + 1) * count(m_resources) <= m_counters.size());
    m_lastTime = lastTime;
    std::fill_n(m_counters.begin(), (count(lastTime) + 1) * count(m_resources), 0);
}

ProjectInstance::ProjectInstance(int n, int k)
    : activityCount(n), resourceCount(k),
      rowWords((n + 31) / 32), precedence{std::vector<Word>(count(n) * count(rowWords)),
                                          std::vector<std::int32_t>(count(n)),
                                          std::vector<std::int32_t>(count(n))},
      duration(count(n)), requirementMask(count(n)), users(count(k)), demands(count(n) * count(k)),
      availability(count(k)), largestDemand(count(k)), peak(count(k)), earliestFinish(count(n)),
      closureRows(count(n) * count(rowWords)), reducedRows(closureRows.size()),
      drawList(count(n) * count(k) + 1), candidates(count(n)), profile(n, k) {
    assert(n >= 1);
    assert(k >= 1 && k <= kMaxResources);
}

void completePrecedence(ProjectInstance& instance, const Word* arcSet, RandomSource& random) {
    clearPrecedence(instance);
    decodeClosure(instance, arcSet);
    reduceClosure(instance);
    drawDurationsAndCount(instance, random);
}

} // namespace tavrin
