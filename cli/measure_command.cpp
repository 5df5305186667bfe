#include "cli/measure_command.h"

#include "cli/cli_app.h"
#include "cli/stop_signals.h"
#include "design/design_run.h"
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
#include <glob.h>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace tavrin {

namespace {

namespace fs = std::filesystem;
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
    std::vector<std::string> paths;
};

// A file to measure and the set it is shown in: the directory named on the command line, or
// for a file the folder it lies in.
struct InputFile {
    std::string path;
    std::string group;
};

bool readable(const fs::path& path) {
    const auto format = formats::formatOfPath(path.string());
    return format && *format != formats::InstanceFormat::Dzn;
}

void fileProblem(const std::string& path, const std::string& problem, std::ostream& err,
                 bool& failed) {
    err << path << ": " << problem << "\n";
    failed = true;
}

// A design's manifest is JSON but no instance.
bool isDataSetManifest(const fs::path& path) {
    std::error_code error;
    return path.filename() == design::kManifestFileName
           && fs::exists(path.parent_path() / design::kIndexFileName, error);
}

// Walks a folder, subfolders too (not through links to folders), collecting the instance files.
// Only regular files are read: a FIFO would block and a device never end. Whatever cannot be
// read (a folder, a broken or looping link, a special file) is named.
void scanFolder(const fs::path& folder, std::vector<std::string>& found, std::ostream& err,
                bool& failed) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        fileProblem(folder.string(), error.message(), err, failed);
    }
    for (const fs::directory_entry& entry : entries) {
        std::error_code linkError;
        if (entry.symlink_status(linkError).type() == fs::file_type::directory) {
            scanFolder(entry.path(), found, err, failed);
            continue;
        }
        if (!readable(entry.path()) || isDataSetManifest(entry.path())) {
            continue;
        }
        std::error_code statusError;
        const fs::file_status status = entry.status(statusError);
        if (statusError) {
            fileProblem(entry.path().string(), statusError.message(), err, failed);
        } else if (!fs::is_regular_file(status)) {
            fileProblem(entry.path().string(), "not a regular file", err, failed);
        } else {
            found.push_back(entry.path().string());
        }
    }
}

void addDirectory(const std::string& directory, std::vector<InputFile>& files, std::ostream& err,
                  bool& failed) {
    std::vector<std::string> found;
    bool scanFailed = false;
    scanFolder(directory, found, err, scanFailed);
    if (found.empty() && !scanFailed) {
        err << directory << ": no instance files (.rcp, .sm, .mm, .sch, .json)\n";
    }
    failed = failed || scanFailed || found.empty();
    std::sort(found.begin(), found.end());
    for (std::string& path : found) {
        files.push_back({std::move(path), directory});
    }
}

void addPath(const std::string& path, std::vector<InputFile>& files, std::ostream& err,
             bool& failed) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) {
        addDirectory(path, files, err, failed);
    } else if (error) {
        fileProblem(path, error.message(), err, failed);
    } else if (!fs::is_regular_file(status)) {
        fileProblem(path, "not a regular file", err, failed);
    } else {
        const std::string folder = fs::path(path).parent_path().string();
        files.push_back({path, folder.empty() ? "." : folder});
    }
}

// Globs the shell left alone (quoted, or a shell that does not expand them).
void expandPath(const std::string& path, std::vector<InputFile>& files, std::ostream& err,
                bool& failed) {
    std::error_code error;
    if (fs::exists(path, error) || path.find_first_of("*?[") == std::string::npos) {
        addPath(path, files, err, failed);
        return;
    }
    glob_t matches{};
    const int result = glob(path.c_str(), 0, nullptr, &matches);
    if (result == 0) {
        for (std::size_t i = 0; i < matches.gl_pathc; ++i) {
            addPath(matches.gl_pathv[i], files, err, failed);
        }
    } else {
        err << path << ": no file matches\n";
        failed = true;
    }
    globfree(&matches);
}

std::string csvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

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
    out << "file";
    for (const std::string& name : names) {
        out << ',' << name;
    }
    out << '\n';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out << csvCell(files[i].path);
        std::vector<std::string> fields =
            measure::measureCsvFields(rows[i].measures, maxResources);
        if (classes) {
            const auto more = measure::classCsvFields(rows[i].measures.instanceClass);
            fields.insert(fields.end(), more.begin(), more.end());
        }
        for (const std::string& field : fields) {
            out << ',' << field;
        }
        out << '\n';
    }
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
    app.add_option("PATH", options.paths, "Instance files, directories or globs")->required();
    measure::ReportOptions report;
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
        const auto comma = options.scatter.find(',');
        if (comma == std::string::npos) {
            throw CLI::ValidationError("--scatter", "takes two measures X,Y");
        }
        report.title = options.title;
        report.scatterX = options.scatter.substr(0, comma);
        report.scatterY = options.scatter.substr(comma + 1);
        measure::measureValue(InstanceMeasures{}, report.scatterX);
        measure::measureValue(InstanceMeasures{}, report.scatterY);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << e.what() << "\n" << app.help();
        return kExitUsage;
    } catch (const std::invalid_argument& e) {
        err << "--scatter: " << e.what() << "\n";
        return kExitUsage;
    }

    bool failed = false;
    std::vector<InputFile> found;
    for (const std::string& path : options.paths) {
        expandPath(path, found, err, failed);
    }
    std::vector<InputFile> files;
    std::vector<ReportEntry> rows;
    for (InputFile& file : found) {
        if (stopRequested(stop)) {
            err << "tavrin-cli measure: stopped; nothing written\n";
            return cli::interruptedExitStatus();
        }
        try {
            InstanceMeasures measures =
                measure::measureInstance(formats::readInstanceFile(file.path));
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
    if (!options.report.empty() && !writeFile(options.report, err, [&](std::ostream& o) {
            measure::writeReport(rows, report, o);
        })) {
        failed = true;
    }
    return failed ? kExitFailure : kExitOk;
}

} // namespace tavrin
