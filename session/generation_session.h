#pragma once

#include "engine/network_store.h"
#include "engine/random_source.h"
#include "engine/run_driver.h"
#include "engine/run_settings.h"
#include "export/export_batch.h"
#include "export/export_pool.h"
#include "formats/instance.h"
#include "session/selection_counts.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

// A file an export wrote: its name inside the export directory and, when asked for, the
// SHA-256 of its bytes in lower-case hex.
struct WrittenFile {
    std::string name;
    std::string sha256;
};

// The files of one export and how it ended.
struct ExportOutcome {
    int instancesWritten = 0; // each in every format asked for
    bool interrupted = false;
    std::optional<std::string> error;
    std::vector<WrittenFile> files;
};

// The name of an instance's file in one of the export's formats, with the directory.
std::string exportFileName(const ExportFileSettings& files, std::int32_t number,
                           formats::InstanceFormat format);

// One generation cycle: the run with its settings and random source, the kept networks and
// their records, the selection made from them, and the exports drawn from that selection. The
// desktop window, the command line and the design cells all go through it, so the same inputs
// give the same files whichever of them asks.
class GenerationSession {
public:
    // Runs one generation from the seed; the source keeps its state for the exports. Throws as
    // runGeneration does, leaving the session without a run.
    void run(const RunSettings& settings, double timeLimitSeconds, std::int32_t seed,
             const RunHooks& hooks);

    bool hasRun() const { return m_result.store != nullptr; }
    const RunResult& result() const { return m_result; }
    const NetworkStore& store() const { return *m_result.store; }
    const RunSettings& settings() const { return m_settings; }
    RandomSource& random() { return m_random; }
    // The resource settings may be edited between the run and an export.
    void setExportSettings(const RunSettings& settings);

    // Tavrin1: the networks whose CI lies in low..high.
    void selectCi(std::int32_t low, std::int32_t high);
    // Tavrin2: the networks inside the I3..I6 bounds (whole percentages); true when the
    // selected slots differ from the last selection's.
    bool selectIndicators(const std::array<std::int32_t, 8>& bounds);
    // The variant's selection, the CI range defaulting to the run's lowest and highest CI.
    void select(const std::optional<std::array<std::int32_t, 2>>& ciRange,
                const std::array<std::int32_t, 8>& indicatorBounds);
    // Nothing selected, as when a bound cannot be read.
    void clearSelection();

    ExportPool& pool() { return m_pool; }
    const ExportPool& pool() const { return m_pool; }
    int selectedCount() const { return m_pool.poolCount(); }
    const CiHistogram& ciHistogram() const { return m_ci; }
    // Tavrin2: the counts of all kept networks from the run on, of the selected ones from the
    // last selection.
    const IndicatorHistograms& indicatorHistograms() const { return m_histograms; }
    std::int32_t ciSelectedLow() const { return m_ciSelectedLow; }
    std::int32_t ciSelectedHigh() const { return m_ciSelectedHigh; }

    // One batch from the pool, refused whole when it asks for more than the pool holds.
    ExportBatchResult exportBatch(const ExportFileSettings& files);
    // files.count instances, one at a time, so that a raised stop (may be null) ends the export
    // between two instances and every file on disk is whole. With hashFiles each file written
    // is read back and its SHA-256 recorded.
    ExportOutcome exportFiles(const ExportFileSettings& files, const std::atomic<bool>* stop,
                              bool hashFiles = false);
    // The same from other rows, pool and source: paired designs complete one network in
    // several ways, each from a source of its own.
    ExportOutcome exportFrom(const ArcSetRows& rows, ExportPool& pool, RandomSource& random,
                             const ExportFileSettings& files, const std::atomic<bool>* stop,
                             bool hashFiles = false);
    // The instance of the file written last, in the model every format reads.
    const formats::Instance& lastInstance();

private:
    ExportBatch& batch();

    RunSettings m_settings;
    RandomSource m_random;
    RunResult m_result;
    std::vector<IndicatorRecord> m_records;
    ExportPool m_pool;
    CiHistogram m_ci;
    IndicatorHistograms m_histograms;
    std::vector<int> m_selectedSlots;
    std::int32_t m_ciSelectedLow = 0;
    std::int32_t m_ciSelectedHigh = -1;
    std::optional<ExportBatch> m_batch; // built for the current settings on first use
    bool m_classActive = false;
    formats::Instance m_model;
};

} // namespace tavrin
