#include "engine/run_driver.h"
#include "export/export_batch.h"
#include "formats/generated_instances.h"
#include "formats/instance_io.h"
#include "instance_fixtures.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using formats::InstanceFormat;

// Runs the generator, then exports four files from the source the run left.
ExportBatchResult exportFiles(const std::string& directory,
                              std::vector<InstanceFormat> chosenFormats) {
    const RunSettings settings = testing::smallRun(GeneratorVariant::Tavrin2, 12, 3);
    RandomSource random;
    const RunResult run = runGeneration(settings, 0.0, 5, random, RunHooks{});
    ExportPool pool;
    pool.rebuildTavrin2(*run.store, {0, 100, 0, 100, 0, 100, 0, 100});
    ExportFileSettings files(directory, "Pat", 4, 7);
    files.formats = std::move(chosenFormats);
    files.provenance = {{"seed", "5"}};
    return runExportBatch(*run.store, pool, random, settings, files);
}

// More formats draw nothing: the .rcp files keep their bytes, and every other file of an
// instance holds the instance of its .rcp file.
TEST(ExportFormats, WritesEachFormatOfTheSameInstances) {
    fixtures::ScratchDirectory dir;
    const std::string plain = dir.file("plain");
    const std::string all = dir.file("all");
    std::filesystem::create_directories(plain);
    std::filesystem::create_directories(all);
    ASSERT_EQ(exportFiles(plain, {InstanceFormat::Rcp}).filesWritten, 4);
    const ExportBatchResult result = exportFiles(
        all, {InstanceFormat::Json, InstanceFormat::Sm, InstanceFormat::Dzn, InstanceFormat::Rcp});
    ASSERT_EQ(result.filesWritten, 4);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(all), {}), 16);
    for (std::int32_t number = 7; number < 11; ++number) {
        const std::string rcp = instanceFileName(all, "Pat", number);
        ASSERT_EQ(fixtures::readFile(rcp),
                  fixtures::readFile(instanceFileName(plain, "Pat", number)));
        formats::Instance expected = formats::readInstanceFile(rcp);
        for (const std::string_view extension : {".json", ".sm"}) {
            formats::Instance read =
                formats::readInstanceFile(instanceFileName(all, "Pat", number, extension));
            const formats::Provenance& provenance = read.provenance;
            ASSERT_GE(provenance.size(), 4u);
            EXPECT_EQ(provenance.front(),
                      (std::pair<std::string, std::string>{"program", "Tavrin"}));
            EXPECT_EQ(provenance[provenance.size() - 2].first, "seed");
            EXPECT_EQ(provenance.back().second, std::to_string(number));
            read.provenance.clear();
            EXPECT_EQ(read, expected) << extension << " " << number;
        }
    }
}

} // namespace
} // namespace tavrin
