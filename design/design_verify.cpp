#include "design/design_verify.h"

#include "design/design_folder.h"
#include "design/design_index.h"
#include "design/design_manifest.h"
#include "design/design_run.h"
#include "export/file_replace.h"
#include "export/rcp_writer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

namespace tavrin::design {
namespace {

namespace fs = std::filesystem;

std::string pathIn(const std::string& dir, const std::string& name) {
    return (fs::path(dir) / name).string();
}

std::set<std::string> filesUnder(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_directory()) {
            names.insert(fs::relative(entry.path(), dir).generic_string());
        }
    }
    return names;
}

Manifest manifestOf(const std::string& dir) {
    const std::string path = pathIn(dir, kManifestFileName);
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
    }
    try {
        return readManifest(*bytes);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

constexpr const char* kScratchPrefix = "tavrin-verify-";

// Scratch folders of verifications ended at once by a second signal: no one holds their lock.
void removeAbandonedScratch() {
    std::error_code error;
    for (fs::directory_iterator it(fs::temp_directory_path(error), error), end; !error && it != end;
         it.increment(error)) {
        // A folder just made may not be locked yet.
        const auto age = fs::file_time_type::clock::now() - it->last_write_time(error);
        if (error || it->path().filename().string().rfind(kScratchPrefix, 0) != 0
            || age < std::chrono::minutes(1)) {
            error.clear();
            continue;
        }
        try {
            const FolderLock unused(it->path().string());
            std::error_code ignored;
            fs::remove_all(it->path(), ignored);
        } catch (const std::runtime_error&) {
            // In use by a running verification, or not ours to open.
        }
    }
}

// A locked folder in the system's temporary folder, the set regenerated in its "set" folder.
class ScratchFolder {
public:
    ScratchFolder() {
        removeAbandonedScratch();
        std::string pattern =
            (fs::temp_directory_path() / (std::string(kScratchPrefix) + "XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder in "
                                     + fs::temp_directory_path().string() + ": "
                                     + std::strerror(errno));
        }
        m_root = pattern;
        m_lock.emplace(m_root);
        m_path = pathIn(m_root, "set");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_root;
    std::string m_path;
    std::optional<FolderLock> m_lock;
};

void compareFolders(const std::string& dir, const std::string& regenerated, VerifyReport& report) {
    const std::set<std::string> present = filesUnder(dir);
    const std::set<std::string> expected = filesUnder(regenerated);
    for (const std::string& name : expected) {
        if (!present.contains(name)) {
            report.missing.push_back(name);
        } else if (readWholeFile(pathIn(dir, name)) != readWholeFile(pathIn(regenerated, name))) {
            report.differing.push_back(name);
        }
    }
    std::set_difference(present.begin(), present.end(), expected.begin(), expected.end(),
                        std::back_inserter(report.added));
}

// The shards, checked to be the complete shards 1..N of one design, in shard order.
std::vector<std::pair<std::string, Manifest>> checkedShards(const std::vector<std::string>& dirs) {
    std::vector<std::pair<std::string, Manifest>> shards;
    shards.reserve(dirs.size());
    for (const std::string& dir : dirs) {
        shards.emplace_back(dir, manifestOf(dir));
    }
    std::sort(shards.begin(), shards.end(), [](const auto& a, const auto& b) {
        return a.second.shardIndex < b.second.shardIndex;
    });
    const Manifest& first = shards.front().second;
    for (std::size_t s = 0; s < shards.size(); ++s) {
        const auto& [dir, manifest] = shards[s];
        if (manifest.designText != first.designText || manifest.designName != first.designName
            || manifest.version != first.version) {
            throw std::runtime_error(dir + " holds another design than " + shards.front().first);
        }
        if (manifest.shardCount != static_cast<int>(shards.size())
            || manifest.shardIndex != static_cast<int>(s) + 1) {
            throw std::runtime_error("the shards must be 1.." + std::to_string(manifest.shardCount)
                                     + " once each; " + dir + " is shard "
                                     + std::to_string(manifest.shardIndex) + "/"
                                     + std::to_string(manifest.shardCount));
        }
        if (!manifest.complete) {
            throw std::runtime_error(dir + " is not complete");
        }
    }
    return shards;
}

CsvTable shardIndex(const std::string& dir, const Manifest& manifest) {
    const auto text = readWholeFile(pathIn(dir, kIndexFileName));
    if (!text || sha256Hex(*text) != manifest.indexSha256) {
        throw std::runtime_error(pathIn(dir, kIndexFileName) + " is missing or changed");
    }
    CsvTable index = readCsv(*text);
    const std::size_t file = index.column("file");
    const std::size_t cell = index.column("cell");
    for (const auto& row : index.rows) {
        const std::string schedule = scheduleOf(index, row);
        for (const std::string& name : {row[file], schedule.empty() ? row[file] : schedule}) {
            if (!isPlainName(name)) {
                throw std::runtime_error(pathIn(dir, kIndexFileName) + ": '" + name
                                         + "' is not a file of the set");
            }
        }
        indexCell(row[cell]);
    }
    return index;
}

std::runtime_error foreignFileError(const std::string& outDir, const std::string& name) {
    return std::runtime_error(outDir + " is not empty and holds " + name
                              + ", which no merge of these shards writes");
}

// What a merge into outDir may find there: nothing, or what an interrupted merge of the same
// shards wrote. Its own stale temporary files go; anything else refuses the merge.
void checkMergeTarget(const std::string& outDir,
                      const std::vector<std::pair<std::string, CsvTable>>& indexes) {
    std::error_code error;
    if (!fs::exists(outDir, error)) {
        return;
    }
    if (!fs::is_directory(outDir, error)) {
        throw std::runtime_error(outDir + " is not a folder");
    }
    for (const auto& [dir, index] : indexes) {
        if (fs::equivalent(dir, outDir, error)) {
            throw std::runtime_error("the merge cannot write into its shard " + dir);
        }
    }
    std::set<std::string> ours{kIndexFileName, kManifestFileName};
    for (const auto& [dir, index] : indexes) {
        const std::size_t file = index.column("file");
        for (const auto& row : index.rows) {
            ours.insert(row[file]);
            ours.insert(scheduleOf(index, row));
        }
    }
    for (const auto& entry : fs::directory_iterator(outDir)) {
        const std::string name = entry.path().filename().string();
        if (!ours.contains(name) && !isOurTemporaryName(name)) {
            throw foreignFileError(outDir, name);
        }
    }
}

// A file already in place from an interrupted merge is kept.
void copyChecked(const std::string& from, const std::string& to, const std::string& sha) {
    const auto present = readWholeFile(to);
    if (present && sha256Hex(*present) == sha) {
        return;
    }
    const auto bytes = readWholeFile(from);
    if (!bytes || sha256Hex(*bytes) != sha) {
        throw std::runtime_error(from + " is missing or changed");
    }
    replaceFile(to, *bytes);
}

// A schedule has no hash of its own; it names and hashes its instance file inside.
void copySchedule(const std::string& from, const std::string& name, const std::string& outDir) {
    if (name.empty()) {
        return;
    }
    const auto bytes = readWholeFile(pathIn(from, name));
    if (!bytes) {
        throw std::runtime_error(pathIn(from, name) + " is missing");
    }
    replaceFile(pathIn(outDir, name), *bytes);
}

// The index in enumeration order and the manifest of an unsharded run, written last: a merge
// without its manifest is unfinished.
void writeMergedIndex(const std::vector<std::pair<std::string, Manifest>>& shards, CsvTable merged,
                      const std::string& outDir, MergeResult& result) {
    const std::size_t cell = merged.column("cell");
    std::stable_sort(merged.rows.begin(), merged.rows.end(), [cell](const auto& a, const auto& b) {
        return indexCell(a[cell]) < indexCell(b[cell]);
    });
    Manifest manifest = shards.front().second;
    manifest.shardIndex = 1;
    manifest.shardCount = 1;
    manifest.cells = 0;
    manifest.cellsDone = 0;
    for (const auto& shard : shards) {
        manifest.cells += shard.second.cells;
        manifest.cellsDone += shard.second.cellsDone;
    }
    const std::string indexText = writeCsv(merged);
    manifest.files = static_cast<std::int64_t>(merged.rows.size());
    manifest.indexSha256 = sha256Hex(indexText);
    replaceFile(pathIn(outDir, kIndexFileName), indexText);
    replaceFile(pathIn(outDir, kManifestFileName), writeManifest(manifest));
    result.cells = manifest.cells;
    result.files = manifest.files;
}

// Copies the files every index lists, in shard order, and returns the rows; nothing when a stop
// came first.
std::optional<CsvTable> copyShardFiles(const std::vector<std::pair<std::string, CsvTable>>& indexes,
                                       const std::string& outDir, const StopFlag* stop,
                                       const MergeProgress& progress, MergeResult& result) {
    CsvTable merged{indexes.front().second.header, {}};
    std::int64_t total = 0;
    for (const auto& [dir, index] : indexes) {
        total += static_cast<std::int64_t>(index.rows.size());
    }
    for (const auto& [dir, index] : indexes) {
        const std::size_t file = index.column("file");
        const std::size_t sha = index.column("sha256");
        for (const auto& row : index.rows) {
            if (stop != nullptr && stop->load()) {
                result.interrupted = true;
                return std::nullopt;
            }
            copyChecked(pathIn(dir, row[file]), pathIn(outDir, row[file]), row[sha]);
            copySchedule(dir, scheduleOf(index, row), outDir);
            merged.rows.push_back(row);
            ++result.files;
            if (progress) {
                progress(result.files, total);
            }
        }
    }
    return merged;
}

} // namespace

VerifyReport verifyDesign(const std::string& dir, int jobs, const StopFlag* stop,
                          const std::function<void(const DesignProgress&)>& progress) {
    VerifyReport report;
    try {
        const Manifest manifest = manifestOf(dir);
        const ScratchFolder scratch;
        DesignRunOptions options;
        options.outDir = scratch.path();
        options.jobs = jobs;
        options.shardIndex = manifest.shardIndex;
        options.shardCount = manifest.shardCount;
        options.stop = stop;
        options.progress = progress;
        const DesignRunResult run =
            runDesignText(manifest.designText, manifest.designName, options);
        if (run.error) {
            report.error = *run.error;
            return report;
        }
        if (run.interrupted) {
            report.interrupted = true;
            return report;
        }
        compareFolders(dir, scratch.path(), report);
    } catch (const std::exception& e) {
        report.error = e.what();
    }
    return report;
}

MergeResult mergeShards(const std::vector<std::string>& shardDirs, const std::string& outDir,
                        const StopFlag* stop, const MergeProgress& progress) {
    MergeResult result;
    std::vector<std::pair<std::string, Manifest>> shards;
    std::vector<std::pair<std::string, CsvTable>> indexes;
    try {
        if (shardDirs.empty()) {
            throw std::runtime_error("no shard folders given");
        }
        shards = checkedShards(shardDirs);
        for (const auto& [dir, manifest] : shards) {
            indexes.emplace_back(dir, shardIndex(dir, manifest));
        }
        checkMergeTarget(outDir, indexes);
    } catch (const std::exception& e) {
        result.error = e.what();
        result.refused = true;
        return result;
    }
    if (const auto problem = createOutputFolder(outDir)) {
        result.error = "cannot create the directory " + outDir + ": " + *problem;
        return result;
    }
    std::optional<FolderLock> lock;
    try {
        lock.emplace(outDir);
    } catch (const std::runtime_error& e) {
        result.error = e.what();
        result.refused = true;
        return result;
    }
    try {
        removeStaleTemporaryFiles(outDir);
        if (auto merged = copyShardFiles(indexes, outDir, stop, progress, result)) {
            writeMergedIndex(shards, std::move(*merged), outDir, result);
        }
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

} // namespace tavrin::design
