#include "design/design_cell_run.h"

#include "design/design_index.h"
#include "design/design_solve.h"
#include "engine/random_source.h"
#include "engine/run_driver.h"
#include "export/export_batch.h"
#include "export/file_replace.h"
#include "measure/instance_measures.h"
#include "session/generation_session.h"
#include "solve/solve_text.h"

#include <algorithm>
#include <exception>
#include <filesystem>

namespace tavrin::design {
namespace {

std::string variantName(GeneratorVariant variant) {
    return variant == GeneratorVariant::Tavrin1 ? "tavrin1" : "tavrin2";
}

// The widest instance of the design sets the measure columns of every row.
int maxResources(const Design& design) {
    int most = 0;
    for (const FactorLevel& level : design.factor("resources")->levels) {
        most = std::max(most, std::stoi(level.text));
    }
    return most;
}

struct RunFacts {
    std::int32_t kept = 0;
    std::int32_t selected = 0;
};

class CellWriter {
public:
    CellWriter(const UnitContext& context, const CheckedCell& cell, const RunFacts& facts,
               GenerationSession& session)
        : m_context(context), m_cell(cell), m_facts(facts), m_session(session) {
        // Paired cells share one run but complete with their own resource settings.
        m_session.setExportSettings(cell.run.settings);
    }

    // Completes the network the pool gives and writes the files of repetition rep. A design
    // that solves its instances solves it too; one that fails the design's tests is removed
    // again and kept is false.
    std::optional<std::string> write(std::int32_t rep, const ArcSetRows& rows, ExportPool& pool,
                                     RandomSource& random, bool& kept) {
        ExportFileSettings files(m_context.outDir, m_cell.filePrefix, 1, rep);
        files.formats = m_context.design.formats;
        files.provenance = provenance();
        files.instanceClass = m_cell.instanceClass;
        ExportOutcome result;
        try {
            result = m_session.exportFrom(rows, pool, random, files, nullptr, true);
        } catch (const std::runtime_error& e) {
            return cellError(e.what());
        }
        if (result.error) {
            return cellError(*result.error);
        }
        const formats::Instance& model = m_session.lastInstance();
        std::optional<SolvedInstance> solved;
        if (const auto& solve = m_context.design.solve) {
            solved = solveForDesign(model, *solve, m_context.stop);
            kept = solved->passes(*solve);
            if (!kept) {
                return removeFiles(result);
            }
        }
        const auto measures =
            measure::measureCsvFields(m_meter.measure(model), maxResources(m_context.design));
        for (std::size_t f = 0; f < result.files.size(); ++f) {
            const WrittenFile& file = result.files[f];
            m_rows.push_back(
                row(file.name, m_context.design.formats[f], rep, measures, file.sha256));
            if (solved) {
                addSolveFields(m_rows.back(), rep, *solved);
            }
        }
        return solved ? writeSchedule(rep, *solved) : std::nullopt;
    }

    std::vector<IndexRow>& rows() { return m_rows; }
    std::int32_t kept() const {
        return static_cast<std::int32_t>(m_rows.size() / m_context.design.formats.size());
    }

    std::string cellError(const std::string& message) const {
        return "cell " + std::to_string(m_cell.cell.index) + " (" + m_cell.filePrefix
               + "): " + message;
    }

private:
    std::string scheduleName(std::int32_t rep) const {
        return m_cell.filePrefix + std::to_string(rep) + ".schedule.json";
    }

    std::optional<std::string> removeFiles(const ExportOutcome& written) const {
        for (const WrittenFile& file : written.files) {
            std::error_code error;
            std::filesystem::remove(m_context.outDir + kPathSeparator + file.name, error);
            if (error) {
                return cellError(file.name + ": " + error.message());
            }
        }
        return std::nullopt;
    }

    // The solve columns go before the file's hash, which stays the last column.
    void addSolveFields(IndexRow& row, std::int32_t rep, const SolvedInstance& solved) const {
        std::vector<std::string> fields = solved.fields;
        if (m_context.design.solve->schedules) {
            fields.push_back(solved.result.start.empty() ? std::string() : scheduleName(rep));
        }
        row.insert(row.end() - 1, fields.begin(), fields.end());
    }

    std::optional<std::string> writeSchedule(std::int32_t rep, const SolvedInstance& solved) const {
        if (!m_context.design.solve->schedules || solved.result.start.empty()) {
            return std::nullopt;
        }
        const IndexRow& first = m_rows[m_rows.size() - m_context.design.formats.size()];
        try {
            replaceFile(m_context.outDir + kPathSeparator + scheduleName(rep),
                        solve::scheduleJson(first.front(), first.back(), solved.result));
        } catch (const std::runtime_error& e) {
            return cellError(e.what());
        }
        return std::nullopt;
    }

    formats::Provenance provenance() const {
        const Design& design = m_context.design;
        // The export records the run's settings; the design adds what it alone knows.
        formats::Provenance items{{"design", m_context.designName},
                                  {"design_cell", std::to_string(m_cell.cell.index)},
                                  {"seed", std::to_string(m_cell.run.seed)}};
        if (design.paired) {
            items.emplace_back("completion_seed", std::to_string(m_cell.fileSeed));
        }
        for (std::size_t f = 0; f < design.factors.size(); ++f) {
            const std::string& key = design.factors[f].key;
            if (key == "ci" || (key.size() == 2 && key[0] == 'i')) {
                items.emplace_back(key + "_range", levelText(f));
            }
        }
        return items;
    }

    const std::string& levelText(std::size_t factor) const {
        const Factor& f = m_context.design.factors[factor];
        return f.levels[static_cast<std::size_t>(m_cell.cell.levels[factor])].text;
    }

    IndexRow row(const std::string& name, formats::InstanceFormat format, std::int32_t rep,
                 const std::vector<std::string>& measures, std::string sha) const {
        const Design& design = m_context.design;
        IndexRow fields{name, std::string(formats::formatName(format)),
                        std::to_string(m_cell.cell.index), variantName(design.variant)};
        for (std::size_t f = 0; f < design.factors.size(); ++f) {
            fields.push_back(levelText(f));
        }
        fields.push_back(std::to_string(rep));
        fields.push_back(std::to_string(m_cell.run.seed));
        if (design.paired) {
            fields.push_back(std::to_string(m_cell.fileSeed));
        }
        fields.push_back(design.timeLimitSeconds ? std::string()
                                                 : std::to_string(design.maxNetworks));
        fields.push_back(design.timeLimitSeconds ? shortestText(*design.timeLimitSeconds)
                                                 : std::string());
        fields.push_back(std::to_string(m_facts.kept));
        fields.push_back(std::to_string(m_facts.selected));
        fields.insert(fields.end(), measures.begin(), measures.end());
        fields.push_back(std::move(sha));
        return fields;
    }

    const UnitContext& m_context;
    const CheckedCell& m_cell;
    RunFacts m_facts;
    GenerationSession& m_session;
    measure::InstanceMeter m_meter;
    std::vector<IndexRow> m_rows;
};

bool stopped(const UnitContext& context) {
    return context.stop != nullptr && context.stop->load();
}

std::optional<RunFacts> runCellGeneration(const UnitContext& context, const CheckedCell& cell,
                                          GenerationSession& session, std::string& error) {
    RunHooks hooks;
    hooks.clock = steadyClock();
    hooks.stop = context.stop;
    try {
        session.run(cell.run.settings, cell.run.timeLimitSeconds, cell.run.seed, hooks);
    } catch (const std::exception& e) {
        error =
            "cell " + std::to_string(cell.cell.index) + " (" + cell.filePrefix + "): " + e.what();
        return std::nullopt;
    }
    if (session.result().interrupted || stopped(context)) {
        return std::nullopt;
    }
    session.select(cell.selection.ciRange, cell.selection.indicatorBounds);
    const RunFacts facts{session.store().count(), session.selectedCount()};
    if (context.design.instances > facts.selected) {
        error = "cell " + std::to_string(cell.cell.index) + " (" + cell.filePrefix
                + "): " + kMoreFilesMessage + " (the run kept " + std::to_string(facts.kept)
                + " networks and selected " + std::to_string(facts.selected) + ")";
        return std::nullopt;
    }
    return facts;
}

// The batch continues the run's random sequence, as one generation and one export of the
// command line with the cell's seed would.
std::optional<std::string> runIndependentCell(const UnitContext& context, const CheckedCell& cell,
                                              const CellDone& done) {
    GenerationSession session;
    std::string error;
    const auto facts = runCellGeneration(context, cell, session, error);
    if (!facts) {
        return error.empty() ? std::nullopt : std::optional<std::string>(error);
    }
    const NetworkStore& store = session.store();
    const ArcSetRows rows = [&store](int slot) { return store.row(slot); };
    CellWriter writer(context, cell, *facts, session);
    for (std::int32_t rep = 1; rep <= context.design.instances;) {
        if (session.pool().length() == 0) {
            // Only a design that filters its instances gets here: it keeps what passed.
            const std::int32_t passed = writer.kept();
            done(cell, std::move(writer.rows()));
            return writer.cellError(
                "the pool of " + std::to_string(facts->selected) + " networks ran out with "
                + std::to_string(passed) + " of " + std::to_string(context.design.instances)
                + " instances passing the [solve] tests; those that passed are written and listed "
                  "in the index");
        }
        bool kept = true;
        if (auto problem = writer.write(rep, rows, session.pool(), session.random(), kept)) {
            return problem;
        }
        if (context.design.solve && stopped(context)) {
            return std::nullopt; // the search may have ended early: the cell is not finished
        }
        rep += kept ? 1 : 0;
    }
    done(cell, std::move(writer.rows()));
    return std::nullopt;
}

// Paired: one run for the network levels; the networks are drawn once, from the source as the
// run left it, and repetition r of every cell completes network r, from a source seeded with
// the cell's own seed.
std::optional<std::string> runPairedCells(const UnitContext& context,
                                          const std::vector<const CheckedCell*>& cells,
                                          const CellDone& done) {
    GenerationSession session;
    std::string error;
    const auto facts = runCellGeneration(context, *cells.front(), session, error);
    if (!facts) {
        return error.empty() ? std::nullopt : std::optional<std::string>(error);
    }
    std::vector<int> slots;
    slots.reserve(static_cast<std::size_t>(context.design.instances));
    for (std::int32_t rep = 0; rep < context.design.instances; ++rep) {
        slots.push_back(session.pool().draw(session.random()));
    }
    const NetworkStore& store = session.store();
    for (const CheckedCell* cell : cells) {
        if (stopped(context)) {
            return std::nullopt;
        }
        RandomSource completion;
        completion.seed(cell->fileSeed);
        CellWriter writer(context, *cell, *facts, session);
        for (std::int32_t rep = 1; rep <= context.design.instances; ++rep) {
            const int slot = slots[static_cast<std::size_t>(rep - 1)];
            ExportPool single; // the one network of this repetition
            single.rebuildTavrin1(std::vector<std::int32_t>{0}, 0, 0);
            const ArcSetRows rows = [&store, slot](int) { return store.row(slot); };
            bool kept = true; // a paired design keeps every instance
            if (auto problem = writer.write(rep, rows, single, completion, kept)) {
                return problem;
            }
            if (context.design.solve && stopped(context)) {
                return std::nullopt;
            }
        }
        done(*cell, std::move(writer.rows()));
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> indexHeader(const Design& design) {
    std::vector<std::string> header{"file", "format", "cell", "variant"};
    for (const Factor& factor : design.factors) {
        header.push_back(factor.key);
    }
    header.emplace_back("rep");
    header.emplace_back("seed");
    if (design.paired) {
        header.emplace_back("completion_seed");
    }
    for (const char* column : {"networks", "time_limit", "kept", "selected"}) {
        header.emplace_back(column);
    }
    const auto measures = measure::measureColumnNames(maxResources(design));
    header.insert(header.end(), measures.begin(), measures.end());
    if (design.solve) {
        const auto columns = solveColumns(*design.solve);
        header.insert(header.end(), columns.begin(), columns.end());
    }
    header.emplace_back("sha256");
    return header;
}

std::optional<std::string> runUnit(const UnitContext& context,
                                   const std::vector<const CheckedCell*>& cells,
                                   const CellDone& done) {
    if (stopped(context) || cells.empty()) {
        return std::nullopt;
    }
    try {
        if (context.design.paired) {
            return runPairedCells(context, cells, done);
        }
        return runIndependentCell(context, *cells.front(), done);
    } catch (const std::exception& e) {
        return "cell " + std::to_string(cells.front()->cell.index) + ": " + e.what();
    }
}

} // namespace tavrin::design
