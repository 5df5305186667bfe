#include "session/generation_session.h"

#include "export/format_instance.h"
#include "session/file_hash.h"

#include <algorithm>
#include <span>

namespace tavrin {

std::string exportFileName(const ExportFileSettings& files, std::int32_t number,
                           formats::InstanceFormat format) {
    return instanceFileName(files.directory, files.prefix, number,
                            formats::formatExtension(format));
}

void GenerationSession::run(const RunSettings& settings, double timeLimitSeconds, std::int32_t seed,
                            const RunHooks& hooks) {
    m_result = {};
    m_batch.reset();
    m_settings = settings;
    m_result = runGeneration(settings, timeLimitSeconds, seed, m_random, hooks);
    const NetworkStore& kept = store();
    if (settings.variant == GeneratorVariant::Tavrin1) {
        const auto count = static_cast<std::size_t>(kept.count());
        m_ci = formCiHistogram(std::span<const std::int32_t>(
            m_result.storedCi.data(), std::min(count, m_result.storedCi.size())));
        return;
    }
    m_records.clear();
    for (int slot = 0; slot < kept.count(); ++slot) {
        m_records.push_back(kept.indicators(slot));
    }
    m_histograms = countIndicators(m_records, {});
}

void GenerationSession::setExportSettings(const RunSettings& settings) {
    m_settings = settings;
    m_batch.reset();
}

void GenerationSession::selectCi(std::int32_t low, std::int32_t high) {
    m_pool.rebuildTavrin1(m_result.storedCi, low, high);
    m_ciSelectedLow = low;
    m_ciSelectedHigh = high;
}

bool GenerationSession::selectIndicators(const std::array<std::int32_t, 8>& bounds) {
    m_pool.rebuildTavrin2(std::span<const IndicatorRecord>(m_records), bounds);
    std::vector<int> selected;
    selected.reserve(static_cast<std::size_t>(m_pool.length()));
    for (int i = 0; i < m_pool.length(); ++i) {
        selected.push_back(m_pool.slot(i));
    }
    const bool changed = selected != m_selectedSlots;
    m_selectedSlots = std::move(selected);
    m_histograms = countIndicators(m_records, m_selectedSlots);
    return changed;
}

void GenerationSession::select(const std::optional<std::array<std::int32_t, 2>>& ciRange,
                               const std::array<std::int32_t, 8>& indicatorBounds) {
    if (m_settings.variant == GeneratorVariant::Tavrin2) {
        selectIndicators(indicatorBounds);
    } else if (ciRange) {
        selectCi((*ciRange)[0], (*ciRange)[1]);
    } else {
        selectCi(m_ci.low, m_ci.high);
    }
}

void GenerationSession::clearSelection() {
    m_pool.clear();
    m_selectedSlots.clear();
    m_histograms = countIndicators(m_records, {});
    m_ciSelectedLow = 0;
    m_ciSelectedHigh = -1;
}

ExportBatch& GenerationSession::batch() {
    if (!m_batch) {
        m_batch.emplace(store().activityCount(), m_settings);
    }
    return *m_batch;
}

ExportBatchResult GenerationSession::exportBatch(const ExportFileSettings& files) {
    if (!hasRun()) {
        return {0, files.startNumber, kMoreFilesMessage};
    }
    return runExportBatch(store(), m_pool, m_random, m_settings, files);
}

ExportOutcome GenerationSession::exportFiles(const ExportFileSettings& files,
                                             const std::atomic<bool>* stop, bool hashFiles) {
    const NetworkStore& kept = store();
    return exportFrom([&kept](int slot) { return kept.row(slot); }, m_pool, m_random, files, stop,
                      hashFiles);
}

ExportOutcome GenerationSession::exportFrom(const ArcSetRows& rows, ExportPool& pool,
                                            RandomSource& random, const ExportFileSettings& files,
                                            const std::atomic<bool>* stop, bool hashFiles) {
    ExportOutcome outcome;
    ExportFileSettings one = files;
    one.count = 1;
    m_classActive = files.instanceClass.active();
    for (std::int32_t k = 0; k < files.count; ++k) {
        if (stop != nullptr && stop->load()) {
            outcome.interrupted = true;
            break;
        }
        // Drawing and completing one instance per call takes the same random numbers, in the
        // same order, as one call for all of them.
        one.startNumber = files.startNumber + k;
        const ExportBatchResult written = batch().run(rows, pool, random, one);
        if (written.error) {
            outcome.error = written.error;
            break;
        }
        ++outcome.instancesWritten;
        for (const formats::InstanceFormat format : files.formats) {
            const std::string path = exportFileName(files, one.startNumber, format);
            WrittenFile file{path.substr(files.directory.size() + 1), {}};
            if (hashFiles) {
                file.sha256 = fileSha256(path);
            }
            outcome.files.push_back(std::move(file));
        }
    }
    return outcome;
}

const formats::Instance& GenerationSession::lastInstance() {
    if (m_classActive) {
        return batch().model();
    }
    fillFormatInstance(batch().instance(), m_model);
    return m_model;
}

} // namespace tavrin
