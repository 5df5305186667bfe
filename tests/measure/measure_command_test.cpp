#include "cli/measure_command.h"
#include "formats/instance_io.h"
#include "measure/instance_measures.h"
#include "measure_fixtures.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using measure::fixtures::ScratchDirectory;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Folders a/ and b/ of generated files, a broken file in a/, a .dzn that directories skip.
struct Sets {
    ScratchDirectory dir;
    std::vector<formats::Instance> instances = measure::fixtures::generatedInstances(8, 0.5, 6);
    Sets() {
        fs::create_directories(dir.path() / "a" / "deep");
        fs::create_directories(dir.path() / "b");
        measure::fixtures::writeRcp(instances[0], dir.path() / "a" / "x2.rcp");
        measure::fixtures::writeRcp(instances[1], dir.path() / "a" / "deep" / "x1.rcp");
        measure::fixtures::writeRcp(instances[2], dir.path() / "b" / "y.rcp");
        std::ofstream(dir.path() / "a" / "broken.rcp") << "\r\n   5    1\r\n  10\r\nnonsense\r\n";
        std::ofstream(dir.path() / "a" / "skipped.dzn") << "n = 1;\n";
    }
    std::string at(const std::string& name) const { return (dir.path() / name).string(); }
};

TEST(MeasureCommand, MeasuresDirectoriesAndGlobsAndReportsBadFiles) {
    const Sets sets;
    std::ostringstream out;
    std::ostringstream err;
    const int code =
        measureMain({"--report", sets.at("r.html"), sets.at("a"), sets.at("b/*.rcp")}, out, err);
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.str().find(sets.at("a/broken.rcp") + ":"), std::string::npos) << err.str();
    const std::vector<std::string> lines = linesOf(out.str());
    ASSERT_EQ(lines.size(), 4u) << out.str();
    EXPECT_EQ(lines[0].rfind("file,n,K,OS,NC,I1,", 0), 0u);
    EXPECT_NE(lines[0].find(",LB,RC_1,RC_2,RC_3,RS_1,RS_2,RS_3"), std::string::npos);
    // Name order within a directory, the .dzn left out; each row the file's own measures.
    const std::string expected[] = {"a/deep/x1.rcp", "a/x2.rcp", "b/y.rcp"};
    const int instance[] = {1, 0, 2};
    for (int i = 0; i < 3; ++i) {
        std::string row = sets.at(expected[i]);
        for (const std::string& field : measure::measureCsvFields(
                 measure::measureInstance(sets.instances[static_cast<std::size_t>(instance[i])]),
                 3)) {
            row += "," + field;
        }
        EXPECT_EQ(lines[static_cast<std::size_t>(i) + 1], row);
    }
    const std::string page = readAll(sets.at("r.html"));
    EXPECT_NE(page.find("<svg"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);
}

TEST(MeasureCommand, SeparatesUsageErrorsFromFileErrors) {
    const Sets sets;
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{}, 2, "PATH is required"},
        {{"--scatter", "OS", sets.at("b")}, 2, "takes two measures X,Y"},
        {{"--scatter", "OS,XY", sets.at("b")}, 2, "unknown measure 'XY'"},
        {{sets.at("missing/*.rcp")}, 1, "no file matches"},
        {{sets.at("a/skipped.dzn")}, 1, "can be written but not read"},
        {{"--out", sets.at("none/x.csv"), sets.at("b")}, 1, "cannot write the file"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(measureMain(c.args, out, err), c.code) << c.message;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
}

} // namespace
} // namespace tavrin
