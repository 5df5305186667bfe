#include "cli/instance_paths.h"

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

void addDirectory(const std::string& directory, std::vector<InputFile>& files, std::ostream& err,
                  bool& failed) {
    std::vector<std::string> found;
    std::error_code error;
    fs::recursive_directory_iterator it(directory, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error) && readable(it->path())) {
            found.push_back(it->path().string());
        }
    }
    if (error) {
        err << directory << ": " << error.message() << "\n";
        failed = true;
    }
    if (found.empty() && !error) {
        err << directory << ": no instance files (.rcp, .sm, .mm, .sch, .json)\n";
        failed = true;
    }
    std::sort(found.begin(), found.end());
    for (std::string& path : found) {
        files.push_back({std::move(path), directory});
    }
}

void addPath(const std::string& path, std::vector<InputFile>& files, std::ostream& err,
             bool& failed) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        addDirectory(path, files, err, failed);
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

} // namespace tavrin::cli
