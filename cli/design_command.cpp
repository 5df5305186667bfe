#include "cli/design_command.h"

#include "cli/cli_app.h"
#include "cli/progress_bar.h"
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

int stopped(std::ostream& err) {
    err << kCommandName << ": stopped; run the same command again to continue\n";
    return interruptedExitStatus();
}

// Progress on standard error: on a terminal one line "[####....] cells 12/480, files 120/4800"
// redrawn at most ten times a second; otherwise, as in a batch job's log, a line "cells 12/480,
// files 120/4800" at most every few seconds and at the end.
class DesignProgressLine {
public:
    DesignProgressLine(std::ostream& out, bool terminal)
        : m_out(out), m_clock(steadyClock()), m_terminal(terminal) {}

    void update(std::int64_t cellsDone, std::int64_t cellsTotal, std::int64_t filesDone,
                std::int64_t filesTotal) {
        const std::int64_t now = m_clock();
        const bool last = cellsDone == cellsTotal;
        if (m_drawn && now - m_lastDrawMs < (m_terminal ? 100 : 5000) && !last) {
            return;
        }
        m_lastDrawMs = now;
        if (m_terminal) {
            m_out << '\r' << progressGauge(cellsDone, cellsTotal, 30, true) << ' ';
        }
        if (cellsTotal >= 0) {
            m_out << "cells " << cellsDone << '/' << cellsTotal << ", ";
        }
        m_out << "files " << filesDone << '/' << filesTotal << (m_terminal ? "" : "\n")
              << std::flush;
        m_drawn = true;
    }

    void update(const design::DesignProgress& p) {
        update(p.cellsDone, p.cellsTotal, p.filesDone, p.filesTotal);
    }

    void finish() {
        if (m_drawn && m_terminal) {
            m_out << '\n' << std::flush;
        }
    }

private:
    std::ostream& m_out;
    MillisecondClock m_clock;
    bool m_terminal;
    std::int64_t m_lastDrawMs = 0;
    bool m_drawn = false;
};

// Progress goes to the process's standard error only, never to a caller's stream.
std::optional<DesignProgressLine> progressLine(std::ostream& err) {
    if (&err != &std::cerr) {
        return std::nullopt;
    }
    return DesignProgressLine(err, isatty(STDERR_FILENO) == 1);
}

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
    std::optional<DesignProgressLine> line = progressLine(err);
    if (line) {
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
        return stopped(err);
    }
    return kExitOk;
}

int runVerify(const DesignArguments& arguments, std::ostream& out, std::ostream& err,
              const std::atomic<bool>* stop) {
    if (!arguments.inputs.empty() || !arguments.outDir.empty()) {
        return refuse(err, "--verify takes one folder and no other files");
    }
    std::optional<DesignProgressLine> line = progressLine(err);
    std::function<void(const design::DesignProgress&)> progress;
    if (line) {
        progress = [&line](const design::DesignProgress& p) { line->update(p); };
    }
    const design::VerifyReport report =
        design::verifyDesign(arguments.verifyDir, arguments.jobs, stop, progress);
    if (line) {
        line->finish();
    }
    if (report.error) {
        return fail(err, *report.error);
    }
    if (report.interrupted) {
        return stopped(err);
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

int runMerge(const DesignArguments& arguments, std::ostream& out, std::ostream& err,
             const std::atomic<bool>* stop) {
    if (arguments.inputs.empty() || arguments.outDir.empty()) {
        return refuse(err, "--merge takes --out DIR and the shard folders");
    }
    std::optional<DesignProgressLine> line = progressLine(err);
    design::MergeProgress progress;
    if (line) {
        progress = [&line](std::int64_t done, std::int64_t total) {
            line->update(-1, -1, done, total);
        };
    }
    const design::MergeResult result =
        design::mergeShards(arguments.inputs, arguments.outDir, stop, progress);
    if (line) {
        line->finish();
    }
    if (result.error) {
        return result.refused ? refuse(err, *result.error) : fail(err, *result.error);
    }
    if (result.interrupted) {
        return stopped(err);
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
        ->check(CLI::Validator(
            [](std::string& text) {
                const bool digits = !text.empty() && text.size() <= 9
                                    && text.find_first_not_of("0123456789") == std::string::npos;
                return digits ? std::string()
                              : "takes 0 (the cores) or a number of threads, not '" + text + "'";
            },
            "N"));
    app.add_option("--shard", arguments.shard, "Build shard K of N")->type_name("K/N");
    app.add_option("--verify", arguments.verifyDir, "Regenerate the data set in DIR and compare")
        ->type_name("DIR");
    app.add_flag("--merge", arguments.merge, "Join shard folders into --out");
    if (const auto done =
            parseArguments(app, args, out, [&](const std::string& fault) { refuse(err, fault); })) {
        return *done;
    }
    if (arguments.merge && !arguments.verifyDir.empty()) {
        return refuse(err, "--merge and --verify exclude each other");
    }
    if (arguments.merge) {
        return runMerge(arguments, out, err, stop);
    }
    if (!arguments.verifyDir.empty()) {
        return runVerify(arguments, out, err, stop);
    }
    return runBuild(arguments, out, err, stop);
}

} // namespace tavrin::cli
