#include "cli/run_summary.h"

#include "cli/histogram_text.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tavrin::cli {
namespace {

std::string preciseSeconds(float seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(seconds));
    return text;
}

void writeCiPart(std::ostream& out, const CiHistogram& ci) {
    if (ci.bins.empty()) {
        out << "CI range: none\n";
        return;
    }
    out << "CI range: " << ci.low << " to " << ci.high << "\n\n";
    out << histogramText("CI", ciBins(ci));
}

void writeIndicatorPart(std::ostream& out, const IndicatorHistograms& histograms) {
    const char* names[] = {"I3", "I4", "I5", "I6"};
    for (std::size_t k = 0; k < 4; ++k) {
        out << '\n'
            << histogramText(std::string(names[k]) + " (percent)", percentBins(histograms.all[k]));
    }
}

} // namespace

std::string runSummary(const GenerationSession& session) {
    const RunSettings& settings = session.settings();
    const RunResult& result = session.result();
    std::ostringstream out;
    const bool indicators = settings.variant == GeneratorVariant::Tavrin2;
    out << "Variant: " << (indicators ? "Tavrin2" : "Tavrin1") << ", " << settings.activityCount
        << " activities, ";
    if (indicators) {
        out << settings.levelCount << " progressive levels\n";
    } else {
        out << settings.targetPairCount << " related pairs of " << settings.pairCount << '\n';
    }
    out << "Attempts: " << result.statistics.attempts << '\n';
    out << "Number of generated networks: " << result.store->count() << '\n';
    if (result.interrupted) {
        out << "Run interrupted: these are the networks kept until the stop\n";
    }
    out << "Elapsed time (in seconds): " << static_cast<int>(result.elapsedSeconds) << " ("
        << preciseSeconds(result.elapsedSeconds) << ")\n";
    if (result.statistics.leafLimitedOffers > 0) {
        out << "Offers whose canonical search stopped at its leaf limit: "
            << result.statistics.leafLimitedOffers << '\n';
    }
    if (indicators) {
        writeIndicatorPart(out, session.indicatorHistograms());
    } else {
        writeCiPart(out, session.ciHistogram());
    }
    return out.str();
}

} // namespace tavrin::cli
