#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace tavrin::cli::test_support {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh folder per test, named after the process and the test so that parallel ctest runs
// never share one.
class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path()
                / ("tavrin_cli_" + std::to_string(::getpid()) + "_"
                   + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::filesystem::path file(const std::string& name) const { return m_dir / name; }

private:
    std::filesystem::path m_dir;
};

} // namespace tavrin::cli::test_support
