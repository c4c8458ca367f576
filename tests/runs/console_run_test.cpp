#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "batch/command_line.h"
#include "catalogue/loader.h"
#include "engine/coordinate.h"
#include "grids/grid.h"
#include "console_run_fixture.h"
#include "run_files.h"
#include "runs/console_run.h"
#include "support/temp_dir.h"

namespace {

class ConsoleRunTest : public ConsoleRunFixture {
protected:
    // NTF Lambert II étendu "Nom E N Altitude" to RGF93 Lambert-93 in `format`
    // (number in the projected list).
    std::vector<std::string> FileRun(const std::string& format, bool verbose) {
        std::vector<std::string> arguments = {
            "-mode", "1",         "-type",  "1",     "-sys1",     "1",      "-sys2",
            "4",     "-typcoor1", "3",      "27572", "-typcoor2", "3",      "2154",
            "-f1",   "1",         "in.txt", "-f2",   format,      "out.txt"};
        if (verbose) arguments.push_back("-v");
        return arguments;
    }

};

const char* const kInput = kNtfPoints;

}  // namespace

TEST_F(ConsoleRunTest, HelpIsWrittenWhenAsked) {
    EXPECT_EQ(ConsoleRunOutcome::Finished, Run({"-mode", "1", "-?", "x"}));
    EXPECT_EQ("\nAide de Quorvel\n", console);
    EXPECT_EQ(ConsoleRunOutcome::Finished, Run({"-?"}));
    EXPECT_EQ("\n\n", console);
}

TEST_F(ConsoleRunTest, InvalidCommandLineStops) {
    EXPECT_EQ(ConsoleRunOutcome::Stopped, Run({"-type", "1"}));
    EXPECT_EQ("Le type de transformation géométrique choisi n'existe pas !\n", console);
}

TEST_F(ConsoleRunTest, VerboseFileRunWithSummary) {
    folder.Write("in.txt", kInput);
    EXPECT_EQ(ConsoleRunOutcome::FinishedWithRefusedLines, Run(FileRun("1", true)));
    const std::string dashes(66, '-');
    EXPECT_EQ(
        "Ligne de commande validee.\n"
        "Initialisation des donnees internes aux calculs...\n\n"
        "\n" +
            dashes +
            "\nTransformation terminée entre les fichiers suivants :\n"
            "in.txt \nout.txt\n\n2 transformation(s) réussie(s)\n"
            "1 transformation(s) hors zone\n"
            "1 ligne(s) refusée(s) (ni point, ni commentaire, ni ligne blanche)\n" +
            dashes + "\n",
        console);
    const std::vector<std::string> lines = CrLfLines(TempDir::Read(folder.File("out.txt")));
    ASSERT_EQ(21u, lines.size());
    EXPECT_EQ("*Mardi 8/12/2026 -- 9:05:07", lines[0]);
    EXPECT_EQ(
        "*          Nom              E              N             Alt     Conv(Degr\xE9s "
        "d\xE9"
        "cimaux)  Alt Lin(mm/km)\t\tpr\xE9"
        "c. plani\t\tpr\xE9"
        "c alti",
        lines[15]);
    EXPECT_EQ("               Paris   ", lines[16].substr(0, 23));
    EXPECT_NE(std::string::npos, lines[16].find(" \t\t de 1 \xE0 2m \t\t "));
    EXPECT_EQ(
        "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
        "e : mauvais format de point (ligne 4)",
        lines[17]);
    EXPECT_EQ("               Brest   ", lines[18].substr(0, 23));
    EXPECT_EQ(
        "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
        "e : Les coordonn\xE9"
        "es ne se "
        "trouvent pas dans l'emprise de la projection de d\xE9part",
        lines[19].substr(0, lines[19].find("part") + 4));
    EXPECT_EQ("* Fin Mardi 8/12/2026 -- 9:05:07", lines[20]);
}

TEST_F(ConsoleRunTest, QuietFileRunHasNoHeaderNorEndLine) {
    folder.Write("in.txt", kInput);
    EXPECT_EQ(ConsoleRunOutcome::FinishedWithRefusedLines,
              Run(FileRun("2", false)));  // "Nom E N Hauteur"
    EXPECT_EQ("", console);
    // Said without -v all the same, for the caller to write.
    EXPECT_EQ(
        "\n1 ligne(s) refusée(s) (ni point, ni commentaire, ni ligne blanche) dans in.txt : voir "
        "les lignes ERREUR de out.txt !\n",
        result);
    const std::vector<std::string> lines = CrLfLines(TempDir::Read(folder.File("out.txt")));
    ASSERT_EQ(4u, lines.size());
    // The ellipsoidal-height layouts keep convergence and linear alteration.
    const std::string& paris = lines[0];
    EXPECT_EQ("               Paris   ", paris.substr(0, 23));
    EXPECT_EQ(20u + 3 + 12 + 3 + 12 + 3 + 8 + 3 + 12 + 3 + 8, paris.size());
    EXPECT_EQ(std::string::npos, paris.find('\t'));
    // Altitude layouts carry neither.
    Run(FileRun("3", false));  // "E N Altitude"
    EXPECT_EQ(3u + 12 + 3 + 12 + 3 + 8, CrLfLines(TempDir::Read(folder.File("out.txt")))[0].size());
}

TEST_F(ConsoleRunTest, SameFileUnderAnotherNameIsRefused) {
    folder.Write("in.txt", kInput);
    ASSERT_EQ(0, ::symlink(folder.File("in.txt").c_str(), folder.File("link.txt").c_str()));
    for (const std::string& output :
         {std::string("in.txt"), folder.File("in.txt"), std::string("link.txt")}) {
        std::vector<std::string> arguments = FileRun("1", false);
        arguments.back() = output;
        EXPECT_EQ(ConsoleRunOutcome::Stopped, Run(arguments)) << output;
        EXPECT_EQ("Impossible de lire et d'écrire dans les mêmes fichiers !", result);
    }
    EXPECT_EQ(kInput, TempDir::Read(folder.File("in.txt")));  // never truncated
}

TEST_F(ConsoleRunTest, FilesThatCannotBeOpened) {
    EXPECT_EQ(ConsoleRunOutcome::Stopped, Run(FileRun("1", false)));
    EXPECT_EQ("Impossible d'ouvrir le fichier in.txt !\nLe fichier ou son dossier n'existe pas.",
              result);
    folder.Write("in.txt", kInput);
    std::vector<std::string> arguments = FileRun("1", false);
    arguments.back() = "/nonexistent/out.txt";
    EXPECT_EQ(ConsoleRunOutcome::Stopped, Run(arguments));
    EXPECT_EQ(
        "Impossible d'ouvrir le fichier /nonexistent/out.txt !\nLe fichier ou son dossier "
        "n'existe pas.",
        result);
}

TEST_F(ConsoleRunTest, WriteFailureStopsTheRun) {
    folder.Write("in.txt", kInput);
    std::vector<std::string> arguments = FileRun("1", true);
    arguments[arguments.size() - 2] = "/dev/full";
    EXPECT_EQ(ConsoleRunOutcome::Failed, Run(arguments));
    EXPECT_EQ(
        "Impossible d'écrire dans le fichier /dev/full (disque plein ou fichier supprimé) : "
        "la transformation est interrompue !",
        result);
    EXPECT_EQ(std::string::npos, console.find("Transformation terminée"));
}

TEST_F(ConsoleRunTest, FailedComputationIsAnErrorLine) {
    // A projection whose family the engine does not handle.
    ASSERT_EQ(LineOutcome::Added,
              AddCatalogueLine("PRC 9999 0 1 600000.0 2200000.0 2 3 0.0 52 0.99987742 0.0 0.0 0 4 "
                               "Projection inconnue",
                               catalogue));
    ASSERT_EQ(LineOutcome::Added, AddCatalogueLine("PROJ 4 9999 2 -5.5 41.0 10.0 51.5", catalogue));
    folder.Write("in.txt", "A 600000 2200000 0\n");
    std::vector<std::string> arguments = FileRun("1", true);
    arguments[13] = "9999";  // on the arrival side: the departure extent test passes
    EXPECT_EQ(ConsoleRunOutcome::Finished, Run(arguments));
    EXPECT_NE(std::string::npos,
              console.find("0 transformation(s) réussie(s)\n1 transformation(s) hors zone"));
    const std::vector<std::string> lines = CrLfLines(TempDir::Read(folder.File("out.txt")));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(
        "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
        "e : Transformation : erreur n\xB0 300 (ligne 1)",
        lines[lines.size() - 2]);
}

TEST_F(ConsoleRunTest, FailedSinglePointIsReported) {
    ASSERT_EQ(LineOutcome::Added,
              AddCatalogueLine("PRC 9999 0 1 600000.0 2200000.0 2 3 0.0 52 0.99987742 0.0 0.0 0 4 "
                               "Projection inconnue",
                               catalogue));
    EXPECT_EQ(ConsoleRunOutcome::Failed,
              Run({"-mode", "0", "-type", "1", "-sys1", "1", "-sys2", "4", "-typcoor1", "3", "9999",
                   "-typcoor2", "3", "2154", "-E", "600000", "-N", "2200000"}));
    EXPECT_EQ("Transformation : erreur n° 300\n", result);
    EXPECT_EQ("", console);
}

TEST_F(ConsoleRunTest, SinglePoint) {
    const std::vector<std::string> point = {
        "-mode", "0",     "-type",     "1", "-sys1", "1",  "-sys2",      "4",  "-typcoor1",
        "3",     "27572", "-typcoor2", "3", "2154",  "-E", "600984.230", "-N", "2428291.971"};
    EXPECT_EQ(ConsoleRunOutcome::Finished, Run(point));
    ASSERT_EQ(std::string::npos, console.find('\n'));
    double e = 0, n = 0;
    ASSERT_EQ(2, std::sscanf(console.c_str(), "%lf %lf", &e, &n)) << console;
    EXPECT_NEAR(652000, e, 1000);
    EXPECT_NEAR(6862000, n, 1000);
    std::vector<std::string> verbose = point;
    verbose.push_back("-v");
    Run(verbose);
    EXPECT_EQ(0u, console.find("Ligne de commande validee.\nInitialisation des donnees internes "
                               "aux calculs...\n\nE="));
    EXPECT_EQ('\n', console.back());
}

TEST(SinglePointText, ByTypeAndVerticalKind) {
    CCoor p;
    p.type = 1;
    p.x = 1.23456;
    p.y = -2;
    p.z = 3;
    EXPECT_EQ("X=1.235 Y=-2.000 Z=3.000\n", SinglePointText(p, 2, true, true));
    EXPECT_EQ("1.235 -2.000 3.000", SinglePointText(p, 0, false, false));
    p.type = 2;
    p.longitude = 2.5;
    p.latitude = 48.123456789;
    p.height = 80.25;
    p.altitude = 35.5;
    EXPECT_EQ("Lon=2.50000000 Lat=48.12345679\n", SinglePointText(p, 0, true, true));
    EXPECT_EQ("Lon=2.50000000 Lat=48.12345679 he=80.250\n", SinglePointText(p, 1, false, true));
    EXPECT_EQ("Lon=2.50000000 Lat=48.12345679 alt=35.500\n", SinglePointText(p, 2, false, true));
    EXPECT_EQ("Lon=2.50000000 Lat=48.12345679 he=80.250 alt=35.500\n",
              SinglePointText(p, 1, true, true));
    EXPECT_EQ("2.50000000 48.12345679 35.500", SinglePointText(p, 2, false, false));
    EXPECT_EQ("2.50000000 48.12345679 80.250 35.500", SinglePointText(p, 2, true, false));
    p.type = 3;
    p.easting = 652468.1234;
    p.northing = 6862035.5;
    EXPECT_EQ("E=652468.123 N=6862035.500\n", SinglePointText(p, 0, true, true));
    EXPECT_EQ("E=652468.123 N=6862035.500 alt=35.500\n", SinglePointText(p, 2, false, true));
    EXPECT_EQ("652468.123 6862035.500 80.250", SinglePointText(p, 1, false, false));
    EXPECT_EQ("652468.123 6862035.500 80.250 35.500", SinglePointText(p, 1, true, false));
}

TEST(SameFile, NamesAndIdentities) {
    TempDir folder;
    const std::string a = folder.Write("a.txt", "1");
    const std::string b = folder.Write("b.txt", "1");
    EXPECT_TRUE(SameFile(a, a));
    EXPECT_FALSE(SameFile(a, b));
    EXPECT_TRUE(SameFile(a, folder.path() + "/./a.txt"));
    ASSERT_EQ(0, ::link(a.c_str(), folder.File("hard.txt").c_str()));
    EXPECT_TRUE(SameFile(folder.File("hard.txt"), a));
    EXPECT_FALSE(SameFile(a, folder.File("missing.txt")));
}
