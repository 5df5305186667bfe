#include "engine/work_network.h"
#include "support/network_builder.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(WorkNetwork, ReversedMappingPutsActivityZeroInTheHighPosition) {
    WorkNetwork net(33);
    EXPECT_EQ(net.rowWords(), 2);
    Word* row = net.succ(0);
    net.clear(row);
    net.insert(row, 0);
    EXPECT_EQ(row[1], 1u);
    EXPECT_EQ(row[0], 0u);
    net.insert(row, 32);
    EXPECT_EQ(row[0], 1u);
}

TEST(WorkNetwork, SerialResetBuildsTheChain) {
    for (int n : {1, 2, 5, 32, 33, 70}) {
        WorkNetwork net(n);
        PairIndex pairs(n);
        net.serialReset(pairs);
        ASSERT_EQ(net.coverLength(), n - 1) << n;
        for (int a = 0; a < n; ++a) {
            for (int b = 0; b < n; ++b) {
                ASSERT_EQ(net.contains(net.succ(a), b), b > a) << n << ' ' << a << ' ' << b;
                ASSERT_EQ(net.contains(net.pred(a), b), b < a);
                ASSERT_EQ(net.contains(net.cover(a), b), b == a + 1);
            }
        }
        // (n-2, n-1) first, (0, 1) last.
        for (int k = 0; k < n - 1; ++k) {
            const int a = n - 2 - k;
            ASSERT_EQ(net.coverList()[k], pairs(a, a + 1));
        }
        // Bits beyond the last activity stay clear.
        const int spare = 32 * net.rowWords() - n;
        if (spare > 0) {
            const Word high = ~((Word{1} << (32 - spare)) - 1);
            ASSERT_EQ(net.pred(n - 1)[net.rowWords() - 1] & high, 0u);
        }
    }
}

TEST(WorkNetwork, BuilderClosesAndCovers) {
    const WorkNetwork net = testing::network(4, "0>1 1>2 0>3");
    EXPECT_TRUE(net.contains(net.succ(0), 2));
    EXPECT_TRUE(net.contains(net.pred(2), 0));
    EXPECT_FALSE(net.contains(net.cover(0), 2));
    EXPECT_TRUE(net.contains(net.cover(0), 3));
    EXPECT_EQ(net.coverLength(), 3);
}

} // namespace
} // namespace tavrin
