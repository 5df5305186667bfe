#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrin {

// A file that could not be created, written or put in place; what() names the file and the
// reason given by the system.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(const std::string& path, const std::string& reason);
    const std::string& path() const { return m_path; }
    const std::string& reason() const { return m_reason; }

private:
    std::string m_path;
    std::string m_reason;
};

// Writes bytes to a temporary file beside path and renames it into place, so that path holds
// either its earlier content or all of the bytes. The temporary name is random and created
// exclusively, so stale temporary files of earlier runs never block a write. Safe to call from
// several threads at once. Throws FileWriteError.
void replaceFile(const std::string& path, std::string_view bytes);

// Creates an output folder and its parents when missing. Returns why it cannot, "a file of that
// name exists" when something else is in the way, and nothing when the folder is there.
std::optional<std::string> createOutputFolder(const std::string& path);

// Removes every temporary file that replaceFile is writing right now. Async-signal-safe: meant
// for a signal handler that ends the process at once.
void removeTemporaryFilesNow() noexcept;

} // namespace tavrin
