#include "cli/convert_command.h"
#include "formats/instance_io.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;
using formats::InstanceFormat;

struct ConvertDir {
    fs::path path = fs::temp_directory_path() / ("tavrin-convert-" + std::to_string(::getpid()));
    ConvertDir() {
        fs::remove_all(path);
        fs::create_directories(path / "out");
    }
    ~ConvertDir() { fs::remove_all(path); }

    std::string put(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return (path / name).string();
    }
    std::string out() const { return (path / "out").string(); }
};

// 1 -> 2 -> 3, one resource.
formats::Instance chain() {
    formats::Instance instance;
    instance.availability = {4};
    instance.jobs = {{0, {0}, {1}}, {2, {3}, {2}}, {0, {0}, {}}};
    instance.provenance = {{"program", "Tavrin"}};
    return instance;
}

std::string bytesOf(InstanceFormat format, const formats::Instance& instance) {
    std::string bytes;
    formats::writeInstance(format, instance, bytes);
    return bytes;
}

int convert(const std::vector<std::string>& args, std::string& errors) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = convertMain(args, out, err);
    errors = err.str();
    return status;
}

// A JSON file goes to every format; a bad file is reported and the next one still converted.
TEST(ConvertCommand, WritesEachFileAndReportsTheBadOnes) {
    ConvertDir dir;
    const std::string good = dir.put("A1.json", bytesOf(InstanceFormat::Json, chain()));
    const std::string bad = dir.put("B2.rcp", "\r\n   3    1\r\n   4\r\n\r\n   0   0   1 7 \r\n");
    std::string errors;
    for (const char* to : {"rcp", "sm", "dzn", "json"}) {
        const InstanceFormat format = *formats::parseFormatName(to);
        EXPECT_EQ(convert({"--to", to, "--dir", dir.out(), bad, good}, errors), 1) << to;
        EXPECT_EQ(errors,
                  "tavrin-cli convert: " + bad + ":5: job 1 lists a successor 7 outside 1..3\n");
        const fs::path written =
            fs::path(dir.out()) / ("A1" + std::string(formatExtension(format)));
        std::ifstream in(written, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str(), bytesOf(format, chain())) << to;
        EXPECT_FALSE(
            fs::exists(fs::path(dir.out()) / ("B2" + std::string(formatExtension(format)))));
    }
}

TEST(ConvertCommand, RefusesBadUsageBeforeReading) {
    ConvertDir dir;
    const std::string good = dir.put("A1.json", bytesOf(InstanceFormat::Json, chain()));
    const std::vector<std::vector<std::string>> cases = {
        {"--dir", dir.out(), good},
        {"--to", "xml", "--dir", dir.out(), good},
        {"--to", "sm", "--dir", dir.out()},
        {"--to", "sm", "--dir", dir.out(), "--fast", good},
    };
    std::string errors;
    for (const auto& args : cases) {
        EXPECT_EQ(convert(args, errors), 2) << args.size();
        EXPECT_EQ(errors.rfind("tavrin-cli convert: ", 0), 0u) << errors;
    }
    EXPECT_TRUE(fs::is_empty(dir.out()));
    // A missing folder is created, as generate and design create theirs.
    const fs::path created = dir.path / "new" / "deeper";
    EXPECT_EQ(convert({"--to", "sm", "--dir", created.string(), good}, errors), 0) << errors;
    EXPECT_TRUE(fs::exists(created / "A1.sm"));
}

} // namespace
} // namespace tavrin::cli
