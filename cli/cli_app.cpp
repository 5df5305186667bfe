#include "cli/cli_app.h"

#include "cli/cli_export.h"
#include "cli/cli_options.h"
#include "cli/networks_csv.h"
#include "cli/progress_bar.h"
#include "cli/run_summary.h"
#include "engine/generate_checks.h"
#include "engine/random_source.h"
#include "engine/run_driver.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>

namespace tavrin::cli {
namespace {

int refuse(std::ostream& err, const std::string& message, bool hint) {
    err << kProgramName << ": " << message << '\n';
    if (hint) {
        err << usageHint() << '\n';
    }
    return kExitUsage;
}

int fail(std::ostream& err, const std::string& message) {
    err << kProgramName << ": " << message << '\n';
    return kExitFailure;
}

RunResult runWithProgress(const CheckedRun& run, RandomSource& random, std::ostream& err,
                          bool showProgress) {
    RunHooks hooks;
    hooks.clock = steadyClock();
    std::unique_ptr<ProgressBar> bar;
    if (showProgress) {
        bar = std::make_unique<ProgressBar>(err, hooks.clock);
        hooks.progress = [&bar](int maximum, int position) { bar->update(maximum, position); };
    }
    try {
        RunResult result =
            runGeneration(run.settings, run.timeLimitSeconds, run.seed, random, hooks);
        if (bar) {
            bar->finish();
        }
        return result;
    } catch (...) {
        if (bar) {
            bar->finish();
        }
        throw;
    }
}

} // namespace

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool showProgress) {
    const CliParseResult parsed = parseCliOptions(arguments);
    if (!parsed.options) {
        return refuse(err, parsed.error, true);
    }
    const CliOptions& options = *parsed.options;
    if (options.help) {
        out << usageText();
        return kExitOk;
    }
    if (options.version) {
        out << versionText();
        return kExitOk;
    }
    const GenerateCheckResult checked = checkGenerateInputs(generateInputsOf(options), '.');
    if (!checked.run) {
        return refuse(err, checked.problem.message, false);
    }
    const CheckedRun& run = *checked.run;
    const ExportChoicesResult exportChoices = readExportChoices(options, run.settings);
    if (!exportChoices.choices) {
        return refuse(err, exportChoices.error, false);
    }
    const ExportChoices& choices = *exportChoices.choices;

    // Opened before the run, so that an unwritable path fails at once, not after it.
    std::ofstream csv;
    if (options.networksCsv) {
        csv.open(*options.networksCsv, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!csv) {
            return fail(err, "cannot open '" + *options.networksCsv
                                 + "' for writing: " + std::strerror(errno));
        }
    }
    RandomSource random;
    RunResult result;
    try {
        result = runWithProgress(run, random, err, showProgress);
    } catch (const std::exception& e) {
        return fail(err, e.what());
    }
    ExportPool pool = selectNetworks(choices, run.settings, result);
    if (choices.files && choices.files->count > pool.poolCount()) {
        if (options.networksCsv) {
            csv.close();
            std::error_code ignored;
            std::filesystem::remove(*options.networksCsv, ignored);
        }
        return refuse(err, kMoreFilesMessage, false);
    }
    if (options.networksCsv) {
        writeNetworksCsv(csv, run.settings.variant, *result.store, result.storedCi);
        csv.close();
        if (csv.fail()) {
            return fail(err, "writing '" + *options.networksCsv + "' failed");
        }
    }
    out << runSummary(run.settings, result);
    out << "Selected networks: " << pool.poolCount() << '\n';
    if (choices.files) {
        const ExportFileSettings& files = *choices.files;
        std::error_code error;
        std::filesystem::create_directories(files.directory, error);
        if (error || !std::filesystem::is_directory(files.directory)) {
            return fail(err,
                        std::string(kDirectoryNotCreatedMessage) + " (" + files.directory + ")");
        }
        const ExportBatchResult batch =
            runExportBatch(*result.store, pool, random, run.settings, files);
        out << "Files written: " << batch.filesWritten;
        if (batch.filesWritten > 0) {
            out << " (" << instanceFileName(files.directory, files.prefix, files.startNumber)
                << " to "
                << instanceFileName(files.directory, files.prefix,
                                    files.startNumber + batch.filesWritten - 1)
                << ")";
        }
        out << '\n';
        if (batch.error) {
            out.flush();
            return fail(err, *batch.error);
        }
    }
    out.flush();
    if (!out) {
        return fail(err, "writing the summary failed");
    }
    return kExitOk;
}

} // namespace tavrin::cli
