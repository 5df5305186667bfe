#include "cli/solve_run.h"

#include "cli/solve_rows.h"
#include "design/design_index.h"
#include "export/file_replace.h"
#include "formats/instance_io.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

namespace tavrin::cli {

namespace {

struct FileOutcome {
    std::optional<std::vector<std::string>> row;
    std::string message;
    bool failed = false;
    bool violation = false;
};

formats::Instance readInstance(const std::string& path, const std::string& bytes) {
    const auto format = formats::formatOfPath(path);
    if (!format) {
        return formats::readInstanceFile(path); // throws, naming the extension
    }
    return formats::readInstance(*format, bytes, path);
}

class SolveRun {
public:
    SolveRun(const std::vector<InputFile>& files, const SolveRunOptions& options)
        : m_files(files), m_options(options), m_outcomes(files.size()) {}

    SolveRunResult run(std::ostream& err) {
        const int threads =
            std::max(1, std::min<int>(static_cast<int>(m_files.size()),
                                      m_options.jobs > 0
                                          ? m_options.jobs
                                          : static_cast<int>(std::thread::hardware_concurrency())));
        std::vector<std::thread> workers;
        workers.reserve(static_cast<std::size_t>(threads));
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([this] { work(); });
        }
        while (m_finished.load() < threads) {
            if (m_options.stop != nullptr && m_options.stop->load()) {
                m_halt = true;
            }
            if (m_options.progress) {
                m_options.progress(static_cast<int>(m_files.size()), m_done.load());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        for (std::thread& worker : workers) {
            worker.join();
        }
        return collect(err);
    }

private:
    void work() {
        for (std::size_t i = m_next++; i < m_files.size() && !m_halt.load(); i = m_next++) {
            m_outcomes[i] = solveFile(m_files[i].path);
            if (m_outcomes[i].violation) {
                m_halt = true;
            }
            ++m_done;
        }
        ++m_finished;
    }

    FileOutcome solveFile(const std::string& path) {
        FileOutcome outcome;
        const auto bytes = design::readWholeFile(path);
        if (!bytes) {
            return {std::nullopt, path + ": cannot read the file", true, false};
        }
        try {
            const formats::Instance instance = readInstance(path, *bytes);
            SolveRow row{path,
                         design::sha256Hex(*bytes),
                         instance.jobCount() - 2,
                         instance.resourceCount(),
                         {}};
            if (const auto kept = m_options.kept.find({row.file, row.sha256});
                kept != m_options.kept.end()) {
                return {kept->second, "", false, false};
            }
            row.result = solve::solveInstance(instance, m_options.budget, &m_halt);
            if (m_halt.load()) {
                return outcome; // cut short: the next run solves it again
            }
            const std::string violation = solve::scheduleViolation(instance, row.result.start);
            if (!row.result.start.empty() && !violation.empty()) {
                return {std::nullopt, path + ": the schedule found is not valid: " + violation,
                        true, true};
            }
            writeSchedule(row);
            outcome.row = solveCsvFields(row);
        } catch (const formats::FormatError& e) {
            return {std::nullopt, e.what(), true, false};
        } catch (const std::logic_error& e) {
            const bool fault = dynamic_cast<const std::invalid_argument*>(&e) == nullptr;
            return {std::nullopt, path + ": " + e.what(), true, fault};
        } catch (const FileWriteError& e) {
            return {std::nullopt, e.what(), true, false};
        } catch (const std::exception& e) {
            return {std::nullopt, path + ": " + e.what(), true, false};
        }
        return outcome;
    }

    void writeSchedule(const SolveRow& row) const {
        if (m_options.scheduleDir.empty() || row.result.start.empty()) {
            return;
        }
        const auto path = std::filesystem::path(m_options.scheduleDir) / scheduleFileName(row.file);
        replaceFile(path.string(), scheduleJson(row));
    }

    SolveRunResult collect(std::ostream& err) {
        SolveRunResult result;
        for (FileOutcome& outcome : m_outcomes) {
            if (!outcome.message.empty()) {
                err << outcome.message << '\n';
            }
            result.failed = result.failed || outcome.failed;
            result.violation = result.violation || outcome.violation;
            if (outcome.row) {
                result.rows.push_back(std::move(*outcome.row));
            } else if (!outcome.failed) {
                result.interrupted = true;
            }
        }
        return result;
    }

    const std::vector<InputFile>& m_files;
    const SolveRunOptions& m_options;
    std::vector<FileOutcome> m_outcomes;
    std::atomic<std::size_t> m_next{0};
    std::atomic<int> m_done{0};
    std::atomic<int> m_finished{0};
    std::atomic<bool> m_halt{false};
};

// Compares names with runs of digits taken as numbers.
bool naturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (digitA && digitB) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA])) != 0) {
                ++endA;
            }
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB])) != 0) {
                ++endB;
            }
            const std::string numberA = a.substr(i, endA - i);
            const std::string numberB = b.substr(j, endB - j);
            if (numberA.size() != numberB.size() || numberA != numberB) {
                return numberA.size() != numberB.size() ? numberA.size() < numberB.size()
                                                        : numberA < numberB;
            }
            i = endA;
            j = endB;
        } else if (a[i] != b[j]) {
            return a[i] < b[j];
        } else {
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

} // namespace

SolveRunResult runSolveFiles(const std::vector<InputFile>& files, const SolveRunOptions& options,
                             std::ostream& err) {
    return SolveRun(files, options).run(err);
}

int mergeSolveCsvs(std::vector<std::string> paths, const std::string& outPath, std::ostream& out,
                   std::ostream& err) {
    std::stable_sort(paths.begin(), paths.end(), naturalLess);
    design::CsvTable merged{solveCsvHeader(), {}};
    for (const std::string& path : paths) {
        const auto bytes = design::readWholeFile(path);
        try {
            if (!bytes) {
                throw std::runtime_error("cannot read the file");
            }
            design::CsvTable table = design::readCsv(*bytes);
            if (table.header != merged.header) {
                throw std::runtime_error("not a CSV written by solve");
            }
            for (auto& row : table.rows) {
                merged.rows.push_back(std::move(row));
            }
        } catch (const std::runtime_error& e) {
            err << path << ": " << e.what() << '\n';
            return 1;
        }
    }
    const std::string csv = design::writeCsv(merged);
    if (outPath.empty()) {
        out << csv;
        return 0;
    }
    try {
        replaceFile(outPath, csv);
    } catch (const FileWriteError& e) {
        err << e.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace tavrin::cli
