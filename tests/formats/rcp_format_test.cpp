#include "export/format_instance.h"
#include "export/rcp_writer.h"
#include "formats/instance_io.h"
#include "generated_instances.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using formats::InstanceFormat;

// The model writer must give the export writer's bytes, and reading them must give the model
// back: together this checks fillFormatInstance, both writers and the reader on real instances.
TEST(RcpFormat, MatchesTheExportWriterOnGeneratedInstances) {
    struct Case {
        GeneratorVariant variant;
        int activities;
        int resources;
        RequestMeasure request;
        DemandMeasure demand;
    };
    const Case cases[] = {
        {GeneratorVariant::Tavrin1, 6, 1, RequestMeasure::ResourceFactor,
         DemandMeasure::ResourceConstrainedness},
        {GeneratorVariant::Tavrin2, 6, 3, RequestMeasure::ResourceUse,
         DemandMeasure::ResourceStrength},
        {GeneratorVariant::Tavrin1, 30, 4, RequestMeasure::ResourceUse,
         DemandMeasure::ResourceConstrainedness},
        {GeneratorVariant::Tavrin2, 40, 7, RequestMeasure::ResourceFactor,
         DemandMeasure::ResourceStrength},
    };
    RcpWriter writer;
    formats::Instance model;
    std::string bytes;
    for (const Case& c : cases) {
        RunSettings settings = testing::smallRun(c.variant, c.activities, c.resources);
        settings.requestMeasure = c.request;
        settings.demandMeasure = c.demand;
        int compared = 0;
        testing::forEachGeneratedInstance(settings, 8, [&](const ProjectInstance& instance) {
            fillFormatInstance(instance, model);
            formats::writeInstance(InstanceFormat::Rcp, model, bytes);
            const std::string_view expected = writer.format(instance);
            EXPECT_EQ(bytes, expected) << c.activities << " activities, file " << compared;
            EXPECT_EQ(formats::readInstance(InstanceFormat::Rcp, expected, "x.rcp"), model);
            ++compared;
        });
        EXPECT_GT(compared, 1) << c.activities << " activities";
    }
}

// Every activity parallel: the start lists all n, and its count is written after its demands.
ProjectInstance parallelInstance(int n, std::vector<std::int32_t> availability) {
    ProjectInstance instance(n, static_cast<int>(availability.size()));
    const std::size_t pairs = static_cast<std::size_t>(n) * static_cast<std::size_t>(n - 1) / 2;
    const std::vector<Word> noArcs(pairs / 32 + 1, 0);
    RandomSource random;
    completePrecedence(instance, noArcs.data(), random);
    instance.availability = std::move(availability);
    return instance;
}

TEST(RcpFormat, SeparatesNumbersThatOutgrowTheirFields) {
    struct Case {
        const char* name;
        ProjectInstance instance;
        std::string_view fragment;
    };
    const Case cases[] = {
        // Old bytes "   0   01000 2 3": the count ran into the start's demand.
        {"1000 parallel activities", parallelInstance(1000, {10}), "\r\n   0   0 1000 2 3 "},
        // Old bytes "999910000123456".
        {"availabilities of five digits and more", parallelInstance(3, {9999, 10000, 123456}),
         "\r\n9999 10000 123456\r\n"},
    };
    RcpWriter writer;
    for (const Case& c : cases) {
        const std::string bytes(writer.format(c.instance));
        EXPECT_NE(bytes.find(c.fragment), std::string::npos) << c.name;
        formats::Instance model;
        fillFormatInstance(c.instance, model);
        EXPECT_EQ(formats::readInstance(InstanceFormat::Rcp, bytes, "x.rcp"), model) << c.name;
        std::string again;
        formats::writeInstance(InstanceFormat::Rcp, model, again);
        EXPECT_EQ(again, bytes) << c.name;
    }
}

} // namespace
} // namespace tavrin
