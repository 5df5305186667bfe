#include "export/export_batch.h"

#include "engine/text_conversion.h"
#include "export/format_instance.h"
#include "export/multi_mode.h"
#include "export/resource_demands.h"
#include "export/resource_pattern.h"
#include "export/time_lags.h"
#include "formats/instance_io.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace tavrin {
namespace {

void appendNumber(std::string& text, std::int32_t number) {
    char digits[12];
    char* const end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text.append(digits, end);
}

void setInstanceFileName(std::string& name, const std::string& directory, const std::string& prefix,
                         std::int32_t number, std::string_view extension) {
    name.assign(directory);
    name += kPathSeparator;
    name += prefix;
    appendNumber(name, number);
    name += extension;
}

bool fraction(double value) {
    return value >= 0.0 && value <= 1.0; // false for NaN as well
}

std::string outOfRange(const std::string& range, const std::string& value) {
    return range + ", not " + value + ".";
}

// The instance tables are sized from K, so the settings are checked before they are built.
int checkedActivityCount(int activityCount, const RunSettings& resources) {
    if (const auto problem = checkResourceSettings(resources)) {
        throw std::invalid_argument(*problem);
    }
    if (activityCount < 1) {
        throw std::invalid_argument("An export needs at least one activity");
    }
    return activityCount;
}

} // namespace

std::optional<std::string> checkFileNumbers(std::int32_t start, std::int32_t count) {
    if (count <= 0) {
        return std::nullopt;
    }
    const std::int64_t last = static_cast<std::int64_t>(start) + count - 1;
    if (last > std::numeric_limits<std::int32_t>::max()) {
        return std::string(kFileNumbersRange) + ": " + std::to_string(start) + " to "
               + std::to_string(last) + " was asked for.";
    }
    return std::nullopt;
}

std::optional<std::string> checkFilePrefix(const std::string& prefix) {
    for (const char c : prefix) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7f || c == '/' || c == '\\') {
            return std::string(kFilePrefixRule);
        }
    }
    return std::nullopt;
}

std::string instanceFileName(const std::string& directory, const std::string& prefix,
                             std::int32_t number, std::string_view extension) {
    std::string name;
    setInstanceFileName(name, directory, prefix, number, extension);
    return name;
}

std::string defaultExportDirectory() {
#ifdef _WIN32
    return "C:\\Tavrin\\Output";
#else
    const char* home = std::getenv("HOME");
    std::string base;
    if (home != nullptr && *home != '\0') {
        base = home;
    } else {
        std::error_code error;
        base = std::filesystem::current_path(error).string();
        if (error) {
            base = ".";
        }
    }
    return base + "/Tavrin/Output";
#endif
}

std::optional<std::string> checkResourceSettings(const RunSettings& settings) {
    const std::int32_t resources = settings.resourceCount;
    if (resources < 1 || resources > kMaxResources) {
        return outOfRange(kResourceCountRange, std::to_string(resources));
    }
    if (settings.requestMeasure == RequestMeasure::ResourceFactor) {
        if (!fraction(settings.resourceFactor)) {
            return outOfRange(kResourceFactorRange, formatReal(settings.resourceFactor));
        }
    } else if (settings.resourceUse < 1 || settings.resourceUse > resources) {
        return outOfRange(std::string(kResourceUseRange) + " (" + std::to_string(resources) + ")",
                          std::to_string(settings.resourceUse));
    }
    if (settings.demandMeasure == DemandMeasure::ResourceConstrainedness) {
        if (!fraction(settings.resourceConstrainedness)) {
            return outOfRange(kResourceConstrainednessRange,
                              formatReal(settings.resourceConstrainedness));
        }
    } else if (!fraction(settings.resourceStrength)) {
        return outOfRange(kResourceStrengthRange, formatReal(settings.resourceStrength));
    }
    return std::nullopt;
}

void completeInstance(ProjectInstance& instance, const Word* arcSet, const RunSettings& resources,
                      RandomSource& random) {
    completePrecedence(instance, arcSet, random);
    buildRequirementPattern(instance, resources, random);
    setDemandsAndAvailabilities(instance, resources, random);
}

std::optional<formats::Feasibility>
completeClassInstance(ProjectInstance& instance, formats::Instance& model, const Word* arcSet,
                      const RunSettings& resources, const InstanceClass& instanceClass,
                      RandomSource& random) {
    using formats::Feasibility;
    const auto& lags = instanceClass.timeLags;
    for (int attempt = 0; attempt < kClassAttempts; ++attempt) {
        completeInstance(instance, arcSet, resources, random);
        fillFormatInstance(instance, model);
        Feasibility feasibility = Feasibility::Feasible;
        if (instanceClass.multiMode) {
            feasibility = completeMultiMode(instance, resources.resourceStrength,
                                            *instanceClass.multiMode, random, model);
        }
        if (lags && feasibility == Feasibility::Feasible) {
            std::vector<std::int64_t> reference;
            std::vector<std::int64_t> starts;
            feasibility = addTimeLags(*lags, random, model, reference);
            if (feasibility == Feasibility::Feasible) {
                feasibility =
                    lags->resourceCheck ? lags->resourceCheck(model, starts) : Feasibility::Unknown;
            }
            // A search that ran out of its budget is settled by the reference schedule, once
            // checked: a schedule found is the proof the check is after.
            if (feasibility == Feasibility::Unknown
                && formats::meetsLagsAndCapacities(model, reference)) {
                feasibility = Feasibility::Feasible;
            }
        }
        if (feasibility == Feasibility::Feasible
            || (feasibility == Feasibility::Unknown && lags && lags->keepUnknown)) {
            return feasibility;
        }
    }
    return std::nullopt;
}

ExportBatch::ExportBatch(int activityCount, const RunSettings& resources)
    : m_resources(resources),
      m_instance(checkedActivityCount(activityCount, resources), resources.resourceCount) {}

ExportBatchResult ExportBatch::run(const ArcSetRows& rows, ExportPool& pool, RandomSource& random,
                                   const ExportFileSettings& files) {
    ExportBatchResult result;
    result.nextStartNumber = files.startNumber;
    if (files.count > pool.length()) {
        result.error = kMoreFilesMessage;
        return result;
    }
    if (auto problem = checkFileNumbers(files.startNumber, files.count)) {
        result.error = std::move(problem);
        return result;
    }
    if (auto problem = checkInstanceClass(files.instanceClass)) {
        result.error = std::move(problem);
        return result;
    }
    result.nextStartNumber = static_cast<std::int64_t>(files.startNumber) + files.count;
    m_provenance = exportProvenance(m_resources, files.provenance);
    m_classActive = files.instanceClass.active();
    if (m_classActive) {
        formats::Provenance extra = classProvenance(files.instanceClass);
        extra.emplace_back("feasibility", "");
        m_provenance.insert(m_provenance.end() - 1, extra.begin(), extra.end());
    }
    // 64-bit: the number after file 2147483647 must not overflow.
    std::int64_t number = files.startNumber;
    for (int file = 0; file < files.count; ++file) {
        const int slot = pool.draw(random);
        if (!m_classActive) {
            completeInstance(m_instance, rows(slot), m_resources, random);
        } else if (const auto feasibility = completeClassInstance(
                       m_instance, m_model, rows(slot), m_resources, files.instanceClass, random)) {
            m_feasibility = *feasibility;
        } else {
            result.error = std::string(kNoFeasibleInstanceMessage) + " " + std::to_string(slot + 1)
                           + " in " + std::to_string(kClassAttempts) + " draws";
            return result;
        }
        try {
            writeFiles(files, static_cast<std::int32_t>(number));
        } catch (const FileWriteError& error) {
            result.error = error.what();
            return result;
        }
        ++result.filesWritten;
        ++number;
    }
    return result;
}

// The .rcp file is formatted straight from the completed instance, the fastest path and the one
// whose bytes must never change; the model is filled once for the other formats (and holds the
// instance already in another class, which has no .rcp form).
void ExportBatch::writeFiles(const ExportFileSettings& files, std::int32_t number) {
    bool filled = false;
    for (const formats::InstanceFormat format : files.formats) {
        setInstanceFileName(m_path, files.directory, files.prefix, number,
                            formats::formatExtension(format));
        if (format == formats::InstanceFormat::Rcp && !m_classActive) {
            m_writer.write(m_instance, m_path);
            continue;
        }
        if (!filled) {
            if (m_classActive) {
                (m_provenance.end() - 2)->second = formats::feasibilityName(m_feasibility);
            } else {
                fillFormatInstance(m_instance, m_model);
            }
            m_provenance.back().second = std::to_string(number);
            m_model.provenance = m_provenance;
            filled = true;
        }
        try {
            formats::writeInstance(format, m_model, m_text);
        } catch (const std::invalid_argument& error) {
            throw FileWriteError(m_path, error.what());
        }
        replaceFile(m_path, m_text);
    }
}

formats::Provenance exportProvenance(const RunSettings& settings,
                                     const formats::Provenance& extra) {
    const bool first = settings.variant == GeneratorVariant::Tavrin1;
    formats::Provenance provenance{
        {"program", "Tavrin"},
        {"version", TAVRIN_VERSION},
        {"variant", first ? "Tavrin1" : "Tavrin2"},
        {"activities", std::to_string(settings.activityCount)},
        {first ? "order_strength" : "i2", formatReal(settings.target)},
        {"resources", std::to_string(settings.resourceCount)},
    };
    if (settings.requestMeasure == RequestMeasure::ResourceFactor) {
        provenance.emplace_back("resource_factor", formatReal(settings.resourceFactor));
    } else {
        provenance.emplace_back("resource_use", std::to_string(settings.resourceUse));
    }
    if (settings.demandMeasure == DemandMeasure::ResourceConstrainedness) {
        provenance.emplace_back("resource_constrainedness",
                                formatReal(settings.resourceConstrainedness));
    } else {
        provenance.emplace_back("resource_strength", formatReal(settings.resourceStrength));
    }
    provenance.insert(provenance.end(), extra.begin(), extra.end());
    provenance.emplace_back("file_number", "");
    return provenance;
}

ExportBatchResult runExportBatch(const NetworkStore& store, ExportPool& pool, RandomSource& random,
                                 const RunSettings& resources, const ExportFileSettings& files) {
    if (auto problem = checkResourceSettings(resources)) {
        return {0, files.startNumber, std::move(problem)};
    }
    if (resources.activityCount != store.activityCount()) {
        throw std::invalid_argument("The settings and the store disagree on the activity count");
    }
    ExportBatch batch(store.activityCount(), resources);
    return batch.run([&](int slot) { return store.row(slot); }, pool, random, files);
}

} // namespace tavrin
