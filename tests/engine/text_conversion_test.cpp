#include "engine/text_conversion.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(TextConversion, IntegersAreDecimalThirtyTwoBit) {
    EXPECT_EQ(parseInteger("10"), 10);
    EXPECT_EQ(parseInteger("-7"), -7);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger(" 12 "), 12);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "2147483648", "12x", "1.5", "0x10", "abc", "+-1", "1 2"}) {
        EXPECT_FALSE(parseInteger(bad).has_value()) << bad;
    }
}

TEST(TextConversion, RealsUseTheGivenSeparatorAndMustBeFinite) {
    EXPECT_EQ(parseReal("0.5"), 0.5);
    EXPECT_EQ(parseReal("0,5", ','), 0.5);
    EXPECT_EQ(parseReal("1e-2"), 0.01);
    EXPECT_EQ(parseReal(".5"), 0.5);
    EXPECT_EQ(parseReal("-3"), -3.0);
    for (const char* bad : {"", "nan", "inf", "1e999", "0,5", "1.2.3", "e5", "1e"}) {
        EXPECT_FALSE(parseReal(bad).has_value()) << bad;
    }
    EXPECT_FALSE(parseReal("0.5", ',').has_value());
}

TEST(TextConversion, PercentsTruncateTheExtendedValue) {
    // Straight to extended precision: 0.6 and 0.57 sit above their hundredths, 0.53 and 0.59
    // just below.
    EXPECT_EQ(parsePercent("1"), 100);
    EXPECT_EQ(parsePercent("0"), 0);
    EXPECT_EQ(parsePercent("0.6"), 60);
    EXPECT_EQ(parsePercent("0.57"), 57);
    EXPECT_EQ(parsePercent("0.53"), 52);
    EXPECT_EQ(parsePercent("0.59"), 58);
    EXPECT_EQ(parsePercent("0,6", ','), 60);
    EXPECT_FALSE(parsePercent("1e30").has_value());
    EXPECT_FALSE(parsePercent("x").has_value());
}

TEST(TextConversion, MessagesQuoteTheText) {
    EXPECT_EQ(invalidIntegerMessage("abc"), "'abc' is not a valid integer value.");
    EXPECT_EQ(invalidRealMessage("x"), "'x' is not a valid floating point value.");
}

TEST(TextConversion, GeneralRealFormat) {
    EXPECT_EQ(formatReal(0.35 - 0.01), "0.34");
    EXPECT_EQ(formatReal(1.0), "1");
    EXPECT_EQ(formatReal(37.0), "37");
    EXPECT_EQ(formatReal(0.0), "0");
    EXPECT_EQ(formatReal(1.005), "1.005");
    EXPECT_EQ(formatReal(0.00001), "1E-5");
    EXPECT_EQ(formatReal(static_cast<double>(0.99L + 0.01L)), "1");
}

} // namespace
} // namespace tavrin
