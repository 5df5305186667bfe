#include "design/design_index.h"
#include "design/design_manifest.h"
#include "design/design_run.h"
#include "design/design_verify.h"
#include "formats/instance_io.h"
#include "solve/solve_instance.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

namespace tavrin::design {
namespace {

namespace fs = std::filesystem;

// Small instances of the given resource strengths, solved as they are written.
std::string solvedDesign(const std::string& rs, const std::string& solve, int instances = 2,
                         int networks = 30) {
    return "variant = \"tavrin1\"\nprefix = \"S\"\ninstances = " + std::to_string(instances)
           + "\nnetworks = " + std::to_string(networks)
           + "\nseed = 3\n[factors]\nactivities = [12]\ntarget = [0.4]\nresources = [2]\nrs = " + rs
           + "\n[solve]\n" + solve;
}

class DesignSolve : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tavrin-design-solve-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    DesignRunResult build(const std::string& text, const std::string& out, int jobs) {
        DesignRunOptions options;
        options.outDir = (m_dir / out).string();
        options.jobs = jobs;
        return runDesignText(text, "solved.toml", options);
    }
    std::string path(const std::string& out, const std::string& name = "") const {
        return (m_dir / out / name).string();
    }

    fs::path m_dir;
};

TEST_F(DesignSolve, KeepsOnlyNontrivialInstancesWithSoundBoundsAndValidSchedules) {
    const std::string text = solvedDesign(
        "[0.2, 0.35]", "fail_limit = 300\nschedules = true\nrequire = \"nontrivial\"\n");
    const DesignRunResult one = build(text, "one", 1);
    ASSERT_FALSE(one.error) << *one.error;
    ASSERT_FALSE(build(text, "two", 2).error);
    EXPECT_EQ(readWholeFile(path("one", kIndexFileName)),
              readWholeFile(path("two", kIndexFileName)));

    const CsvTable index = readCsv(*readWholeFile(path("one", kIndexFileName)));
    ASSERT_EQ(index.rows.size(), 4u);
    for (const auto& row : index.rows) {
        const auto field = [&](const char* name) { return row[index.column(name)]; };
        SCOPED_TRACE(field("file"));
        const formats::Instance instance = formats::readInstanceFile(path("one", field("file")));
        const int lb0 = std::stoi(field("lb0"));
        const int lb = std::stoi(field("lb"));
        const int ub = std::stoi(field("ub"));
        EXPECT_EQ(lb0, std::stoi(field("CPL"))); // the critical path as the measures find it
        EXPECT_LE(lb0, lb);
        EXPECT_LE(lb, ub);
        EXPECT_GT(ub, lb0); // nontrivial: the resources bind
        EXPECT_EQ(field("status"), lb == ub ? "optimal" : "feasible");
        const auto schedule = nlohmann::json::parse(*readWholeFile(path("one", field("schedule"))));
        EXPECT_EQ(schedule["file"], field("file"));
        EXPECT_EQ(schedule["makespan"], ub);
        const auto start = schedule["start"].get<std::vector<int>>();
        EXPECT_EQ(solve::scheduleViolation(instance, start), "");
        int makespan = 0;
        for (std::size_t j = 0; j < start.size(); ++j) {
            makespan = std::max(makespan, start[j] + instance.jobs[j].duration);
        }
        EXPECT_EQ(makespan, ub);
    }
    const VerifyReport verified = verifyDesign(path("one"), 2);
    EXPECT_TRUE(verified.passed()) << verified.error.value_or("");
}

TEST_F(DesignSolve, ACellWhosePoolRunsOutSaysSoAndKeepsWhatPassed) {
    // Loose resources and a pool of 4 networks: only one of them makes a nontrivial instance.
    const DesignRunResult run =
        build(solvedDesign("[0.7]", "fail_limit = 50\nrequire = \"nontrivial\"\n", 3, 4), "out", 1);
    ASSERT_TRUE(run.error);
    EXPECT_NE(run.error->find("cell 0 (S_n12_t0.4_r1_c0.7_)"), std::string::npos) << *run.error;
    EXPECT_NE(run.error->find("1 of 3 instances"), std::string::npos) << *run.error;
    const Manifest manifest = readManifest(*readWholeFile(path("out", kManifestFileName)));
    EXPECT_FALSE(manifest.complete);
    const CsvTable index = readCsv(*readWholeFile(path("out", kIndexFileName)));
    ASSERT_EQ(index.rows.size(), 1u);
    const std::string kept = index.rows[0][index.column("file")];
    EXPECT_EQ(kept, "S_n12_t0.4_r1_c0.7_1.rcp"); // numbered in the order they passed
    EXPECT_GT(std::stoi(index.rows[0][index.column("ub")]),
              std::stoi(index.rows[0][index.column("lb0")]));
    EXPECT_FALSE(fs::exists(path("out", "S_n12_t0.4_r1_c0.7_2.rcp"))); // rejected ones go
}

} // namespace
} // namespace tavrin::design
