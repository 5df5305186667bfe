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

// Both precisions refuse exactly the texts outside a double's range, a denormal being inside it,
// and the extended value still comes straight from the text.
TEST(TextConversion, RealRangeIsTheDoublesForBothPrecisions) {
    struct Case {
        const char* text;
        RealText kind;
    };
    const Case cases[] = {
        {"4.9e-324", RealText::Number},
        {"-1e-320", RealText::Number},
        {"0e-999", RealText::Number},
        {"1.7976931348623157e308", RealText::Number},
        {"2e-324", RealText::OutOfRange}, // below half the smallest denormal: rounds to 0
        {"1e-400", RealText::OutOfRange},
        {"1e999", RealText::OutOfRange},
        {"-1e999", RealText::OutOfRange},
        {"1.7976931348623159e308", RealText::OutOfRange}, // rounds up to infinity
        {"1e", RealText::NotANumber},
        {"inf", RealText::NotANumber},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classifyReal(c.text), c.kind) << c.text;
        EXPECT_EQ(parseReal(c.text).has_value(), c.kind == RealText::Number) << c.text;
        EXPECT_EQ(parseExtended(c.text).has_value(), c.kind == RealText::Number) << c.text;
    }
    EXPECT_EQ(classifyReal("1,5e999", ','), RealText::OutOfRange);
    EXPECT_EQ(parseExtended("4.9e-324"), 4.9e-324L);
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

TEST(TextConversion, MessagesQuoteTheTextOnOneLine) {
    EXPECT_EQ(invalidIntegerMessage("abc"), "'abc' is not a valid integer value.");
    EXPECT_EQ(invalidRealMessage("x"), "'x' is not a valid floating point value.");
    EXPECT_EQ(invalidRealMessage("1e-400"), "'1e-400' is out of range.");
    EXPECT_EQ(invalidRealMessage("1,5e999", ','), "'1,5e999' is out of range.");
    EXPECT_EQ(invalidRealMessage("1,5e999"), "'1,5e999' is not a valid floating point value.");
    EXPECT_EQ(invalidIntegerMessage("1\n2"), "'1\\n2' is not a valid integer value.");
    EXPECT_EQ(quotedText("a\tb\rc\x1b\x7f\x01"), "'a\\tb\\rc\\x1B\\x7F\\x01'");
    // Backslashes, quotes and bytes above ASCII are not control characters.
    EXPECT_EQ(quotedText("C:\\Tavrin it's \xc3\xa9"), "'C:\\Tavrin it's \xc3\xa9'");
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
