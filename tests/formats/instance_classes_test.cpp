#include "export/export_batch.h"
#include "export/time_lags.h"
#include "formats/instance_feasibility.h"
#include "formats/instance_io.h"
#include "generated_instances.h"

#include <gtest/gtest.h>

namespace tavrin::formats {
namespace {

using tavrin::testing::classInstances;

InstanceClass multiMode(double nonrenewableStrength) {
    InstanceClass c;
    c.multiMode.emplace().nonrenewableStrength = nonrenewableStrength;
    return c;
}

bool dominates(const Mode& a, const Mode& b) {
    bool noMore = a.duration <= b.duration;
    for (std::size_t r = 0; r < a.demands.size(); ++r) {
        noMore = noMore && a.demands[r] <= b.demands[r];
    }
    for (std::size_t r = 0; r < a.nonrenewable.size(); ++r) {
        noMore = noMore && a.nonrenewable[r] <= b.nonrenewable[r];
    }
    return noMore;
}

// A mode assignment within the nonrenewable availabilities, by trying them all.
bool assignmentExists(const Instance& instance, std::size_t job, std::vector<std::int64_t> left) {
    if (job == instance.jobs.size()) {
        return true;
    }
    for (const Mode& mode : instance.jobs[job].modes) {
        std::vector<std::int64_t> rest = left;
        bool fits = true;
        for (std::size_t r = 0; r < rest.size(); ++r) {
            rest[r] -= mode.nonrenewable[r];
            fits = fits && rest[r] >= 0;
        }
        if (fits && assignmentExists(instance, job + 1, rest)) {
            return true;
        }
    }
    return false;
}

TEST(MultiModeInstances, HaveOnlyUsefulModesAndAFeasibleAssignment) {
    for (const double strength : {0.0, 0.5}) {
        const std::vector<Instance> instances = classInstances(multiMode(strength), 4);
        ASSERT_EQ(instances.size(), 4u);
        for (const Instance& instance : instances) {
            ASSERT_TRUE(instance.multiMode());
            ASSERT_EQ(instance.nonrenewableCount(), 2);
            std::vector<std::int64_t> left(instance.nonrenewable.begin(),
                                           instance.nonrenewable.end());
            for (const Job& job : instance.jobs) {
                EXPECT_EQ(job.duration, job.modes.front().duration);
                for (std::size_t a = 0; a < job.modes.size(); ++a) {
                    for (std::size_t b = 0; b < job.modes.size(); ++b) {
                        EXPECT_TRUE(a == b || !dominates(job.modes[a], job.modes[b]));
                    }
                    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
                        EXPECT_LE(job.modes[a].demands[r], instance.availability[r]);
                    }
                }
            }
            EXPECT_EQ(nonrenewableFeasibility(instance), Feasibility::Feasible);
            EXPECT_TRUE(assignmentExists(instance, 0, left));
        }
    }
}

TEST(MultiModeInstances, ReadBackFromEveryFormatThatHoldsThem) {
    for (const Instance& instance : classInstances(multiMode(0.3), 2)) {
        std::string text;
        for (const InstanceFormat format : {InstanceFormat::Mm, InstanceFormat::Json}) {
            writeInstance(format, instance, text);
            EXPECT_EQ(readInstance(format, text, "back"), instance) << text;
        }
        writeInstance(InstanceFormat::Dzn, instance, text);
        EXPECT_NE(text.find("rtype = [1, 1, 2, 2];"), std::string::npos) << text;
        for (const InstanceFormat format :
             {InstanceFormat::Rcp, InstanceFormat::Sm, InstanceFormat::Sch}) {
            try {
                writeInstance(format, instance, text);
                ADD_FAILURE() << "written as " << formatName(format);
            } catch (const std::invalid_argument& e) {
                EXPECT_NE(std::string(e.what()).find("cannot hold a multi-mode instance"),
                          std::string::npos);
            }
        }
    }
}

TEST(TimeLagInstances, MeetTheirLagsAndReadBack) {
    for (const double tightness : {0.0, 1.0}) {
        InstanceClass c;
        c.timeLags.emplace().maxLagShare = 0.5;
        c.timeLags->tightness = tightness;
        const std::vector<Instance> instances = classInstances(c, 3);
        ASSERT_EQ(instances.size(), 3u);
        for (const Instance& instance : instances) {
            std::vector<std::int64_t> earliest;
            ASSERT_EQ(temporalFeasibility(instance, earliest), Feasibility::Feasible);
            const LagMeasures lags = measureLags(instance);
            EXPECT_GT(lags.maxLagShare, 0.4);
            EXPECT_LE(lags.maxLagShare, 0.5);
            EXPECT_LE(lags.tightness, tightness + 1e-9);
            EXPECT_GT(lags.tightness, tightness - 0.2);
            std::string text;
            writeInstance(InstanceFormat::Json, instance, text);
            EXPECT_EQ(readInstance(InstanceFormat::Json, text, "back"), instance);
            writeInstance(InstanceFormat::Sch, instance, text);
            Instance bare = instance;
            bare.provenance.clear();
            EXPECT_EQ(readInstance(InstanceFormat::Sch, text, "back"), bare) << text;
        }
    }
}

// Two jobs of two modes each: every nonrenewable resource alone fits, together they may not.
TEST(InstanceFeasibility, FindsJointConflictsAndPositiveCycles) {
    const auto job = [](std::vector<Mode> modes, std::vector<std::int32_t> successors) {
        Job j{modes.front().duration, modes.front().demands, std::move(successors)};
        j.modes = std::move(modes);
        return j;
    };
    Instance instance;
    instance.availability = {1};
    instance.nonrenewable = {2, 5};
    instance.jobs = {job({{0, {0}, {0, 0}}}, {1, 2}),
                     job({{1, {1}, {3, 0}}, {2, {1}, {0, 3}}}, {3}),
                     job({{1, {1}, {3, 0}}, {2, {1}, {0, 3}}}, {3}), job({{0, {0}, {0, 0}}}, {})};
    EXPECT_EQ(nonrenewableFeasibility(instance), Feasibility::Infeasible);
    instance.nonrenewable = {3, 3};
    EXPECT_EQ(nonrenewableFeasibility(instance), Feasibility::Feasible);
    instance.nonrenewable = {3, 3, 2}; // the third resource takes the durations
    for (Job& j : instance.jobs) {
        for (Mode& mode : j.modes) {
            mode.nonrenewable.push_back(mode.duration);
        }
    }
    EXPECT_EQ(nonrenewableFeasibility(instance), Feasibility::Infeasible);
    instance.nonrenewable.back() = 3;
    EXPECT_EQ(nonrenewableFeasibility(instance), Feasibility::Feasible);

    // Job 3 starts at least 1 after job 2, and job 2 at least 3 after job 3: a positive cycle.
    instance.jobs[1].successors = {3, 2};
    instance.jobs[1].lags = {1, 1};
    instance.jobs[2].successors = {3, 1};
    instance.jobs[2].lags = {1, 3};
    instance.jobs[0].lags = {0, 0};
    std::vector<std::int64_t> earliest;
    EXPECT_EQ(temporalFeasibility(instance, earliest), Feasibility::Infeasible);
    instance.jobs[2].lags = {1, -3};
    ASSERT_EQ(temporalFeasibility(instance, earliest), Feasibility::Feasible);
    EXPECT_EQ(earliest, (std::vector<std::int64_t>{0, 0, 1, 2}));
}

} // namespace
} // namespace tavrin::formats
