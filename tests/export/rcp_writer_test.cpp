#include "export/rcp_writer.h"
#include "instance_fixtures.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using fixtures::ScratchDirectory;

// An instance with the given immediate precedences; durations, demands and availabilities are
// set by the caller.
ProjectInstance instanceWith(int n, int k, const char* arcs) {
    ProjectInstance instance(n, k);
    RandomSource random;
    const auto closure = fixtures::transitiveClosure(fixtures::relationFromText(n, arcs));
    completePrecedence(instance, fixtures::arcSetOf(closure).data(), random);
    return instance;
}

std::string crlf(std::string text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

TEST(RcpWriter, WritesTheThreeActivityExample) {
    ProjectInstance instance = instanceWith(3, 2, "0>2");
    instance.availability = {10, 10};
    instance.duration = {3, 5, 1};
    instance.demands = {2, 0, 0, 4, 1, 1};
    RcpWriter writer;
    EXPECT_EQ(writer.format(instance), crlf("\n"
                                            "   5    2\n"
                                            "  10   10\n"
                                            "\n"
                                            "   0   0   0   2 2 3 \n"
                                            "   3   2   0   1 4 \n"
                                            "   5   0   4   1 5\n"
                                            "   1   1   1   1 5\n"
                                            "   0   0   0   0 \n"));
}

TEST(RcpWriter, WritesTheSingleActivityExample) {
    ProjectInstance instance = instanceWith(1, 1, "");
    instance.availability = {7};
    instance.duration = {4};
    instance.demands = {6};
    RcpWriter writer;
    const std::string_view bytes = writer.format(instance);
    EXPECT_EQ(bytes, crlf("\n"
                          "   3    1\n"
                          "   7\n"
                          "\n"
                          "   0   0   1 2 \n"
                          "   4   6   1 3\n"
                          "   0   0   0 \n"));
    EXPECT_EQ(bytes.front(), '\r');
    EXPECT_EQ(bytes.substr(bytes.size() - 3), " \r\n");
}

TEST(RcpWriter, ListsSuccessorsInDecreasingJobNumber) {
    ProjectInstance instance = instanceWith(10, 1, "0>4 0>6 0>9");
    RcpWriter writer;
    const std::string bytes(writer.format(instance));
    // Activity 0 is job 2: successors 4, 6, 9 are jobs 6, 8, 11.
    EXPECT_NE(bytes.find("   3 11 8 6 \r\n"), std::string::npos) << bytes;
    // Jobs without predecessors, increasing: every activity but 4, 6 and 9.
    EXPECT_NE(bytes.find("   7 2 3 4 5 7 9 10 \r\n"), std::string::npos) << bytes;
}

TEST(RcpWriter, WidthsAreMinimumWidths) {
    ProjectInstance instance = instanceWith(1000, 2, "0>998 0>999");
    instance.availability = {12345, 23456};
    RcpWriter writer;
    const std::string bytes(writer.format(instance));
    // A number that fills its field gets one separating space instead of touching its neighbour.
    EXPECT_EQ(bytes.substr(0, 26), crlf("\n1002    2\n12345 23456\n"));
    EXPECT_NE(bytes.find("   2 1001 1000 \r\n"), std::string::npos);
    EXPECT_NE(bytes.find("   1 1002\r\n"), std::string::npos);
}

TEST(RcpWriter, ReplacesAnEarlierFileOfTheSameName) {
    ScratchDirectory dir;
    const std::string path = dir.file("Pat1.rcp");
    { std::ofstream(path) << "an earlier, longer file that must disappear completely"; }
    ProjectInstance instance = instanceWith(1, 1, "");
    RcpWriter writer;
    writer.write(instance, path);
    EXPECT_EQ(fixtures::readFile(path), writer.format(instance));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"Pat1.rcp"});
}

TEST(RcpWriter, ReportsAFileThatCannotBeCreated) {
    ScratchDirectory dir;
    const std::string blocker = dir.file("plain");
    { std::ofstream(blocker) << "x"; }
    const std::string cases[] = {
        blocker + "/Pat1.rcp",                     // the parent is a regular file
        dir.file(std::string(300, 'P') + "1.rcp"), // the name is too long
        dir.file("missing") + "/Pat1.rcp",         // the directory does not exist
    };
    ProjectInstance instance = instanceWith(2, 1, "0>1");
    RcpWriter writer;
    for (const std::string& path : cases) {
        try {
            writer.write(instance, path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const FileWriteError& error) {
            EXPECT_EQ(error.path(), path);
            EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
        }
        EXPECT_EQ(dir.names(), std::vector<std::string>{"plain"}) << "a partial file was left";
    }
}

#ifndef _WIN32
// A file size limit makes the write fail part way, as a full disk would.
TEST(RcpWriter, FailedWriteKeepsTheEarlierFileWhole) {
    ScratchDirectory dir;
    const std::string path = dir.file("Pat1.rcp");
    const std::string earlier = "earlier content";
    { std::ofstream(path) << earlier; }
    ProjectInstance instance = instanceWith(300, 30, "");
    RcpWriter writer;
    ASSERT_GT(writer.format(instance).size(), 4096u);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failed = false;
    try {
        writer.write(instance, path);
    } catch (const FileWriteError& error) {
        failed = true;
        EXPECT_EQ(error.path(), path);
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_TRUE(failed);
    EXPECT_EQ(fixtures::readFile(path), earlier);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"Pat1.rcp"});
}
#endif

} // namespace
} // namespace tavrin
