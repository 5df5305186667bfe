#include "cli/convert_command.h"

#include "cli/cli_app.h"
#include "cli/stop_signals.h"
#include "export/file_replace.h"
#include "export/rcp_writer.h"
#include "formats/instance_io.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <set>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCommandName = "tavrin-cli convert";
struct ConvertOptions {
    std::string to;
    std::string directory;
    std::vector<std::string> files;
};

void describe(CLI::App& app, ConvertOptions& options) {
    app.add_option("--to", options.to, "Format of the files written: rcp, sm, mm, sch, dzn or json")
        ->required()
        ->check(CLI::IsMember({"rcp", "sm", "mm", "sch", "dzn", "json"}));
    app.add_option("--dir", options.directory, "Directory the files are written to (created)")
        ->required();
    app.add_option("files", options.files, "Files to convert (.rcp, .sm, .mm, .sch or .json)")
        ->required();
}

// Converts one file; returns the message of the fault, empty on success.
std::string convertFile(const std::string& file, formats::InstanceFormat to,
                        const std::string& directory, std::set<std::string>& written,
                        std::string& text, std::ostream& out) {
    const std::string name = fs::path(file).stem().string();
    const std::string target =
        (fs::path(directory) / (name + std::string(formats::formatExtension(to)))).string();
    if (written.contains(target)) {
        return target + ": already written from another input file of the same name";
    }
    try {
        const formats::Instance instance = formats::readInstanceFile(file);
        formats::writeInstance(to, instance, text);
        replaceFile(target, text);
    } catch (const formats::FormatError& error) {
        return error.what();
    } catch (const FileWriteError& error) {
        return error.what();
    } catch (const std::invalid_argument& error) {
        return target + ": " + error.what();
    }
    written.insert(target);
    out << file << " -> " << target << '\n';
    return {};
}

} // namespace

int convertMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::atomic<bool>* stop) {
    CLI::App app("Converts instance files from one format to another", kCommandName);
    ConvertOptions options;
    describe(app, options);
    if (const auto done = parseArguments(app, args, out, [&](const std::string& fault) {
            err << kCommandName << ": " << fault << '\n';
            err << "Run '" << kCommandName << " --help' for the options.\n";
        })) {
        return *done;
    }
    const formats::InstanceFormat to = *formats::parseFormatName(options.to);
    if (const auto problem = createOutputFolder(options.directory)) {
        err << kCommandName << ": cannot create the directory " << options.directory << ": "
            << *problem << '\n';
        return kExitFailure;
    }
    std::set<std::string> written;
    std::string text;
    int failures = 0;
    for (const std::string& file : options.files) {
        if (stop != nullptr && stop->load()) {
            err << kCommandName << ": stopped; the files named above were written\n";
            return interruptedExitStatus();
        }
        const std::string fault = convertFile(file, to, options.directory, written, text, out);
        if (!fault.empty()) {
            err << kCommandName << ": " << fault << '\n';
            ++failures;
        }
    }
    return failures == 0 ? kExitOk : kExitFailure;
}

} // namespace tavrin::cli
