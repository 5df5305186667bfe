#include "cli/output_checks.h"

#include "export/export_batch.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;

// The reason a directory cannot take new files, or nothing.
std::optional<std::string> unwritableDirectory(const fs::path& directory) {
    std::error_code error;
    if (!fs::is_directory(directory, error)) {
        return std::strerror(fs::exists(directory, error) ? ENOTDIR : ENOENT);
    }
    if (access(directory.c_str(), W_OK | X_OK) != 0) {
        return std::strerror(errno);
    }
    return std::nullopt;
}

fs::path directoryOf(const fs::path& path) {
    const fs::path parent = path.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

} // namespace

std::optional<std::string> checkExportDirectory(const std::string& directory) {
    if (directory.empty()) {
        return std::string(kDirectoryNotCreatedMessage) + " (the directory name is empty)";
    }
    std::error_code error;
    fs::path nearest(directory);
    while (!fs::exists(nearest, error)) {
        const fs::path parent = directoryOf(nearest);
        if (parent == nearest) {
            break;
        }
        nearest = parent;
    }
    if (const auto reason = unwritableDirectory(nearest)) {
        const bool missing = nearest != fs::path(directory);
        return missing ? std::string(kDirectoryNotCreatedMessage) + " (" + directory + ": "
                             + nearest.string() + ": " + *reason + ")"
                       : "cannot write into '" + directory + "': " + *reason;
    }
    return std::nullopt;
}

std::optional<std::string> checkCsvDestination(const std::string& path) {
    const auto cannotOpen = [&path](const std::string& reason) {
        return "cannot open '" + path + "' for writing: " + reason;
    };
    if (path.empty()) {
        return cannotOpen(std::strerror(ENOENT));
    }
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) {
        return cannotOpen(std::strerror(EISDIR));
    }
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        // A device or a pipe is written in place; the directory does not matter.
        if (access(path.c_str(), W_OK) != 0) {
            return cannotOpen(std::strerror(errno));
        }
        return std::nullopt;
    }
    if (const auto reason = unwritableDirectory(directoryOf(path))) {
        return cannotOpen(*reason);
    }
    return std::nullopt;
}

} // namespace tavrin::cli
