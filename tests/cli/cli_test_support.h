#pragma once

#include "support/scratch_directory.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace tavrin::cli::test_support {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh folder per test.
class ScratchFolderTest : public ::testing::Test {
protected:
    std::filesystem::path file(const std::string& name) const { return m_dir.path() / name; }

private:
    tavrin::testing::ScratchDirectory m_dir;
};

} // namespace tavrin::cli::test_support
