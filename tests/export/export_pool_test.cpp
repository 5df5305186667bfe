#include "engine/text_conversion.h"
#include "export/export_pool.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

namespace tavrin {
namespace {

std::vector<int> entries(const ExportPool& pool) {
    std::vector<int> out;
    for (int i = 0; i < pool.length(); ++i) {
        out.push_back(pool.slot(i));
    }
    return out;
}

std::array<std::int32_t, 8> percentBounds(const std::array<const char*, 8>& texts) {
    std::array<std::int32_t, 8> bounds{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        bounds[i] = parsePercent(texts[i]).value();
    }
    return bounds;
}

TEST(ExportPool, Tavrin2BoundsAreInclusiveWholePercentagesFromTheFieldTexts) {
    const std::vector<IndicatorRecord> records = {
        {51, 50, 50, 50}, {52, 50, 50, 50}, {53, 50, 50, 50}, {58, 50, 50, 50},
        {59, 50, 50, 50}, {55, 60, 50, 50}, {55, 50, 0, 50},  {55, 50, 50, 100},
    };
    struct Case {
        std::array<const char*, 8> texts;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // "0.53" is held just below its hundredth and gives 52; "0.59" gives 58.
        {{"0.53", "0.59", "0", "1", "0", "1", "0", "1"}, {1, 2, 3, 5, 6, 7}},
        {{"0", "1", "0", "1", "0", "1", "0", "1"}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {{"0.5", "0.6", "0.6", "0.6", "0", "1", "0", "1"}, {5}},
        {{"0.5", "0.6", "0.5", "0.5", "0", "0", "0", "1"}, {6}},
        {{"0.5", "0.6", "0", "1", "0", "1", "1", "1"}, {7}},
        {{"0.6", "0.5", "0", "1", "0", "1", "0", "1"}, {}}, // Low above High
    };
    ExportPool pool;
    for (const Case& c : cases) {
        pool.rebuildTavrin2(records, percentBounds(c.texts));
        EXPECT_EQ(entries(pool), c.expected) << c.texts[0] << ' ' << c.texts[1];
        EXPECT_EQ(pool.poolCount(), static_cast<int>(c.expected.size()));
    }
}

TEST(ExportPool, Tavrin1SelectsTheInclusiveCiRange) {
    const std::vector<std::int32_t> ci = {3, 7, 2, 9, 7, 5};
    ExportPool pool;
    pool.rebuildTavrin1(ci, 2, 9);
    EXPECT_EQ(entries(pool), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    pool.rebuildTavrin1(ci, 7, 7);
    EXPECT_EQ(entries(pool), (std::vector<int>{1, 4}));
    pool.rebuildTavrin1(ci, 8, 6);
    EXPECT_EQ(pool.poolCount(), 0);
    pool.rebuildTavrin1(ci, 3, 5);
    pool.clear();
    EXPECT_EQ(pool.length(), 0);
    EXPECT_EQ(pool.poolCount(), 0);
}

TEST(ExportPool, DrawsWithoutReplacementMovingTheLastEntry) {
    std::vector<std::int32_t> ci(40);
    std::iota(ci.begin(), ci.end(), 0);
    ExportPool pool;
    pool.rebuildTavrin1(ci, 10, 34); // slots 10..34
    RandomSource random;
    random.seed(5);
    RandomSource replay = random;

    // First draw: entry r = rand() mod 25; the last entry (34) takes its place.
    const int r = replay.below(25);
    EXPECT_EQ(pool.draw(random), 10 + r);
    EXPECT_EQ(pool.length(), 24);
    if (r < 24) {
        EXPECT_EQ(pool.slot(r), 34);
    }

    std::vector<int> drawn = {10 + r};
    while (pool.length() > 0) {
        drawn.push_back(pool.draw(random));
    }
    std::sort(drawn.begin(), drawn.end());
    std::vector<int> all(25);
    std::iota(all.begin(), all.end(), 10);
    EXPECT_EQ(drawn, all);
    EXPECT_EQ(pool.poolCount(), 25) << "drawing leaves the count alone";
    EXPECT_THROW(pool.draw(random), std::invalid_argument);
}

} // namespace
} // namespace tavrin
