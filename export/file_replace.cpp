#include "export/file_replace.h"

#include "engine/text_conversion.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <system_error>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace tavrin {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif

// Names of the temporary files being written, readable from a signal handler: a slot is
// claimed by one writer, filled, then published; the handler only reads published slots.
constexpr std::size_t kTrackedFiles = 64;
constexpr std::size_t kTrackedPathSize = 4096;

struct TrackedFile {
    std::atomic<bool> claimed{false};
    std::atomic<bool> published{false};
    char path[kTrackedPathSize];
};

std::array<TrackedFile, kTrackedFiles> g_tracked;

// Claims a slot for the lifetime of one write; without a free slot (or for a path too long to
// hold) the file simply goes untracked.
class TemporaryTracking {
public:
    TemporaryTracking() {
        for (TrackedFile& slot : g_tracked) {
            bool expected = false;
            if (slot.claimed.compare_exchange_strong(expected, true)) {
                m_slot = &slot;
                return;
            }
        }
    }
    ~TemporaryTracking() {
        if (m_slot != nullptr) {
            m_slot->published.store(false);
            m_slot->claimed.store(false);
        }
    }
    TemporaryTracking(const TemporaryTracking&) = delete;
    TemporaryTracking& operator=(const TemporaryTracking&) = delete;

    void track(const std::string& path) {
        if (m_slot == nullptr) {
            return;
        }
        m_slot->published.store(false);
        if (path.size() < kTrackedPathSize) {
            std::memcpy(m_slot->path, path.c_str(), path.size() + 1);
            m_slot->published.store(true);
        }
    }
    void forget() {
        if (m_slot != nullptr) {
            m_slot->published.store(false);
        }
    }

private:
    TrackedFile* m_slot = nullptr;
};

// Random, not a counter: a counter restarts with every process and collides with the stale
// files a killed run left behind. Drawn from a generator of its own, never the run's source.
std::string randomSuffix() {
    static std::mutex mutex;
    static std::mt19937_64 generator{[] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }()};
    std::uint64_t value = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        value = generator();
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// A short name of its own, so that a final name close to the system's limit does not fail
// earlier, at the temporary file.
std::string temporaryName(const std::string& path) {
    const std::size_t cut = path.find_last_of(kSeparators);
    std::string name = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    name += ".tavrin-";
    name += randomSuffix();
    name += ".tmp";
    return name;
}

// Creates a temporary file that did not exist before ("x": exclusive), so no file is ever
// overwritten on the way. The name is tracked before the file exists, so a signal can never
// leave it behind.
std::FILE* createTemporary(const std::string& path, std::string& temporary,
                           TemporaryTracking& tracking) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryName(path);
        tracking.track(temporary);
        errno = 0;
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
        if (file != nullptr || errno != EEXIST) {
            if (file == nullptr) {
                tracking.forget();
            }
            return file;
        }
    }
    tracking.forget();
    return nullptr;
}

std::string systemReason(int error) {
    return error != 0 ? std::strerror(error) : "unknown error";
}

void putInPlace(const std::string& temporary, const std::string& path) {
#ifdef _WIN32
    // std::rename refuses an existing target here; filesystem::rename replaces it.
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        throw FileWriteError(path, error.message());
    }
#else
    errno = 0;
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        throw FileWriteError(path, systemReason(error));
    }
#endif
}

} // namespace

FileWriteError::FileWriteError(const std::string& path, const std::string& reason)
    : std::runtime_error("Could not write " + escapedText(path) + ": " + reason), m_path(path),
      m_reason(reason) {}

void replaceFile(const std::string& path, std::string_view bytes) {
    TemporaryTracking tracking;
    std::string temporary;
    std::FILE* file = createTemporary(path, temporary, tracking);
    if (file == nullptr) {
        throw FileWriteError(path, systemReason(errno));
    }
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    errno = 0;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    if (!written || !closed) {
        std::remove(temporary.c_str());
        throw FileWriteError(path, systemReason(!written ? writeError : closeError));
    }
    putInPlace(temporary, path);
}

void removeTemporaryFilesNow() noexcept {
    for (TrackedFile& slot : g_tracked) {
        if (slot.published.load()) {
#ifdef _WIN32
            std::remove(slot.path);
#else
            ::unlink(slot.path);
#endif
        }
    }
}

std::optional<std::string> createOutputFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) {
        return error.message();
    }
    if (!std::filesystem::is_directory(path, error)) {
        return std::string("a file of that name exists");
    }
    return std::nullopt;
}

} // namespace tavrin
