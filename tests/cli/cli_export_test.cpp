#include "cli/cli_app.h"
#include "cli/cli_export.h"
#include "cli_test_support.h"
#include "engine/run_driver.h"
#include "formats/instance_io.h"
#include "support/literal_export.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;

using test_support::readFile;

struct ScratchDir {
    fs::path path = fs::temp_directory_path() / ("tavrin-cli-export-" + std::to_string(::getpid()));
    ScratchDir() { fs::remove_all(path); }
    ~ScratchDir() { fs::remove_all(path); }
};

int run(const std::vector<std::string>& arguments, std::string* errors = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(arguments, out, err, false);
    if (errors != nullptr) {
        *errors = err.str();
    }
    return status;
}

// The files follow the run's random sequence: a plain completion of the same pool, drawn from
// the source as the run left it, gives the same bytes.
TEST(CliExport, WritesTheFilesOfTheRunsContinuedSequence) {
    struct Case {
        const char* variant;
        std::vector<std::string> resourceOptions;
        RequestMeasure request;
        DemandMeasure demand;
    };
    const Case cases[] = {
        {"tavrin2",
         {"--rf", "0.5", "--rc", "0.7"},
         RequestMeasure::ResourceFactor,
         DemandMeasure::ResourceConstrainedness},
        {"tavrin1",
         {"--ru", "2", "--rs", "0.4"},
         RequestMeasure::ResourceUse,
         DemandMeasure::ResourceStrength},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::vector<std::string> args{
            "--variant",      c.variant, "--activities", "9", "--target", "0.5",
            "--max-networks", "40",      "--seed",       "3", "--files",  "6",
            "--start",        "4",       "--resources",  "3", "--dir",    dir.path.string()};
        args.insert(args.end(), c.resourceOptions.begin(), c.resourceOptions.end());
        ASSERT_EQ(run(args), kExitOk) << c.variant;

        RunSettings s = defaultRunSettings();
        s.variant = std::string(c.variant) == "tavrin1" ? GeneratorVariant::Tavrin1
                                                        : GeneratorVariant::Tavrin2;
        s.activityCount = 9;
        s.target = 0.5;
        s.maxNetworks = 40;
        s.resourceCount = 3;
        s.requestMeasure = c.request;
        s.demandMeasure = c.demand;
        s.resourceFactor = 0.5;
        s.resourceUse = 2;
        s.resourceConstrainedness = 0.7;
        s.resourceStrength = 0.4;
        deriveSizes(s);
        RandomSource random;
        RunHooks hooks;
        const RunResult result = runGeneration(s, 0.0, 3, random, hooks);
        std::vector<const Word*> rows;
        std::vector<int> pool;
        for (int slot = 0; slot < result.store->count(); ++slot) {
            rows.push_back(result.store->row(slot));
            pool.push_back(slot);
        }
        const auto expected = testing::literalBatch(rows, 9, pool, 6, s, random);
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(readFile(dir.path / ("Pat" + std::to_string(4 + k) + ".rcp")),
                      expected[static_cast<std::size_t>(k)])
                << c.variant << " file " << 4 + k;
        }
        EXPECT_FALSE(fs::exists(dir.path / "Pat10.rcp"));
    }
}

TEST(CliExport, RefusesBeforeWritingAnything) {
    struct Case {
        std::vector<std::string> extra;
        const char* message;
    };
    const Case cases[] = {
        {{"--files", "500"}, "More files requested than existing networks"},
        {{"--files", "-1"}, "Number of files cannot be negative"},
        {{"--files", "x"}, "'x' is not a valid integer value."},
        {{"--files", "2", "--rf", "1.5"}, "The resource factor (RF) must be between 0 and 1"},
        {{"--files", "2", "--resources", "40"}, "The number of resources must be between 1"},
        {{"--i3", "0.2"}, "takes LOW:HIGH"},
        {{"--ci", "1:2"}, "applies to tavrin1 only"},
        {{"--i4", "a:1"}, "'a' is not a valid floating point value."},
        // Checked before the run, with or without files.
        {{"--rf", "1.5"}, "The resource factor (RF) must be between 0 and 1"},
        {{"--i3", "0.2:1.5"}, "option '--i3' takes bounds between 0 and 1, not '1.5'"},
        {{"--i6", "-0.1:1"}, "option '--i6' takes bounds between 0 and 1, not '-0.1'"},
        {{"--files", "2", "--prefix", "a/b"}, kFilePrefixRule},
        {{"--files", "2", "--prefix", "x\n"}, kFilePrefixRule},
        {{"--files", "2", "--start", "2147483647"}, kFileNumbersRange},
        {{"--files", "2", "--format", "pdf"}, "invalid format 'pdf'"},
        {{"--files", "1", "--dir", "/dev/null"}, "cannot write into '/dev/null': Not a directory"},
        {{"--files", "1", "--dir", "/dev/null/out"}, kDirectoryNotCreatedMessage},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const fs::path csv = dir.path.string() + ".csv";
        std::vector<std::string> args{"--variant",      "tavrin2",
                                      "--activities",   "8",
                                      "--max-networks", "20",
                                      "--target",       "0.5",
                                      "--dir",          dir.path.string(),
                                      "--networks-csv", csv.string()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        std::string errors;
        EXPECT_EQ(run(args, &errors), kExitUsage) << c.message;
        EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
        EXPECT_FALSE(fs::exists(dir.path)) << c.message;
        EXPECT_FALSE(fs::exists(csv)) << c.message;
    }
}

TEST(CliExport, FilesLineNamesTheFilesWritten) {
    using formats::InstanceFormat;
    struct Case {
        std::vector<InstanceFormat> formats;
        ExportOutcome outcome;
        std::string line;
    };
    const Case cases[] = {
        {{InstanceFormat::Rcp}, {3, false, {}, {}}, "Files written: 3 (d/Pat4.rcp to d/Pat6.rcp)"},
        {{InstanceFormat::Sm, InstanceFormat::Json},
         {2, false, {}, {}},
         "Files written: 4 (d/Pat4.sm to d/Pat5.sm; each as .sm .json)"},
        {{InstanceFormat::Rcp},
         {1, true, {}, {}},
         "Files written: 1 (d/Pat4.rcp to d/Pat4.rcp), interrupted after 1 of 10 instances"},
        {{InstanceFormat::Dzn}, {0, false, {}, {}}, "Files written: 0"},
    };
    for (const Case& c : cases) {
        ExportFileSettings files("d", "Pat", 10, 4);
        files.formats = c.formats;
        EXPECT_EQ(filesWrittenLine(files, c.outcome), c.line);
    }
}

TEST(CliExport, SelectionNarrowsThePool) {
    ScratchDir dir;
    // Only the numbers used must fit in 32 bits.
    EXPECT_EQ(run({"--variant", "tavrin2", "--max-networks", "3", "--files", "1", "--start",
                   "2147483647", "--dir", dir.path.string()}),
              kExitOk);
    EXPECT_TRUE(fs::exists(dir.path / "Pat2147483647.rcp"));
    // Every network of a run has CI inside its own range; an empty range selects none.
    EXPECT_EQ(
        run({"--variant", "tavrin1", "--activities", "10", "--target", "0.5", "--max-networks",
             "30", "--ci", "100:200", "--files", "1", "--dir", dir.path.string()}),
        kExitUsage);
    EXPECT_EQ(run({"--variant", "tavrin1", "--activities", "10", "--target", "0.5",
                   "--max-networks", "30", "--files", "30", "--dir", dir.path.string()}),
              kExitOk);
    EXPECT_TRUE(fs::exists(dir.path / "Pat30.rcp"));
}

} // namespace
} // namespace tavrin::cli

namespace tavrin::cli {
namespace {

// The classes write their own formats, refuse the ones that cannot hold them and mix with
// nothing that would change their meaning; the files read back as the class asked for.
TEST(CliExport, WritesMultiModeAndLagInstancesOnlyWhereTheyFit) {
    const ScratchDir scratch;
    const std::vector<std::string> base{
        "--variant",      "tavrin1", "--activities", "10", "--target", "0.5",
        "--max-networks", "20",      "--files",      "2",  "--dir",    scratch.path.string()};
    const auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), base.begin(), base.end());
        return more;
    };
    const struct {
        std::vector<std::string> options;
        std::string error;
    } refused[] = {
        {{"--modes", "3", "--max-lags", "0.2"}, "exclude each other"},
        {{"--modes", "11"}, kModeCountRange},
        {{"--modes", "3", "--format", "rcp"}, "the .rcp format cannot hold multi-mode instances"},
        {{"--max-lags", "0.2", "--format", "mm"}, "cannot hold instances with time lags"},
        {{"--modes", "2", "--rc", "0.5"}, "not '--rc'"},
        {{"--lag-tightness", "1.5"}, kLagTightnessRange},
    };
    for (const auto& c : refused) {
        std::string errors;
        EXPECT_EQ(run(with(c.options), &errors), kExitUsage) << errors;
        EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
    }
    ASSERT_EQ(run(with({"--modes", "2", "--nonrenewable", "1"})), kExitOk);
    const formats::Instance modes = formats::readInstanceFile((scratch.path / "Pat1.mm").string());
    EXPECT_TRUE(modes.multiMode());
    EXPECT_EQ(modes.resourceCount(), 2);
    EXPECT_EQ(modes.nonrenewableCount(), 1);
    ASSERT_EQ(run(with({"--max-lags", "0.5", "--format", "sch", "--format", "json"})), kExitOk);
    const formats::Instance lags = formats::readInstanceFile((scratch.path / "Pat2.json").string());
    EXPECT_TRUE(lags.hasTimeLags());
    EXPECT_NE(std::find(lags.provenance.begin(), lags.provenance.end(),
                        std::pair<std::string, std::string>("feasibility", "feasible")),
              lags.provenance.end());
}

} // namespace
} // namespace tavrin::cli
