#pragma once

#include <optional>
#include <string>

namespace tavrin::cli {

// Checked before a run, so that a bad output choice is refused at once instead of after it.
// Each gives the message to show, or nothing when the output can be written.

// The directory exists and is writable, or is missing and its nearest existing ancestor is a
// writable directory, so that it can be created. Nothing is created here.
std::optional<std::string> checkExportDirectory(const std::string& directory);

// The CSV can be put at path: its directory exists and is writable and path is no directory.
std::optional<std::string> checkCsvDestination(const std::string& path);

} // namespace tavrin::cli
