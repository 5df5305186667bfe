#include "export/format_instance.h"
#include "formats/instance_io.h"
#include "generated_instances.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace tavrin::formats {
namespace {

// The three-activity example: jobs 2 and 3 start the project, 2 precedes 4.
//   1 -> 2 -> 4 -> 5,  1 -> 3 -> 5
Instance smallInstance() {
    Instance instance;
    instance.availability = {10, 10};
    instance.jobs = {
        {0, {0, 0}, {1, 2}}, {3, {2, 0}, {3}}, {5, {0, 4}, {4}}, {1, {1, 1}, {4}}, {0, {0, 0}, {}}};
    instance.provenance = {{"program", "Tavrin"}, {"seed", "42"}};
    return instance;
}

std::string written(InstanceFormat format, const Instance& instance) {
    std::string bytes;
    writeInstance(format, instance, bytes);
    return bytes;
}

class RoundTrip : public ::testing::TestWithParam<InstanceFormat> {};

// Generated instances, and one with values wide enough to outgrow every field and texts that
// need escaping in JSON.
TEST_P(RoundTrip, ReadsBackWhatItWrote) {
    const InstanceFormat format = GetParam();
    std::vector<Instance> instances;
    const auto settings = tavrin::testing::smallRun(GeneratorVariant::Tavrin2, 25, 3);
    tavrin::testing::forEachGeneratedInstance(settings, 4, [&](const ProjectInstance& generated) {
        fillFormatInstance(generated, instances.emplace_back());
        instances.back().provenance = {{"program", "Tavrin"}, {"file_number", "7"}};
    });
    Instance wide = smallInstance();
    wide.availability = {2147483647, 123456};
    wide.jobs[2].duration = 99999;
    // A critical path and horizon beyond the largest single value.
    wide.jobs[1].duration = 2147483647;
    wide.jobs[3].duration = 2147483647;
    wide.jobs[2].demands = {1000000, 5};
    wide.provenance.emplace_back("note", "quoted \"text\", tab\t and \xc3\xa9");
    instances.push_back(wide);

    for (Instance& instance : instances) {
        if (format == InstanceFormat::Rcp) {
            instance.provenance.clear(); // .rcp has no room for it
        }
        const std::string bytes = written(format, instance);
        EXPECT_EQ(readInstance(format, bytes, "x"), instance) << bytes;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip,
                         ::testing::Values(InstanceFormat::Rcp, InstanceFormat::Sm,
                                           InstanceFormat::Json),
                         [](const auto& info) { return std::string(formatName(info.param)); });

// The dummies are left out: task t is job t+1, and arcs to the end vanish.
TEST(DznFormat, WritesTheChallengeLayout) {
    EXPECT_EQ(written(InstanceFormat::Dzn, smallInstance()),
              "% program: Tavrin\n"
              "% seed: 42\n"
              "n_res = 2;\n"
              "rc = [10, 10];\n"
              "n_tasks = 3;\n"
              "d = [3, 5, 1];\n"
              "rr = array2d(1..n_res, 1..n_tasks, [\n"
              "  2, 0, 1,\n"
              "  0, 4, 1]);\n"
              "suc = [{3}, {}, {}];\n");
}

// Due date and MPM time are the critical path: 1-3-5 takes 5 in the small instance; 1-3-2-4 takes
// 3 + 4 in the other, whose job 3 precedes job 2 so that no forward pass can find it.
TEST(SmFormat, WritesTheCriticalPathLength) {
    Instance backward;
    backward.availability = {1};
    backward.jobs = {{0, {0}, {2}}, {4, {1}, {3}}, {3, {1}, {1}}, {0, {0}, {}}};
    const struct {
        Instance instance;
        std::string_view line;
    } cases[] = {{smallInstance(), "\n    1      3      0        5        0        5\n"},
                 {backward, "\n    1      2      0        7        0        7\n"}};
    for (const auto& c : cases) {
        EXPECT_NE(written(InstanceFormat::Sm, c.instance).find(c.line), std::string::npos)
            << c.line;
    }
}

// Each row changes one text of the small instance's file and names the line and the fault.
TEST(InstanceReaders, RefuseMalformedFiles) {
    struct Case {
        InstanceFormat format;
        std::string_view from; // the text replaced, empty to cut the file at `to`'s length
        std::string_view to;
        int line;
        std::string_view fault;
    };
    const Case cases[] = {
        {InstanceFormat::Rcp, "   5    2", "   6    2", 10, "found the end of the file"},
        {InstanceFormat::Rcp, "   0 \r\n", "   0 \r\n7\r\n", 10,
         "unexpected text after the last job"},
        {InstanceFormat::Rcp, "   1 4 ", "   1 9 ", 6, "job 2 lists a successor 9 outside 1..5"},
        {InstanceFormat::Rcp, "   1 4 ", "   1 2 ", 6, "job 2 lists itself"},
        {InstanceFormat::Rcp, "   1   1   1   1 5", "   1   1   1   1 2", 6, "cycle through job 2"},
        {InstanceFormat::Rcp, "   3   2   0", "  -3   2   0", 6, "duration of job 2"},
        {InstanceFormat::Rcp, "  10   10", "  10   99999999999", 3, "from 0 to 2147483647"},
        {InstanceFormat::Rcp, "   5    2", std::string_view("\x7f\x00\xff\x01", 4), 2, "7f 00"},
        {InstanceFormat::Rcp, "   0   0   0   0 ", "   0   1   0   0 ", 9, "dummy end job 5"},
        {InstanceFormat::Rcp, "   0   0   0   2 2 3", "   0   0   0   2 2 2", 5, "twice"},
        {InstanceFormat::Sm, "PRECEDENCE", "", 16, "found the end of the file"},
        {InstanceFormat::Sm, "    1      3", "    1      4", 15, "counts 4 jobs"},
        {InstanceFormat::Sm, "  3      1", "  3      2", 30, "job 3 has mode 2"},
        {InstanceFormat::Sm, "nonrenewable              :  0", "nonrenewable : 1", 10,
         "only renewable"},
        {InstanceFormat::Sm, "   2        1          1", "   2        1          2", 20,
         "has 2 successors but lists 1"},
        {InstanceFormat::Json, "\"version\": 1,", "\"version\": 1", 4, "expected \",\" or \"}\""},
        {InstanceFormat::Json, "\"duration\": 5", "\"duration\": 5.5", 12, "found \"5.5\""},
        {InstanceFormat::Json, "\"demands\": [0, 4]", "\"demands\": [0]", 12, "2 resources"},
        {InstanceFormat::Json, "\"seed\"", "\"program\"", 6, "given twice"},
        {InstanceFormat::Json, "\"successors\": [4]", "\"successor\": [4]", 11, "unknown key"},
        {InstanceFormat::Json, "\n}\n", "\n}\n}", 17, "unexpected text after"},
        {InstanceFormat::Json, "\"successors\": [5]}", "", 12, "end of the file"},
    };
    for (const Case& c : cases) {
        std::string bytes = written(c.format, smallInstance());
        const std::size_t at = bytes.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        if (c.to.empty()) {
            bytes.resize(at);
        } else {
            bytes.replace(at, c.from.size(), c.to);
        }
        try {
            readInstance(c.format, bytes, "bad.x");
            ADD_FAILURE() << "accepted: " << c.to;
        } catch (const FormatError& error) {
            const std::string what = error.what();
            EXPECT_EQ(error.line(), c.line) << what;
            EXPECT_EQ(what.rfind("bad.x:" + std::to_string(c.line) + ": ", 0), 0u) << what;
            EXPECT_NE(what.find(c.fault), std::string::npos) << what;
        }
    }
}

// Damaged files (bytes changed, dropped or cut) give a FormatError or an instance that is sound
// enough to be written and read back; never another exception or a crash.
TEST(InstanceReaders, SurviveDamagedFiles) {
    std::mt19937 generator(3);
    for (const InstanceFormat format :
         {InstanceFormat::Rcp, InstanceFormat::Sm, InstanceFormat::Json}) {
        const std::string good = written(format, smallInstance());
        std::uniform_int_distribution<std::size_t> position(0, good.size() - 1);
        std::uniform_int_distribution<int> byte(0, 255);
        int refused = 0;
        for (int trial = 0; trial < 200; ++trial) {
            std::string bytes = good;
            const std::size_t at = position(generator);
            switch (trial % 3) {
            case 0:
                bytes[at] = static_cast<char>(byte(generator));
                break;
            case 1:
                bytes.erase(at, 1 + at % 7);
                break;
            default:
                bytes.resize(at);
            }
            try {
                const Instance read = readInstance(format, bytes, "x");
                EXPECT_EQ(readInstance(format, written(format, read), "x"), read) << bytes;
            } catch (const FormatError& error) {
                EXPECT_EQ(std::string(error.what()).rfind("x:", 0), 0u) << error.what();
                ++refused;
            }
        }
        EXPECT_GT(refused, 100) << formatName(format);
    }
}

TEST(ReadInstanceFile, NamesTheFileItCannotUse) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string good = (dir / "tavrin-formats-good.json").string();
    std::ofstream(good, std::ios::binary) << written(InstanceFormat::Json, smallInstance());
    EXPECT_EQ(readInstanceFile(good), smallInstance());
    std::filesystem::remove(good);
    for (const std::string& path : {good, (dir / "instance.txt").string(), dir.string() + "/.sm"}) {
        try {
            readInstanceFile(path);
            ADD_FAILURE() << path;
        } catch (const FormatError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(path + ":0: ", 0), 0u) << error.what();
        }
    }
}

} // namespace
} // namespace tavrin::formats
