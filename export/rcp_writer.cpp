#include "export/rcp_writer.h"

#include "formats/number_text.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <filesystem>
#include <system_error>
#endif

namespace tavrin {
namespace {

std::size_t index(int i) {
    return static_cast<std::size_t>(i);
}

using formats::putField;
using formats::putNumber;
using formats::putText;

// At most 11 characters a number, a space before it when it fills its field and one after it, and
// a line end per line.
std::size_t sizeBound(const ProjectInstance& instance) {
    std::size_t arcs = 0;
    for (const std::int32_t successors : instance.precedence.successorCount) {
        arcs += static_cast<std::size_t>(successors);
    }
    const std::size_t n = index(instance.activityCount);
    const std::size_t k = index(instance.resourceCount);
    const std::size_t fields = 8 + 3 * k + n * (k + 4) + arcs;
    return 13 * fields + 2 * (n + 8);
}

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kZeroField = "   0";

char* putHeader(char* out, const ProjectInstance& instance) {
    const int k = instance.resourceCount;
    out = putText(out, kLineEnd);
    out = putNumber(out, instance.activityCount + 2, 4);
    out = putField(out, k, 5);
    out = putText(out, kLineEnd);
    out = putNumber(out, instance.availability[0], 4);
    for (int r = 1; r < k; ++r) {
        out = putField(out, instance.availability[index(r)], 5);
    }
    return putText(out, kLineEnd);
}

// The dummy start precedes every activity without a predecessor, listed in increasing order.
char* putStartJob(char* out, const ProjectInstance& instance) {
    const std::vector<std::int32_t>& predecessors = instance.precedence.predecessorCount;
    out = putText(out, kLineEnd);
    out = putNumber(out, 0, 4);
    for (int r = 0; r < instance.resourceCount; ++r) {
        out = putText(out, kZeroField);
    }
    std::int32_t roots = 0;
    for (const std::int32_t count : predecessors) {
        roots += count == 0 ? 1 : 0;
    }
    out = putField(out, roots, 4);
    *out++ = ' ';
    for (int a = 0; a < instance.activityCount; ++a) {
        if (predecessors[index(a)] == 0) {
            out = putNumber(out, a + 2);
            *out++ = ' ';
        }
    }
    return out;
}

// Successors come from the direct row's set-bit walk, so in decreasing job number; an activity
// without successors precedes the dummy end only.
char* putActivityJob(char* out, const ProjectInstance& instance, int a) {
    out = putText(out, kLineEnd);
    out = putNumber(out, instance.duration[index(a)], 4);
    for (int r = 0; r < instance.resourceCount; ++r) {
        out = putField(out, instance.demand(a, r), 4);
    }
    const std::int32_t successors = instance.precedence.successorCount[index(a)];
    if (successors == 0) {
        out = putText(out, "   1 ");
        return putNumber(out, instance.activityCount + 2);
    }
    out = putField(out, successors, 4);
    *out++ = ' ';
    forEachSetBit(instance.successorRow(a), instance.rowWords, [&](int b) {
        out = putNumber(out, b + 2);
        *out++ = ' ';
    });
    return out;
}

char* putEndJob(char* out, const ProjectInstance& instance) {
    out = putText(out, kLineEnd);
    out = putText(out, "   0   0");
    for (int r = 0; r < instance.resourceCount; ++r) {
        out = putText(out, kZeroField);
    }
    return putText(out, " \r\n");
}

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif

// A short name of its own, so that a final name close to the system's limit does not fail
// earlier, at the temporary file.
std::string temporaryName(const std::string& path, unsigned serial) {
    const std::size_t cut = path.find_last_of(kSeparators);
    std::string name = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    name += ".tavrin-";
    name += std::to_string(serial);
    name += ".tmp";
    return name;
}

std::atomic<unsigned> g_temporarySerial{0};

// Creates a temporary file that did not exist before ("x": exclusive), so no file is ever
// overwritten on the way.
std::FILE* createTemporary(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        temporary = temporaryName(path, g_temporarySerial++);
        errno = 0;
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
        if (file != nullptr || errno != EEXIST) {
            return file;
        }
    }
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
        throw RcpWriteError(path, error.message());
    }
#else
    errno = 0;
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        throw RcpWriteError(path, systemReason(error));
    }
#endif
}

} // namespace

RcpWriteError::RcpWriteError(const std::string& path, const std::string& reason)
    : std::runtime_error("Could not write " + path + ": " + reason), m_path(path) {}

std::string_view RcpWriter::format(const ProjectInstance& instance) {
    const std::size_t bound = sizeBound(instance);
    if (m_buffer.size() < bound) {
        m_buffer.resize(bound);
    }
    char* const first = m_buffer.data();
    char* out = putHeader(first, instance);
    out = putStartJob(out, instance);
    for (int a = 0; a < instance.activityCount; ++a) {
        out = putActivityJob(out, instance, a);
    }
    out = putEndJob(out, instance);
    assert(static_cast<std::size_t>(out - first) <= bound);
    return std::string_view(first, static_cast<std::size_t>(out - first));
}

void RcpWriter::write(const ProjectInstance& instance, const std::string& path) {
    replaceFile(path, format(instance));
}

void replaceFile(const std::string& path, std::string_view bytes) {
    std::string temporary;
    std::FILE* file = createTemporary(path, temporary);
    if (file == nullptr) {
        throw RcpWriteError(path, systemReason(errno));
    }
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    errno = 0;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    if (!written || !closed) {
        std::remove(temporary.c_str());
        throw RcpWriteError(path, systemReason(!written ? writeError : closeError));
    }
    putInPlace(temporary, path);
}

} // namespace tavrin
