#pragma once

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tavrin::testing {

// An empty folder under the system's temporary directory, named after the process and a count
// so that parallel test runs never share one; removed with everything in it at the end.
class ScratchDirectory {
public:
    ScratchDirectory() {
        static std::atomic<int> made{0};
        m_path = std::filesystem::temp_directory_path()
                 / ("tavrin_test_" + std::to_string(::getpid()) + "_" + std::to_string(++made));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDirectory() {
        std::error_code ignored; // a destructor must not throw; the folder is only scratch
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    // The names of the files in it, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            out.push_back(entry.path().filename().string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::filesystem::path m_path;
};

} // namespace tavrin::testing
