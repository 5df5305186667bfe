#include "cli/measure_command.h"
#include "design/design_index.h"
#include "formats/instance_io.h"
#include "measure/instance_measures.h"
#include "measure_fixtures.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

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
        fs::create_directories(dir.path() / "empty");
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
        {{sets.at("a/deep"), sets.at("empty")}, 1, "empty: no instance files"},
        {{sets.at("a/skipped.dzn")}, 1, "can be written but not read"},
        {{"--out", sets.at("none/x.csv"), sets.at("b")}, 1, "cannot write the file"},
        {{"--hardness", sets.at("h.csv"), sets.at("b")}, 2, "give --report too"},
        {{"--report", sets.at("r.html"), "--hardness-x", "XY", sets.at("b")}, 2, "'XY'"},
        {{"--report", sets.at("r.html"), "--hardness", sets.at("none.csv"), sets.at("b")},
         1,
         "none.csv: cannot read the file"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(measureMain(c.args, out, err), c.code) << c.message;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
}

TEST(MeasureCommand, ReportsHardnessJoinedToTheFilesByTheirHash) {
    const Sets sets;
    const auto sha = [&](const std::string& name) {
        return design::sha256Hex(readAll(sets.at(name)));
    };
    // Paths as another machine wrote them: only the hashes join. x2 trivial, y open at 25%.
    std::ofstream(sets.at("h.csv"))
        << "file,sha256,n,K,lb0,lb,ub,status,gap,fails,seconds\n"
        << "/elsewhere/x2.rcp," << sha("a/x2.rcp") << ",8,3,10,10,10,optimal,0,0,0.01\n"
        << "/elsewhere/y.rcp," << sha("b/y.rcp") << ",8,3,10,12,15,feasible,0.25,900,1.5\n";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(
        measureMain({"--report", sets.at("r.html"), "--hardness", sets.at("h.csv"), "--hardness-x",
                     "RF", sets.at("a/x2.rcp"), sets.at("a/deep/x1.rcp"), sets.at("b")},
                    out, err),
        0)
        << err.str();
    const std::string page = readAll(sets.at("r.html"));
    const auto rowOf = [&](const std::string& set) {
        const std::size_t at =
            page.find("<td>" + sets.at(set) + "</td><td>", page.find("Hardness"));
        return at == std::string::npos ? std::string()
                                       : page.substr(at, page.find("</tr>", at) - at);
    };
    // a: x2 trivial; a/deep: x1 not solved; b: y open. Columns: solved, trivial, optimal, open,
    // infeasible, mean gap.
    EXPECT_NE(rowOf("a").find("1 of 1</td><td>100.0%</td><td>0.0%</td><td>0.0%</td><td>0.0%"
                              "</td><td>0.0%"),
              std::string::npos)
        << rowOf("a");
    EXPECT_NE(rowOf("a/deep").find("0 of 1</td><td>-</td>"), std::string::npos) << rowOf("a/deep");
    EXPECT_NE(rowOf("b").find("1 of 1</td><td>0.0%</td><td>0.0%</td><td>100.0%</td><td>0.0%"
                              "</td><td>25.0%"),
              std::string::npos)
        << rowOf("b");
    EXPECT_NE(page.find("gap (%) against RF"), std::string::npos);

    std::ofstream(sets.at("bad.csv")) << "file,sha256,lb0\nx," << sha("b/y.rcp") << ",3\n";
    EXPECT_EQ(
        measureMain({"--report", sets.at("r.html"), "--hardness", sets.at("bad.csv"), sets.at("b")},
                    out, err),
        1);
    EXPECT_NE(err.str().find("bad.csv: the index has no column 'lb'"), std::string::npos)
        << err.str();
}

// Only regular files are opened: a FIFO would block for ever. Whatever is not read is named, and
// a data set's manifest is not taken for an instance.
TEST(MeasureCommand, ReadsOnlyRegularFilesAndNamesTheRest) {
    const Sets sets;
    const fs::path b = sets.dir.path() / "b";
    ASSERT_EQ(mkfifo((b / "pipe.rcp").c_str(), 0644), 0);
    fs::create_symlink("nowhere.rcp", b / "broken.rcp");
    fs::create_symlink("loop2.rcp", b / "loop1.rcp");
    fs::create_symlink("loop1.rcp", b / "loop2.rcp");
    std::ofstream(b / "index.csv") << "file\n";
    std::ofstream(b / "manifest.json") << "{}\n";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(measureMain({sets.at("b"), sets.at("b/pipe.rcp")}, out, err), 1);
    for (const char* name : {"b/pipe.rcp", "b/broken.rcp", "b/loop1.rcp", "b/loop2.rcp"}) {
        EXPECT_NE(err.str().find(sets.at(name) + ": "), std::string::npos) << name << err.str();
    }
    EXPECT_EQ(err.str().find("manifest"), std::string::npos) << err.str();
    EXPECT_EQ(linesOf(out.str()).size(), 2u) << out.str(); // the header and y.rcp
}

} // namespace
} // namespace tavrin
