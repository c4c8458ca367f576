#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "app/grid_check.h"
#include "app/quorvel_app.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"

namespace {

// A working directory with a grids folder, left again after the test.
class GridCheck : public testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::create_directory(dir_.File("grilles"));
        const std::string xml =
            "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n"
            "\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n</GRID_HEADER>\n";
        dir_.Write("grilles/geoide.mnt",
                   "-1 1 44 45 1 1 4 0 1 0 0 Geoide\n50.1 50.2 50.3\n50.4 50.5 50.6\n");
        dir_.Write("grilles/geoide.xml", xml);
        dir_.Write("grilles/ntf.mnt", std::string("-1 1 44 45 1 1 4 0 3 0 0 0 0\n") +
                                          "-168 -60 320 -168 -60 320 -168 -60 320\n"
                                          "-168 -60 320 -168 -60 320 -168 -60 320\n");
        dir_.Write("grilles/ntf.xml", xml);
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    CGr1dEntry Vertical(const std::string& name) {
        CGr1dEntry e;
        e.fileName = name;
        e.systemId = 4;
        e.verticalIds = {1};
        return e;
    }
    CGr3dEntry Translation(const std::string& name) {
        CGr3dEntry e;
        e.fileName = name;
        e.firstSystemId = 1;
        e.secondSystemId = 4;
        return e;
    }

    TempDir dir_;
    std::filesystem::path previous_;
    ScriptedInterface ui_;
};

}  // namespace

TEST_F(GridCheck, TextGridsAreConvertedAndEntriesNameTheirCache) {
    Catalogue catalogue;
    catalogue.verticalGrids.push_back(Vertical("grilles/geoide.mnt"));
    catalogue.translationGrids.push_back(Translation("grilles/ntf.mnt"));
    std::filesystem::current_path("/");  // the check makes the working directory current itself
    EXPECT_TRUE(CheckCatalogueGrids(catalogue, dir_.path(), false, ui_, "Quorvel"));
    EXPECT_EQ("grilles/geoide.bin", catalogue.verticalGrids[0].fileName);
    EXPECT_EQ("grilles/ntf.bin", catalogue.translationGrids[0].fileName);
    EXPECT_TRUE(std::filesystem::exists(dir_.File("grilles/geoide.bin")));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("grilles/ntf.bin")));
    EXPECT_TRUE(ui_.messages.empty());

    // A second start: the caches are used as they are, and named again.
    const std::string cache = TempDir::Read(dir_.File("grilles/geoide.bin"));
    dir_.Write("grilles/geoide.mnt", "-1 1 44 45 1 1 4 0 1 0 0 Autre\n1 2 3\n4 5 6\n");
    Catalogue next;
    next.verticalGrids.push_back(Vertical("grilles/geoide.mnt"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(1, CheckVerticalGrids(next.verticalGrids, dir_.path(), true, ui_, "Quorvel"));
    EXPECT_EQ("", testing::internal::GetCapturedStdout());  // no conversion, no progress
    EXPECT_EQ("grilles/geoide.bin", next.verticalGrids[0].fileName);
    EXPECT_EQ(cache, TempDir::Read(dir_.File("grilles/geoide.bin")));

    // Entries that already name the cache stay as they are.
    EXPECT_EQ(1, CheckVerticalGrids(next.verticalGrids, dir_.path(), false, ui_, "Quorvel"));
    EXPECT_EQ("grilles/geoide.bin", next.verticalGrids[0].fileName);
}

TEST_F(GridCheck, FirstFailureIsShownAndStopsTheCheck) {
    Catalogue catalogue;
    catalogue.verticalGrids.push_back(Vertical("grilles/geoide.mnt"));
    catalogue.verticalGrids.push_back(Vertical("grilles/absente.mnt"));
    catalogue.verticalGrids.push_back(Vertical("grilles/geoide.mnt"));
    catalogue.translationGrids.push_back(Translation("grilles/ntf.mnt"));
    EXPECT_FALSE(CheckCatalogueGrids(catalogue, dir_.path(), false, ui_, "Quorvel"));
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(ScriptedInterface::Kind::Error, ui_.messages[0].kind);
    EXPECT_EQ("Impossible d'ouvrir le fichier \ngrilles/absente.mnt", ui_.messages[0].text);
    EXPECT_EQ("Quorvel", ui_.messages[0].caption);
    // Nothing is rolled back, nothing after the failure is checked.
    EXPECT_EQ("grilles/geoide.bin", catalogue.verticalGrids[0].fileName);
    EXPECT_EQ("grilles/geoide.mnt", catalogue.verticalGrids[2].fileName);
    EXPECT_EQ("grilles/ntf.mnt", catalogue.translationGrids[0].fileName);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("grilles/ntf.bin")));
}

TEST_F(GridCheck, DamagedTranslationGridAndEmptyLists) {
    dir_.Write("grilles/ntf.xml", "<?xml version=\"1.0\"?>\n<GRID_HEADER></GRID_HEADER>\n");
    Catalogue catalogue;
    catalogue.translationGrids.push_back(Translation("grilles/ntf.mnt"));
    EXPECT_FALSE(CheckCatalogueGrids(catalogue, dir_.path(), true, ui_, "Quorvel"));
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(
        "grilles/ntf.mnt :\n+ Le type d'interpolation doit être bilinéaire ou spline\n"
        "\n(cf fichier XML le cas échéant)",
        ui_.messages[0].text);

    Catalogue empty;
    ScriptedInterface quiet;
    EXPECT_TRUE(
        CheckCatalogueGrids(empty, "/nonexistent-working-directory", false, quiet, "Quorvel"));
    EXPECT_TRUE(quiet.messages.empty());
}

namespace {

// Console start-up in an all-users profile folder whose working directory
// holds the catalogue and its grids; the exit code, or the code given to Exit.
int StartInConsole(CQuorvelApp& app, ScriptedInterface& ui, const TempDir& profile,
                   std::string& output) {
    const char* saved = std::getenv("ALLUSERSPROFILE");
    const std::optional<std::string> previous =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    ::setenv("ALLUSERSPROFILE", profile.path().c_str(), 1);
    int keys[2];
    if (::pipe(keys) != 0) return -1;
    ::close(keys[1]);  // the closing key wait sees the end of input at once
    app.keyInput = keys[0];
    testing::internal::CaptureStdout();
    int code = 0;
    try {
        code = app.Run({"quorvel", "-x"}, ui);
    } catch (const ScriptedExit& exit) {
        code = exit.code;
    }
    output = testing::internal::GetCapturedStdout();
    ::close(keys[0]);
    if (previous) {
        ::setenv("ALLUSERSPROFILE", previous->c_str(), 1);
    } else {
        ::unsetenv("ALLUSERSPROFILE");
    }
    return code;
}

}  // namespace

TEST_F(GridCheck, StartUpConvertsTextGridsAndRenamesTheirEntries) {
    // The profile case: the working directory is the current directory at start.
    TempDir profile;
    std::filesystem::create_directories(profile.File("Quorvel"));
    profile.Write("Quorvel/quorvel.ini", "[DATA]\nData=catalogue.txt\n");
    dir_.Write("catalogue.txt",
               "ELG 1 6378137 6356752.314 298.257222101 0.00669438002290 GRS 1980\n"
               "LGO 1 2 0 Greenwich\n"
               "REG 4 1 1 3D RGF93\n"
               "GR1D grilles/geoide.mnt 4 1\n"
               "GR3D grilles/ntf.mnt 4 4\n");
    std::filesystem::current_path(dir_.path());
    CQuorvelApp app;
    std::string output;
    EXPECT_EQ(0, StartInConsole(app, ui_, profile, output));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ("grilles/geoide.bin", app.catalogue.verticalGrids[0].fileName);
    EXPECT_EQ("grilles/ntf.bin", app.catalogue.translationGrids[0].fileName);
    // The conversions are shown in the console, after the banner.
    const size_t geoid = output.find("Création du fichier binaire  grilles/geoide.bin ...\n");
    const size_t ntf = output.find("Création du fichier binaire  grilles/ntf.bin ...\n");
    EXPECT_NE(std::string::npos, geoid) << output;
    EXPECT_LT(geoid, ntf);
    EXPECT_EQ(0u, output.find("***"));

    // A grid that cannot be opened ends start-up with a non-zero code.
    std::filesystem::remove(dir_.File("grilles/geoide.xml"));
    std::filesystem::remove(dir_.File("grilles/geoide.bin"));
    CQuorvelApp failing;
    ScriptedInterface ui;
    std::filesystem::current_path(dir_.path());
    EXPECT_EQ(1, StartInConsole(failing, ui, profile, output));
    ASSERT_EQ(1u, ui.messages.size());
    EXPECT_EQ("grilles/geoide.mnt :\n+ Le type d'interpolation doit être bilinéaire ou spline\n",
              ui.messages[0].text);
    EXPECT_EQ(std::string::npos, output.find("Appuyer"));
}
