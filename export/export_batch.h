#pragma once

#include "engine/network_store.h"
#include "engine/random_source.h"
#include "engine/run_settings.h"
#include "export/export_pool.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavrin {

inline constexpr const char* kMoreFilesMessage = "More files requested than existing networks";
inline constexpr const char* kAlertTitle = "Alert!";
inline constexpr const char* kWarningTitle = "Warning!";
inline constexpr const char* kCreateDirectoryQuestion =
    "The directory specified does not exist! Do you want to create it?";
inline constexpr const char* kDirectoryNotCreatedMessage = "The directory could not be created!";

// The Save Files fields, converted.
struct ExportFileSettings {
    std::string directory;
    std::string prefix = "Pat";
    std::int32_t count = 10;
    std::int32_t startNumber = 1;
};

// directory + separator + prefix + number + ".rcp"; the separator is the platform's.
std::string instanceFileName(const std::string& directory, const std::string& prefix,
                             std::int32_t number);

// Output in a Tavrin folder of the user's home ("C:\Tavrin\Output" on Windows).
std::string defaultExportDirectory();

// A resource setting that would make the completion divide by zero or write nonsense, with the
// message to show; nothing when every value can be completed.
std::optional<std::string> checkResourceSettings(const RunSettings& settings);

struct ExportBatchResult {
    int filesWritten = 0;
    std::int32_t nextStartNumber = 0; // startNumber + count, the dialog's next start
    std::optional<std::string> error; // the file that could not be written, and why
};

// Draws count slots from the pool (which the caller has just rebuilt), completes each into an
// instance from the resource settings and writes it, numbering files from startNumber. The
// source continues its sequence. A failed write stops the batch and is reported, and never
// leaves a partial file behind.
ExportBatchResult runExportBatch(const NetworkStore& store, ExportPool& pool, RandomSource& random,
                                 const RunSettings& resources, const ExportFileSettings& files);

} // namespace tavrin
