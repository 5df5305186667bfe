#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace tavrin::cli {
namespace {

TEST(CliOptions, DefaultsMatchTheInputPages) {
    const auto parsed = parseCliOptions({"--variant", "tavrin2"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const GenerateInputs inputs = generateInputsOf(*parsed.options);
    EXPECT_EQ(inputs.texts.variant, GeneratorVariant::Tavrin2);
    EXPECT_EQ(inputs.texts.activities, "10");
    EXPECT_EQ(inputs.texts.target, "1");
    EXPECT_EQ(inputs.texts.maxNetworks, "1000");
    EXPECT_FALSE(inputs.texts.timeLimited);
    EXPECT_EQ(inputs.seed, "0");
    EXPECT_FALSE(parsed.options->networksCsv);
}

TEST(CliOptions, TakesValuesInBothForms) {
    const auto parsed =
        parseCliOptions({"--variant=tavrin1", "--activities", "30", "--target=0.5", "--seed", "-7",
                         "--time-limit", "2.5", "--networks-csv=out.csv"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const GenerateInputs inputs = generateInputsOf(*parsed.options);
    EXPECT_EQ(inputs.texts.variant, GeneratorVariant::Tavrin1);
    EXPECT_EQ(inputs.texts.activities, "30");
    EXPECT_EQ(inputs.texts.target, "0.5");
    EXPECT_TRUE(inputs.texts.timeLimited);
    EXPECT_EQ(inputs.timeLimit, "2.5");
    EXPECT_EQ(inputs.seed, "-7");
    EXPECT_EQ(parsed.options->networksCsv, "out.csv");
}

TEST(CliOptions, FormatsRepeatAndValuesMayStartWithADash) {
    const auto parsed =
        parseCliOptions({"--variant", "tavrin2", "--format", "sm", "--format=rcp", "--format", "sm",
                         "--prefix", "-x", "--seed", "1", "--seed", "2"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    using formats::InstanceFormat;
    EXPECT_EQ(parsed.options->formats,
              (std::vector<InstanceFormat>{InstanceFormat::Sm, InstanceFormat::Rcp}));
    EXPECT_EQ(parsed.options->prefix, "-x");
    EXPECT_EQ(parsed.options->seed, "2"); // the last value counts
}

TEST(CliOptions, RefusesMalformedCommandLines) {
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    const Case cases[] = {
        {{}, "option '--variant' is required"},
        {{"--activities", "5"}, "option '--variant' is required"},
        {{"--variant"}, "option '--variant' needs a value (tavrin1|tavrin2)"},
        {{"--variant", "tavrin3"}, "invalid variant 'tavrin3' (expected tavrin1 or tavrin2)"},
        {{"--variant", "tavrin1", "--bogus", "1"}, "unknown option '--bogus'"},
        {{"--variant", "tavrin1", "--seed"}, "option '--seed' needs a value (S)"},
        {{"--help=yes"}, "option '--help' takes no value"},
        {{"--variant", "tavrin1", "extra"}, "unexpected argument 'extra'"},
        {{"-v"}, "unexpected argument '-v'"},
        {{"--variant", "tavrin1", "--format", "json", "dzn"}, "unexpected argument 'dzn'"},
        {{"--variant", "tavrin1", "--format", "pdf"},
         "invalid format 'pdf' (expected rcp, sm, mm, sch, dzn or json)"},
    };
    for (const Case& c : cases) {
        const auto parsed = parseCliOptions(c.arguments);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, c.error);
    }
}

TEST(CliOptions, HelpAndVersionNeedNoVariant) {
    EXPECT_TRUE(parseCliOptions({"--help"}).options->help);
    EXPECT_TRUE(parseCliOptions({"--version"}).options->version);
}

TEST(CliOptions, UsageDescribesEveryOption) {
    const std::string usage = usageText();
    for (const char* name : {"--variant", "--activities", "--target", "--max-networks",
                             "--time-limit", "--seed", "--networks-csv", "--help", "--version"}) {
        EXPECT_NE(usage.find(name), std::string::npos) << name;
    }
}

} // namespace
} // namespace tavrin::cli
