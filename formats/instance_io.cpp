#include "formats/instance_io.h"

#include "formats/format_codecs.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace tavrin::formats {
namespace {

std::string messageOf(const std::string& file, int line, const std::string& message) {
    return file + ":" + std::to_string(line) + ": " + message;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Far beyond any instance a study uses, and a guard against reading a disk image by mistake.
constexpr std::size_t kLargestFile = std::size_t{1} << 30;

std::string systemReason() {
    return errno != 0 ? std::strerror(errno) : "unknown error";
}

} // namespace

FormatError::FormatError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(messageOf(file, line, message)), m_file(file), m_line(line) {}

Instance readInstance(InstanceFormat format, std::string_view bytes, const std::string& fileName) {
    switch (format) {
    case InstanceFormat::Rcp:
        return readRcp(bytes, fileName);
    case InstanceFormat::Sm:
        return readSm(bytes, fileName);
    case InstanceFormat::Json:
        return readJson(bytes, fileName);
    case InstanceFormat::Mm:
        return readMm(bytes, fileName);
    case InstanceFormat::Sch:
        return readSch(bytes, fileName);
    case InstanceFormat::Dzn:
        break;
    }
    throw FormatError(fileName, 0, "the .dzn format can be written but not read");
}

Instance readInstanceFile(const std::string& path) {
    // Only regular files: a FIFO would block in open() and a device might never end.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        throw FormatError(path, 0, "cannot open the file: " + error.message());
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw FormatError(path, 0,
                          std::filesystem::is_directory(status) ? "a folder, not a file"
                                                                : "not a regular file");
    }
    const auto format = formatOfPath(path);
    if (!format) {
        throw FormatError(path, 0,
                          "unknown file extension (expected .rcp, .sm, .mm, .sch, .dzn or .json)");
    }
    std::string problem;
    const auto bytes = readWholeFile(path, &problem, kLargestFile);
    if (!bytes) {
        throw FormatError(path, 0, problem);
    }
    return readInstance(*format, *bytes, path);
}

std::optional<std::string> readWholeFile(const std::string& path, std::string* problem,
                                         std::size_t maxBytes) {
    const auto fail = [problem](const std::string& text) {
        if (problem != nullptr) {
            *problem = text;
        }
        return std::nullopt;
    };
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return fail("cannot open the file: " + systemReason());
    }
    std::string bytes;
    std::array<char, 65536> block{};
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
        if (bytes.size() + got > maxBytes) {
            return fail("the file is larger than 1 GiB");
        }
        bytes.append(block.data(), got);
    }
    if (std::ferror(file.get()) != 0) {
        return fail("cannot read the file: " + systemReason());
    }
    return bytes;
}

void writeInstance(InstanceFormat format, const Instance& instance, std::string& out) {
    switch (format) {
    case InstanceFormat::Rcp:
        writeRcp(instance, out);
        return;
    case InstanceFormat::Sm:
        writeSm(instance, out);
        return;
    case InstanceFormat::Dzn:
        writeDzn(instance, out);
        return;
    case InstanceFormat::Json:
        writeJson(instance, out);
        return;
    case InstanceFormat::Mm:
        writeMm(instance, out);
        return;
    case InstanceFormat::Sch:
        writeSch(instance, out);
        return;
    }
}

} // namespace tavrin::formats
