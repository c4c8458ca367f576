// The grid method from the command line (-type 2) on the default
// installation: the NTv2 grid NTF to RGF93 and the EGM96 geoid of data/.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace {

class GridConsoleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The first start converts the text grids of the installation into
        // their caches, with its progress on the console.
        TempDir warm;
        Run(warm, "-mode 0");
    }

    // Runs quorvel from `folder` with the installation's own data folder;
    // standard output in `out`, the exit code returned.
    static int Run(TempDir& folder, const std::string& arguments, std::string* out = nullptr) {
        const std::string command = "cd '" + folder.path() + "' && env -u ALLUSERSPROFILE '" +
                                    QUORVEL_BINARY "' " + arguments +
                                    " </dev/null >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        if (out) *out = TempDir::Read(folder.File("stdout.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempDir folder;
    std::string out;
    const std::string banner = "*** Bienvenue dans Quorvel Batch, version 1.1 du 06-10-2009 ***";
    const std::string prompt = "\nAppuyer sur une touche pour quitter l'application ...\n";
};

// References: PROJ's cs2cs with +nadgrids=ntf_r93.gsb (NTF Lambert II étendu
// on Clarke 1880 IGN and the Paris meridian, to Lambert-93 on GRS 1980):
// Paris 652299.046 6861633.318, Brest 145906.080 6835223.227; in geographic
// coordinates 2°E 47°N gives 1.9992837756 46.9999418189.
TEST_F(GridConsoleTest, SinglePointThroughTheNtv2Grid) {
    ASSERT_EQ(0, Run(folder,
                     "-mode 0 -type 2 -sys1 1 -sys2 4 -typcoor1 2 2 1 -typcoor2 2 2 1 -lon 2.0 "
                     "-lat 47.0",
                     &out));
    EXPECT_EQ(banner + "1.99928378 46.99994182" + prompt, out);
    // Outside the grid: the out-of-grid text, and a failed run.
    EXPECT_EQ(1, Run(folder,
                     "-mode 0 -type 2 -sys1 1 -sys2 4 -typcoor1 2 2 1 -typcoor2 2 2 1 -lon 11.0 "
                     "-lat 47.0",
                     &out));
    EXPECT_EQ(banner +
                  "Les coordonnées que vous avez saisies sont hors de la grille de "
                  "transformation\n" +
                  prompt,
              out);
}

TEST_F(GridConsoleTest, FileRunLambertToLambert93) {
    folder.Write("in.txt",
                 "* Deux points et un hors zone\r\n"
                 "Paris_NotreDame              600984.230  2428291.971    35.000\r\n"
                 "Brest_Chateau                 94489.738  2397710.572    12.000\r\n"
                 "Londres                      400000.000  2900000.000    10.000\r\n");
    ASSERT_EQ(0, Run(folder,
                     "-mode 1 -type 2 -sys1 1 -sys2 4 -typcoor1 3 27572 -typcoor2 3 2154 -f1 1 "
                     "in.txt -f2 1 out.txt",
                     &out));
    EXPECT_EQ(banner + prompt, out);
    const std::string written = TempDir::Read(folder.File("out.txt"));
    EXPECT_NE(written.find("     Paris_NotreDame     652299.046    6861633.318     35.000"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("       Brest_Chateau     145906.080    6835223.227     12.000"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("* ERREUR!!! Sur cette ligne du fichier d'entr\xe9"
                           "e : Les coordonn\xe9"
                           "es ne se trouvent pas dans l'emprise de la projection de d\xe9"
                           "part"),
              std::string::npos)
        << written;
}

// Ellipsoidal height to EGM96 altitude through the geoid of the
// installation: PROJ's cct with +proj=vgridshift +grids=egm96_15.gtx gives
// 52.4874 m at 2°E 47°N for a height of 100 m.
TEST_F(GridConsoleTest, HeightToEgm96Altitude) {
    // Standard method WGS84 to RGF93, and grid method within RGF93 (no
    // translation grid needed, the geoid on both sides).
    for (const char* systems : {"-type 1 -sys1 3 -sys2 4", "-type 2 -sys1 4 -sys2 4"}) {
        ASSERT_EQ(0, Run(folder,
                         std::string("-mode 0 ") + systems +
                             " -typcoor1 2 2 1 -typcoor2 2 2 1 -lon 2.0 -lat "
                             "47.0 -he 100 -alt 1 3 -v",
                         &out));
        EXPECT_NE(out.find("Lon=2.00000000 Lat=47.00000000 he=100.000 alt=52.487\n"),
                  std::string::npos)
            << out;
    }
}

}  // namespace
