#include "cli/generate_command.h"

#include "cli/cli_export.h"
#include "cli/cli_options.h"
#include "cli/networks_csv.h"
#include "cli/output_checks.h"
#include "cli/progress_bar.h"
#include "cli/run_summary.h"
#include "cli/stop_signals.h"
#include "engine/generate_checks.h"
#include "export/file_replace.h"
#include "session/generation_session.h"

#include <exception>
#include <filesystem>
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

void runWithProgress(const CheckedRun& run, GenerationSession& session, std::ostream& err,
                     const CommandContext& context) {
    RunHooks hooks;
    hooks.clock = steadyClock();
    hooks.stop = context.stop;
    std::unique_ptr<ProgressBar> bar;
    if (context.showProgress) {
        bar = std::make_unique<ProgressBar>(err, hooks.clock);
        hooks.progress = [&bar](int maximum, int position) { bar->update(maximum, position); };
    }
    try {
        session.run(run.settings, run.timeLimitSeconds, run.seed, hooks);
        if (bar) {
            bar->finish();
        }
    } catch (...) {
        if (bar) {
            bar->finish();
        }
        throw;
    }
}

// Everything about the outputs, before the run.
std::optional<std::string> checkOutputs(const CliOptions& options, const ExportChoices& choices) {
    if (options.networksCsv) {
        if (auto problem = checkCsvDestination(*options.networksCsv)) {
            return problem;
        }
    }
    if (choices.files) {
        return checkExportDirectory(choices.files->directory);
    }
    return std::nullopt;
}

// The files after a finished run; the directory is created only now, when they are written.
int writeFiles(const ExportFileSettings& files, GenerationSession& session, std::ostream& out,
               std::ostream& err, const CommandContext& context) {
    if (createOutputFolder(files.directory)) {
        return fail(err, std::string(kDirectoryNotCreatedMessage) + " (" + files.directory + ")");
    }
    // A stop that ended the run has had its effect: the export goes on as after a full run.
    const ExportOutcome outcome =
        session.exportFiles(files, session.result().interrupted ? nullptr : context.stop);
    out << filesWrittenLine(files, outcome) << '\n';
    if (outcome.error) {
        out.flush();
        return fail(err, *outcome.error);
    }
    return kExitOk;
}

} // namespace

int generateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    const CommandContext& context, const std::string& helpEnd) {
    const CliParseResult parsed = parseCliOptions(arguments);
    if (!parsed.options) {
        return refuse(err, parsed.error, true);
    }
    const CliOptions& options = *parsed.options;
    if (options.help) {
        out << usageText() << helpEnd;
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
    const ExportChoicesResult exportChoices = readExportChoices(options, run.settings, run.seed);
    if (!exportChoices.choices) {
        return refuse(err, exportChoices.error, false);
    }
    const ExportChoices& choices = *exportChoices.choices;
    if (auto problem = checkOutputs(options, choices)) {
        return refuse(err, *problem, false);
    }

    GenerationSession session;
    try {
        runWithProgress(run, session, err, context);
    } catch (const std::exception& e) {
        return fail(err, e.what());
    }
    session.select(choices.ciRange, choices.indicatorBounds);
    const RunResult& result = session.result();
    if (choices.files && choices.files->count > session.selectedCount()) {
        return refuse(err,
                      std::string(kMoreFilesMessage) + " (the run kept "
                          + std::to_string(result.store->count()) + " networks and selected "
                          + std::to_string(session.selectedCount()) + ")",
                      false);
    }
    if (options.networksCsv) {
        if (auto problem = saveNetworksCsv(*options.networksCsv, run.settings.variant,
                                           *result.store, result.storedCi)) {
            return fail(err, *problem);
        }
    }
    out << runSummary(session);
    out << "Selected networks: " << session.selectedCount() << '\n';
    if (choices.files) {
        if (const int status = writeFiles(*choices.files, session, out, err, context);
            status != kExitOk) {
            return status;
        }
    }
    const bool stopped = result.interrupted || (context.stop != nullptr && context.stop->load());
    return stopped ? interruptedExitStatus() : kExitOk;
}

} // namespace tavrin::cli
