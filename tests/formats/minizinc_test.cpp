#include "export/format_instance.h"
#include "formats/instance_feasibility.h"
#include "formats/instance_io.h"
#include "generated_instances.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

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

// The values of the last list printed as "<name> = [0, 3, ...];".
std::vector<long> listed(const std::string& output, const std::string& name = "s") {
    std::vector<long> values;
    const std::string head = "\n" + name + " = [";
    const std::size_t at = ("\n" + output).rfind(head);
    if (at == std::string::npos) {
        return values;
    }
    const std::size_t first = at + head.size() - 1;
    std::istringstream list(output.substr(first, output.find(']', first) - first));
    for (std::string item; std::getline(list, item, ',');) {
        values.push_back(std::stol(item));
    }
    return values;
}

bool minizincMissing() {
    return std::system("minizinc --version > /dev/null 2>&1") != 0;
}

// Writes the instance as .dzn and runs the model on it with Gecode.
std::string solveWith(const std::string& model, const Instance& instance, const std::string& name) {
    // Not the folder of the single-mode test, which removes it when done.
    const fs::path dir =
        fs::temp_directory_path() / ("tavrin-minizinc-classes-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string data;
    writeInstance(InstanceFormat::Dzn, instance, data);
    const fs::path file = dir / (name + ".dzn");
    std::ofstream(file, std::ios::binary) << data;
    const std::string output =
        outputOf("minizinc --solver gecode --time-limit 20000 '" TAVRIN_FORMATS_TEST_DIR "/" + model
                 + "' '" + file.string() + "' 2>&1");
    fs::remove_all(dir);
    return output;
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
    if (minizincMissing()) {
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
        const std::vector<long> starts = listed(output);
        ASSERT_FALSE(starts.empty()) << output << data;
        checkSchedule(instance, starts);
        ++solved;
    });
    fs::remove_all(dir);
    EXPECT_EQ(solved, 3);
}

// The mode (numbered over all tasks, as the data numbers them) and start of each task against the
// instance: precedences, renewable capacities at every time, nonrenewable availabilities.
void checkMultiModeSchedule(const Instance& instance, const std::vector<long>& options,
                            const std::vector<long>& starts) {
    const std::size_t tasks = instance.jobs.size() - 2;
    ASSERT_EQ(options.size(), tasks);
    ASSERT_EQ(starts.size(), tasks);
    std::vector<const Mode*> chosen(tasks + 2, &instance.jobs.front().modes.front());
    chosen.back() = &instance.jobs.back().modes.front();
    long first = 1;
    for (std::size_t t = 1; t <= tasks; ++t) {
        const long count = static_cast<long>(instance.jobs[t].modes.size());
        ASSERT_TRUE(options[t - 1] >= first && options[t - 1] < first + count) << "task " << t;
        chosen[t] = &instance.jobs[t].modes[static_cast<std::size_t>(options[t - 1] - first)];
        first += count;
    }
    std::vector<long> used(instance.nonrenewable.size(), 0);
    long end = 0;
    for (std::size_t t = 1; t <= tasks; ++t) {
        end = std::max(end, starts[t - 1] + chosen[t]->duration);
        for (const std::int32_t s : instance.jobs[t].successors) {
            if (static_cast<std::size_t>(s) <= tasks) {
                EXPECT_LE(starts[t - 1] + chosen[t]->duration,
                          starts[static_cast<std::size_t>(s) - 1]);
            }
        }
        for (std::size_t r = 0; r < used.size(); ++r) {
            used[r] += chosen[t]->nonrenewable[r];
        }
    }
    for (std::size_t r = 0; r < used.size(); ++r) {
        EXPECT_LE(used[r], instance.nonrenewable[r]) << "nonrenewable resource " << r + 1;
    }
    for (long time = 0; time < end; ++time) {
        for (std::size_t r = 0; r < instance.availability.size(); ++r) {
            long use = 0;
            for (std::size_t t = 1; t <= tasks; ++t) {
                const bool running =
                    starts[t - 1] <= time && time < starts[t - 1] + chosen[t]->duration;
                use += running ? chosen[t]->demands[r] : 0;
            }
            EXPECT_LE(use, instance.availability[r]) << "resource " << r + 1 << " at " << time;
        }
    }
}

TEST(DznFormat, GivesSchedulesOfMultiModeAndLagInstances) {
    if (minizincMissing()) {
        GTEST_SKIP() << "minizinc is not installed";
    }
    InstanceClass modes;
    modes.multiMode.emplace().nonrenewableStrength = 0.2;
    const std::vector<Instance> multiMode = tavrin::testing::classInstances(modes, 3);
    ASSERT_EQ(multiMode.size(), 3u);
    for (const Instance& instance : multiMode) {
        const std::string output = solveWith("mrcpsp.mzn", instance, "multi-mode");
        checkMultiModeSchedule(instance, listed(output, "mode"), listed(output));
    }
    InstanceClass lags;
    lags.timeLags.emplace().maxLagShare = 0.3;
    lags.timeLags->tightness = 1.0;
    const std::vector<Instance> lagged = tavrin::testing::classInstances(lags, 3);
    ASSERT_EQ(lagged.size(), 3u);
    for (const Instance& instance : lagged) {
        const std::string output = solveWith("rcpsp_max.mzn", instance, "lags");
        const std::vector<long> starts = listed(output);
        EXPECT_TRUE(meetsLagsAndCapacities(instance,
                                           std::vector<std::int64_t>(starts.begin(), starts.end())))
            << output;
    }
}

} // namespace
} // namespace tavrin::formats
