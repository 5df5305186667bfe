#pragma once

#include "engine/network_store.h"
#include "engine/random_source.h"
#include "engine/run_settings.h"
#include "export/export_pool.h"
#include "export/instance_class.h"
#include "export/project_instance.h"
#include "export/rcp_writer.h"
#include "formats/instance.h"
#include "formats/instance_format.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrin {

inline constexpr const char* kMoreFilesMessage = "More files requested than existing networks";
inline constexpr const char* kAlertTitle = "Alert!";
inline constexpr const char* kWarningTitle = "Warning!";
inline constexpr const char* kCreateDirectoryQuestion =
    "The directory specified does not exist! Do you want to create it?";
inline constexpr const char* kDirectoryNotCreatedMessage = "The directory could not be created!";

// The resource settings an export can complete; checkResourceSettings adds ", not <value>.".
inline constexpr const char* kResourceCountRange =
    "The number of resources must be between 1 and 32";
inline constexpr const char* kResourceFactorRange =
    "The resource factor (RF) must be between 0 and 1";
inline constexpr const char* kResourceUseRange =
    "The resource use (RU) must be between 1 and the number of resources";
inline constexpr const char* kResourceConstrainednessRange =
    "The resource constrainedness (RC) must be between 0 and 1";
inline constexpr const char* kResourceStrengthRange =
    "The resource strength (RS) must be between 0 and 1";
// A prefix is part of each file name, never a path: with no separator, ".." cannot be a component.
inline constexpr const char* kFilePrefixRule =
    "The file prefix must not contain a path separator or a control character";
// Followed by the range of numbers a batch would need.
inline constexpr const char* kFileNumbersRange =
    "The file numbers must lie between -2147483648 and 2147483647";

// The numbers start .. start + count - 1 of a batch beyond 32 bits, with the message; nothing
// when they fit. A count of zero or less numbers no file, so any start fits.
std::optional<std::string> checkFileNumbers(std::int32_t start, std::int32_t count);

// Joins a directory and a file name: a backslash on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The Save Files fields, converted.
struct ExportFileSettings {
    ExportFileSettings() = default;
    ExportFileSettings(std::string directory_, std::string prefix_, std::int32_t count_,
                       std::int32_t startNumber_)
        : directory(std::move(directory_)), prefix(std::move(prefix_)), count(count_),
          startNumber(startNumber_) {}

    std::string directory;
    std::string prefix = "Pat";
    std::int32_t count = 10;
    std::int32_t startNumber = 1;
    // The files of each instance, one per format, named with the format's extension.
    std::vector<formats::InstanceFormat> formats{formats::InstanceFormat::Rcp};
    // Extra provenance (seed, design cell, ...) for the formats that have room for it.
    formats::Provenance provenance;
    // Multi-mode or time-lag instances instead of the single-mode ones; such instances have no
    // .rcp form.
    InstanceClass instanceClass;
};

// After the network's number: no draw gave an instance that passed its feasibility checks.
inline constexpr const char* kNoFeasibleInstanceMessage =
    "No feasible instance could be drawn from network";
// Draws per network before kNoFeasibleInstanceMessage.
inline constexpr int kClassAttempts = 100;

// A prefix that would put files outside the chosen directory or make unusable names (a path
// separator, ".." as a component, a control character), with the message; nothing when valid.
std::optional<std::string> checkFilePrefix(const std::string& prefix);

// directory + separator + prefix + number + extension; the separator is the platform's.
std::string instanceFileName(const std::string& directory, const std::string& prefix,
                             std::int32_t number, std::string_view extension = ".rcp");

// Output in a Tavrin folder of the user's home ("C:\Tavrin\Output" on Windows).
std::string defaultExportDirectory();

// A resource setting that would make the completion divide by zero or write nonsense, with the
// message to show; nothing when every value can be completed. Only the value of the chosen
// request and demand measure is checked, since only that one is read.
std::optional<std::string> checkResourceSettings(const RunSettings& settings);

// A batch that refuses to start (settings, count above the pool length, numbers beyond 32 bits)
// writes nothing and keeps the start number; once started, the next start is startNumber + count
// even when a write fails part way.
struct ExportBatchResult {
    int filesWritten = 0; // instances whose files, one per format, were all written
    // startNumber + count, the dialog's next start; 64-bit, since after file 2147483647 it is
    // 2147483648, from which no batch can start.
    std::int64_t nextStartNumber = 0;
    std::optional<std::string> error; // the file that could not be written, and why
};

// The stored ArcSet of a slot.
using ArcSetRows = std::function<const Word*(int slot)>;

// Completes one stored network: precedences and durations, the requirement pattern, demands and
// availabilities, drawing from the source in that order. Requires checked resource settings and
// an instance sized for their n and K.
void completeInstance(ProjectInstance& instance, const Word* arcSet, const RunSettings& resources,
                      RandomSource& random);

// Completes one stored network into a multi-mode or time-lag instance in model: the single-mode
// completion first, then the modes or the lags, redrawing up to kClassAttempts times while the
// checks fail (an unknown resource check passes only with keepUnknown). Returns the feasibility
// of the instance kept, nothing when no draw passed.
std::optional<formats::Feasibility>
completeClassInstance(ProjectInstance& instance, formats::Instance& model, const Word* arcSet,
                      const RunSettings& resources, const InstanceClass& instanceClass,
                      RandomSource& random);

// One export: the instance and writer tables are sized here, once, from n and the K of the
// resource settings, and serve every file of the batch.
class ExportBatch {
public:
    // Throws std::invalid_argument when checkResourceSettings refuses the settings.
    ExportBatch(int activityCount, const RunSettings& resources);

    // Draws files.count slots from the pool (refusing more than it holds), completes each and
    // writes it once per format of files.formats, numbering from files.startNumber. Stops at the
    // first file that cannot be written. The formats draw nothing: the files of any choice of
    // formats come from the same instances.
    ExportBatchResult run(const ArcSetRows& rows, ExportPool& pool, RandomSource& random,
                          const ExportFileSettings& files);

    // The instance of the file written last.
    const ProjectInstance& instance() const { return m_instance; }
    // The instance model of the file written last, for the formats other than .rcp.
    const formats::Instance& model() const { return m_model; }

private:
    void writeFiles(const ExportFileSettings& files, std::int32_t number);

    RunSettings m_resources;
    ProjectInstance m_instance;
    RcpWriter m_writer;
    std::string m_path;
    // The other formats go through the instance model; provenance ends with the file number.
    formats::Instance m_model;
    formats::Provenance m_provenance;
    std::string m_text;
    bool m_classActive = false;
    formats::Feasibility m_feasibility = formats::Feasibility::Feasible;
};

// How the files of an export were made: program, version, variant, activities, target, resource
// settings, then extra (seed, design cell, ...) and a last "file_number" entry left empty.
formats::Provenance exportProvenance(const RunSettings& settings, const formats::Provenance& extra);

// Draws count slots from the pool (which the caller has just rebuilt), completes each into an
// instance from the resource settings and writes it, numbering files from startNumber. The
// source continues its sequence. A failed write stops the batch and is reported, and never
// leaves a partial file behind.
ExportBatchResult runExportBatch(const NetworkStore& store, ExportPool& pool, RandomSource& random,
                                 const RunSettings& resources, const ExportFileSettings& files);

} // namespace tavrin
