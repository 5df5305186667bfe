#include "cli/instance_paths.h"

#include "design/design_run.h"
#include "formats/instance_format.h"

#include <algorithm>
#include <filesystem>
#include <glob.h>
#include <system_error>

namespace tavrin::cli {

namespace {

namespace fs = std::filesystem;

bool readable(const fs::path& path) {
    const auto format = formats::formatOfPath(path.string());
    return format && *format != formats::InstanceFormat::Dzn;
}

void fileProblem(const std::string& path, const std::string& problem, std::ostream& err,
                 bool& failed) {
    err << path << ": " << problem << "\n";
    failed = true;
}

// A designed data set's manifest and schedules are JSON but no instances.
bool isDataSetFile(const fs::path& path) {
    const std::string name = path.filename().string();
    const std::string schedule = ".schedule.json";
    const bool scheduleFile =
        name.size() > schedule.size()
        && name.compare(name.size() - schedule.size(), schedule.size(), schedule) == 0;
    std::error_code error;
    return (name == design::kManifestFileName || scheduleFile)
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
        if (!readable(entry.path()) || isDataSetFile(entry.path())) {
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

} // namespace

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

} // namespace tavrin::cli
