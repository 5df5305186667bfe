#include "cli/solve_command.h"

#include "cli/cli_app.h"
#include "cli/instance_paths.h"
#include "cli/progress_bar.h"
#include "cli/solve_rows.h"
#include "cli/solve_run.h"
#include "cli/stop_signals.h"
#include "design/design_index.h"
#include "engine/run_driver.h"
#include "export/file_replace.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace tavrin {

namespace {

using cli::kExitFailure;
using cli::kExitOk;
using cli::kExitUsage;

constexpr double kDefaultTimeLimit = 10;

struct SolveArguments {
    std::vector<std::string> paths;
    std::string out;
    std::string schedules;
    std::optional<double> timeLimit;
    std::optional<std::int64_t> failLimit;
    int heuristicSchedules = 1000;
    int jobs = 0;
    std::string shard = "1/1";
    std::uint64_t seed = 0;
    bool merge = false;
};

int refuse(std::ostream& err, const std::string& message) {
    err << "solve: " << message << '\n';
    return kExitUsage;
}

// What must match for rows of an interrupted run to be kept by the next one.
std::string settingsText(const SolveArguments& a, const solve::SolveBudget& budget) {
    std::ostringstream text;
    text << "time-limit " << budget.timeLimitSeconds << "\nfail-limit " << budget.failLimit
         << "\nheuristic-schedules " << budget.heuristicSchedules << "\nseed " << budget.seed
         << "\nshard " << a.shard << "\nschedules " << a.schedules << '\n';
    return text.str();
}

// Rows of the earlier, interrupted run of the same command, by file and hash.
cli::KeptRows keptRows(const std::string& out, const std::string& settings) {
    cli::KeptRows kept;
    const auto marker = design::readWholeFile(out + ".partial");
    const auto csv = design::readWholeFile(out);
    if (!marker || *marker != settings || !csv) {
        return kept;
    }
    try {
        const design::CsvTable table = design::readCsv(*csv);
        if (table.header == cli::solveCsvHeader()) {
            for (const auto& row : table.rows) {
                kept[{row[0], row[1]}] = row;
            }
        }
    } catch (const std::runtime_error&) {
        kept.clear();
    }
    return kept;
}

bool writeOutput(const std::string& path, const std::string& bytes, std::ostream& out,
                 std::ostream& err) {
    if (path.empty()) {
        out << bytes;
        return true;
    }
    try {
        replaceFile(path, bytes);
        return true;
    } catch (const FileWriteError& e) {
        err << e.what() << '\n';
        return false;
    }
}

// Schedule files are named after the instance's stem, so two different inputs with one stem would
// overwrite each other's schedule; found over all inputs, since shards share the folder.
std::optional<std::string> scheduleNameClash(const std::vector<cli::InputFile>& files) {
    std::map<std::string, std::string> owner;
    for (const cli::InputFile& input : files) {
        const std::string path = std::filesystem::path(input.path).lexically_normal().string();
        const auto [it, added] = owner.emplace(cli::scheduleFileName(input.path), path);
        if (!added && it->second != path) {
            return "--schedules: " + it->second + " and " + path + " would both write " + it->first
                   + "; solve them into different folders";
        }
    }
    return std::nullopt;
}

std::vector<cli::InputFile> shardSlice(std::vector<cli::InputFile> files, int index, int count) {
    const std::size_t total = files.size();
    const std::size_t from = total * static_cast<std::size_t>(index - 1) / count;
    const std::size_t to = total * static_cast<std::size_t>(index) / count;
    return {std::make_move_iterator(files.begin() + static_cast<std::ptrdiff_t>(from)),
            std::make_move_iterator(files.begin() + static_cast<std::ptrdiff_t>(to))};
}

int runSolve(const SolveArguments& a, std::ostream& out, std::ostream& err,
             const cli::CommandContext& context) {
    const auto shard = cli::parseShard(a.shard);
    if (!shard) {
        return refuse(err, "--shard takes K/N with 1 <= K <= N, not '" + a.shard + "'");
    }
    solve::SolveBudget budget;
    budget.failLimit = a.failLimit.value_or(0);
    budget.timeLimitSeconds = a.timeLimit.value_or(a.failLimit ? 0 : kDefaultTimeLimit);
    budget.heuristicSchedules = a.heuristicSchedules;
    budget.seed = a.seed;
    bool failed = false;
    std::vector<cli::InputFile> files;
    for (const std::string& path : a.paths) {
        cli::expandPath(path, files, err, failed);
    }
    if (!a.schedules.empty()) {
        if (const auto clash = scheduleNameClash(files)) {
            return refuse(err, *clash);
        }
    }
    files = shardSlice(std::move(files), shard->first, shard->second);
    const std::string settings = settingsText(a, budget);
    cli::SolveRunOptions options;
    options.budget = budget;
    options.jobs = a.jobs;
    options.scheduleDir = a.schedules;
    options.stop = context.stop;
    options.kept = a.out.empty() ? cli::KeptRows{} : keptRows(a.out, settings);
    std::unique_ptr<cli::ProgressBar> bar;
    if (context.showProgress) {
        bar = std::make_unique<cli::ProgressBar>(err, steadyClock());
        options.progress = [&bar](int total, int done) { bar->update(total, done); };
    }
    if (!a.schedules.empty()) {
        if (const auto problem = createOutputFolder(a.schedules)) {
            err << a.schedules << ": " << *problem << '\n';
            return kExitFailure;
        }
    }
    const cli::SolveRunResult run = cli::runSolveFiles(files, options, err);
    if (bar) {
        bar->finish();
    }
    failed = failed || run.failed;
    design::CsvTable table{cli::solveCsvHeader(), run.rows};
    if (!writeOutput(a.out, design::writeCsv(table), out, err)) {
        failed = true;
    }
    if (!a.schedules.empty() && !run.violation) {
        const std::string name = shard->second == 1
                                     ? "makespans.txt"
                                     : "makespans-" + std::to_string(shard->first) + "-of-"
                                           + std::to_string(shard->second) + ".txt";
        failed = !writeOutput((std::filesystem::path(a.schedules) / name).string(),
                              cli::makespanTable(run.rows), out, err)
                 || failed;
    }
    if (run.violation) {
        return kExitFailure;
    }
    if (run.interrupted) {
        if (!a.out.empty()) {
            writeOutput(a.out + ".partial", settings, out, err);
        }
        err << "solve: stopped; run the same command again to continue\n";
        return cli::interruptedExitStatus();
    }
    if (!a.out.empty()) {
        std::error_code ignored;
        std::filesystem::remove(a.out + ".partial", ignored);
    }
    return failed ? kExitFailure : kExitOk;
}

} // namespace

int solveMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const cli::CommandContext& context) {
    SolveArguments a;
    CLI::App app("Bounds, a checked schedule and a status per instance: one CSV row each.",
                 "tavrin-cli solve");
    app.add_option("PATH", a.paths, "Instance files, directories or globs; with --merge, CSVs")
        ->required();
    app.add_option("--out", a.out, "Write the CSV to this file instead of standard output");
    app.add_option("--schedules", a.schedules, "Write DIR/<name>.schedule.json per instance");
    app.add_option("--time-limit", a.timeLimit,
                   "Seconds of search per instance (default 10 without --fail-limit)")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--fail-limit", a.failLimit, "Search failures per instance")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--heuristic-schedules", a.heuristicSchedules,
                   "Schedules the heuristic builds per instance")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    app.add_option("--jobs", a.jobs, "Threads (default: the cores)")->check(CLI::NonNegativeNumber);
    app.add_option("--shard", a.shard, "Solve the K-th of N slices of the instances")
        ->capture_default_str();
    app.add_option("--seed", a.seed, "Seed of the heuristic's sampling")->capture_default_str();
    app.add_flag("--merge", a.merge, "Join shard CSVs, given in shard order, into one");
    if (const auto done = cli::parseArguments(app, args, out, [&](const std::string& fault) {
            err << fault << "\n" << app.help();
        })) {
        return *done;
    }
    if (a.merge) {
        return cli::mergeSolveCsvs(a.paths, a.out, out, err);
    }
    return runSolve(a, out, err, context);
}

} // namespace tavrin
