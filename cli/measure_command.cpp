#include "cli/measure_command.h"

#include "cli/cli_app.h"
#include "cli/hardness_csv.h"
#include "cli/instance_paths.h"
#include "cli/stop_signals.h"
#include "design/design_index.h"
#include "export/file_replace.h"
#include "formats/instance_format.h"
#include "formats/instance_io.h"
#include "measure/instance_measures.h"
#include "measure/measure_report.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace tavrin {

namespace {

using cli::expandPath;
using cli::InputFile;
using cli::kExitFailure;
using cli::kExitOk;
using cli::kExitUsage;
using measure::InstanceMeasures;
using measure::ReportEntry;

struct MeasureOptions {
    std::string out;
    std::string report;
    std::string scatter = "OS,CI";
    std::string title = "Instance measures";
    std::string hardness;
    std::string hardnessX = "RS";
    std::vector<std::string> paths;
};

void writeCsv(const std::vector<InputFile>& files, const std::vector<ReportEntry>& rows,
              std::ostream& out) {
    int maxResources = 0;
    bool classes = false; // the class columns only when a file needs them
    for (const ReportEntry& row : rows) {
        maxResources = std::max(maxResources, row.measures.resourceCount);
        classes = classes || row.measures.instanceClass.has_value();
    }
    std::vector<std::string> names = measure::measureColumnNames(maxResources);
    if (classes) {
        const auto more = measure::classColumnNames();
        names.insert(names.end(), more.begin(), more.end());
    }
    design::CsvTable table{{"file"}, {}};
    table.header.insert(table.header.end(), names.begin(), names.end());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<std::string>& row = table.rows.emplace_back(1, files[i].path);
        const auto fields = measure::measureCsvFields(rows[i].measures, maxResources);
        row.insert(row.end(), fields.begin(), fields.end());
        if (classes) {
            const auto more = measure::classCsvFields(rows[i].measures.instanceClass);
            row.insert(row.end(), more.begin(), more.end());
        }
    }
    out << design::writeCsv(table);
}

// Joins each measured file to its row of the hardness CSV by the file's SHA-256, so the paths
// the solver was given need not match the ones measured.
bool attachHardness(const std::string& csv, const std::vector<InputFile>& files,
                    std::vector<ReportEntry>& rows, std::ostream& err) {
    std::map<std::string, measure::InstanceHardness> hardness;
    try {
        hardness = cli::readHardnessCsv(csv);
    } catch (const std::runtime_error& e) {
        err << e.what() << "\n";
        return false;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto bytes = design::readWholeFile(files[i].path);
        const auto it = bytes ? hardness.find(design::sha256Hex(*bytes)) : hardness.end();
        if (it != hardness.end()) {
            rows[i].hardness = it->second;
        }
    }
    return true;
}

// Through a temporary file, so that a failed write leaves an earlier file whole.
bool writeFile(const std::string& path, std::ostream& err,
               const std::function<void(std::ostream&)>& write) {
    std::ostringstream text;
    write(text);
    try {
        replaceFile(path, text.str());
    } catch (const FileWriteError& e) {
        err << path << ": cannot write the file: " << e.reason() << "\n";
        return false;
    }
    return true;
}

bool stopRequested(const std::atomic<bool>* stop) {
    return stop != nullptr && stop->load();
}

} // namespace

int measureMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::atomic<bool>* stop) {
    MeasureOptions options;
    CLI::App app("Measures instance files: one CSV row per instance.", "tavrin-cli measure");
    app.add_option("--out", options.out, "Write the CSV to this file instead of standard output");
    app.add_option("--report", options.report, "Write an HTML page of histograms and a scatter");
    app.add_option("--scatter", options.scatter, "The scatter's measures X,Y")
        ->capture_default_str();
    app.add_option("--title", options.title, "The report's title")->capture_default_str();
    app.add_option("--hardness", options.hardness,
                   "Add the hardness from a solve CSV or a solved design's index to the report")
        ->type_name("CSV");
    app.add_option("--hardness-x", options.hardnessX, "The measure drawn against the gap")
        ->capture_default_str();
    app.add_option("PATH", options.paths, "Instance files, directories or globs")->required();
    measure::ReportOptions report;
    const auto check = [&] {
        const auto comma = options.scatter.find(',');
        if (comma == std::string::npos) {
            throw CLI::ValidationError("--scatter", "takes two measures X,Y");
        }
        report.title = options.title;
        report.scatterX = options.scatter.substr(0, comma);
        report.scatterY = options.scatter.substr(comma + 1);
        measure::measureValue(InstanceMeasures{}, report.scatterX);
        measure::measureValue(InstanceMeasures{}, report.scatterY);
        if (!options.hardness.empty() && options.report.empty()) {
            throw CLI::ValidationError("--hardness", "draws into the report: give --report too");
        }
    };
    try {
        const auto refuse = [&](const std::string& fault) { err << fault << "\n" << app.help(); };
        if (const auto done = cli::parseArguments(app, args, out, refuse, check)) {
            return *done;
        }
    } catch (const std::invalid_argument& e) {
        err << "--scatter: " << e.what() << "\n";
        return kExitUsage;
    }
    report.hardnessX = options.hardnessX;
    try {
        measure::measureValue(InstanceMeasures{}, report.hardnessX);
    } catch (const std::invalid_argument& e) {
        err << "--hardness-x: " << e.what() << "\n";
        return kExitUsage;
    }

    bool failed = false;
    std::vector<InputFile> found;
    for (const std::string& path : options.paths) {
        expandPath(path, found, err, failed);
    }
    std::vector<InputFile> files;
    std::vector<ReportEntry> rows;
    measure::InstanceMeter meter;
    for (InputFile& file : found) {
        if (stopRequested(stop)) {
            err << "tavrin-cli measure: stopped; nothing written\n";
            return cli::interruptedExitStatus();
        }
        try {
            InstanceMeasures measures = meter.measure(formats::readInstanceFile(file.path));
            rows.push_back({file.group, std::move(measures)});
            files.push_back(std::move(file));
        } catch (const formats::FormatError& e) {
            err << e.what() << "\n";
            failed = true;
        } catch (const std::invalid_argument& e) {
            err << file.path << ": " << e.what() << "\n";
            failed = true;
        }
    }
    if (options.out.empty()) {
        writeCsv(files, rows, out);
    } else if (!writeFile(options.out, err, [&](std::ostream& o) { writeCsv(files, rows, o); })) {
        failed = true;
    }
    if (!options.hardness.empty() && !attachHardness(options.hardness, files, rows, err)) {
        failed = true;
    }
    if (!options.report.empty() && !writeFile(options.report, err, [&](std::ostream& o) {
            measure::writeReport(rows, report, o);
        })) {
        failed = true;
    }
    return failed ? kExitFailure : kExitOk;
}

} // namespace tavrin
