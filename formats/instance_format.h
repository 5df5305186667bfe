#pragma once

#include <optional>
#include <string_view>

namespace tavrin::formats {

enum class InstanceFormat { Rcp, Sm, Dzn, Json, Mm, Sch };

// "rcp", "sm", "dzn", "json", "mm", "sch": the names users type (--format, --to).
std::string_view formatName(InstanceFormat format);
std::optional<InstanceFormat> parseFormatName(std::string_view name);

// ".rcp", ".sm", ".dzn", ".json", ".mm", ".sch".
std::string_view formatExtension(InstanceFormat format);
// The format of a file name by its extension (case-insensitive); nothing for any other.
std::optional<InstanceFormat> formatOfPath(std::string_view path);

} // namespace tavrin::formats
