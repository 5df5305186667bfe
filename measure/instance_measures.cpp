#include "measure/instance_measures.h"

#include "engine/complexity_index.h"
#include "engine/run_settings.h"
#include "measure/activity_network.h"
#include "measure/resource_measures.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <memory>
#include <stdexcept>

namespace tavrin::measure {

namespace {

void measureNetwork(const WorkNetwork& network, ComplexityIndex& complexity,
                    InstanceMeasures& measures) {
    const int n = network.activityCount();
    const int words = network.rowWords();
    std::int64_t related = 0;
    std::int64_t arcs = 0;
    for (int a = 0; a < n; ++a) {
        for (int w = 0; w < words; ++w) {
            related += std::popcount(network.succ(a)[w]);
            arcs += std::popcount(network.cover(a)[w]);
        }
        // The dummy start covers every activity without a predecessor, the dummy end follows
        // every activity without a successor.
        arcs += rowEmpty(network.pred(a), words) ? 1 : 0;
        arcs += rowEmpty(network.succ(a), words) ? 1 : 0;
    }
    const std::int64_t pairs = std::int64_t{n} * (n - 1) / 2;
    measures.relatedPairCount = related;
    measures.orderStrength =
        pairs == 0 ? 0.0 : static_cast<double>(related) / static_cast<double>(pairs);
    measures.networkComplexity = static_cast<double>(arcs) / static_cast<double>(n + 2);

    IndicatorMeter levels(n, n);
    const int m = levels.progressiveLevels(network);
    IndicatorMeter meter(n, m);
    meter.progressiveLevels(network);
    measures.levelCount = m;
    measures.serialParallel =
        n == 1 ? 0.0 : static_cast<double>(m - 1) / static_cast<double>(n - 1);
    measures.indicators = meter.measure(network);
    measures.complexityIndex = complexity.compute(network);
}

std::string formatOptional(const std::optional<double>& value) {
    return value ? formatMeasure(*value) : std::string();
}

std::string formatPercentage(std::int32_t percent) {
    return formatMeasure(percent / 100.0);
}

} // namespace

InstanceMeter::InstanceMeter() = default;
InstanceMeter::~InstanceMeter() = default;

InstanceMeasures measureInstance(const formats::Instance& instance) {
    return InstanceMeter().measure(instance);
}

InstanceMeasures InstanceMeter::measure(const formats::Instance& instance) {
    std::optional<formats::Instance> view;
    if (instance.hasTimeLags()) {
        view = precedenceView(instance);
    }
    const formats::Instance& precedences = view ? *view : instance;
    const JobOrder order = orderJobs(precedences);
    const int n = precedences.jobCount() - 2;
    if (n > kMaxActivities) {
        throw std::invalid_argument("the instance has " + std::to_string(n)
                                    + " activities; the measures take at most "
                                    + std::to_string(kMaxActivities));
    }
    InstanceMeasures measures;
    measures.activityCount = n;
    measures.resourceCount = precedences.resourceCount();
    if (m_activityCount != n) {
        m_network = std::make_unique<WorkNetwork>(n);
        m_complexity = std::make_unique<ComplexityIndex>(n);
        m_activityCount = n;
    }
    fillActivityNetwork(precedences, order, *m_network);
    measureNetwork(*m_network, *m_complexity, measures);

    const std::vector<std::int64_t> finish = earliestFinishTimes(precedences, order);
    measures.criticalPathLength = *std::max_element(finish.begin(), finish.end());
    measureResources(precedences, finish, measures);
    measures.instanceClass = measureClass(instance);
    return measures;
}

std::vector<std::string> measureColumnNames(int maxResources) {
    std::vector<std::string> names{"n",      "K",  "OS", "NC",  "I1", "I2",     "I3",
                                   "I4",     "I5", "I6", "CI",  "RF", "RU_min", "RU_mean",
                                   "RU_max", "RC", "RS", "CPL", "LB"};
    for (int k = 1; k <= maxResources; ++k) {
        names.push_back("RC_" + std::to_string(k));
    }
    for (int k = 1; k <= maxResources; ++k) {
        names.push_back("RS_" + std::to_string(k));
    }
    return names;
}

std::vector<std::string> measureCsvFields(const InstanceMeasures& measures, int maxResources) {
    const IndicatorRecord& record = measures.indicators;
    std::vector<std::string> fields{std::to_string(measures.activityCount),
                                    std::to_string(measures.resourceCount),
                                    formatMeasure(measures.orderStrength),
                                    formatMeasure(measures.networkComplexity),
                                    std::to_string(measures.activityCount),
                                    formatMeasure(measures.serialParallel),
                                    formatPercentage(record.i3),
                                    formatPercentage(record.i4),
                                    formatPercentage(record.i5),
                                    formatPercentage(record.i6),
                                    std::to_string(measures.complexityIndex),
                                    formatMeasure(measures.resourceFactor),
                                    std::to_string(measures.resourceUseMin),
                                    formatMeasure(measures.resourceUseMean),
                                    std::to_string(measures.resourceUseMax),
                                    formatOptional(measures.resourceConstrainedness),
                                    formatOptional(measures.resourceStrength),
                                    std::to_string(measures.criticalPathLength),
                                    std::to_string(measures.lowerBound)};
    const auto perResource = [&](const std::vector<std::optional<double>>& values) {
        for (int k = 0; k < maxResources; ++k) {
            const auto at = static_cast<std::size_t>(k);
            fields.push_back(at < values.size() ? formatOptional(values[at]) : std::string());
        }
    };
    perResource(measures.constrainednessPerResource);
    perResource(measures.strengthPerResource);
    return fields;
}

std::string formatMeasure(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 6);
    std::string text(buffer.data(), result.ptr);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    if (text == "-0") {
        text = "0";
    }
    return text;
}

} // namespace tavrin::measure
