#include "engine/bits.h"
#include "engine/pair_index.h"

#include <gtest/gtest.h>
#include <vector>

namespace tavrin {
namespace {

TEST(HighestBit, MatchesFloorLog2AcrossTheSixteenBitSplit) {
    EXPECT_EQ(highestBit(1), 0);
    EXPECT_EQ(highestBit(2), 1);
    EXPECT_EQ(highestBit(3), 1);
    EXPECT_EQ(highestBit(65535), 15);
    EXPECT_EQ(highestBit(65536), 16);
    EXPECT_EQ(highestBit(0x80000000u), 31);
    EXPECT_EQ(highestBit(0xFFFFFFFFu), 31);
    for (Word x = 1; x < 70000; ++x) {
        int expected = 0;
        while ((x >> (expected + 1)) != 0) {
            ++expected;
        }
        ASSERT_EQ(highestBit(x), expected) << x;
    }
}

TEST(SetBitWalk, VisitsHighWordsFirstAndHighBitsFirst) {
    const Word row[3] = {0b1001, 0, 0x80000001u};
    std::vector<int> seen;
    forEachSetBit(row, 3, [&](int p) { seen.push_back(p); });
    EXPECT_EQ(seen, (std::vector<int>{95, 64, 3, 0}));
}

TEST(SetBitWalk, IntersectionAndEquality) {
    const Word a[2] = {0b0110, 1};
    const Word b[2] = {0b1000, 0};
    const Word c[2] = {0b0010, 0};
    EXPECT_FALSE(intersects(a, b, 2));
    EXPECT_TRUE(intersects(a, c, 2));
    EXPECT_TRUE(rowsEqual(a, a, 2));
    EXPECT_FALSE(rowsEqual(a, c, 2));
}

TEST(PairIndex, NumbersPairsRowByRow) {
    PairIndex four(4);
    EXPECT_EQ(four.pairCount(), 6);
    EXPECT_EQ(four(0, 1), 0);
    EXPECT_EQ(four(0, 3), 2);
    EXPECT_EQ(four(1, 2), 3);
    EXPECT_EQ(four(2, 3), 5);
    PairIndex big(33);
    EXPECT_EQ(big(31, 32), 527);
    EXPECT_EQ(big.pairCount() - 1, 527);
    EXPECT_EQ(wordOf(527), 16);
    for (int p = 0; p < big.pairCount(); ++p) {
        ASSERT_EQ(big(big.first(p), big.second(p)), p);
    }
}

} // namespace
} // namespace tavrin
