#include "cli/cli_app.h"
#include "cli_test_support.h"
#include "formats/instance_io.h"
#include "solve/solve_instance.h"
#include "solve_fixtures.h"

#include <atomic>
#include <nlohmann/json.hpp>
#include <thread>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome solveCli(std::vector<std::string> arguments, const std::atomic<bool>* stop = nullptr) {
    arguments.insert(arguments.begin(), "solve");
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(arguments, out, err, false, stop);
    return {status, out.str(), err.str()};
}

// The CSV without its last column, seconds, the only one allowed to differ between runs.
std::string withoutSeconds(const std::string& csv) {
    std::istringstream in(csv);
    std::string result;
    for (std::string line; std::getline(in, line);) {
        result += line.substr(0, line.rfind(',')) + '\n';
    }
    return result;
}

class SolveCommandTest : public test_support::ScratchFolderTest {
protected:
    // Instances in every readable format, hard enough that the search runs into its fail limit.
    void SetUp() override {
        ScratchFolderTest::SetUp();
        const formats::InstanceFormat formats[] = {formats::InstanceFormat::Rcp,
                                                   formats::InstanceFormat::Sm,
                                                   formats::InstanceFormat::Json};
        const char* extensions[] = {".rcp", ".sm", ".json"};
        fs::create_directories(file("set"));
        for (int i = 0; i < 9; ++i) {
            const auto instance = solve::testing::randomInstance(100 + i, 22, 3, 12);
            std::string bytes;
            formats::writeInstance(formats[i % 3], instance, bytes);
            const std::string name = "i" + std::to_string(i) + extensions[i % 3];
            std::ofstream(file("set") / name, std::ios::binary) << bytes;
            m_instances[name] = instance;
        }
    }

    std::string set() const { return file("set").string(); }

    // Every schedule file holds a valid schedule whose makespan is the row's ub.
    void expectCheckedSchedules(const fs::path& dir) const {
        for (const auto& [name, instance] : m_instances) {
            const auto json = nlohmann::json::parse(
                readFile(dir / (fs::path(name).stem().string() + ".schedule.json")));
            const auto start = json["start"].get<std::vector<int>>();
            EXPECT_EQ(solve::scheduleViolation(instance, start), "") << name;
            EXPECT_LE(json["lb"].get<int>(), json["makespan"].get<int>()) << name;
        }
    }

    std::map<std::string, formats::Instance> m_instances;
};

TEST_F(SolveCommandTest, ThreadsShardsAndMergeGiveTheSameRows) {
    const Outcome one = solveCli(
        {set(), "--fail-limit", "300", "--jobs", "1", "--schedules", file("schedules").string()});
    ASSERT_EQ(one.status, 0) << one.err;
    expectCheckedSchedules(file("schedules"));
    EXPECT_TRUE(fs::exists(file("schedules") / "makespans.txt"));
    const Outcome three = solveCli({set(), "--fail-limit", "300", "--jobs", "3"});
    EXPECT_EQ(withoutSeconds(three.out), withoutSeconds(one.out));
    std::vector<std::string> shards{"--merge"};
    for (int k = 3; k >= 1; --k) {
        const std::string csv = file("shard-" + std::to_string(k) + ".csv").string();
        const Outcome shard = solveCli(
            {set(), "--fail-limit", "300", "--shard", std::to_string(k) + "/3", "--out", csv});
        ASSERT_EQ(shard.status, 0) << shard.err;
        shards.push_back(csv);
    }
    const Outcome merged = solveCli(shards);
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(withoutSeconds(merged.out), withoutSeconds(one.out));
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 10);
}

TEST_F(SolveCommandTest, AMalformedFileIsNamedAndTheOthersAreSolved) {
    std::ofstream(file("set") / "broken.sm") << "not an instance\n";
    const Outcome run = solveCli({set(), "--fail-limit", "50"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_NE(run.err.find("broken.sm"), std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 10);
}

TEST_F(SolveCommandTest, RefusesInputsThatWouldShareAScheduleFile) {
    std::ofstream(file("set") / "i0.sm") << readFile(file("set") / "i1.sm");
    const std::string schedules = file("schedules").string();
    const Outcome clash = solveCli({set(), "--fail-limit", "50", "--schedules", schedules});
    EXPECT_EQ(clash.status, kExitUsage);
    EXPECT_NE(clash.err.find("i0.rcp"), std::string::npos) << clash.err;
    EXPECT_NE(clash.err.find("i0.sm"), std::string::npos) << clash.err;
    EXPECT_FALSE(fs::exists(schedules));
    // Without schedule files nothing is lost; the same file given twice writes the same schedule.
    EXPECT_EQ(solveCli({set(), "--fail-limit", "50"}).status, 0);
    const std::string one = (file("set") / "i2.json").string();
    EXPECT_EQ(solveCli({one, one, "--fail-limit", "50", "--schedules", schedules}).status, 0);
}

TEST_F(SolveCommandTest, ContinuesWhereAStopLeftOff) {
    const std::string schedules = file("schedules").string();
    const std::string csv = file("rows.csv").string();
    const std::vector<std::string> command{set(),         "--fail-limit", "300",   "--jobs", "1",
                                           "--schedules", schedules,      "--out", csv};
    std::atomic<bool> stop{false};
    std::thread stopper([&] {
        while (!fs::exists(fs::path(schedules) / "i0.schedule.json")) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        stop = true;
    });
    const Outcome stopped = solveCli(command, &stop);
    stopper.join();
    if (stopped.status != 0) {
        EXPECT_EQ(stopped.status, 130);
        EXPECT_TRUE(fs::exists(csv + ".partial"));
    }
    ASSERT_EQ(solveCli(command).status, 0);
    EXPECT_FALSE(fs::exists(csv + ".partial"));
    const Outcome whole = solveCli({set(), "--fail-limit", "300"});
    EXPECT_EQ(withoutSeconds(readFile(csv)), withoutSeconds(whole.out));
    expectCheckedSchedules(schedules);
}

} // namespace
} // namespace tavrin::cli
