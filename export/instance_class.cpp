#include "export/instance_class.h"

#include "engine/text_conversion.h"

namespace tavrin {
namespace {

bool fraction(double value) {
    return value >= 0.0 && value <= 1.0; // false for NaN as well
}

std::string outOfRange(const char* range, const std::string& value) {
    return std::string(range) + ", not " + value + ".";
}

} // namespace

std::optional<std::string> checkInstanceClass(const InstanceClass& instanceClass) {
    if (const auto& m = instanceClass.multiMode) {
        if (m->modes < 1 || m->modes > kMaxModes) {
            return outOfRange(kModeCountRange, std::to_string(m->modes));
        }
        if (m->nonrenewable < 0 || m->nonrenewable > 32) {
            return outOfRange(kNonrenewableCountRange, std::to_string(m->nonrenewable));
        }
        if (!fraction(m->nonrenewableFactor)) {
            return outOfRange(kNonrenewableFactorRange, formatReal(m->nonrenewableFactor));
        }
        if (!fraction(m->nonrenewableStrength)) {
            return outOfRange(kNonrenewableStrengthRange, formatReal(m->nonrenewableStrength));
        }
    }
    if (const auto& t = instanceClass.timeLags) {
        if (!fraction(t->maxLagShare)) {
            return outOfRange(kMaxLagShareRange, formatReal(t->maxLagShare));
        }
        if (!fraction(t->tightness)) {
            return outOfRange(kLagTightnessRange, formatReal(t->tightness));
        }
    }
    return std::nullopt;
}

formats::Provenance classProvenance(const InstanceClass& instanceClass) {
    formats::Provenance provenance;
    if (const auto& m = instanceClass.multiMode) {
        provenance.emplace_back("modes", std::to_string(m->modes));
        provenance.emplace_back("nonrenewable", std::to_string(m->nonrenewable));
        provenance.emplace_back("rf_n", formatReal(m->nonrenewableFactor));
        provenance.emplace_back("rs_n", formatReal(m->nonrenewableStrength));
    }
    if (const auto& t = instanceClass.timeLags) {
        provenance.emplace_back("max_lags", formatReal(t->maxLagShare));
        provenance.emplace_back("lag_tightness", formatReal(t->tightness));
    }
    return provenance;
}

} // namespace tavrin
