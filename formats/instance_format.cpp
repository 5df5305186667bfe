#include "formats/instance_format.h"

#include <array>
#include <cctype>
#include <string>

namespace tavrin::formats {
namespace {

struct FormatEntry {
    InstanceFormat format;
    std::string_view name;
    std::string_view extension;
};

constexpr std::array<FormatEntry, 6> kFormats{{
    {InstanceFormat::Rcp, "rcp", ".rcp"},
    {InstanceFormat::Sm, "sm", ".sm"},
    {InstanceFormat::Dzn, "dzn", ".dzn"},
    {InstanceFormat::Json, "json", ".json"},
    {InstanceFormat::Mm, "mm", ".mm"},
    {InstanceFormat::Sch, "sch", ".sch"},
}};

const FormatEntry& entryOf(InstanceFormat format) {
    return kFormats[static_cast<std::size_t>(format)];
}

} // namespace

std::string_view formatName(InstanceFormat format) {
    return entryOf(format).name;
}

std::string_view formatExtension(InstanceFormat format) {
    return entryOf(format).extension;
}

std::optional<InstanceFormat> parseFormatName(std::string_view name) {
    for (const FormatEntry& entry : kFormats) {
        if (entry.name == name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

std::optional<InstanceFormat> formatOfPath(std::string_view path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos) {
        return std::nullopt;
    }
    std::string extension(path.substr(dot));
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const FormatEntry& entry : kFormats) {
        if (entry.extension == extension) {
            return entry.format;
        }
    }
    return std::nullopt;
}

} // namespace tavrin::formats
