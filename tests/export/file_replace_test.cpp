#include "export/file_replace.h"
#include "instance_fixtures.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace tavrin {
namespace {

using fixtures::ScratchDirectory;

// Temporary files left by killed runs, named the way a serial counter would name them, must not
// block a later write.
TEST(FileReplace, StaleTemporaryFilesDoNotBlockAWrite) {
    ScratchDirectory dir;
    for (int serial = 0; serial < 1000; ++serial) {
        std::ofstream(dir.file(".tavrin-" + std::to_string(serial) + ".tmp")) << "stale";
    }
    replaceFile(dir.file("Pat1.rcp"), "bytes");
    EXPECT_EQ(fixtures::readFile(dir.file("Pat1.rcp")), "bytes");
    EXPECT_EQ(dir.names().size(), 1001u);
}

TEST(FileReplace, ConcurrentWritersLeaveOnlyWholeFiles) {
    ScratchDirectory dir;
    std::vector<std::thread> writers;
    for (int t = 0; t < 8; ++t) {
        writers.emplace_back([&dir, t] {
            for (int i = 0; i < 50; ++i) {
                replaceFile(dir.file("f" + std::to_string(t) + ".txt"),
                            std::string(1000 + i, static_cast<char>('a' + t)));
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    removeTemporaryFilesNow(); // nothing is in flight: removes nothing
    ASSERT_EQ(dir.names().size(), 8u);
    for (int t = 0; t < 8; ++t) {
        EXPECT_EQ(fixtures::readFile(dir.file("f" + std::to_string(t) + ".txt")),
                  std::string(1049, static_cast<char>('a' + t)));
    }
}

} // namespace
} // namespace tavrin
