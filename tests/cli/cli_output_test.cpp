#include "cli/histogram_text.h"
#include "cli/networks_csv.h"
#include "cli/progress_bar.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tavrin::cli {
namespace {

TEST(NetworksCsv, ArcSetWordsAreEightLowercaseHexDigitsWordZeroFirst) {
    const Word words[] = {0x1u, 0xDEADBEEFu, 0x0u};
    EXPECT_EQ(arcSetHex(words, 3), "00000001deadbeef00000000");
    EXPECT_EQ(arcSetHex(words, 1), "00000001");
}

TEST(HistogramText, ScalesBarsToTheTallestBin) {
    // Width 8: 4 is the tallest (8 marks), 1 gets 1 * 8 / 4 = 2, 0 none.
    const std::string text = histogramText("CI", {{"3", 1}, {"4", 0}, {"10", 4}}, 8);
    EXPECT_EQ(text, "CI\n"
                    "   3 |##      | 1\n"
                    "   4 |        | 0\n"
                    "  10 |########| 4\n");
    // A non-empty bin always shows one mark.
    EXPECT_NE(histogramText("x", {{"a", 1}, {"b", 1000}}, 10).find("a |#         | 1"),
              std::string::npos);
}

TEST(HistogramText, BinsCiValuesAndPercentages) {
    const auto ci = ciBins(formCiHistogram(std::vector<std::int32_t>{5, 3, 5}));
    ASSERT_EQ(ci.size(), 3u);
    EXPECT_EQ(ci[0].label, "3");
    EXPECT_EQ(ci[0].count, 1);
    EXPECT_EQ(ci[1].count, 0);
    EXPECT_EQ(ci[2].count, 2);
    EXPECT_TRUE(ciBins(formCiHistogram({})).empty());

    PercentCounts counts{}; // one network at each of 0, 9, 10, 95 and 100 percent
    counts[0] = counts[9] = counts[10] = counts[95] = counts[100] = 1;
    const auto percent = percentBins(counts);
    ASSERT_EQ(percent.size(), 10u);
    EXPECT_EQ(percent[0].count, 2);
    EXPECT_EQ(percent[1].count, 1);
    EXPECT_EQ(percent[9].label, "90-100");
    EXPECT_EQ(percent[9].count, 2);
}

TEST(ProgressBar, StaysQuietForTheFirstSecondThenThrottles) {
    std::ostringstream out;
    std::int64_t now = 0;
    ProgressBar bar(
        out, [&] { return now; }, 10);
    now = 999;
    bar.update(10, 3);
    EXPECT_EQ(out.str(), "");
    now = 1000;
    bar.update(10, 5);
    EXPECT_EQ(out.str(), "\r[#####.....] 50% 5/10");
    now = 1050; // within 100 ms of the last drawing
    bar.update(10, 6);
    EXPECT_EQ(out.str(), "\r[#####.....] 50% 5/10");
    now = 1100;
    bar.update(10, 10);
    EXPECT_EQ(out.str(), "\r[#####.....] 50% 5/10\r[##########] 100% 10/10");
    out.str("");
    bar.finish();
    EXPECT_EQ(out.str(), "\r" + std::string(23, ' ') + "\r");
    EXPECT_FALSE(bar.drawn());
}

TEST(ProgressBar, FinishWithoutDrawingWritesNothing) {
    std::ostringstream out;
    ProgressBar bar(out, [] { return std::int64_t{0}; });
    bar.update(100, 50);
    bar.finish();
    EXPECT_EQ(out.str(), "");
}

} // namespace
} // namespace tavrin::cli
