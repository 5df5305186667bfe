// A design run as the batch systems treat it: killed outright, or started twice on one folder.
#include "cli/cli_app.h"
#include "cli/design_command.h"
#include "cli_child_process.h"
#include "cli_test_support.h"

#include <regex>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;

using test_support::Child;
using test_support::readFile;
using test_support::waitUntil;

class DesignProcess : public test_support::ScratchFolderTest {
protected:
    // Eight cells of four files, each cell a run long enough to kill the tool between two.
    std::string writeDesign(const std::string& name, int seed) {
        const fs::path path = file(name);
        std::ofstream(path) << "variant = \"tavrin2\"\ninstances = 4\nnetworks = 1500\nseed = "
                            << seed
                            << "\n[factors]\nactivities = [40]\ntarget = [0.3, 0.5]\n"
                               "rf = [0.25, 1]\nrc = [0.25, 1]\n";
        return path.string();
    }

    int design(const std::vector<std::string>& args, std::string* output = nullptr) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = designMain(args, out, err);
        if (output != nullptr) {
            *output = out.str() + err.str();
        }
        return status;
    }
};

std::int64_t filesWritten(const std::string& summary) {
    std::smatch match;
    return std::regex_search(summary, match, std::regex("files written: (\\d+)"))
               ? std::stoll(match[1])
               : -1;
}

TEST_F(DesignProcess, KilledRunContinuesAndRefusesAnotherDesign) {
    const std::string first = writeDesign("first.toml", 1);
    const std::string other = writeDesign("other.toml", 2);
    const fs::path set = file("set");
    Child child({"design", first, "--out", set.string(), "--jobs", "1"}, file("stdout"),
                file("stderr"));
    // With one thread the second cell's first file follows the first cell's record.
    ASSERT_TRUE(waitUntil(
        [&] { return child.ended() || fs::exists(set / "Pat_n40_t0.3_r0.25_c1_1.rcp"); }));
    kill(child.pid, SIGKILL);
    const int status = child.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << readFile(file("stderr"));

    const fs::path stale = set / ".tavrin-0123456789abcdef.tmp";
    std::ofstream(stale) << "cut";
    std::ofstream(set / "notes.tmp") << "mine";
    std::string output;
    EXPECT_EQ(design({other, "--out", set.string()}, &output), kExitUsage);
    EXPECT_NE(output.find("another design"), std::string::npos) << output;
    // The same design text under another name is another design too.
    fs::copy_file(first, file("renamed.toml"));
    EXPECT_EQ(design({file("renamed.toml").string(), "--out", set.string()}), kExitUsage);

    ASSERT_EQ(design({first, "--out", set.string()}, &output), kExitOk) << output;
    const std::int64_t written = filesWritten(output);
    EXPECT_GE(written, 0) << output;
    EXPECT_LE(written, 28) << "the cell finished before the kill was built again";
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(set / "notes.tmp"));
    fs::remove(set / "notes.tmp");
    EXPECT_EQ(design({"--verify", set.string()}, &output), kExitOk) << output;
}

TEST_F(DesignProcess, TwoRunsOnOneFolderNeverMix) {
    const fs::path set = file("set");
    Child a({"design", writeDesign("a.toml", 1), "--out", set.string()}, file("a.out"),
            file("a.err"));
    Child b({"design", writeDesign("b.toml", 2), "--out", set.string()}, file("b.out"),
            file("b.err"));
    const int statusA = a.wait();
    const int statusB = b.wait();
    ASSERT_TRUE(WIFEXITED(statusA) && WIFEXITED(statusB));
    const std::multiset<int> statuses{WEXITSTATUS(statusA), WEXITSTATUS(statusB)};
    EXPECT_EQ(statuses, (std::multiset<int>{kExitOk, kExitUsage}))
        << readFile(file("a.err")) << readFile(file("b.err"));
    std::string output;
    EXPECT_EQ(design({"--verify", set.string()}, &output), kExitOk) << output;
}

// A verification is a whole regeneration: the first signal ends it with its temporary folder.
TEST_F(DesignProcess, VerifyStopsAtTheFirstSignal) {
    const fs::path set = file("set");
    ASSERT_EQ(design({writeDesign("a.toml", 1), "--out", set.string(), "--jobs", "1"}), kExitOk);
    const fs::path temporary = file("tmp");
    fs::create_directories(temporary);
    const char* saved = std::getenv("TMPDIR");
    const std::string savedText = saved != nullptr ? saved : "";
    setenv("TMPDIR", temporary.c_str(), 1);
    Child child({"design", "--verify", set.string(), "--jobs", "1"}, file("stdout"),
                file("stderr"));
    saved != nullptr ? setenv("TMPDIR", savedText.c_str(), 1) : unsetenv("TMPDIR");
    ASSERT_TRUE(waitUntil([&] { return child.ended() || !fs::is_empty(temporary); }));
    ASSERT_TRUE(waitUntil([&] { return child.ended() || child.catchesStopSignals(); }));
    kill(child.pid, SIGINT);
    const int status = child.wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 130) << readFile(file("stderr"));
    EXPECT_TRUE(fs::is_empty(temporary));
}

} // namespace
} // namespace tavrin::cli
