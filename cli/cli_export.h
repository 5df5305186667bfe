#pragma once

#include "cli/cli_options.h"
#include "engine/run_driver.h"
#include "engine/run_settings.h"
#include "export/export_batch.h"

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
// read their fields; checks the resource settings when files are asked for.
ExportChoicesResult readExportChoices(const CliOptions& options, const RunSettings& settings);

// The pool of a finished run, selected as the result page selects.
ExportPool selectNetworks(const ExportChoices& choices, const RunSettings& settings,
                          const RunResult& result);

// "Number of files cannot be negative" and friends.
inline constexpr const char* kNegativeFilesMessage = "Number of files cannot be negative";

} // namespace tavrin::cli
