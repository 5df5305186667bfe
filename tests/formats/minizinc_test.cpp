#include "export/format_instance.h"
#include "formats/instance_io.h"
#include "generated_instances.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tavrin::formats {
namespace {

namespace fs = std::filesystem;

// Runs a command and returns what it printed on its standard output.
std::string outputOf(const std::string& command) {
    std::string text;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char block[4096];
        std::size_t got = 0;
        while ((got = std::fread(block, 1, sizeof block, pipe)) > 0) {
            text.append(block, got);
        }
        pclose(pipe);
    }
    return text;
}

// The start times of the last solution printed ("s = [0, 3, ...];"), one per task.
std::vector<long> startTimes(const std::string& output) {
    std::vector<long> starts;
    const std::size_t at = output.rfind("s = [");
    if (at == std::string::npos) {
        return starts;
    }
    std::istringstream list(output.substr(at + 5, output.find(']', at) - at - 5));
    for (std::string item; std::getline(list, item, ',');) {
        starts.push_back(std::stol(item));
    }
    return starts;
}

// The schedule against the instance itself, job j being task j: every precedence between
// tasks, and every capacity at every time unit.
void checkSchedule(const Instance& instance, const std::vector<long>& taskStarts) {
    const std::size_t tasks = instance.jobs.size() - 2;
    ASSERT_EQ(taskStarts.size(), tasks);
    const auto start = [&](std::size_t job) { return taskStarts[job - 1]; };
    long end = 0;
    for (std::size_t j = 1; j <= tasks; ++j) {
        end = std::max(end, start(j) + instance.jobs[j].duration);
        for (const std::int32_t s : instance.jobs[j].successors) {
            if (static_cast<std::size_t>(s) <= tasks) {
                EXPECT_LE(start(j) + instance.jobs[j].duration, start(static_cast<std::size_t>(s)))
                    << "job " << j + 1 << " before job " << s + 1;
            }
        }
    }
    for (long t = 0; t < end; ++t) {
        for (std::size_t r = 0; r < instance.availability.size(); ++r) {
            long use = 0;
            for (std::size_t j = 1; j <= tasks; ++j) {
                const bool running = start(j) <= t && t < start(j) + instance.jobs[j].duration;
                use += running ? instance.jobs[j].demands[r] : 0;
            }
            EXPECT_LE(use, instance.availability[r]) << "resource " << r + 1 << " at " << t;
        }
    }
}

TEST(DznFormat, GivesSchedulesThatMeetTheInstance) {
    if (std::system("minizinc --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "minizinc is not installed";
    }
    // RS keeps every demand within its availability, so each instance has a schedule.
    RunSettings settings = tavrin::testing::smallRun(GeneratorVariant::Tavrin1, 8, 2);
    settings.demandMeasure = DemandMeasure::ResourceStrength;
    const fs::path dir = fs::temp_directory_path() / "tavrin-minizinc-test";
    fs::create_directories(dir);
    int solved = 0;
    tavrin::testing::forEachGeneratedInstance(settings, 3, [&](const ProjectInstance& generated) {
        Instance instance;
        fillFormatInstance(generated, instance);
        std::string data;
        writeInstance(InstanceFormat::Dzn, instance, data);
        const fs::path file = dir / ("instance" + std::to_string(solved) + ".dzn");
        std::ofstream(file, std::ios::binary) << data;
        const std::string output = outputOf(
            "minizinc --solver gecode --time-limit 20000 '" TAVRIN_FORMATS_TEST_DIR "/rcpsp.mzn' '"
            + file.string() + "' 2>&1");
        const std::vector<long> starts = startTimes(output);
        ASSERT_FALSE(starts.empty()) << output << data;
        checkSchedule(instance, starts);
        ++solved;
    });
    fs::remove_all(dir);
    EXPECT_EQ(solved, 3);
}

} // namespace
} // namespace tavrin::formats
