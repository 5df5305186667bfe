#include "export/export_batch.h"
#include "instance_fixtures.h"
#include "support/literal_export.h"
#include "support/network_builder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using fixtures::Relation;
using fixtures::ScratchDirectory;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Random stored networks: closures under a topological numbering, as the store keeps them.
struct StoredNetworks {
    StoredNetworks(int n, int count, double density, unsigned seed) : activityCount(n) {
        std::mt19937 generator(seed);
        for (int i = 0; i < count; ++i) {
            closures.push_back(fixtures::randomClosure(n, density, generator));
            rows.push_back(fixtures::arcSetOf(closures.back()));
        }
    }
    ArcSetRows accessor() const {
        return [this](int slot) { return rows.at(at(slot)).data(); };
    }
    int activityCount;
    std::vector<Relation> closures;
    std::vector<std::vector<Word>> rows;
};

ExportPool wholePool(int count) {
    ExportPool pool;
    pool.rebuildTavrin1(std::vector<std::int32_t>(at(count), 1), 1, 1);
    return pool;
}

RunSettings resources(int n, int k) {
    RunSettings settings = defaultRunSettings();
    settings.activityCount = n;
    settings.resourceCount = k;
    return settings;
}

TEST(CheckResourceSettings, RefusesValuesTheCompletionCannotUse) {
    struct Case {
        const char* name;
        void (*change)(RunSettings&);
        const char* expected; // nullptr: accepted
    };
    const Case cases[] = {
        {"defaults", [](RunSettings&) {}, nullptr},
        {"one resource", [](RunSettings& s) { s.resourceCount = 1; }, nullptr},
        {"32 resources", [](RunSettings& s) { s.resourceCount = 32; }, nullptr},
        {"no resource", [](RunSettings& s) { s.resourceCount = 0; },
         "The number of resources must be between 1 and 32, not 0."},
        {"33 resources", [](RunSettings& s) { s.resourceCount = 33; },
         "The number of resources must be between 1 and 32, not 33."},
        {"RF 0", [](RunSettings& s) { s.resourceFactor = 0.0; }, nullptr},
        {"RF above 1", [](RunSettings& s) { s.resourceFactor = 1.01; },
         "The resource factor (RF) must be between 0 and 1, not 1.01."},
        {"RF negative", [](RunSettings& s) { s.resourceFactor = -0.5; },
         "The resource factor (RF) must be between 0 and 1, not -0.5."},
        {"RU equal to K",
         [](RunSettings& s) {
             s.requestMeasure = RequestMeasure::ResourceUse;
             s.resourceUse = 4;
         },
         nullptr},
        {"RU 0",
         [](RunSettings& s) {
             s.requestMeasure = RequestMeasure::ResourceUse;
             s.resourceUse = 0;
         },
         "The resource use (RU) must be between 1 and the number of resources (4), not 0."},
        {"RU above K",
         [](RunSettings& s) {
             s.requestMeasure = RequestMeasure::ResourceUse;
             s.resourceUse = 5;
         },
         "The resource use (RU) must be between 1 and the number of resources (4), not 5."},
        {"RF unread under RU",
         [](RunSettings& s) {
             s.requestMeasure = RequestMeasure::ResourceUse;
             s.resourceFactor = 7.0;
         },
         nullptr},
        {"RC above 1", [](RunSettings& s) { s.resourceConstrainedness = 1.5; },
         "The resource constrainedness (RC) must be between 0 and 1, not 1.5."},
        {"RS negative",
         [](RunSettings& s) {
             s.demandMeasure = DemandMeasure::ResourceStrength;
             s.resourceStrength = -0.01;
         },
         "The resource strength (RS) must be between 0 and 1, not -0.01."},
        {"RS 1",
         [](RunSettings& s) {
             s.demandMeasure = DemandMeasure::ResourceStrength;
             s.resourceStrength = 1.0;
         },
         nullptr},
        {"RF not a number",
         [](RunSettings& s) { s.resourceFactor = std::numeric_limits<double>::quiet_NaN(); },
         "The resource factor (RF) must be between 0 and 1, not NAN."},
    };
    for (const Case& c : cases) {
        RunSettings settings = resources(10, 4);
        c.change(settings);
        const auto problem = checkResourceSettings(settings);
        if (c.expected == nullptr) {
            EXPECT_FALSE(problem.has_value()) << c.name << ": " << problem.value_or("");
        } else {
            EXPECT_EQ(problem.value_or("accepted"), c.expected) << c.name;
        }
    }
}

TEST(InstanceFileName, JoinsDirectorySeparatorPrefixNumberAndExtension) {
    EXPECT_EQ(instanceFileName("/data/out", "Pat", 7), "/data/out/Pat7.rcp");
    EXPECT_EQ(instanceFileName("/data/out", "Pat", 12), "/data/out/Pat12.rcp");
    EXPECT_EQ(instanceFileName("/data/out/", "Pat", 1), "/data/out//Pat1.rcp");
    EXPECT_EQ(instanceFileName("", "Pat", 1), "/Pat1.rcp");
    EXPECT_EQ(instanceFileName("d", "P%d", -3), "d/P%d-3.rcp");
    EXPECT_EQ(instanceFileName("d", "x", std::numeric_limits<std::int32_t>::min()),
              "d/x-2147483648.rcp");
}

TEST(DefaultExportDirectory, LivesInTheHomeOrTheCurrentDirectory) {
    const char* saved = std::getenv("HOME");
    const std::string home = saved != nullptr ? saved : "";
    setenv("HOME", "/home/planner", 1);
    EXPECT_EQ(defaultExportDirectory(), "/home/planner/Tavrin/Output");
    unsetenv("HOME");
    EXPECT_EQ(defaultExportDirectory(), fs::current_path().string() + "/Tavrin/Output");
    if (saved != nullptr) {
        setenv("HOME", home.c_str(), 1);
    }
}

TEST(ExportBatch, RefusesSettingsItCannotComplete) {
    RunSettings settings = resources(5, 40);
    EXPECT_THROW(ExportBatch(5, settings), std::invalid_argument);
}

// RF 1 and RS make a fixed number of draws per file: the pool draw, n durations, n*K
// requirement draws and n*K demand draws.
TEST(ExportBatch, ConsecutiveBatchesNumberOnAndContinueTheSequence) {
    const int n = 6;
    const int k = 2;
    const StoredNetworks networks(n, 5, 0.3, 11);
    RunSettings settings = resources(n, k);
    settings.resourceFactor = 1.0;
    settings.demandMeasure = DemandMeasure::ResourceStrength;
    settings.resourceStrength = 0.5;
    ScratchDirectory first;
    ScratchDirectory replayDir;

    RandomSource random;
    random.seed(42);
    RandomSource expected = random;
    ExportBatch batch(n, settings);
    ExportPool pool = wholePool(5);
    ExportFileSettings files{first.path(), "Pat", 3, 1};
    const ExportBatchResult one = batch.run(networks.accessor(), pool, random, files);
    EXPECT_EQ(one.filesWritten, 3);
    EXPECT_EQ(one.nextStartNumber, 4);
    EXPECT_FALSE(one.error.has_value());
    EXPECT_EQ(pool.length(), 2);
    EXPECT_EQ(pool.poolCount(), 5);
    for (int d = 0; d < 3 * (1 + n + 2 * n * k); ++d) {
        expected.draw();
    }
    EXPECT_EQ(random.state(), expected.state());

    pool = wholePool(5);
    files.startNumber = one.nextStartNumber;
    const ExportBatchResult two = batch.run(networks.accessor(), pool, random, files);
    EXPECT_EQ(two.nextStartNumber, 7);
    EXPECT_EQ(static_cast<int>(first.names().size()), 6);

    // The same seed and sequence of batches give the same bytes.
    RandomSource again;
    again.seed(42);
    ExportBatch replay(n, settings);
    for (int start : {1, 4}) {
        ExportPool fresh = wholePool(5);
        replay.run(networks.accessor(), fresh, again,
                   ExportFileSettings{replayDir.path(), "Pat", 3, start});
    }
    for (int number = 1; number <= 6; ++number) {
        const std::string name = "Pat" + std::to_string(number) + ".rcp";
        EXPECT_EQ(fixtures::readFile(first.file(name)), fixtures::readFile(replayDir.file(name)))
            << name;
    }
}

TEST(ExportBatch, RefusesToStartWithoutWritingAnything) {
    const StoredNetworks networks(4, 3, 0.5, 1);
    ExportBatch batch(4, resources(4, 3));
    ScratchDirectory dir;
    struct Case {
        const char* name;
        std::int32_t count;
        std::int32_t start;
        const char* error;
    };
    const Case cases[] = {
        {"more files than networks", 4, 1, kMoreFilesMessage},
        {"numbers beyond 32 bits", 2, std::numeric_limits<std::int32_t>::max(),
         "The file numbers must lie between -2147483648 and 2147483647: 2147483647 to "
         "2147483648 was asked for."},
    };
    for (const Case& c : cases) {
        RandomSource random;
        ExportPool pool = wholePool(3);
        const ExportBatchResult result =
            batch.run(networks.accessor(), pool, random, {dir.path(), "Pat", c.count, c.start});
        EXPECT_EQ(result.error.value_or(""), c.error) << c.name;
        EXPECT_EQ(result.filesWritten, 0);
        EXPECT_EQ(result.nextStartNumber, c.start);
        EXPECT_EQ(pool.length(), 3) << "nothing drawn";
        EXPECT_EQ(random.state(), 0u);
    }
    EXPECT_EQ(static_cast<int>(dir.names().size()), 0);
}

// Only the numbers of files written must fit; the next start may lie beyond them.
TEST(ExportBatch, FileNumbersFitWhenEveryWrittenNumberFits) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        std::int32_t start;
        std::int32_t count;
        bool fits;
    };
    const Case cases[] = {{kMax, 1, true},      {kMax - 1, 2, true}, {kMax, 2, false},
                          {kMax - 1, 3, false}, {kMin, kMax, true},  {kMin, -1, true},
                          {kMax, 0, true},      {1, kMax, true},     {2, kMax, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(!checkFileNumbers(c.start, c.count).has_value(), c.fits)
            << c.start << " " << c.count;
    }

    const StoredNetworks networks(4, 1, 0.5, 1);
    ExportBatch batch(4, resources(4, 2));
    ScratchDirectory dir;
    RandomSource random;
    ExportPool pool = wholePool(1);
    const ExportBatchResult result =
        batch.run(networks.accessor(), pool, random, {dir.path(), "Pat", 1, kMax});
    EXPECT_FALSE(result.error.has_value()) << result.error.value_or("");
    EXPECT_EQ(result.nextStartNumber, std::int64_t{kMax} + 1);
    EXPECT_TRUE(fs::is_regular_file(dir.file("Pat2147483647.rcp")));
}

TEST(ExportBatch, ZeroOrNegativeCountWritesNothingAndMovesTheStart) {
    const StoredNetworks networks(4, 2, 0.5, 1);
    ExportBatch batch(4, resources(4, 3));
    ScratchDirectory dir;
    for (const auto [count, start, next] : {std::array{0, 5, 5}, std::array{-3, 10, 7}}) {
        RandomSource random;
        ExportPool pool = wholePool(2);
        const ExportBatchResult result =
            batch.run(networks.accessor(), pool, random, {dir.path(), "Pat", count, start});
        EXPECT_FALSE(result.error.has_value());
        EXPECT_EQ(result.nextStartNumber, next);
        EXPECT_EQ(random.state(), 0u);
    }
    EXPECT_EQ(static_cast<int>(dir.names().size()), 0);
}

TEST(ExportBatch, StopsAtTheFirstFileThatCannotBeWritten) {
    const StoredNetworks networks(5, 4, 0.4, 3);
    ExportBatch batch(5, resources(5, 2));
    ScratchDirectory dir;
    // A directory where Pat2.rcp should go: file 1 is written, file 2 fails, file 3 is not tried.
    fs::create_directory(dir.file("Pat2.rcp"));
    RandomSource random;
    ExportPool pool = wholePool(4);
    const ExportBatchResult result =
        batch.run(networks.accessor(), pool, random, {dir.path(), "Pat", 3, 1});
    EXPECT_EQ(result.filesWritten, 1);
    EXPECT_EQ(result.nextStartNumber, 4);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_NE(result.error->find(dir.file("Pat2.rcp")), std::string::npos) << *result.error;
    EXPECT_TRUE(fs::is_regular_file(dir.file("Pat1.rcp")));
    EXPECT_FALSE(fs::exists(dir.file("Pat3.rcp")));
    EXPECT_EQ(static_cast<int>(dir.names().size()), 2) << "no temporary file may stay behind";

    // A directory whose parent is a regular file.
    const std::string blocked = dir.file("Pat1.rcp") + "/out";
    ExportPool again = wholePool(4);
    const ExportBatchResult none =
        batch.run(networks.accessor(), again, random, {blocked, "P", 2, 1});
    EXPECT_EQ(none.filesWritten, 0);
    EXPECT_NE(none.error.value_or("").find(blocked + "/P1.rcp"), std::string::npos);
}

// Reads every file back and checks it against the network it came from and the measures.
class RoundTrip {
public:
    RoundTrip(const StoredNetworks& networks, const RunSettings& settings)
        : m_networks(networks), m_settings(settings), m_used(networks.closures.size()) {}

    void check(const fixtures::RcpFile& file) {
        const int n = m_networks.activityCount;
        const int k = m_settings.resourceCount;
        ASSERT_EQ(file.jobCount, n + 2);
        ASSERT_EQ(file.resourceCount, k);
        const Relation immediate = precedences(file);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        const Relation closure = fixtures::transitiveClosure(immediate);
        // Equal random networks may occur; each stored copy is written once.
        std::size_t slot = 0;
        while (slot < m_used.size() && (m_used[slot] || m_networks.closures[slot] != closure)) {
            ++slot;
        }
        ASSERT_LT(slot, m_used.size()) << "no network left unwritten has this relation";
        m_used[slot] = true;
        EXPECT_EQ(immediate, fixtures::transitiveReduction(closure));
        for (int a = 0; a < n; ++a) {
            EXPECT_TRUE(file.duration[at(a + 1)] >= 1 && file.duration[at(a + 1)] <= 10);
        }
        checkRequests(file);
        checkDemands(file);
    }

private:
    // Activity a is job a+2; the dummy start must precede exactly the activities without
    // predecessors, the dummy end follow exactly those without successors.
    Relation precedences(const fixtures::RcpFile& file) {
        const int n = m_networks.activityCount;
        const int end = n + 2;
        Relation rel = fixtures::emptyRelation(n);
        std::vector<int> sources;
        for (int a = 0; a < n; ++a) {
            const std::vector<int>& list = file.successors[at(a + 1)];
            if (list == std::vector<int>{end}) {
                continue;
            }
            EXPECT_TRUE(std::is_sorted(list.rbegin(), list.rend())) << "job " << a + 2;
            for (const int job : list) {
                EXPECT_TRUE(job > a + 2 && job < end) << "job " << a + 2 << " -> " << job;
                if (job > a + 2 && job < end) {
                    rel[at(a)][at(job - 2)] = true;
                }
            }
        }
        for (int b = 0; b < n; ++b) {
            bool source = true;
            for (int a = 0; a < n; ++a) {
                source = source && !rel[at(a)][at(b)];
            }
            if (source) {
                sources.push_back(b + 2);
            }
        }
        EXPECT_EQ(file.successors[0], sources);
        EXPECT_EQ(file.successors[at(end - 1)], std::vector<int>{});
        return rel;
    }

    void checkRequests(const fixtures::RcpFile& file) const {
        const int n = m_networks.activityCount;
        const int k = m_settings.resourceCount;
        int required = 0;
        for (int a = 0; a < n; ++a) {
            const std::vector<int>& demand = file.demand[at(a + 1)];
            const int own = static_cast<int>(
                std::count_if(demand.begin(), demand.end(), [](int d) { return d != 0; }));
            if (m_settings.requestMeasure == RequestMeasure::ResourceUse) {
                EXPECT_EQ(own, m_settings.resourceUse) << "activity " << a;
            }
            required += own;
        }
        if (m_settings.requestMeasure == RequestMeasure::ResourceFactor) {
            // The chosen RF values make n*K*RF whole.
            EXPECT_EQ(required, static_cast<int>(n * k * m_settings.resourceFactor + 0.5));
        }
    }

    void checkDemands(const fixtures::RcpFile& file) const {
        const int n = m_networks.activityCount;
        const int k = m_settings.resourceCount;
        const std::vector<int> finish = earliestFinish(file);
        for (int r = 0; r < k; ++r) {
            int users = 0;
            int sum = 0;
            int largest = 0;
            for (int a = 0; a < n; ++a) {
                const int d = file.demand[at(a + 1)][at(r)];
                EXPECT_TRUE(d >= 0 && d <= 10) << d;
                users += d != 0 ? 1 : 0;
                sum += d;
                largest = std::max(largest, d);
            }
            const int availability = file.availability[at(r)];
            if (m_settings.demandMeasure == DemandMeasure::ResourceConstrainedness) {
                // The chosen RC values make users x RC x 10 whole.
                const int total =
                    static_cast<int>(users * m_settings.resourceConstrainedness * 10 + 0.5);
                EXPECT_EQ(availability, 10);
                EXPECT_EQ(sum, std::max(total, users)) << "resource " << r;
            } else {
                const int peak = peakDemand(file, finish, r);
                // The chosen RS values make (peak - largest) x RS exact.
                EXPECT_EQ(availability,
                          largest
                              + static_cast<int>((peak - largest) * m_settings.resourceStrength))
                    << "resource " << r;
            }
        }
    }

    std::vector<int> earliestFinish(const fixtures::RcpFile& file) const {
        const int n = m_networks.activityCount;
        std::vector<int> start(at(n + 2));
        std::vector<int> finish(at(n + 2));
        for (int job = 1; job <= n + 2; ++job) {
            finish[at(job - 1)] = start[at(job - 1)] + file.duration[at(job - 1)];
            for (const int next : file.successors[at(job - 1)]) {
                start[at(next - 1)] = std::max(start[at(next - 1)], finish[at(job - 1)]);
            }
        }
        return finish;
    }

    int peakDemand(const fixtures::RcpFile& file, const std::vector<int>& finish, int r) const {
        int peak = 0;
        const int horizon = *std::max_element(finish.begin(), finish.end());
        for (int t = 1; t <= horizon; ++t) {
            int load = 0;
            for (int job = 2; job <= m_networks.activityCount + 1; ++job) {
                const int f = finish[at(job - 1)];
                if (f - file.duration[at(job - 1)] < t && t <= f) {
                    load += file.demand[at(job - 1)][at(r)];
                }
            }
            peak = std::max(peak, load);
        }
        return peak;
    }

    const StoredNetworks& m_networks;
    RunSettings m_settings;
    std::vector<bool> m_used;
};

TEST(ExportBatch, EveryFileReadsBackAsItsNetworkAndMeetsItsMeasures) {
    struct Case {
        int n;
        int k;
        double density;
        RequestMeasure request;
        double rfOrRu;
        DemandMeasure demand;
        double rcOrRs;
    };
    constexpr auto RF = RequestMeasure::ResourceFactor;
    constexpr auto RU = RequestMeasure::ResourceUse;
    constexpr auto RC = DemandMeasure::ResourceConstrainedness;
    constexpr auto RS = DemandMeasure::ResourceStrength;
    const Case cases[] = {
        {1, 1, 0.0, RF, 1.0, RC, 0.7},    {2, 1, 0.5, RU, 1, RS, 0.5},
        {5, 4, 0.3, RF, 0.5, RC, 0.5},    {12, 4, 0.2, RU, 2, RS, 0.5},
        {33, 3, 0.1, RF, 0.0, RS, 1.0},   {40, 30, 0.15, RU, 30, RC, 1.0},
        {70, 8, 0.05, RF, 0.25, RS, 0.0}, {30, 4, 0.08, RF, 0.75, RC, 0.2},
    };
    const int networkCount = 6;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "n " << c.n << " K " << c.k);
        const StoredNetworks networks(c.n, networkCount, c.density, static_cast<unsigned>(c.n));
        RunSettings settings = resources(c.n, c.k);
        settings.requestMeasure = c.request;
        settings.resourceFactor = c.rfOrRu;
        settings.resourceUse = static_cast<std::int32_t>(c.rfOrRu);
        settings.demandMeasure = c.demand;
        settings.resourceConstrainedness = c.rcOrRs;
        settings.resourceStrength = c.rcOrRs;
        ScratchDirectory dir;
        RandomSource random;
        random.seed(c.n * 31 + c.k);
        ExportPool pool = wholePool(networkCount);
        const ExportBatchResult result =
            ExportBatch(c.n, settings)
                .run(networks.accessor(), pool, random, {dir.path(), "Rt", networkCount, 1});
        ASSERT_FALSE(result.error.has_value()) << *result.error;
        RoundTrip roundTrip(networks, settings);
        for (int number = 1; number <= networkCount; ++number) {
            fixtures::RcpFile file;
            fixtures::parseRcp(fixtures::readFile(dir.file("Rt" + std::to_string(number) + ".rcp")),
                               file);
            ASSERT_FALSE(HasFatalFailure());
            roundTrip.check(file);
        }
    }
}

// Random networks offered to a real store, selected by indicator ranges, exported through the
// store entry point: the files must equal, byte for byte, those of the plain second
// implementation drawing from the same source state.
TEST(RunExportBatch, StoredNetworksMatchThePlainImplementation) {
    struct Case {
        int n;
        int k;
        RequestMeasure request;
        DemandMeasure demand;
        double value;
    };
    const Case cases[] = {
        {8, 3, RequestMeasure::ResourceFactor, DemandMeasure::ResourceConstrainedness, 0.7},
        {8, 3, RequestMeasure::ResourceUse, DemandMeasure::ResourceStrength, 0.7},
        {35, 30, RequestMeasure::ResourceFactor, DemandMeasure::ResourceStrength, 0.53},
        {35, 5, RequestMeasure::ResourceUse, DemandMeasure::ResourceConstrainedness, 0.29},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "n " << c.n << " K " << c.k);
        NetworkStore store(c.n, 30);
        std::mt19937 generator(static_cast<unsigned>(c.n + c.k));
        std::bernoulli_distribution arc(0.15);
        for (int attempt = 0; attempt < 30 && store.count() < store.capacity(); ++attempt) {
            std::vector<std::pair<int, int>> arcs;
            for (int i = 0; i < c.n; ++i) {
                for (int j = i + 1; j < c.n; ++j) {
                    if (arc(generator)) {
                        arcs.emplace_back(i, j);
                    }
                }
            }
            if (store.offer(tavrin::testing::networkFromArcs(c.n, arcs))) {
                const int i3 = store.count() % 3 == 0 ? 80 : 40;
                store.recordIndicators(store.count() - 1, {i3, 50, 50, 50});
            }
        }
        ExportPool pool;
        pool.rebuildTavrin2(store, {0, 50, 0, 100, 0, 100, 0, 100});
        ASSERT_GE(pool.length(), 5);
        std::vector<int> slots;
        std::vector<const Word*> rows;
        for (int i = 0; i < pool.length(); ++i) {
            slots.push_back(pool.slot(i));
        }
        for (int slot = 0; slot < store.count(); ++slot) {
            rows.push_back(store.row(slot));
        }

        RunSettings settings = resources(c.n, c.k);
        settings.requestMeasure = c.request;
        settings.resourceFactor = c.value;
        settings.resourceUse = c.k / 2 + 1;
        settings.demandMeasure = c.demand;
        settings.resourceConstrainedness = c.value;
        settings.resourceStrength = c.value;
        RandomSource random;
        random.seed(c.n);
        RandomSource reference = random;
        ScratchDirectory dir;
        const ExportBatchResult result =
            runExportBatch(store, pool, random, settings, {dir.path(), "Pat", 5, 1});
        ASSERT_FALSE(result.error.has_value()) << *result.error;
        const std::vector<std::string> expected =
            tavrin::testing::literalBatch(rows, c.n, slots, 5, settings, reference);
        for (int number = 1; number <= 5; ++number) {
            EXPECT_EQ(fixtures::readFile(dir.file("Pat" + std::to_string(number) + ".rcp")),
                      expected[at(number - 1)])
                << number;
        }
        EXPECT_EQ(random.state(), reference.state());
    }
}

} // namespace
} // namespace tavrin
