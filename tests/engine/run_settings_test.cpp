#include "engine/generate_checks.h"
#include "engine/run_settings.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

RunSettings derived(int n, double x) {
    RunSettings s = defaultRunSettings();
    s.activityCount = n;
    s.target = x;
    deriveSizes(s);
    return s;
}

TEST(RunSettings, DerivedSizes) {
    struct Case {
        int n;
        double x;
        int pairs, lastWord, words, levels, targetPairs;
    };
    const Case cases[] = {
        {1, 0.5, 0, 0, 1, 1, 0},        {1, 1.0, 0, 0, 1, 1, 0},
        {10, 0.5, 45, 1, 1, 5, 22}, // 22.5 + 0.05 truncates to 22
        {32, 1.0, 496, 15, 1, 32, 496}, {33, 0.0, 528, 16, 2, 1, 0},
        {2, 0.5, 1, 0, 1, 1, 0},        {1000, 1.0, 499500, 15609, 32, 1000, 499500},
    };
    for (const Case& c : cases) {
        const RunSettings s = derived(c.n, c.x);
        EXPECT_EQ(s.pairCount, c.pairs) << c.n;
        EXPECT_EQ(s.lastArcWord, c.lastWord) << c.n;
        EXPECT_EQ(s.rowWords, c.words) << c.n;
        EXPECT_EQ(s.levelCount, c.levels) << c.n;
        EXPECT_EQ(s.targetPairCount, c.targetPairs) << c.n;
        EXPECT_EQ(s.removalCount, c.pairs - c.targetPairs) << c.n;
    }
}

TEST(RunSettings, IntakeReadsTextsAsTheFieldsDo) {
    RunInputTexts t;
    t.variant = GeneratorVariant::Tavrin2;
    t.rangeBounds = {"0", "1", "0.53", "0.6", "0", "1", "0", "1"};
    t.maxNetworks = "250";
    auto r = readRunSettings(t);
    ASSERT_TRUE(r.settings) << r.error;
    EXPECT_EQ(r.settings->maxNetworks, 250);
    EXPECT_EQ(r.settings->rangeBounds[1], 100);
    EXPECT_EQ(r.settings->rangeBounds[2], 52);
    EXPECT_EQ(r.settings->rangeBounds[3], 60);

    t.timeLimited = true;
    t.maxNetworks = "not read";
    r = readRunSettings(t);
    ASSERT_TRUE(r.settings) << r.error;
    EXPECT_EQ(r.settings->maxNetworks, 1000000);

    t.rangeBounds[0] = "3e7"; // 3e9 percent, beyond 32 bits
    r = readRunSettings(t);
    EXPECT_EQ(r.error, "'3e7' is out of range.");

    t.activities = "12x";
    r = readRunSettings(t);
    EXPECT_FALSE(r.settings);
    EXPECT_EQ(r.error, "'12x' is not a valid integer value.");
}

TEST(RunSettings, OnlyTheChosenMeasureIsRead) {
    RunInputTexts t;
    t.resourceUse = "bad";
    t.resourceStrength = "bad";
    auto r = readRunSettings(t);
    ASSERT_TRUE(r.settings) << r.error;
    t.requestIndex = 1;
    r = readRunSettings(t);
    EXPECT_EQ(r.error, "'bad' is not a valid integer value.");
    t.requestIndex = 0;
    t.demandIndex = 1;
    r = readRunSettings(t);
    EXPECT_EQ(r.error, "'bad' is not a valid floating point value.");
}

TEST(GenerateChecks, RefusesInTheOrderOfThePress) {
    struct Case {
        GeneratorVariant variant;
        const char* target;
        const char* activities;
        const char* message;
    };
    const Case cases[] = {
        {GeneratorVariant::Tavrin1, "1.01", "10", "OS value must be between 0 and 1"},
        {GeneratorVariant::Tavrin1, "-0.5", "0", "OS value must be between 0 and 1"},
        {GeneratorVariant::Tavrin2, "1.01", "10", "I2 value must be between 0 and 1"},
        {GeneratorVariant::Tavrin2, "0", "0.5", "Number of activities cannot be smaller than 1"},
        {GeneratorVariant::Tavrin2, "1", "1.5", "'1.5' is not a valid integer value."},
        {GeneratorVariant::Tavrin2, "1", "2001", "Number of activities cannot be larger than 2000"},
        {GeneratorVariant::Tavrin2, "nan", "10", "'nan' is not a valid floating point value."},
        {GeneratorVariant::Tavrin2, "1e-400", "10", "'1e-400' is out of range."},
        {GeneratorVariant::Tavrin1, "0.5", "1e999", "'1e999' is out of range."},
        {GeneratorVariant::Tavrin1, "0.5\n", "10", "'0.5\\n' is not a valid floating point value."},
    };
    for (const Case& c : cases) {
        GenerateInputs in;
        in.texts.variant = c.variant;
        in.texts.target = c.target;
        in.texts.activities = c.activities;
        const auto result = checkGenerateInputs(in, '.');
        EXPECT_FALSE(result.run) << c.message;
        EXPECT_EQ(result.problem.message, c.message);
    }
    GenerateInputs ok;
    ok.texts.target = "0";
    ok.seed = "-5";
    const auto result = checkGenerateInputs(ok, '.');
    ASSERT_TRUE(result.run) << result.problem.message;
    EXPECT_EQ(result.run->seed, -5);
    EXPECT_EQ(result.run->settings.levelCount, 1);
}

TEST(GenerateChecks, RefusesCountsAndLimitsThatCannotRun) {
    GenerateInputs in;
    in.texts.maxNetworks = "0";
    EXPECT_FALSE(checkGenerateInputs(in, '.').run);
    in.texts.maxNetworks = "5";
    in.texts.timeLimited = true;
    in.timeLimit = "0";
    EXPECT_FALSE(checkGenerateInputs(in, '.').run);
    in.timeLimit = "2.5";
    const auto result = checkGenerateInputs(in, '.');
    ASSERT_TRUE(result.run);
    EXPECT_EQ(result.run->timeLimitSeconds, 2.5);
    in.seed = "2147483648";
    EXPECT_EQ(checkGenerateInputs(in, '.').problem.message,
              "'2147483648' is not a valid integer value.");
}

} // namespace
} // namespace tavrin
