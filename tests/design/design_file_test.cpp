#include "design/design_cells.h"
#include "design/design_file.h"
#include "design/design_index.h"

#include <gtest/gtest.h>

namespace tavrin::design {
namespace {

// A design of three lines before the factors, so that the factor lines are 5, 6, 7, ...
std::string designWith(const std::string& top, const std::string& factors) {
    return "variant = \"tavrin1\"\ninstances = 2\n" + top + "\n[factors]\n" + factors;
}

struct BadDesign {
    const char* name;
    std::string text;
    int line;
    const char* key;
    const char* words; // part of the message
};

TEST(DesignFile, RefusesBadFilesNamingTheKeyAndLine) {
    const std::string base = "activities = [10]\ntarget = [0.5]\n";
    const BadDesign cases[] = {
        {"unknown top key", designWith("colour = 1", base), 3, "colour", "unknown key"},
        {"unknown factor", designWith("", base + "rx = [1]\n"), 7, "factors.rx", "unknown key"},
        {"empty factor", designWith("", "activities = []\ntarget = [0.5]\n"), 5,
         "factors.activities", "no levels"},
        {"level of the wrong kind", designWith("", "activities = [10, \"x\"]\ntarget = [0.5]\n"), 5,
         "factors.activities", "expected an integer"},
        {"target above 1", designWith("", "activities = [10]\ntarget = [0.5,\n 1.5]\n"), 7,
         "factors.target", "OS value must be between 0 and 1"},
        {"too few activities", designWith("", "activities = [10, 0]\ntarget = [0.5]\n"), 5,
         "factors.activities", "cannot be smaller than 1"},
        {"ru above resources", designWith("", base + "resources = [3]\nru = [1,\n 4]\n"), 9,
         "factors.ru", "number of resources (3), not 4"},
        {"rc out of range", designWith("", base + "rc = [-0.5]\n"), 7, "factors.rc",
         "between 0 and 1"},
        {"repeated level", designWith("", "activities = [10, 10]\ntarget = [0.5]\n"), 5,
         "factors.activities", "given twice"},
        {"indicator range in tavrin1", designWith("", base + "i3 = [[0, 1]]\n"), 7, "factors.i3",
         "not a selection range"},
        {"rf and ru together", designWith("", base + "rf = [1]\nru = [1]\n"), 8, "factors.ru",
         "not both"},
        {"unknown format", designWith("formats = [\"rcp\", \"xml\"]", base), 3, "formats",
         "unknown format"},
        {"pattern without rep", designWith("pattern = \"{prefix}_{n}\"", base), 3, "pattern",
         "end in {rep}"},
        {"pattern of an absent factor", designWith("pattern = \"{rs}_{rep}\"", base), 3, "pattern",
         "does not have"},
        {"colliding names",
         designWith("pattern = \"x{rep}\"", "activities = [10, 12]\n"
                                            "target = [0.5]\n"),
         3, "pattern", "two files would be named"},
        {"syntax error", designWith("seed = = 1", base), 3, "", ""},
        {"indicator bound above 1",
         "variant = \"tavrin2\"\n[factors]\n" + base + "i3 = [[0, 0.5], [0.2,\n 1.5]]\n", 6,
         "factors.i3", "between 0 and 1"},
        {"inverted range", designWith("", base + "ci = [[3, 8], [8, 3]]\n"), 7, "factors.ci",
         "inverted"},
        {"zero twice", designWith("", base + "rc = [0.0,\n -0.0]\n"), 8, "factors.rc",
         "given twice"},
        {"more instances than networks", designWith("networks = 1", base), 2, "instances",
         "than networks"},
        {"separator in the prefix", designWith("prefix = \"a/b\"", base), 3, "prefix", "'a/b'"},
        {"name too long", designWith("prefix = \"" + std::string(250, 'x') + "\"", base), 3,
         "prefix", "more than 255"},
        {"too many files",
         "variant = \"tavrin1\"\ninstances = 2147483647\ntime_limit = 1\n[factors]\n" + base, 2,
         "instances", "more than"},
        {"modes and lags together", designWith("", base + "modes = [2]\nmax_lags = [0.2]\n"), 0,
         "factors", "not both"},
        {"rc in a multi-mode design", designWith("", base + "modes = [2]\nrc = [0.5]\n"), 8,
         "factors.rc", "by rs"},
        {"rcp for a multi-mode design", designWith("formats = [\"rcp\"]", base + "modes = [2]\n"),
         3, "formats", "cannot hold multi-mode"},
        {"names meeting across cells",
         "variant = \"tavrin1\"\ninstances = 21\npattern = \"x{k}{rep}\"\n[factors]\n" + base
             + "resources = [1, 12]\n",
         3, "pattern", "'x121'"},
        {"solve without a limit", designWith("", base + "[solve]\nschedules = true\n"), 7, "solve",
         "without a limit"},
        {"unknown solve key", designWith("", base + "[solve]\nfail_limit = 9\ncolour = 1\n"), 9,
         "solve.colour", "unknown key"},
        {"unknown requirement",
         designWith("", base + "[solve]\nfail_limit = 9\nrequire = \"hard\"\n"), 9, "solve.require",
         "nontrivial"},
        {"min_fails above fail_limit",
         designWith("", base + "[solve]\nfail_limit = 9\nmin_fails = 10\n"), 9, "solve.min_fails",
         "exceed"},
        {"filter in a paired design",
         designWith("paired = true", base + "[solve]\ntime_limit = 1\nmin_gap = 0.1\n"), 7, "solve",
         "share their networks"},
    };
    for (const BadDesign& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            checkCells(parseDesign(c.text, "d.toml"), "d.toml");
            ADD_FAILURE() << "accepted";
        } catch (const DesignError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_EQ(e.key(), c.key) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("d.toml:" + std::to_string(c.line) + ": ", 0), 0u)
                << e.what();
        }
    }
}

TEST(DesignFile, NamesAndSetsUpTheCellsOfMultiModeAndLagDesigns) {
    const std::string base = "activities = [10]\ntarget = [0.5]\n";
    const Design modes = parseDesign(designWith("", base + "modes = [2, 3]\nrs_n = [0.4]\n"), "d");
    EXPECT_EQ(modes.formats, std::vector{formats::InstanceFormat::Mm});
    const std::vector<CheckedCell> cells = checkCells(modes, "d");
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_TRUE(cells[1].filePrefix.ends_with("_r1_c0.5_m3_sn0.4_")) << cells[1].filePrefix;
    EXPECT_EQ(cells[1].run.settings.resourceCount, 2);
    ASSERT_TRUE(cells[1].instanceClass.multiMode);
    EXPECT_EQ(cells[1].instanceClass.multiMode->modes, 3);
    EXPECT_EQ(cells[1].instanceClass.multiMode->nonrenewableStrength, 0.4);
    const Design lags = parseDesign(designWith("", base + "lag_tightness = [1]\n"), "d");
    const std::vector<CheckedCell> lagCells = checkCells(lags, "d");
    ASSERT_TRUE(lagCells[0].instanceClass.timeLags);
    EXPECT_EQ(lagCells[0].instanceClass.timeLags->tightness, 1.0);
    EXPECT_TRUE(lagCells[0].filePrefix.ends_with("_lt1_")) << lagCells[0].filePrefix;
}

TEST(DesignFile, RefusesHugeDesignsQuickly) {
    std::string activities = "activities = [";
    for (int n = 10; n < 1010; ++n) {
        activities += std::to_string(n) + ",";
    }
    std::string rc = "rc = [";
    for (int k = 0; k <= 100; ++k) {
        rc += std::to_string(k) + "e-2,";
    }
    const std::string text = designWith("", activities + "]\ntarget = [0.5]\n" + rc + "]\n");
    try {
        checkCells(parseDesign(text, "d.toml"), "d.toml");
        ADD_FAILURE() << "accepted";
    } catch (const DesignError& e) {
        EXPECT_EQ(e.key(), "factors.rc") << e.what();
        EXPECT_NE(std::string(e.what()).find("more than 100000 cells"), std::string::npos);
    }
}

TEST(DesignCells, RangesNameFilesWithoutColons) {
    const Design design = parseDesign(designWith("pattern = \"{prefix}_{ci}_{rep}\"",
                                                 "activities = [10]\ntarget = [0.5]\n"
                                                 "ci = [[0, 3], [4, 9]]\n"),
                                      "d.toml");
    const auto cells = checkCells(design, "d.toml");
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].filePrefix, "Pat_0-3_");
    EXPECT_EQ(cells[1].filePrefix, "Pat_4-9_");
}

TEST(DesignCells, SeedsFollowTheLevelsNotThePosition) {
    const Design small = parseDesign(designWith("seed = 7", "activities = [10]\ntarget = [0.5]\n"
                                                            "ru = [2]\n"),
                                     "a.toml");
    const Design large = parseDesign(designWith("seed = 7", "activities = [12, 10]\n"
                                                            "target = [0.25, 0.5]\nru = [1, 2]\n"),
                                     "b.toml");
    const Cell only = enumerateCells(small).front();
    const auto cells = enumerateCells(large);
    ASSERT_EQ(cells.size(), 8u);
    // activities 10, target 0.5, ru 2: the last cell of the larger enumeration.
    EXPECT_EQ(cellSeed(large, cells.back(), false), cellSeed(small, only, false));
    EXPECT_EQ(cellSeed(large, cells.back(), true), cellSeed(large, cells[6], true));
    EXPECT_NE(cellSeed(large, cells.back(), false), cellSeed(large, cells[6], false));
    const Design reseeded = parseDesign(designWith("seed = 8", "activities = [10]\ntarget = [0.5]\n"
                                                               "ru = [2]\n"),
                                        "c.toml");
    EXPECT_NE(cellSeed(reseeded, only, false), cellSeed(small, only, false));
}

TEST(DesignFile, ExampleDesignsHoldTheirCells) {
    const struct {
        const char* file;
        std::size_t cells;
    } examples[] = {{"order-strength-300.toml", 3 * 4 * 4},
                    {"serial-parallel-30.toml", 9 * 4 * 4},
                    {"hardness-30.toml", 2 * 5}};
    for (const auto& example : examples) {
        const std::string path = std::string(TAVRIN_SOURCE_DIR "/docs/designs/") + example.file;
        const auto text = readWholeFile(path);
        ASSERT_TRUE(text) << path;
        EXPECT_EQ(checkCells(parseDesign(*text, example.file), example.file).size(), example.cells);
    }
}

} // namespace
} // namespace tavrin::design
