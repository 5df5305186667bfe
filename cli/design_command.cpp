#include "cli/design_command.h"

#include "cli/cli_app.h"
#include "cli/stop_signals.h"
#include "design/design_run.h"
#include "design/design_verify.h"
#include "engine/run_driver.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <optional>
#include <unistd.h>

namespace tavrin::cli {
namespace {

constexpr const char* kCommandName = "tavrin-cli design";

struct DesignArguments {
    std::vector<std::string> inputs;
    std::string outDir;
    int jobs = 0;
    std::string shard = "1/1";
    std::string verifyDir;
    bool merge = false;
};

int refuse(std::ostream& err, const std::string& message) {
    err << kCommandName << ": " << message << '\n';
    return kExitUsage;
}

int fail(std::ostream& err, const std::string& message) {
    err << kCommandName << ": " << message << '\n';
    return kExitFailure;
}

// "K/N" with 1 <= K <= N.
std::optional<std::pair<int, int>> parseShard(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    try {
        std::size_t used = 0;
        const int index = std::stoi(text.substr(0, slash), &used);
        if (used != slash) {
            return std::nullopt;
        }
        const std::string countText = text.substr(slash + 1);
        const int count = std::stoi(countText, &used);
        if (used != countText.size() || index < 1 || index > count) {
            return std::nullopt;
        }
        return std::pair{index, count};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// One line "[####....] cells 12/480, files 120/4800", redrawn at most ten times a second.
class DesignProgressLine {
public:
    explicit DesignProgressLine(std::ostream& out) : m_out(out), m_clock(steadyClock()) {}

    void update(const design::DesignProgress& progress) {
        const std::int64_t now = m_clock();
        const bool last = progress.cellsDone == progress.cellsTotal;
        if (m_drawn && now - m_lastDrawMs < 100 && !last) {
            return;
        }
        m_lastDrawMs = now;
        constexpr int width = 30;
        const int filled =
            progress.cellsTotal > 0 ? progress.cellsDone * width / progress.cellsTotal : width;
        m_out << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(width - filled), '.') << "] cells "
              << progress.cellsDone << '/' << progress.cellsTotal << ", files "
              << progress.filesDone << '/' << progress.filesTotal << std::flush;
        m_drawn = true;
    }

    void finish() {
        if (m_drawn) {
            m_out << '\n' << std::flush;
        }
    }

private:
    std::ostream& m_out;
    MillisecondClock m_clock;
    std::int64_t m_lastDrawMs = 0;
    bool m_drawn = false;
};

int runBuild(const DesignArguments& arguments, std::ostream& out, std::ostream& err,
             const std::atomic<bool>* stop) {
    if (arguments.inputs.size() != 1 || arguments.outDir.empty()) {
        return refuse(err, "give one design file and --out DIR");
    }
    const auto shard = parseShard(arguments.shard);
    if (!shard) {
        return refuse(err, "--shard takes K/N with 1 <= K <= N, not '" + arguments.shard + "'");
    }
    design::DesignRunOptions options;
    options.designFile = arguments.inputs.front();
    options.outDir = arguments.outDir;
    options.jobs = arguments.jobs;
    options.shardIndex = shard->first;
    options.shardCount = shard->second;
    options.stop = stop;
    std::optional<DesignProgressLine> line;
    if (&err == &std::cerr && isatty(STDERR_FILENO) == 1) {
        line.emplace(err);
        options.progress = [&line](const design::DesignProgress& p) { line->update(p); };
    }
    const design::DesignRunResult result = design::runDesign(options);
    if (line) {
        line->finish();
    }
    if (result.error) {
        return result.refused ? refuse(err, *result.error) : fail(err, *result.error);
    }
    out << "Cells finished: " << result.cellsDone << ", files written: " << result.filesWritten
        << '\n';
    if (result.interrupted) {
        // As an interrupted generate run: 130 or 143, by the signal that stopped it.
        err << kCommandName << ": stopped; run the same command again to continue\n";
        return interruptedExitStatus();
    }
    return kExitOk;
}

int runVerify(const DesignArguments& arguments, std::ostream& out, std::ostream& err) {
    if (!arguments.inputs.empty() || !arguments.outDir.empty()) {
        return refuse(err, "--verify takes one folder and no other files");
    }
    const design::VerifyReport report = design::verifyDesign(arguments.verifyDir, arguments.jobs);
    if (report.error) {
        return fail(err, *report.error);
    }
    for (const auto& [label, names] :
         {std::pair{"differs", &report.differing}, std::pair{"missing", &report.missing},
          std::pair{"added", &report.added}}) {
        for (const std::string& name : *names) {
            out << label << ": " << name << '\n';
        }
    }
    if (!report.passed()) {
        return fail(err, "verification failed: " + std::to_string(report.differing.size())
                             + " differ, " + std::to_string(report.missing.size()) + " missing, "
                             + std::to_string(report.added.size()) + " added");
    }
    out << "Verified: every file matches its regeneration\n";
    return kExitOk;
}

int runMerge(const DesignArguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.inputs.empty() || arguments.outDir.empty()) {
        return refuse(err, "--merge takes --out DIR and the shard folders");
    }
    const design::MergeResult result = design::mergeShards(arguments.inputs, arguments.outDir);
    if (result.error) {
        return result.refused ? refuse(err, *result.error) : fail(err, *result.error);
    }
    out << "Merged cells: " << result.cells << ", files: " << result.files << '\n';
    return kExitOk;
}

} // namespace

int designMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::atomic<bool>* stop) {
    CLI::App app("Builds a designed data set from a design file, verifies or merges one.",
                 kCommandName);
    DesignArguments arguments;
    app.add_option("inputs", arguments.inputs, "The design file, or with --merge the shard folders")
        ->type_name("FILE|DIR");
    app.add_option("--out", arguments.outDir, "The folder of the data set")->type_name("DIR");
    app.add_option("--jobs", arguments.jobs, "Threads (default: the cores)")
        ->type_name("N")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--shard", arguments.shard, "Build shard K of N")->type_name("K/N");
    app.add_option("--verify", arguments.verifyDir, "Regenerate the data set in DIR and compare")
        ->type_name("DIR");
    app.add_flag("--merge", arguments.merge, "Join shard folders into --out");
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        return refuse(err, e.what());
    }
    if (arguments.merge && !arguments.verifyDir.empty()) {
        return refuse(err, "--merge and --verify exclude each other");
    }
    if (arguments.merge) {
        return runMerge(arguments, out, err);
    }
    if (!arguments.verifyDir.empty()) {
        return runVerify(arguments, out, err);
    }
    return runBuild(arguments, out, err, stop);
}

} // namespace tavrin::cli
