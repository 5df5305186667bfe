#include "design/design_folder.h"

#include "design/design_index.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace tavrin::design {
namespace {

namespace fs = std::filesystem;

std::string journalPath(const std::string& dir) {
    return (fs::path(dir) / kJournalFileName).string();
}

void writeAll(int fd, const std::string& text, const std::string& path) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
        }
        done += static_cast<std::size_t>(written);
    }
}

} // namespace

FolderLock::FolderLock(const std::string& dir) {
    m_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        throw std::runtime_error("cannot open the folder " + dir + ": " + std::strerror(errno));
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        // Some network file systems have no locks (Lustre without -o flock, NFS without lockd):
        // there the manifest written before the first file still keeps other designs out.
        if (error == ENOLCK || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL) {
            return;
        }
        ::close(m_fd);
        throw std::runtime_error(error == EWOULDBLOCK ? dir + " is in use by another run"
                                                      : "cannot lock the folder " + dir + ": "
                                                            + std::strerror(error));
    }
}

FolderLock::~FolderLock() {
    ::close(m_fd); // releases the lock
}

// ".tavrin-" then 16 hex digits then ".tmp".
bool isOurTemporaryName(const std::string& name) {
    constexpr std::string_view kHead = ".tavrin-";
    constexpr std::string_view kTail = ".tmp";
    constexpr std::size_t kDigits = 16;
    if (name.size() != kHead.size() + kDigits + kTail.size() || name.rfind(kHead, 0) != 0
        || name.compare(name.size() - kTail.size(), kTail.size(), kTail) != 0) {
        return false;
    }
    for (std::size_t at = kHead.size(); at < kHead.size() + kDigits; ++at) {
        if (std::strchr("0123456789abcdef", name[at]) == nullptr) {
            return false;
        }
    }
    return true;
}

bool isPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    return std::ranges::none_of(name, [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 0x20 || code == 0x7f || c == '/' || c == '\\';
    });
}

void removeStaleTemporaryFiles(const std::string& dir) {
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        if (isOurTemporaryName(it->path().filename().string())
            && it->symlink_status(error).type() == fs::file_type::regular) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

void appendJournal(const std::string& dir, const std::vector<std::string>& header,
                   const std::string& rows) {
    const std::string path = journalPath(dir);
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    }
    try {
        const off_t size = ::lseek(fd, 0, SEEK_END);
        writeAll(fd, size == 0 ? writeCsv({header, {}}) + rows : rows, path);
        if (::fdatasync(fd) != 0) {
            throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

std::vector<std::vector<std::string>> readJournal(const std::string& dir,
                                                  const std::vector<std::string>& header) {
    const auto text = readWholeFile(journalPath(dir));
    if (!text) {
        return {};
    }
    // A kill mid-append leaves a cut last line: only whole lines count.
    const std::size_t end = text->rfind('\n');
    if (end == std::string::npos) {
        return {};
    }
    try {
        CsvTable table = readCsv(std::string_view(*text).substr(0, end + 1));
        return table.header == header ? std::move(table.rows)
                                      : std::vector<std::vector<std::string>>{};
    } catch (const std::runtime_error&) {
        return {};
    }
}

void removeJournal(const std::string& dir) {
    std::error_code ignored;
    fs::remove(journalPath(dir), ignored);
}

} // namespace tavrin::design
