#include "measure/class_measures.h"

#include "export/time_lags.h"
#include "measure/instance_measures.h"

#include <algorithm>

namespace tavrin::measure {
namespace {

std::optional<double> mean(const std::vector<double>& values) {
    if (values.empty()) {
        return std::nullopt;
    }
    double sum = 0.0;
    for (const double v : values) {
        sum += v;
    }
    return sum / static_cast<double>(values.size());
}

void measureModes(const formats::Instance& instance, ClassMeasures& out) {
    const std::size_t n = instance.jobs.size() - 2;
    std::size_t modes = 0;
    for (std::size_t j = 1; j <= n; ++j) {
        modes += instance.jobs[j].modes.size();
    }
    out.modesPerActivity = n == 0 ? 1.0 : static_cast<double>(modes) / static_cast<double>(n);
    const std::vector<std::int64_t> peaks = formats::earliestStartPeaks(instance);
    std::vector<double> renewable;
    std::vector<double> factor;
    std::vector<double> strength;
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        std::int64_t largestMinimum = 0;
        for (const formats::Job& job : instance.jobs) {
            std::int64_t least = job.modes.front().demands[r];
            for (const formats::Mode& mode : job.modes) {
                least = std::min<std::int64_t>(least, mode.demands[r]);
            }
            largestMinimum = std::max(largestMinimum, least);
        }
        if (peaks[r] > largestMinimum) {
            renewable.push_back(static_cast<double>(instance.availability[r] - largestMinimum)
                                / static_cast<double>(peaks[r] - largestMinimum));
        }
    }
    for (std::size_t r = 0; r < instance.nonrenewable.size(); ++r) {
        std::int64_t least = 0;
        std::int64_t most = 0;
        std::int64_t users = 0;
        for (std::size_t j = 1; j <= n; ++j) {
            std::int64_t low = instance.jobs[j].modes.front().nonrenewable[r];
            std::int64_t high = low;
            for (const formats::Mode& mode : instance.jobs[j].modes) {
                low = std::min<std::int64_t>(low, mode.nonrenewable[r]);
                high = std::max<std::int64_t>(high, mode.nonrenewable[r]);
            }
            least += low;
            most += high;
            users += high > 0 ? 1 : 0;
        }
        factor.push_back(n == 0 ? 0.0 : static_cast<double>(users) / static_cast<double>(n));
        if (most > least) {
            strength.push_back(static_cast<double>(instance.nonrenewable[r] - least)
                               / static_cast<double>(most - least));
        }
    }
    out.renewableStrength = mean(renewable);
    out.nonrenewableFactor = mean(factor);
    out.nonrenewableStrength = mean(strength);
}

std::string optionalField(const std::optional<double>& value) {
    return value ? formatMeasure(*value) : std::string();
}

} // namespace

formats::Instance precedenceView(const formats::Instance& instance) {
    formats::Instance view = instance;
    for (formats::Job& job : view.jobs) {
        std::vector<std::int32_t> successors;
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            if (job.lags.empty() || job.lags[i] >= 0) {
                successors.push_back(job.successors[i]);
            }
        }
        job.successors = std::move(successors);
        job.lags.clear();
    }
    return view;
}

std::optional<ClassMeasures> measureClass(const formats::Instance& instance) {
    const bool lagged = instance.hasTimeLags();
    if (!instance.multiMode() && !lagged) {
        return std::nullopt;
    }
    ClassMeasures out;
    if (instance.multiMode()) {
        measureModes(instance, out);
    }
    if (lagged) {
        const LagMeasures lags = measureLags(instance);
        out.maxLagShare = lags.maxLagShare;
        out.lagTightness = lags.tightness;
    }
    out.feasibility = formats::instanceFeasibility(instance);
    return out;
}

std::vector<std::string> classColumnNames() {
    return {"modes", "RS_r", "RF_n", "RS_n", "max_lags", "lag_tightness", "feasibility"};
}

std::vector<std::string> classCsvFields(const std::optional<ClassMeasures>& measures) {
    if (!measures) {
        return {"1", "", "", "", "", "", ""};
    }
    return {formatMeasure(measures->modesPerActivity),
            optionalField(measures->renewableStrength),
            optionalField(measures->nonrenewableFactor),
            optionalField(measures->nonrenewableStrength),
            optionalField(measures->maxLagShare),
            optionalField(measures->lagTightness),
            std::string(formats::feasibilityName(measures->feasibility))};
}

} // namespace tavrin::measure
