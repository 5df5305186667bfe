#include "design/design_index.h"
#include "design/design_manifest.h"
#include "design/design_run.h"
#include "design/design_verify.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <unistd.h>

namespace tavrin::design {
namespace {

namespace fs = std::filesystem;

struct ScratchDir {
    fs::path path;
    explicit ScratchDir(const std::string& name)
        : path(fs::temp_directory_path()
               / ("tavrin-design-" + name + "-" + std::to_string(::getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchDir() { fs::remove_all(path); }
    std::string sub(const std::string& name) const { return (path / name).string(); }
};

// Every file under dir by relative name, with its bytes.
std::map<std::string, std::string> folderBytes(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), dir).generic_string()] =
                *readWholeFile(entry.path().string());
        }
    }
    return files;
}

// Two targets x two RU levels, two instances a cell.
constexpr const char* kTinyDesign = R"(variant = "tavrin1"
prefix = "T"
instances = 2
networks = 10
seed = 11
[factors]
activities = [10]
target = [0.3, 0.6]
ru = [1, 2]
rc = [0.5]
)";

std::string writeDesign(const ScratchDir& scratch, const std::string& text) {
    const std::string path = scratch.sub("design.toml");
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

DesignRunResult build(const std::string& design, const std::string& out, int jobs = 1,
                      int shard = 1, int shards = 1) {
    DesignRunOptions options;
    options.designFile = design;
    options.outDir = out;
    options.jobs = jobs;
    options.shardIndex = shard;
    options.shardCount = shards;
    return runDesign(options);
}

TEST(DesignRun, CellFilesDependNeitherOnJobsNorOnOtherCells) {
    const ScratchDir scratch("jobs");
    const std::string design = writeDesign(scratch, kTinyDesign);
    ASSERT_FALSE(build(design, scratch.sub("one"), 1).error);
    ASSERT_FALSE(build(design, scratch.sub("three"), 3).error);
    const auto single = folderBytes(scratch.sub("one"));
    EXPECT_EQ(single.size(), 2u * 4u + 2u);
    EXPECT_EQ(folderBytes(scratch.sub("three")), single);

    // More levels, in another order: the cells both designs hold keep their files.
    std::string wider = kTinyDesign;
    wider.replace(wider.find("[0.3, 0.6]"), 10, "[0.6, 0.45, 0.3]");
    wider.replace(wider.find("[1, 2]"), 6, "[2, 3, 1]");
    const ScratchDir other("jobs-wider");
    ASSERT_FALSE(build(writeDesign(other, wider), other.sub("out"), 2).error);
    const auto widened = folderBytes(other.sub("out"));
    EXPECT_EQ(widened.size(), 2u * 9u + 2u);
    for (const auto& [name, bytes] : single) {
        if (name.ends_with(".rcp")) {
            ASSERT_EQ(widened.count(name), 1u) << name;
            EXPECT_EQ(widened.at(name), bytes) << name;
        }
    }
}

TEST(DesignRun, ContinuesAfterAStopWhereItEnded) {
    const ScratchDir scratch("resume");
    const std::string design = writeDesign(scratch, kTinyDesign);
    ASSERT_FALSE(build(design, scratch.sub("whole")).error);

    std::atomic<bool> stop{false};
    DesignRunOptions options;
    options.designFile = design;
    options.outDir = scratch.sub("stopped");
    options.jobs = 1;
    options.stop = &stop;
    options.progress = [&stop](const DesignProgress& p) { stop = p.cellsDone >= 1; };
    const DesignRunResult stopped = runDesign(options);
    EXPECT_TRUE(stopped.interrupted);
    EXPECT_FALSE(stopped.error);
    EXPECT_EQ(stopped.cellsDone, 1);
    // The index lists only the finished cell, whose files are whole.
    const CsvTable index = readCsv(*readWholeFile(scratch.sub("stopped/index.csv")));
    ASSERT_EQ(index.rows.size(), 2u);
    for (const auto& row : index.rows) {
        EXPECT_EQ(row[index.column("cell")], "0");
        EXPECT_EQ(sha256Hex(*readWholeFile(scratch.sub("stopped/" + row[0]))),
                  row[index.column("sha256")]);
    }

    stop = false;
    options.progress = nullptr;
    const DesignRunResult resumed = runDesign(options);
    EXPECT_FALSE(resumed.interrupted);
    EXPECT_EQ(resumed.filesWritten, 6); // the three cells left
    EXPECT_EQ(folderBytes(scratch.sub("stopped")), folderBytes(scratch.sub("whole")));
}

TEST(DesignVerify, PassesUntouchedAndNamesTamperedMissingAndAddedFiles) {
    const ScratchDir scratch("verify");
    const std::string design = writeDesign(scratch, kTinyDesign);
    const std::string first = "T_n10_t0.3_r1_c0.5_1.rcp";
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> change;
        std::vector<std::string> differing, missing, added;
    };
    const Case cases[] = {
        {"untouched", [](const fs::path&) {}, {}, {}, {}},
        {"tampered",
         [&](const fs::path& dir) { std::ofstream(dir / first, std::ios::app) << ' '; },
         {first},
         {},
         {}},
        {"missing", [&](const fs::path& dir) { fs::remove(dir / first); }, {}, {first}, {}},
        {"added",
         [](const fs::path& dir) { std::ofstream(dir / "extra.rcp") << "x"; },
         {},
         {},
         {"extra.rcp"}},
        {"index edited",
         [](const fs::path& dir) { std::ofstream(dir / "index.csv", std::ios::app) << "\n"; },
         {"index.csv"},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = scratch.sub(std::string("out-") + c.name);
        ASSERT_FALSE(build(design, out).error);
        c.change(out);
        const VerifyReport report = verifyDesign(out, 2);
        ASSERT_FALSE(report.error) << *report.error;
        EXPECT_EQ(report.differing, c.differing);
        EXPECT_EQ(report.missing, c.missing);
        EXPECT_EQ(report.added, c.added);
    }
}

TEST(DesignMerge, ShardsJoinIntoTheUnshardedRunByteForByte) {
    for (const char* paired : {"false", "true"}) {
        SCOPED_TRACE(std::string("paired = ") + paired);
        const ScratchDir scratch(std::string("merge-") + paired);
        const std::string design =
            writeDesign(scratch, std::string("paired = ") + paired + "\n" + kTinyDesign);
        ASSERT_FALSE(build(design, scratch.sub("single")).error);
        for (int k = 1; k <= 3; ++k) {
            ASSERT_FALSE(build(design, scratch.sub("shard" + std::to_string(k)), 1, k, 3).error);
        }
        // Shard 3 of 3 holds cell 2 alone (index mod 3 == 2).
        EXPECT_EQ(readCsv(*readWholeFile(scratch.sub("shard3/index.csv"))).rows.size(), 2u);

        const MergeResult refused =
            mergeShards({scratch.sub("shard1"), scratch.sub("shard2")}, scratch.sub("partial"));
        EXPECT_TRUE(refused.refused);
        EXPECT_FALSE(fs::exists(scratch.sub("partial")));

        const MergeResult merged =
            mergeShards({scratch.sub("shard3"), scratch.sub("shard1"), scratch.sub("shard2")},
                        scratch.sub("all"));
        ASSERT_FALSE(merged.error) << *merged.error;
        EXPECT_EQ(folderBytes(scratch.sub("all")), folderBytes(scratch.sub("single")));
    }
}

// An index is input like any other: its names may not leave the set, and its own manifest
// hash is no proof of sound names.
TEST(DesignMerge, RefusesNamesOutsideTheSetAndContinuesAnInterruptedMerge) {
    const ScratchDir scratch("merge-names");
    const std::string design = writeDesign(scratch, kTinyDesign);
    for (int k = 1; k <= 2; ++k) {
        ASSERT_FALSE(build(design, scratch.sub("shard" + std::to_string(k)), 1, k, 2).error);
    }
    const std::vector<std::string> shards{scratch.sub("shard1"), scratch.sub("shard2")};
    const std::string indexPath = scratch.sub("shard1/index.csv");
    const std::string original = *readWholeFile(indexPath);
    const std::string first = readCsv(original).rows.front().front();
    const auto craft = [&](const std::string& name) {
        std::string text = original;
        text.replace(text.find(first), first.size(), name);
        std::ofstream(indexPath, std::ios::binary) << text;
        Manifest manifest = readManifest(*readWholeFile(scratch.sub("shard1/manifest.json")));
        manifest.indexSha256 = sha256Hex(text);
        std::ofstream(scratch.sub("shard1/manifest.json"), std::ios::binary)
            << writeManifest(manifest);
    };
    for (const std::string& name : {std::string("../escaped.rcp"), scratch.sub("absolute.rcp"),
                                    std::string(".."), std::string("sub/x.rcp")}) {
        SCOPED_TRACE(name);
        craft(name);
        const MergeResult result = mergeShards(shards, scratch.sub("all"));
        EXPECT_TRUE(result.refused);
        EXPECT_FALSE(fs::exists(scratch.sub("all")));
        EXPECT_FALSE(fs::exists(scratch.sub("escaped.rcp")));
        EXPECT_FALSE(fs::exists(scratch.sub("absolute.rcp")));
    }
    craft(first);
    ASSERT_FALSE(build(design, scratch.sub("single")).error);
    // A merge killed before its manifest: some files in place, one cut short.
    ASSERT_FALSE(mergeShards(shards, scratch.sub("all")).error);
    fs::remove(scratch.sub("all/manifest.json"));
    std::ofstream(scratch.sub("all/" + first), std::ios::binary) << "cut";
    const MergeResult resumed = mergeShards(shards, scratch.sub("all"));
    ASSERT_FALSE(resumed.error) << *resumed.error;
    EXPECT_EQ(folderBytes(scratch.sub("all")), folderBytes(scratch.sub("single")));
    // A shard's own folder, or a folder holding anything else, is still refused.
    EXPECT_TRUE(mergeShards(shards, scratch.sub("shard1")).refused);
    std::ofstream(scratch.sub("single/notes.txt")) << "mine";
    EXPECT_TRUE(mergeShards(shards, scratch.sub("single")).refused);
}

// The successor lists of a .rcp file's jobs, without durations and demands.
std::vector<std::string> successorLists(const std::string& rcp) {
    std::istringstream lines(rcp);
    std::vector<std::string> lists;
    std::string line;
    int resources = 0;
    int seen = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> tokens;
        for (std::string token; fields >> token;) {
            tokens.push_back(token);
        }
        if (tokens.empty()) {
            continue;
        }
        if (++seen == 1) {
            resources = std::stoi(tokens[1]);
        } else if (seen > 2) {
            std::string list;
            for (std::size_t t = 1 + static_cast<std::size_t>(resources); t < tokens.size(); ++t) {
                list += tokens[t] + " ";
            }
            lists.push_back(list);
        }
    }
    return lists;
}

TEST(DesignRun, PairedCellsCompleteTheSameNetworks) {
    const ScratchDir scratch("paired");
    const std::string design = writeDesign(scratch, std::string("paired = true\n") + kTinyDesign);
    ASSERT_FALSE(build(design, scratch.sub("out"), 2).error);
    const auto files = folderBytes(scratch.sub("out"));
    for (const char* rep : {"1", "2"}) {
        const auto& ru1 = files.at(std::string("T_n10_t0.6_r1_c0.5_") + rep + ".rcp");
        const auto& ru2 = files.at(std::string("T_n10_t0.6_r2_c0.5_") + rep + ".rcp");
        EXPECT_NE(ru1, ru2);
        EXPECT_EQ(successorLists(ru1), successorLists(ru2));
    }
    EXPECT_NE(successorLists(files.at("T_n10_t0.6_r1_c0.5_1.rcp")),
              successorLists(files.at("T_n10_t0.3_r1_c0.5_1.rcp")));
}

} // namespace
} // namespace tavrin::design
