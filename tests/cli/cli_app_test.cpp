#include "cli/cli_app.h"
#include "cli/cli_options.h"
#include "cli_test_support.h"
#include "engine/generate_checks.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runTool(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(arguments, out, err, false);
    return {status, out.str(), err.str()};
}

using test_support::readFile;

class CliRun : public test_support::ScratchFolderTest {};

TEST_F(CliRun, BadInputsExitWithStatusTwoAndWriteNothing) {
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"--variant", "tavrin1", "--target", "1.5"}, kOsRangeMessage},
        {{"--variant", "tavrin1", "--target", "-0.5"}, kOsRangeMessage},
        {{"--variant", "tavrin2", "--target", "1.01"}, kI2RangeMessage},
        {{"--variant", "tavrin2", "--activities", "0.5"}, kTooFewActivitiesMessage},
        {{"--variant", "tavrin2", "--activities", "7.5"}, "'7.5' is not a valid integer value."},
        {{"--variant", "tavrin2", "--seed", "4294967296"},
         "'4294967296' is not a valid integer value."},
        {{"--variant", "tavrin2", "--target", "nan"}, "'nan' is not a valid floating point value."},
        {{"--variant", "tavrin2", "--max-networks", "0"},
         "Maximum number of generated networks must be at least 1"},
        {{"--variant", "tavrin1", "--time-limit", "0"},
         "Time limit must be a positive number of seconds"},
        {{"--variant", "tavrin1", "--bogus"}, "unknown option '--bogus'"},
        {{"--variant", "tavrin1", "--activities"}, "option '--activities' needs a value (N)"},
    };
    const fs::path csv = file("networks.csv");
    for (Case c : cases) {
        c.arguments.push_back("--networks-csv");
        c.arguments.push_back(csv.string());
        const Outcome outcome = runTool(c.arguments);
        EXPECT_EQ(outcome.status, kExitUsage) << c.message;
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_FALSE(fs::exists(csv)) << c.message;
    }
    EXPECT_NE(runTool({"--nope"}).err.find("Try 'tavrin-cli --help'"), std::string::npos);
}

TEST_F(CliRun, SameSeedWritesTheSameCsv) {
    struct Case {
        std::string variant;
        std::string target;
        std::regex line;
        std::string header;
    };
    // n = 12: 66 pairs, three 32-bit words.
    const Case cases[] = {
        {"tavrin2", "0.5", std::regex("[0-9]+,[0-9]+,[0-9]+,[0-9]+,[0-9]+,[0-9a-f]{24}"),
         "slot,i3,i4,i5,i6,arcset"},
        {"tavrin1", "0.4", std::regex("[0-9]+,[0-9]+,[0-9a-f]{24}"), "slot,ci,arcset"},
    };
    for (const Case& c : cases) {
        std::string texts[2];
        for (int k = 0; k < 2; ++k) {
            const fs::path csv = file(c.variant + std::to_string(k) + ".csv");
            const Outcome outcome =
                runTool({"--variant", c.variant, "--activities", "12", "--target", c.target,
                         "--max-networks", "150", "--seed", "31", "--networks-csv", csv.string()});
            ASSERT_EQ(outcome.status, kExitOk) << outcome.err;
            texts[k] = readFile(csv);
            EXPECT_NE(outcome.out.find("Number of generated networks: "), std::string::npos);
            EXPECT_NE(outcome.out.find("Elapsed time (in seconds): "), std::string::npos);
            EXPECT_EQ(outcome.out.find("CI range: ") != std::string::npos, c.variant == "tavrin1");
        }
        EXPECT_EQ(texts[0], texts[1]) << c.variant;
        std::istringstream lines(texts[0]);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, c.header);
        int slot = 0;
        while (std::getline(lines, line)) {
            EXPECT_TRUE(std::regex_match(line, c.line)) << line;
            EXPECT_EQ(line.substr(0, line.find(',')), std::to_string(slot++));
        }
        EXPECT_GT(slot, 1);
        EXPECT_EQ(texts[0].find('\r'), std::string::npos);
        EXPECT_EQ(texts[0].back(), '\n');
    }
}

TEST_F(CliRun, SummaryReportsTheKeptCountOfTheCsv) {
    const fs::path csv = file("one.csv");
    // OS = 1: every attempt yields the complete order, so exactly one network is kept.
    const Outcome outcome = runTool({"--variant", "tavrin1", "--activities", "6", "--target", "1",
                                     "--max-networks", "20", "--networks-csv", csv.string()});
    ASSERT_EQ(outcome.status, kExitOk) << outcome.err;
    EXPECT_NE(outcome.out.find("Number of generated networks: 1\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("CI range: 0 to 0\n"), std::string::npos) << outcome.out;
    // 15 pairs, all related: 0x7fff.
    EXPECT_EQ(readFile(csv), "slot,ci,arcset\n0,0,00007fff\n");
}

TEST_F(CliRun, WriteFailuresAreReported) {
    const Outcome unopenable = runTool({"--variant", "tavrin2", "--max-networks", "3",
                                        "--networks-csv", file("missing/dir/x.csv").string()});
    // Found before the run: a bad output choice is a bad input.
    EXPECT_EQ(unopenable.status, kExitUsage);
    EXPECT_NE(unopenable.err.find("cannot open"), std::string::npos);
    EXPECT_EQ(unopenable.out, "");
    if (fs::exists("/dev/full")) {
        const Outcome full =
            runTool({"--variant", "tavrin2", "--max-networks", "3", "--networks-csv", "/dev/full"});
        EXPECT_EQ(full.status, kExitFailure);
        EXPECT_NE(full.err.find("writing '/dev/full' failed"), std::string::npos) << full.err;
    }
}

TEST_F(CliRun, AnExistingCsvSurvivesAFailedRun) {
    const fs::path csv = file("kept.csv");
    for (const char* files : {"500", "-1"}) { // too many for the run; refused before it
        std::ofstream(csv) << "earlier\n";
        const Outcome outcome =
            runTool({"--variant", "tavrin2", "--max-networks", "5", "--files", files, "--dir",
                     file("out").string(), "--networks-csv", csv.string()});
        EXPECT_EQ(outcome.status, kExitUsage) << outcome.err;
        EXPECT_EQ(readFile(csv), "earlier\n") << files;
    }
}

TEST_F(CliRun, HelpAndVersionExitZero) {
    const Outcome help = runTool({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("--networks-csv FILE"), std::string::npos);
    EXPECT_NE(help.out.find("\n  generate  "), std::string::npos) << help.out;
    const Outcome generateHelp = runTool({"generate", "--help"});
    EXPECT_EQ(generateHelp.status, kExitOk);
    EXPECT_EQ(generateHelp.out, usageText());
    EXPECT_EQ(help.out.rfind(usageText(), 0), 0u);
    const Outcome version = runTool({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_EQ(version.out.rfind("tavrin-cli ", 0), 0u);
}

} // namespace
} // namespace tavrin::cli
