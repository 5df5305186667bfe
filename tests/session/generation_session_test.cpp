#include "export/instance_fixtures.h"
#include "formats/generated_instances.h"
#include "session/file_hash.h"
#include "session/generation_session.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tavrin {
namespace {

GenerationSession runTavrin1() {
    GenerationSession session;
    session.run(testing::smallRun(GeneratorVariant::Tavrin1, 12, 3), 0.0, 11, RunHooks{});
    return session;
}

// The desktop program exports one batch, the command line one instance at a time with a stop
// check between them: the files are the same, and the hashes are those of the files.
TEST(GenerationSession, BatchAndStoppableExportWriteTheSameFiles) {
    fixtures::ScratchDirectory dir;
    GenerationSession desktop = runTavrin1();
    GenerationSession cli = runTavrin1();
    const CiHistogram& ci = desktop.ciHistogram();
    desktop.selectCi(ci.low, ci.high);
    cli.select(std::nullopt, {});
    ASSERT_EQ(cli.selectedCount(), desktop.store().count());
    ASSERT_EQ(cli.selectedCount(), desktop.selectedCount());

    ExportFileSettings files(dir.file("a"), "Pat", 5, 3);
    files.formats = {formats::InstanceFormat::Rcp, formats::InstanceFormat::Json};
    std::filesystem::create_directories(files.directory);
    ASSERT_EQ(desktop.exportBatch(files).filesWritten, 5);
    files.directory = dir.file("b");
    std::filesystem::create_directories(files.directory);
    const ExportOutcome outcome = cli.exportFiles(files, nullptr, true);
    ASSERT_EQ(outcome.instancesWritten, 5);
    ASSERT_EQ(outcome.files.size(), 10u);
    EXPECT_EQ(outcome.files.front().name, "Pat3.rcp");
    for (const WrittenFile& file : outcome.files) {
        const auto a = readWholeFile(dir.file("a/" + file.name));
        const auto b = readWholeFile(dir.file("b/" + file.name));
        ASSERT_TRUE(a && b) << file.name;
        EXPECT_EQ(*a, *b) << file.name;
        EXPECT_EQ(file.sha256, sha256Hex(*b)) << file.name;
    }
}

TEST(GenerationSession, RaisedStopWritesNothing) {
    fixtures::ScratchDirectory dir;
    GenerationSession session = runTavrin1();
    session.select(std::nullopt, {});
    const std::atomic<bool> stop{true};
    const ExportOutcome outcome =
        session.exportFiles(ExportFileSettings(dir.path(), "Pat", 3, 1), &stop);
    EXPECT_TRUE(outcome.interrupted);
    EXPECT_EQ(outcome.instancesWritten, 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
} // namespace tavrin
