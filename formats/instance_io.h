#pragma once

#include "formats/instance.h"
#include "formats/instance_format.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrin::formats {

// A file that does not hold a sound instance. what() reads "FILE:LINE: message" (line 0 when the
// fault concerns the whole file).
class FormatError : public std::runtime_error {
public:
    FormatError(const std::string& file, int line, const std::string& message);
    const std::string& file() const { return m_file; }
    int line() const { return m_line; }

private:
    std::string m_file;
    int m_line;
};

// Parses the bytes of a file of the given format; fileName only names the file in errors.
// Throws FormatError for anything but a sound instance: wrong counts, values out of 0..2^31-1,
// successors out of range or repeated, dummy jobs with work, cycles, truncated or trailing text.
// The .dzn format is write-only.
Instance readInstance(InstanceFormat format, std::string_view bytes, const std::string& fileName);

// Reads a file, its format taken from the extension. Throws FormatError, also when the file
// cannot be read or its extension is unknown.
Instance readInstanceFile(const std::string& path);

// The whole content of a file; nothing when it cannot be read, and then the reason in *problem
// when given. A file above maxBytes counts as unreadable.
std::optional<std::string> readWholeFile(const std::string& path, std::string* problem = nullptr,
                                         std::size_t maxBytes = SIZE_MAX);

// Replaces out with the bytes of the instance in the given format (lines end in CR LF in .rcp,
// LF elsewhere); the storage of out is reused. Expects an instance the readers would accept.
// Throws std::invalid_argument for what a format cannot hold: in .sm cyclic precedences, a line
// break in a provenance text or a colon in a provenance key; modes outside .mm, .dzn and JSON;
// time lags outside .sch and JSON.
void writeInstance(InstanceFormat format, const Instance& instance, std::string& out);

} // namespace tavrin::formats
