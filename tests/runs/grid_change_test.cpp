// Grid files that change under a running program: the application keeps its
// current grids open and the headers of the candidate grids between runs, so
// a grid truncated, rewritten, replaced or removed after one run must make
// the next run refuse the point or stop with a French message, never end the
// program nor compute with values that are not the grid's.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "batch/command_line.h"
#include "catalogue/loader.h"
#include "grids/grid_header_cache.h"
#include "grids/grid.h"
#include "runs/console_run.h"
#include "grids/ntv2_file.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The default catalogue, with the NTF to RGF93 NTv2 grid and the EGM96
// geoid copied into a working directory of the test's own. The current grids
// and the header cache live as long as the fixture, as the application's do
// between the runs of a window session.
class GridChange : public ::testing::Test {
protected:
    GridChange() {
        setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1);
        EXPECT_FALSE(
            ReadCatalogue(QUORVEL_SOURCE_DIR "/data/catalogue.txt", catalogue).has_value());
        // The geoid in the system's own text format, whose binary cache the
        // tests truncate and rewrite, in place of the world geoid.
        catalogue.verticalGrids.clear();
        for (const char* line : {"GR1D egm96_france.mnt 3 3", "GR1D egm96_france.mnt 4 3"})
            EXPECT_EQ(AddCatalogueLine(line, catalogue), LineOutcome::Added);
        for (const char* name :
             {"ntf_r93.gsb", "ntf_r93.xml", "egm96_france.mnt", "egm96_france.xml"}) {
            fs::copy_file(std::string(QUORVEL_SOURCE_DIR "/data/") + name, work.File(name));
        }
        user.Write("in.txt", kLambertPoints);
        user.Write("heights.txt", "Bourges 2.0 47.0 100.0\r\n");
    }
    ~GridChange() override { unsetenv("QUORVEL_TIME_STAMP"); }

    // NTF Lambert II étendu to RGF93 Lambert-93 through the NTv2 grid.
    static std::vector<std::string> LambertRun() {
        return {"-mode",     "1",  "-type", "2",       "-sys1", "1",    "-sys2", "4",
                "-typcoor1", "3",  "27572", "-typcoor2", "3",   "2154", "-f1",   "1",
                "in.txt",    "-f2", "1",    "out.txt",   "-v"};
    }
    // RGF93 ellipsoidal heights to EGM96 altitudes through the geoid.
    static std::vector<std::string> GeoidRun() {
        return {"-mode", "1", "-type", "2",           "-sys1", "4",       "-sys2",
                "4",     "-typcoor1", "2", "2",       "1",     "-typcoor2", "2",
                "2",     "1", "-f1",   "2", "heights.txt", "-f2", "1",      "out.txt",
                "-alt",  "1", "3",     "-v"};
    }

    // A run with the fixture's grids (`fresh`: with grids of its own, as a
    // program started now would have).
    ConsoleRunOutcome Run(const std::vector<std::string>& arguments, bool fresh = false) {
        CQuorvelCommandLine line;
        std::string message;
        EXPECT_TRUE(ParseCommandLine(line, arguments, "", message)) << message;
        console.clear();
        result.clear();
        CGrille1D ownVertical;
        const ConsoleRunEnvironment environment{
            catalogue,
            fresh ? ownVertical : verticalGrid,
            [this](const std::string& name) { return user.File(name); },
            [this](std::string_view text) { console += text; },
            fresh ? nullptr : &translationGrid,
            fresh ? nullptr : &headers,
            work.path() + "/"};
        return RunConsoleCommandLine(line, environment, result);
    }

    std::string Output() const { return TempDir::Read(user.File("out.txt")); }

    // The point lines of the output: neither header, error nor end lines.
    std::vector<std::string> PointLines() const {
        std::vector<std::string> lines;
        const std::string bytes = Output();
        for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            const std::string line = bytes.substr(start, end - start);
            if (!line.empty() && line[0] != '*') lines.push_back(line);
        }
        return lines;
    }

    static void ExpectIncomplete(const std::string& name, const std::string& message) {
        const std::string head = "Grille incomplète :\n" + name + "\n(";
        EXPECT_EQ(0u, message.find(head)) << message;
        EXPECT_NE(std::string::npos, message.find(" octets au lieu de ")) << message;
        EXPECT_EQ(message.size() - 10, message.rfind(" attendus)")) << message;
    }

    // A small NTv2 grid over France whose shifts are not the published ones.
    static std::string OtherShiftGrid() {
        Ntv2File other;
        other.sLat = 41 * 3600;
        other.nLat = 52 * 3600;
        other.eLong = -10 * 3600;  // positive westwards
        other.wLong = 6 * 3600;
        other.latInc = other.longInc = 3600;
        return other.Binary();
    }

    static constexpr const char* kLambertPoints =
        "Paris_NotreDame 600984.230 2428291.971 35.000\r\n"
        "Brest_Chateau 94489.738 2397710.572 12.000\r\n";

    Catalogue catalogue;
    CGrille1D verticalGrid;
    CGrille3D translationGrid;
    GridHeaderCache headers;
    TempDir work, user;
    std::string console, result;
};

// References: PROJ's cs2cs with +nadgrids=ntf_r93.gsb, and cct with
// +proj=vgridshift +grids=egm96_15.gtx (52.4874 m at 2°E 47°N for 100 m).
const char* const kParis = "     Paris_NotreDame     652299.046    6861633.318     35.000";
const char* const kBourges = "             Bourges    2.00000000   47.00000000   52.487";

}  // namespace

TEST_F(GridChange, TranslationGridTruncatedInPlaceStopsTheNextRun) {
    ASSERT_EQ(ConsoleRunOutcome::Finished, Run(LambertRun())) << result;
    ASSERT_EQ(0u, PointLines().at(0).find(kParis));
    ASSERT_TRUE(translationGrid.loaded);

    // Reading the mapping of the truncated file would end the program.
    fs::resize_file(work.File("ntf_r93.gsb"), 2000);
    EXPECT_EQ(ConsoleRunOutcome::Failed, Run(LambertRun()));
    ExpectIncomplete("ntf_r93.gsb", result);
    EXPECT_EQ(std::string::npos, console.find("Transformation terminée"));
    EXPECT_TRUE(PointLines().empty());
    EXPECT_FALSE(translationGrid.loaded);

    // The grid restored: the next run computes again.
    fs::copy_file(QUORVEL_SOURCE_DIR "/data/ntf_r93.gsb", work.File("ntf_r93.gsb"),
                  fs::copy_options::overwrite_existing);
    ASSERT_EQ(ConsoleRunOutcome::Finished, Run(LambertRun())) << result;
    EXPECT_EQ(0u, PointLines().at(0).find(kParis));
}

TEST_F(GridChange, TranslationGridRewrittenOrReplacedIsReadAgain) {
    for (const bool inPlace : {true, false}) {
        SCOPED_TRACE(inPlace ? "rewritten in place" : "replaced by a rename");
        fs::copy_file(QUORVEL_SOURCE_DIR "/data/ntf_r93.gsb", work.File("ntf_r93.gsb"),
                      fs::copy_options::overwrite_existing);
        ASSERT_EQ(ConsoleRunOutcome::Finished, Run(LambertRun())) << result;
        ASSERT_EQ(0u, PointLines().at(0).find(kParis));

        if (inPlace) {
            std::ofstream(work.File("ntf_r93.gsb"), std::ios::binary | std::ios::trunc)
                << OtherShiftGrid();
        } else {
            std::ofstream(work.File("new.gsb"), std::ios::binary) << OtherShiftGrid();
            fs::rename(work.File("new.gsb"), work.File("ntf_r93.gsb"));
        }
        ASSERT_EQ(ConsoleRunOutcome::Finished, Run(LambertRun())) << result;
        const std::vector<std::string> afterChange = PointLines();
        // The same points as a program started after the change computes.
        ASSERT_EQ(ConsoleRunOutcome::Finished, Run(LambertRun(), true)) << result;
        const std::vector<std::string> started = PointLines();
        ASSERT_EQ(2u, started.size());
        EXPECT_EQ(started, afterChange);
        EXPECT_NE(0u, afterChange[0].find(kParis));  // not the published grid's values
    }
}

TEST_F(GridChange, TranslationGridRemovedRefusesItsPoints) {
    ASSERT_EQ(ConsoleRunOutcome::Finished, Run(LambertRun())) << result;
    ASSERT_EQ(2u, PointLines().size());
    fs::remove(work.File("ntf_r93.gsb"));
    // The candidate cannot be opened any more: no grid covers the points.
    EXPECT_EQ(ConsoleRunOutcome::Finished, Run(LambertRun())) << result;
    EXPECT_TRUE(PointLines().empty());
    EXPECT_NE(std::string::npos,
              console.find("0 transformation(s) réussie(s)\n2 transformation(s) hors zone"));
    const std::string refused =
        "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
        "e : Les coordonn\xE9"
        "es que vous avez saisies sont hors de la grille de transformation (ligne ";
    const std::string bytes = Output();
    const std::size_t first = bytes.find(refused);
    ASSERT_NE(std::string::npos, first) << bytes;
    EXPECT_NE(std::string::npos, bytes.find(refused, first + refused.size())) << bytes;
}

TEST_F(GridChange, GeoidCacheTruncatedStopsTheNextRun) {
    ASSERT_EQ(ConsoleRunOutcome::Finished, Run(GeoidRun())) << result;
    ASSERT_EQ(0u, PointLines().at(0).find(kBourges)) << Output();
    ASSERT_TRUE(verticalGrid.loaded);
    ASSERT_EQ("egm96_france.bin", verticalGrid.header.NAME);

    // The catalogue names the text grid, whose own file did not change.
    fs::resize_file(work.File("egm96_france.bin"), 2000);
    EXPECT_EQ(ConsoleRunOutcome::Failed, Run(GeoidRun()));
    ExpectIncomplete("egm96_france.bin", result);
    EXPECT_TRUE(PointLines().empty());
}

TEST_F(GridChange, GeoidCacheOfAnotherVersionStopsTheNextRunAndIsKept) {
    ASSERT_EQ(ConsoleRunOutcome::Finished, Run(GeoidRun())) << result;
    ASSERT_EQ(0u, PointLines().at(0).find(kBourges)) << Output();

    // Another program's cache written over this one, of the same size.
    std::string cache = TempDir::Read(work.File("egm96_france.bin"));
    const unsigned char version[4] = {7, 0, 0, 0};
    cache.replace(5, 4, reinterpret_cast<const char*>(version), 4);
    std::ofstream(work.File("egm96_france.bin"), std::ios::binary | std::ios::in) << cache;
    EXPECT_EQ(ConsoleRunOutcome::Failed, Run(GeoidRun()));
    EXPECT_EQ("Numéro de version imprévu : 7\n(egm96_france.bin)", result);
    EXPECT_TRUE(PointLines().empty());
    EXPECT_EQ(cache, TempDir::Read(work.File("egm96_france.bin")));
}
