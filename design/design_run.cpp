#include "design/design_run.h"

#include "design/design_cell_run.h"
#include "design/design_folder.h"
#include "design/design_index.h"
#include "design/design_manifest.h"
#include "export/file_replace.h"
#include "export/rcp_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace tavrin::design {
namespace {

namespace fs = std::filesystem;

std::string pathIn(const std::string& dir, const std::string& name) {
    return (fs::path(dir) / name).string();
}

DesignRunResult refusal(std::string message) {
    DesignRunResult result;
    result.error = std::move(message);
    result.refused = true;
    return result;
}

DesignRunResult failure(std::string message) {
    DesignRunResult result;
    result.error = std::move(message);
    return result;
}

using FinishedCells = std::map<int, std::vector<IndexRow>>;

// Rows by cell; a cell the journal lists takes the journal's rows, the later record.
FinishedCells rowsByCell(const std::vector<std::string>& header,
                         const std::vector<std::vector<IndexRow>>& sources) {
    const CsvTable columns{header, {}};
    const std::size_t cellColumn = columns.column("cell");
    const std::size_t fileColumn = columns.column("file");
    FinishedCells cells;
    for (const auto& rows : sources) {
        FinishedCells found;
        for (const IndexRow& row : rows) {
            if (!isPlainName(row[fileColumn])) {
                throw std::runtime_error("'" + row[fileColumn] + "' is not a file of the set");
            }
            found[indexCell(row[cellColumn])].push_back(row);
        }
        for (auto& [cell, cellRows] : found) {
            cells[cell] = std::move(cellRows);
        }
    }
    return cells;
}

// Cells of this run that an earlier run finished, by the index and the journal of cells finished
// since: every index row present and every file as the index hashed it.
FinishedCells finishedCells(const Design& design, const std::vector<CheckedCell>& cells,
                            const std::string& outDir) {
    const std::vector<std::string> header = indexHeader(design);
    std::vector<IndexRow> indexRows;
    if (const auto text = readWholeFile(pathIn(outDir, kIndexFileName))) {
        CsvTable index = readCsv(*text);
        if (index.header == header) {
            indexRows = std::move(index.rows);
        }
    }
    FinishedCells finished =
        rowsByCell(header, {std::move(indexRows), readJournal(outDir, header)});
    const std::size_t fileColumn = CsvTable{header, {}}.column("file");
    const std::size_t shaColumn = header.size() - 1;
    const std::size_t perCell = static_cast<std::size_t>(design.instances) * design.formats.size();
    std::set<int> wanted;
    for (const CheckedCell& cell : cells) {
        wanted.insert(cell.cell.index);
    }
    const CsvTable columns{header, {}};
    const auto sound = [&](const std::vector<IndexRow>& rows) {
        return std::all_of(rows.begin(), rows.end(), [&](const IndexRow& row) {
            const auto bytes = readWholeFile(pathIn(outDir, row[fileColumn]));
            const std::string schedule = scheduleOf(columns, row);
            return bytes && sha256Hex(*bytes) == row[shaColumn]
                   && (schedule.empty() || fs::exists(pathIn(outDir, schedule)));
        });
    };
    for (auto it = finished.begin(); it != finished.end();) {
        const bool keep =
            wanted.contains(it->first) && it->second.size() == perCell && sound(it->second);
        it = keep ? std::next(it) : finished.erase(it);
    }
    return finished;
}

// An output folder that holds another design, another design name or another shard must not be
// mixed with this one. The manifest is written before the first file, so this holds from then.
std::optional<std::string> checkOutputOwner(const std::string& outDir, const std::string& text,
                                            const std::string& designName,
                                            const DesignRunOptions& options) {
    const std::string path = pathIn(outDir, kManifestFileName);
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    Manifest manifest;
    try {
        manifest = readManifest(*bytes);
    } catch (const std::exception& e) {
        return path + ": " + e.what();
    }
    if (manifest.designText != text || manifest.shardIndex != options.shardIndex
        || manifest.shardCount != options.shardCount) {
        return outDir + " holds the output of another design or shard";
    }
    if (manifest.designName != designName) {
        return outDir + " holds the output of the design named " + manifest.designName
               + "; a design under another name is another design";
    }
    return std::nullopt;
}

// Units of work: one cell each, or in a paired design the cells sharing their network levels.
std::vector<std::vector<const CheckedCell*>> workUnits(const Design& design,
                                                       const std::vector<CheckedCell>& cells,
                                                       const FinishedCells& finished) {
    std::vector<std::vector<const CheckedCell*>> units;
    std::map<std::string, std::size_t> unitOfNetwork;
    for (const CheckedCell& cell : cells) {
        if (finished.contains(cell.cell.index)) {
            continue;
        }
        if (!design.paired) {
            units.push_back({&cell});
            continue;
        }
        const auto [it, added] = unitOfNetwork.try_emplace(cell.networkKey, units.size());
        if (added) {
            units.emplace_back();
        }
        units[it->second].push_back(&cell);
    }
    return units;
}

class DesignBuild {
public:
    DesignBuild(const Design& design, std::vector<CheckedCell> cells, FinishedCells finished,
                const DesignRunOptions& options, const std::string& designName)
        : m_design(design), m_cells(std::move(cells)), m_finished(std::move(finished)),
          m_options(options), m_context{design, designName, options.outDir, options.stop},
          m_header(indexHeader(design)) {
        m_progress.cellsDone = static_cast<int>(m_finished.size());
        m_progress.cellsTotal = static_cast<int>(m_cells.size());
        const std::int64_t perCell =
            std::int64_t{design.instances} * static_cast<std::int64_t>(design.formats.size());
        m_progress.filesDone = m_progress.cellsDone * perCell;
        m_progress.filesTotal = m_progress.cellsTotal * perCell;
    }

    void run(int jobs) {
        m_units = workUnits(m_design, m_cells, m_finished);
        report();
        const int threads = std::max(1, std::min<int>(jobs, static_cast<int>(m_units.size())));
        std::vector<std::thread> workers;
        try {
            for (int t = 1; t < threads; ++t) {
                workers.emplace_back([this] { work(); });
            }
        } catch (const std::system_error&) {
            // The system gives fewer threads than asked: the ones started do the work.
        }
        work();
        for (std::thread& worker : workers) {
            worker.join();
        }
    }

    const FinishedCells& finished() const { return m_finished; }
    const std::optional<std::string>& error() const { return m_error; }
    std::int64_t filesWritten() const { return m_filesWritten; }

private:
    void work() {
        for (;;) {
            const std::size_t next = m_nextUnit++;
            if (next >= m_units.size() || m_failed.load() || stopRequested()) {
                return;
            }
            auto problem = runUnit(m_context, m_units[next],
                                   [this](const CheckedCell& cell, std::vector<IndexRow>&& rows) {
                                       finish(cell, std::move(rows));
                                   });
            if (problem) {
                const std::lock_guard lock(m_mutex);
                if (!m_error) {
                    m_error = std::move(problem);
                }
                m_failed = true;
            }
        }
    }

    bool stopRequested() const { return m_options.stop != nullptr && m_options.stop->load(); }

    void finish(const CheckedCell& cell, std::vector<IndexRow>&& rows) {
        const std::lock_guard lock(m_mutex);
        try {
            appendJournal(m_options.outDir, m_header, writeCsvRows(rows));
        } catch (const std::exception& e) {
            // Unrecorded, the cell would be lost to a kill: the run stops instead.
            if (!m_error) {
                m_error = e.what();
            }
            m_failed = true;
            return;
        }
        m_filesWritten += static_cast<std::int64_t>(rows.size());
        m_progress.filesDone += static_cast<std::int64_t>(rows.size());
        ++m_progress.cellsDone;
        m_finished[cell.cell.index] = std::move(rows);
        if (m_options.progress) {
            m_options.progress(m_progress);
        }
    }

    void report() {
        const std::lock_guard lock(m_mutex);
        if (m_options.progress) {
            m_options.progress(m_progress);
        }
    }

    const Design& m_design;
    std::vector<CheckedCell> m_cells;
    FinishedCells m_finished;
    const DesignRunOptions& m_options;
    UnitContext m_context;
    std::vector<std::string> m_header;
    std::vector<std::vector<const CheckedCell*>> m_units;
    std::atomic<std::size_t> m_nextUnit{0};
    std::atomic<bool> m_failed{false};
    std::mutex m_mutex;
    DesignProgress m_progress{};
    std::optional<std::string> m_error;
    std::int64_t m_filesWritten = 0;
};

// The index lists finished cells in enumeration order, whatever order they finished in.
std::optional<std::string> writeOutput(const Design& design, const FinishedCells& finished,
                                       Manifest manifest, const std::string& outDir) {
    CsvTable index{indexHeader(design), {}};
    for (const auto& [cell, rows] : finished) {
        index.rows.insert(index.rows.end(), rows.begin(), rows.end());
    }
    const std::string indexText = writeCsv(index);
    // A cell whose pool ran out before enough instances passed lists them, but is not done.
    const std::size_t perCell = static_cast<std::size_t>(design.instances) * design.formats.size();
    manifest.cellsDone = static_cast<int>(
        std::count_if(finished.begin(), finished.end(),
                      [perCell](const auto& cell) { return cell.second.size() == perCell; }));
    manifest.files = static_cast<std::int64_t>(index.rows.size());
    manifest.complete = manifest.cellsDone == manifest.cells;
    manifest.indexSha256 = sha256Hex(indexText);
    try {
        replaceFile(pathIn(outDir, kIndexFileName), indexText);
        replaceFile(pathIn(outDir, kManifestFileName), writeManifest(manifest));
    } catch (const std::runtime_error& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

// Threads beyond the cores or the units only cost memory: one a unit, at most one a core.
int threadCount(int jobs) {
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    return jobs > 0 ? std::min(jobs, cores) : cores;
}

// The design's cells in this shard; throws DesignError.
std::vector<CheckedCell> shardCells(const Design& design, const std::string& designName,
                                    const DesignRunOptions& options) {
    std::vector<CheckedCell> cells;
    for (CheckedCell& cell : checkCells(design, designName)) {
        if (inShard(cell.cell.index, options.shardIndex, options.shardCount)) {
            cells.push_back(std::move(cell));
        }
    }
    return cells;
}

// Takes the folder for this design: refuses another design, clears what a killed run left,
// gathers the finished cells and records the design before the first file is written.
std::optional<DesignRunResult>
claimFolder(const Design& design, const std::vector<CheckedCell>& cells, const Manifest& manifest,
            const DesignRunOptions& options, FinishedCells& finished) {
    const std::string& outDir = options.outDir;
    if (auto owner = checkOutputOwner(outDir, manifest.designText, manifest.designName, options)) {
        return refusal(*owner);
    }
    removeStaleTemporaryFiles(outDir);
    try {
        finished = finishedCells(design, cells, outDir);
    } catch (const std::exception& e) {
        return refusal(pathIn(outDir, kIndexFileName) + ": " + e.what());
    }
    if (auto problem = writeOutput(design, finished, manifest, outDir)) {
        return failure(*problem);
    }
    removeJournal(outDir);
    return std::nullopt;
}

// Creates the output folder and holds its lock for the run.
std::optional<DesignRunResult> lockOutput(const std::string& outDir,
                                          std::optional<FolderLock>& lock) {
    if (const auto problem = createOutputFolder(outDir)) {
        return failure("cannot create the directory " + outDir + ": " + *problem);
    }
    try {
        lock.emplace(outDir);
    } catch (const std::runtime_error& e) {
        return refusal(e.what());
    }
    return std::nullopt;
}

Manifest startManifest(const std::string& text, const std::string& designName,
                       const DesignRunOptions& options, std::size_t cells) {
    Manifest manifest;
    manifest.version = programVersion();
    manifest.designName = designName;
    manifest.designText = text;
    manifest.shardIndex = options.shardIndex;
    manifest.shardCount = options.shardCount;
    manifest.cells = static_cast<int>(cells);
    return manifest;
}

} // namespace

DesignRunResult runDesignText(const std::string& text, const std::string& designName,
                              const DesignRunOptions& options) {
    if (options.shardCount < 1 || options.shardIndex < 1
        || options.shardIndex > options.shardCount) {
        return refusal("the shard must be K/N with 1 <= K <= N, not "
                       + std::to_string(options.shardIndex) + "/"
                       + std::to_string(options.shardCount));
    }
    if (options.jobs < 0) {
        return refusal("the number of jobs must not be negative");
    }
    Design design;
    std::vector<CheckedCell> cells;
    try {
        design = parseDesign(text, designName);
        cells = shardCells(design, designName, options);
    } catch (const DesignError& e) {
        return refusal(e.what());
    }
    std::optional<FolderLock> lock;
    if (auto refused = lockOutput(options.outDir, lock)) {
        return *refused;
    }
    const Manifest manifest = startManifest(text, designName, options, cells.size());
    FinishedCells finished;
    if (auto refused = claimFolder(design, cells, manifest, options, finished)) {
        return *refused;
    }
    DesignBuild build(design, std::move(cells), std::move(finished), options, designName);
    build.run(threadCount(options.jobs));

    DesignRunResult result;
    result.error = build.error();
    result.cellsDone = static_cast<int>(build.finished().size());
    result.filesWritten = build.filesWritten();
    result.interrupted = !result.error && result.cellsDone < manifest.cells;
    if (auto problem = writeOutput(design, build.finished(), manifest, options.outDir)) {
        result.error = result.error ? *result.error + "; " + *problem : *problem;
    } else {
        removeJournal(options.outDir);
    }
    return result;
}

DesignRunResult runDesign(const DesignRunOptions& options) {
    const std::string& file = options.designFile;
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (error) {
        return refusal("cannot read the design file " + file + ": " + error.message());
    }
    if (!fs::is_regular_file(status)) {
        return refusal(file + " is not a design file but "
                       + (fs::is_directory(status) ? "a folder" : "a special file"));
    }
    const auto text = readWholeFile(file);
    if (!text) {
        return refusal("cannot read the design file " + file + ": " + std::strerror(errno));
    }
    return runDesignText(*text, fs::path(options.designFile).filename().string(), options);
}

} // namespace tavrin::design
