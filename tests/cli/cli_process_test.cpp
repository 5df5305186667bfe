// The built tool as a child process: stop signals and output errors.
#include "cli/cli_app.h"
#include "cli_child_process.h"
#include "cli_test_support.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;

using test_support::Child;
using test_support::readFile;
using test_support::waitUntil;

class CliProcess : public test_support::ScratchFolderTest {};

// Every instance file is whole: the job lines that follow the header are as many as it says.
bool wholeRcp(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    int jobs = -1;
    int resources = -1;
    std::getline(lines, line);
    if (!(lines >> jobs >> resources) || jobs < 2) {
        return false;
    }
    std::getline(lines, line); // rest of the header line
    std::getline(lines, line); // availabilities
    std::getline(lines, line); // blank
    int jobLines = 0;
    while (std::getline(lines, line)) {
        jobLines += line.back() == '\r' ? 1 : 0;
    }
    return jobLines == jobs && text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
}

// A pipe whose buffer is full and whose write end blocks.
bool fillPipe(int ends[2]) {
    if (pipe(ends) != 0 || fcntl(ends[1], F_SETFL, O_NONBLOCK) != 0) {
        return false;
    }
    const std::string block(4096, 'x');
    for (std::size_t size : {block.size(), std::size_t{1}}) {
        while (write(ends[1], block.data(), size) > 0) {
        }
    }
    // The flag belongs to the open pipe, which the child shares: it must block again.
    return errno == EAGAIN && fcntl(ends[1], F_SETFL, 0) == 0;
}

TEST_F(CliProcess, StopSignalsLeaveWholeFilesAndTheirStatus) {
    enum class When { Run, Export };
    struct Case {
        const char* name;
        When when;
        std::vector<int> signals;
        int status;
    };
    const Case cases[] = {
        {"SIGINT in the run", When::Run, {SIGINT}, 130},
        {"SIGTERM in the export", When::Export, {SIGTERM}, 143},
        // Its stdout is a full pipe, so after the first signal it waits to write the summary.
        {"second signal while the summary waits", When::Export, {SIGINT, SIGTERM}, 143},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = file("out");
        const fs::path csv = file("networks.csv");
        fs::remove_all(dir);
        std::ofstream(csv) << "old\n";
        // The run: until a 600 s limit or the stop. The export: 5000 small instances after a
        // short run, far more than can be written before the signal lands.
        std::vector<std::string> args{"--variant", "tavrin2", "--networks-csv", csv.string()};
        if (c.when == When::Run) {
            args.insert(args.end(), {"--activities", "30", "--time-limit", "600"});
        } else {
            args.insert(args.end(), {"--activities", "60", "--target", "0.5", "--max-networks",
                                     "5000", "--files", "5000", "--dir", dir.string()});
        }
        const bool twoSignals = c.signals.size() == 2;
        int pipeEnds[2] = {-1, -1};
        if (twoSignals) {
            ASSERT_TRUE(fillPipe(pipeEnds));
        }
        Child child(args, file("stdout"), file("stderr"), pipeEnds[1]);
        ASSERT_TRUE(waitUntil([&] {
            return child.ended()
                   || (c.when == When::Run ? child.catchesStopSignals()
                                           : fs::exists(dir / "Pat1.rcp"));
        }));
        ASSERT_FALSE(child.ended()) << readFile(file("stderr"));
        for (std::size_t k = 0; k < c.signals.size(); ++k) {
            kill(child.pid, c.signals[k]);
            // Signals of one kind do not queue: wait for the first to be taken.
            ASSERT_TRUE(
                waitUntil([&] { return child.ended() || !readFile(file("stderr")).empty(); }));
        }
        const int status = child.wait();
        if (twoSignals) {
            close(pipeEnds[0]);
            close(pipeEnds[1]);
        }
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), c.status);
        // Replaced whole by the networks kept until the stop (perhaps none).
        const std::string csvText = readFile(csv);
        EXPECT_EQ(csvText.rfind("slot,i3,i4,i5,i6,arcset\n", 0), 0u) << csvText.substr(0, 80);
        EXPECT_EQ(csvText.back(), '\n');
        int files = 0;
        for (const fs::path& folder : {csv.parent_path(), dir}) {
            if (!fs::exists(folder)) {
                continue;
            }
            for (const auto& entry : fs::directory_iterator(folder)) {
                const std::string name = entry.path().filename().string();
                EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
                if (entry.path().extension() == ".rcp") {
                    ++files;
                    EXPECT_TRUE(wholeRcp(readFile(entry.path()))) << name;
                }
            }
        }
        if (c.when == When::Export) {
            EXPECT_GE(files, 1);
            EXPECT_LT(files, 5000);
            // Numbered without gaps from the first.
            EXPECT_TRUE(fs::exists(dir / ("Pat" + std::to_string(files) + ".rcp")));
        }
        if (!twoSignals) {
            const std::string summary = readFile(file("stdout"));
            const std::string note =
                c.when == When::Run ? "Run interrupted"
                                    : "interrupted after " + std::to_string(files) + " of 5000";
            EXPECT_NE(summary.find(note), std::string::npos) << summary;
        }
    }
}

TEST_F(CliProcess, OutputErrorsExitOneWithAMessage) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        bool closedPipe; // else /dev/full
    };
    const Case cases[] = {
        {"help into a full device", {"--help"}, false},
        {"help into a closed pipe", {"generate", "--help"}, true},
        {"summary into a closed pipe", {"--variant", "tavrin2", "--max-networks", "3"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int out = -1;
        int pipeEnds[2] = {-1, -1};
        if (c.closedPipe) {
            ASSERT_EQ(pipe(pipeEnds), 0);
            close(pipeEnds[0]);
            out = pipeEnds[1];
        } else {
            out = open("/dev/full", O_WRONLY);
            ASSERT_GE(out, 0);
        }
        Child child(c.arguments, {}, file("stderr"), out);
        close(out);
        const int status = child.wait();
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), kExitFailure);
        EXPECT_NE(readFile(file("stderr")).find(kOutputFailedMessage), std::string::npos);
    }
}

// A full disk, as a file size limit the child inherits: writing the CSV or the report fails
// with the system's reason and the earlier files stay whole.
TEST_F(CliProcess, MeasureOutputsSurviveAFullDisk) {
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runCli({"--variant", "tavrin2", "--target", "0.5", "--max-networks", "10", "--files",
                      "10", "--dir", file("set").string()},
                     out, err, false),
              kExitOk)
        << err.str();
    for (const char* name : {"m.csv", "m.html"}) {
        std::ofstream(file(name)) << "old\n";
    }
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    const auto savedSignal = signal(SIGXFSZ, SIG_IGN); // the child sees EFBIG, not the signal
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Child child({"measure", "--out", file("m.csv").string(), "--report", file("m.html").string(),
                 file("set").string()},
                file("stdout"), file("stderr"));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, savedSignal);
    const int status = child.wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), kExitFailure);
    const std::string errors = readFile(file("stderr"));
    for (const char* name : {"m.csv", "m.html"}) {
        EXPECT_EQ(readFile(file(name)), "old\n") << name;
        EXPECT_NE(errors.find(file(name).string() + ": cannot write the file: File too large"),
                  std::string::npos)
            << errors;
    }
    for (const auto& entry : fs::directory_iterator(file(""))) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

} // namespace
} // namespace tavrin::cli
