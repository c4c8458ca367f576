#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>

#include "shared/text_encoding.h"
#include "support/temp_dir.h"

// The shell options of the built quorvel, run as a user types them: from a
// folder of their own, on the default installation (no ALLUSERSPROFILE), or
// on a catalogue of their own.
namespace {

class ShellProgramTest : public ::testing::Test {
protected:
    // Runs the shell command (its "quorvel" being the built program) in the
    // test folder; `environment` goes before it. Returns the exit status.
    int Run(const std::string& arguments, const std::string& environment = "") {
        const std::string command = "cd '" + folder.path() + "' && env -u ALLUSERSPROFILE " +
                                    environment + " '" QUORVEL_BINARY "' " + arguments +
                                    " </dev/null >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        out = TempDir::Read(folder.File("stdout.txt"));
        err = TempDir::Read(folder.File("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempDir folder;
    std::string out, err;
};

TEST_F(ShellProgramTest, HelpAndVersionAnswerAtOnce) {
    ASSERT_EQ(0, Run("--help"));
    const std::string help = out;
    EXPECT_EQ("", err);
    EXPECT_EQ(std::string::npos, help.find("Bienvenue")) << "no banner";
    EXPECT_EQ(std::string::npos, help.find("Appuyer sur une touche")) << "no key wait";
    EXPECT_NE(std::string::npos, help.find("-typcoor1 TYPE"));
    ASSERT_EQ(0, Run("-h"));
    EXPECT_EQ(help, out);

    ASSERT_EQ(0, Run("--version"));
    EXPECT_TRUE(std::regex_match(out, std::regex("Quorvel [0-9]+[.][0-9]+([.][0-9]+)*\n"))) << out;

    // A value that the option does not take is refused, and said so.
    EXPECT_EQ(1, Run("--version 2"));
    EXPECT_EQ("", out);
    EXPECT_NE(std::string::npos, err.find("« 2 » en trop")) << err;
    // The specified help flag keeps its console behaviour.
    EXPECT_EQ(0, Run("-? x"));
    EXPECT_NE(std::string::npos, out.find("Bienvenue")) << out;
}

// The two examples of the usage text, taken from it and run as printed from
// another folder: both succeed, the file run writes the bundled points
// transformed into its output file, the single point is printed.
TEST_F(ShellProgramTest, UsageExamplesRunAsPrinted) {
    ASSERT_EQ(0, Run("--help"));
    std::istringstream lines(out.substr(out.find("EXEMPLES")));
    std::vector<std::string> examples;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  quorvel ", 0) == 0) examples.push_back(line.substr(10));
    }
    ASSERT_EQ(2u, examples.size());
    for (const std::string& example : examples) {
        SCOPED_TRACE(example);
        EXPECT_EQ(0, Run(example)) << out << err;
    }
    // Paris Notre-Dame in Lambert-93 (cs2cs with the catalogue's parameters:
    // 652297.680 6861633.017).
    EXPECT_NE(std::string::npos, out.find("652297.680")) << out;
    EXPECT_NE(std::string::npos, out.find("6861633.017")) << out;
    const std::string written = TempDir::Read(folder.File("ntf_lambert2e_vers_lambert93.txt"));
    EXPECT_NE(std::string::npos, written.find("Paris_NotreDame     652297.680    6861633.017"))
        << written;
}

TEST_F(ShellProgramTest, ListsTheDefaultCatalogue) {
    ASSERT_EQ(0, Run("--liste"));
    const std::string all = out;
    for (const char* system : {"\n1  NTF  (2D", "\n4  RGF93  (3D", "\n5  Réunion 1947  (2D",
                               "\n7  ETRS89  (3D", "    3 EGM96\n"}) {
        EXPECT_NE(std::string::npos, all.find(system)) << system;
    }
    ASSERT_EQ(0, Run("--liste 4"));
    const std::string rgf93 = out;
    EXPECT_NE(std::string::npos, rgf93.find("2154 Lambert-93\n")) << rgf93;
    EXPECT_NE(std::string::npos, rgf93.find("(-alt) :    3 EGM96\n")) << rgf93;
    EXPECT_EQ(std::string::npos, rgf93.find("NTF Lambert II")) << rgf93;
    ASSERT_EQ(0, Run("--list RGF93"));
    EXPECT_EQ(rgf93, out);
    ASSERT_EQ(0, Run("--liste 'Réunion 1947'"));
    EXPECT_NE(std::string::npos, out.find("3727 Gauss-Laborde Réunion\n")) << out;

    EXPECT_EQ(1, Run("--liste 99"));
    EXPECT_EQ("", out);
    EXPECT_NE(std::string::npos, err.find("« 99 » n'existe pas")) << err;
}

// A user's catalogue (ISO-8859-1 on disk) is listed as it is, accents in
// UTF-8, and its systems are found by their accented names.
TEST_F(ShellProgramTest, ListsTheUsersCatalogueInUtf8) {
    std::filesystem::create_directories(folder.File("Quorvel"));
    folder.Write("Quorvel/quorvel.ini", "[DATA]\nData=catalogue.txt\n");
    folder.Write("catalogue.txt",
                 Utf8ToLatin1("ELG 1 6378137.0 6356752.3 298.25 0.00669438 Ellipsoïde d'été\r\n"
                              "LGO 1 2 0.0 Greenwich\n"
                              "REG 12 1 1 3D Système Noël\n"
                              "REA 8 Réseau Élevé\n"
                              "TYPCOOR 12 2\n"
                              "UNIT 12 2 3\n"
                              "GR1D geoide.mnt 12 8\n"));
    const std::string profile = "ALLUSERSPROFILE='" + folder.path() + "'";
    ASSERT_EQ(0, Run("--liste 'Système Noël'", profile)) << err;
    EXPECT_EQ("Catalogue : " + folder.path() + "/catalogue.txt\n\n"
              "12  Système Noël  (3D, ellipsoïde Ellipsoïde d'été, méridien Greenwich)\n"
              "    Types de coordonnées (-typcoor) :  2 Géographiques\n"
              "    Unités d'angle :                   2 Degrés décimaux\n"
              "                                       3 Grades\n"
              "    Méridiens origines :               1 Greenwich\n"
              "    Systèmes altimétriques (-alt) :    8 Réseau Élevé\n"
              "    Transformation Standard vers :     aucun\n"
              "    Transformation Grille vers :       aucun\n",
              out);
}

}  // namespace
