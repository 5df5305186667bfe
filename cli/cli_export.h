#pragma once

#include "cli/cli_options.h"
#include "engine/run_driver.h"
#include "engine/run_settings.h"
#include "export/export_batch.h"
#include "session/generation_session.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tavrin::cli {

// The selection and export choices of the command line, converted.
struct ExportChoices {
    std::optional<std::array<std::int32_t, 2>> ciRange; // empty: the run's lowest and highest
    std::array<std::int32_t, 8> indicatorBounds{0, 100, 0, 100, 0, 100, 0, 100};
    std::optional<ExportFileSettings> files; // empty: no export
};

struct ExportChoicesResult {
    std::optional<ExportChoices> choices;
    std::string error;
};

// Converts the selection and export options the way the result page and the Save Files dialog
// read their fields, and checks what a run could only find out at its end: the resource
// settings, the I3..I6 bounds (fractions 0..1), the prefix and the file numbers. The output
// paths are checked apart (output_checks.h).
ExportChoicesResult readExportChoices(const CliOptions& options, const RunSettings& settings,
                                      std::int32_t seed);

// "Files written: 6 (out/Pat1.rcp to out/Pat6.rcp)", with the formats when there are several
// and the stop when there was one; no newline.
std::string filesWrittenLine(const ExportFileSettings& files, const ExportOutcome& outcome);

// "Number of files cannot be negative" and friends.
inline constexpr const char* kNegativeFilesMessage = "Number of files cannot be negative";
// After "option '--i3' ", followed by ", not '<bound>'".
inline constexpr const char* kIndicatorBoundsRule = "takes bounds between 0 and 1";

} // namespace tavrin::cli
