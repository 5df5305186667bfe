#include "engine/complexity_index.h"
#include "engine/run_driver.h"
#include "export/export_batch.h"
#include "export/format_instance.h"
#include "formats/instance_io.h"
#include "measure/instance_measures.h"
#include "measure_fixtures.h"
#include "support/network_builder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <vector>

namespace tavrin::measure {
namespace {

struct Case {
    const char* name;
    GeneratorVariant variant;
    int n;
    double target;
    int resources;
    RequestMeasure request;
    double factor;
    int use;
    DemandMeasure demand;
    double level; // RC or RS
};

RunSettings settingsOf(const Case& c) {
    RunSettings s = defaultRunSettings();
    s.variant = c.variant;
    s.activityCount = c.n;
    s.target = c.target;
    s.maxNetworks = 60;
    s.resourceCount = c.resources;
    s.requestMeasure = c.request;
    s.resourceFactor = c.factor;
    s.resourceUse = c.use;
    s.demandMeasure = c.demand;
    s.resourceConstrainedness = c.level;
    s.resourceStrength = c.level;
    deriveSizes(s);
    return s;
}

// The stored network in its stored numbering, the one its file carries.
WorkNetwork storedNetwork(const NetworkStore& store, int slot) {
    const int n = store.activityCount();
    const Word* row = store.row(slot);
    std::vector<std::pair<int, int>> pairs;
    int p = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j, ++p) {
            if (testBit(row, p)) {
                pairs.emplace_back(i, j);
            }
        }
    }
    return testing::networkFromArcs(n, pairs);
}

void expectNetworkMade(const Case& c, const RunSettings& s, const RunResult& run, int slot,
                       const InstanceMeasures& m, const formats::Instance& file) {
    EXPECT_EQ(m.activityCount, c.n);
    if (c.variant == GeneratorVariant::Tavrin1) {
        EXPECT_EQ(m.relatedPairCount, s.targetPairCount);
        // CI depends on the numbering only through the activity numbered last, a sink; with a
        // single sink the file's numbering and the run's agree on it.
        const auto sinks = std::count_if(file.jobs.begin() + 1, file.jobs.end() - 1, [&](auto& j) {
            return j.successors == std::vector<std::int32_t>{c.n + 1};
        });
        if (sinks == 1) {
            EXPECT_EQ(m.complexityIndex, run.storedCi[static_cast<std::size_t>(slot)]);
        }
    } else {
        EXPECT_EQ(m.levelCount, s.levelCount);
        EXPECT_DOUBLE_EQ(m.serialParallel, (s.levelCount - 1.0) / (c.n - 1.0));
        EXPECT_EQ(m.indicators, run.store->indicators(slot));
    }
    ComplexityIndex complexity(c.n);
    EXPECT_EQ(m.complexityIndex, complexity.compute(storedNetwork(*run.store, slot)));
}

void expectResourcesMade(const Case& c, const ProjectInstance& made, const InstanceMeasures& m) {
    const int pairs = c.n * c.resources;
    if (c.request == RequestMeasure::ResourceFactor) {
        const auto count = static_cast<int>(pairs * static_cast<long double>(c.factor));
        EXPECT_DOUBLE_EQ(m.resourceFactor, static_cast<double>(count) / pairs);
    } else {
        EXPECT_EQ(m.resourceUseMin, c.use);
        EXPECT_EQ(m.resourceUseMax, c.use);
    }
    for (int k = 0; k < c.resources; ++k) {
        const auto at = static_cast<std::size_t>(k);
        const int users = made.users[at];
        if (c.demand == DemandMeasure::ResourceConstrainedness) {
            // Demands add up to total = trunc(users RC 10 + 0.01), each at least 1.
            const auto total =
                static_cast<int>(users * static_cast<long double>(c.level) * kMaxDemand + 0.01);
            ASSERT_EQ(m.constrainednessPerResource[at].has_value(), users > 0);
            if (users > 0) {
                EXPECT_DOUBLE_EQ(*m.constrainednessPerResource[at],
                                 std::max(total, users) / static_cast<double>(users) / kMaxDemand);
            }
            continue;
        }
        // The availability is largest + trunc((peak - largest) RS): measured RS rounds the made
        // one down to a multiple of 1 / (peak - largest).
        const int spread = made.peak[at] - made.largestDemand[at];
        ASSERT_EQ(m.strengthPerResource[at].has_value(), spread != 0);
        if (spread != 0) {
            const auto steps = static_cast<int>(spread * static_cast<long double>(c.level));
            EXPECT_DOUBLE_EQ(*m.strengthPerResource[at], static_cast<double>(steps) / spread);
        }
        EXPECT_EQ(m.criticalPathLength, made.scheduleLength);
    }
    EXPECT_GE(m.lowerBound, m.criticalPathLength);
}

// What the readers give back measures as the instance written.
void expectSameInEveryFormat(const formats::Instance& file, const InstanceMeasures& m) {
    using enum formats::InstanceFormat;
    for (formats::InstanceFormat format : {Rcp, Sm, Json}) {
        std::string bytes;
        formats::writeInstance(format, file, bytes);
        const formats::Instance back = formats::readInstance(format, bytes, "written");
        EXPECT_EQ(measureCsvFields(measureInstance(back), file.resourceCount()),
                  measureCsvFields(m, file.resourceCount()))
            << formats::formatName(format);
    }
}

TEST(MeasureRoundTrip, GeneratedInstancesMeasureBackToTheirTargets) {
    using enum GeneratorVariant;
    using enum RequestMeasure;
    using enum DemandMeasure;
    const Case cases[] = {
        {"os rf rc", Tavrin1, 10, 0.5, 3, ResourceFactor, 0.5, 0, ResourceConstrainedness, 0.7},
        {"os ru rs", Tavrin1, 9, 0.75, 4, ResourceUse, 0.0, 2, ResourceStrength, 0.4},
        {"i2 rf rs", Tavrin2, 15, 0.4, 4, ResourceFactor, 0.3, 0, ResourceStrength, 0.65},
        {"i2 ru rc", Tavrin2, 40, 0.25, 2, ResourceUse, 0.0, 1, ResourceConstrainedness, 0.05},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunSettings s = settingsOf(c);
        RandomSource random;
        const RunResult run = runGeneration(s, 0.0, 11, random, RunHooks{});
        ASSERT_GT(run.store->count(), 0);
        ProjectInstance made(c.n, c.resources);
        formats::Instance file;
        for (int slot = 0; slot < run.store->count(); ++slot) {
            completeInstance(made, run.store->row(slot), s, random);
            fillFormatInstance(made, file);
            const InstanceMeasures m = measureInstance(file);
            expectNetworkMade(c, s, run, slot, m, file);
            expectResourcesMade(c, made, m);
            expectSameInEveryFormat(file, m);
        }
    }
}

// The file with its activity jobs renumbered: the job at index j moves to index label[j].
formats::Instance relabelled(const formats::Instance& file, const std::vector<int>& label) {
    formats::Instance out = file;
    for (std::size_t j = 0; j < file.jobs.size(); ++j) {
        formats::Job& job = out.jobs[static_cast<std::size_t>(label[j])];
        job = file.jobs[j];
        for (std::int32_t& s : job.successors) {
            s = label[static_cast<std::size_t>(s)];
        }
    }
    return out;
}

// Every measure but CI ignores the numbering; CI only depends on which sink is numbered last.
TEST(MeasureRoundTrip, RenumberedFilesMeasureTheSame) {
    std::mt19937 generator(3);
    for (const formats::Instance& file : fixtures::generatedInstances(12, 0.4, 40)) {
        const int jobs = file.jobCount();
        const InstanceMeasures m = measureInstance(file);
        std::vector<std::string> fields = measureCsvFields(m, 3);

        std::vector<int> shuffled(static_cast<std::size_t>(jobs));
        std::iota(shuffled.begin(), shuffled.end(), 0);
        std::shuffle(shuffled.begin() + 1, shuffled.end() - 1, generator);
        const InstanceMeasures any = measureInstance(relabelled(file, shuffled));
        std::vector<std::string> anyFields = measureCsvFields(any, 3);
        fields[10] = anyFields[10] = ""; // CI
        EXPECT_EQ(anyFields, fields);

        // Another topological order with the same last activity: each next job drawn at random
        // from the ready ones, the last activity (a sink) held back to the end.
        std::vector<int> predecessors(static_cast<std::size_t>(jobs), 0);
        for (const formats::Job& job : file.jobs) {
            for (std::int32_t s : job.successors) {
                ++predecessors[static_cast<std::size_t>(s)];
            }
        }
        std::vector<int> label(static_cast<std::size_t>(jobs), 0);
        label.back() = jobs - 1;
        label[static_cast<std::size_t>(jobs - 2)] = jobs - 2;
        std::vector<int> ready;
        for (std::int32_t s : file.jobs.front().successors) {
            if (--predecessors[static_cast<std::size_t>(s)] == 0) {
                ready.push_back(s);
            }
        }
        for (int next = 1; !ready.empty();) {
            std::swap(ready[generator() % ready.size()], ready.back());
            const int j = ready.back();
            ready.pop_back();
            if (j == jobs - 2 || j == jobs - 1) {
                continue;
            }
            label[static_cast<std::size_t>(j)] = next++;
            for (std::int32_t s : file.jobs[static_cast<std::size_t>(j)].successors) {
                if (--predecessors[static_cast<std::size_t>(s)] == 0) {
                    ready.push_back(s);
                }
            }
        }
        EXPECT_EQ(measureInstance(relabelled(file, label)).complexityIndex, m.complexityIndex);
    }
}

} // namespace
} // namespace tavrin::measure
