#include "cli/cli_app.h"
#include "cli/design_command.h"
#include "design/design_index.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;

struct ScratchDir {
    fs::path path = fs::temp_directory_path() / ("tavrin-design-cli-" + std::to_string(::getpid()));
    ScratchDir() {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchDir() { fs::remove_all(path); }
    std::string sub(const std::string& name) const { return (path / name).string(); }
};

constexpr const char* kDesign = R"(variant = "tavrin2"
instances = 3
networks = 12
seed = 5
[factors]
activities = [11]
target = [0.4]
rf = [0.5, 1]
rc = [0.25]
i3 = [[0, 0.9]]
)";

int design(const std::vector<std::string>& args, std::string* errors = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = designMain(args, out, err);
    if (errors != nullptr) {
        *errors = err.str();
    }
    return status;
}

TEST(DesignCommand, ExitsByTheKindOfFailure) {
    const ScratchDir scratch;
    const std::string good = scratch.sub("good.toml");
    std::ofstream(good) << kDesign;
    const std::string bad = scratch.sub("bad.toml");
    std::ofstream(bad) << "variant = \"tavrin2\"\nlevels = 3\n";
    ASSERT_EQ(design({good, "--out", scratch.sub("out")}), kExitOk);
    std::ofstream(scratch.sub("out/extra.rcp")) << "x";
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {{bad, "--out", scratch.sub("x")}, kExitUsage, "bad.toml:2: levels: unknown key"},
        {{good, "--out", scratch.sub("x"), "--shard", "3/2"}, kExitUsage, "--shard takes K/N"},
        {{good}, kExitUsage, "--out DIR"},
        {{good, "--out", scratch.sub("x"), "--colour"}, kExitUsage, "colour"},
        {{"--verify", scratch.sub("out")}, kExitFailure, "1 added"},
        {{"--merge", "--out", scratch.sub("m"), scratch.sub("nothing")}, kExitUsage, "nothing"},
    };
    for (const Case& c : cases) {
        std::string errors;
        EXPECT_EQ(design(c.args, &errors), c.status) << c.words;
        EXPECT_NE(errors.find(c.words), std::string::npos) << errors;
    }
    EXPECT_FALSE(fs::exists(scratch.sub("x")));
}

// An unpaired cell is one generation and one export of the command line with the cell's seed.
TEST(DesignCommand, CellEqualsOneCommandLineRunWithItsSeed) {
    const ScratchDir scratch;
    const std::string file = scratch.sub("d.toml");
    std::ofstream(file) << kDesign;
    ASSERT_EQ(design({file, "--out", scratch.sub("out"), "--jobs", "2"}), kExitOk);
    const auto index = design::readCsv(*design::readWholeFile(scratch.sub("out/index.csv")));
    ASSERT_EQ(index.rows.size(), 6u);
    const auto& row = index.rows.back(); // rf 1, rep 3
    ASSERT_EQ(row[index.column("file")], "Pat_n11_t0.4_r1_c0.25_3.rcp");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runCli({"--variant",      "tavrin2",
                      "--activities",   "11",
                      "--target",       "0.4",
                      "--max-networks", "12",
                      "--seed",         row[index.column("seed")],
                      "--rf",           "1",
                      "--rc",           "0.25",
                      "--i3",           "0:0.9",
                      "--files",        "3",
                      "--dir",          scratch.sub("cli"),
                      "--prefix",       "Pat_n11_t0.4_r1_c0.25_"},
                     out, err, false),
              kExitOk)
        << err.str();
    for (int rep = 1; rep <= 3; ++rep) {
        const std::string name = "Pat_n11_t0.4_r1_c0.25_" + std::to_string(rep) + ".rcp";
        EXPECT_EQ(design::readWholeFile(scratch.sub("cli/" + name)),
                  design::readWholeFile(scratch.sub("out/" + name)))
            << name;
    }
}

TEST(DesignCommand, SolvedIndexEqualsTheSolveCommandOnTheSameFiles) {
    const ScratchDir scratch;
    const std::string file = scratch.sub("d.toml");
    std::ofstream(file) << kDesign << "resources = [2]\n[solve]\nfail_limit = 150\n";
    ASSERT_EQ(design({file, "--out", scratch.sub("out"), "--jobs", "2"}), kExitOk);
    const auto index = design::readCsv(*design::readWholeFile(scratch.sub("out/index.csv")));
    std::vector<std::string> args{"solve", "--fail-limit", "150", "--jobs", "2"};
    for (const auto& row : index.rows) {
        args.push_back(scratch.sub("out/" + row[index.column("file")]));
    }
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runCli(args, out, err, false), kExitOk) << err.str();
    const auto solved = design::readCsv(out.str());
    ASSERT_EQ(solved.rows.size(), index.rows.size());
    for (std::size_t r = 0; r < index.rows.size(); ++r) {
        for (const char* column : {"sha256", "lb0", "lb", "ub", "status", "gap", "fails"}) {
            EXPECT_EQ(index.rows[r][index.column(column)], solved.rows[r][solved.column(column)])
                << column << " of " << index.rows[r][0];
        }
    }
}

} // namespace
} // namespace tavrin::cli
