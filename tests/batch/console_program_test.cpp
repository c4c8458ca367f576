#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

// The built quorvel run as a user runs it: ALLUSERSPROFILE names a test
// folder holding Quorvel/quorvel.ini and the catalogue, the program starts
// in that folder, the time stamp is fixed.
namespace {

class ConsoleProgramTest : public ::testing::Test {
protected:
    ConsoleProgramTest() {
        std::filesystem::create_directories(folder.File("Quorvel"));
        folder.Write("Quorvel/quorvel.ini",
                     "[INFORMATIONS]\nTitre=Quorvel essai\n[DATA]\nData=catalogue.txt\n"
                     "[AIDE]\nConsole=quorvel -mode 1 -type 1 -sys1 ... (aide de test)\n");
        // The default catalogue without its grids: these runs use the
        // standard method and must not depend on the grid files.
        std::string catalogue = TempDir::Read(QUORVEL_SOURCE_DIR "/data/catalogue.txt"), kept;
        for (size_t at = 0; at < catalogue.size();) {
            const size_t end = catalogue.find('\n', at);
            const size_t next = end == std::string::npos ? catalogue.size() : end + 1;
            const std::string line = catalogue.substr(at, next - at);
            if (line.rfind("GR1D", 0) != 0 && line.rfind("GR3D", 0) != 0) kept += line;
            at = next;
        }
        folder.Write("catalogue.txt", kept);
    }

    // Runs quorvel with the arguments; returns its exit code, with what it
    // wrote to standard output in `out`.
    int Run(const std::vector<std::string>& arguments) {
        std::string command = "cd '" + folder.path() + "' && ALLUSERSPROFILE='" + folder.path() +
                              "' QUORVEL_TIME_STAMP='2026-12-08 09:05:07' '" QUORVEL_BINARY "'";
        for (const std::string& argument : arguments) command += " '" + argument + "'";
        command += " </dev/null >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        out = TempDir::Read(folder.File("stdout.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::vector<std::string> FileRun(const std::string& format, const std::string& output) {
        return {"-mode", "1",         "-type",  "1",     "-sys1",     "1",   "-sys2",
                "4",     "-typcoor1", "3",      "27572", "-typcoor2", "3",   "2154",
                "-f1",   "1",         "in.txt", "-f2",   format,      output};
    }

    TempDir folder;
    std::string out;
    const std::string banner = "*** Bienvenue dans Quorvel Batch, version 1.1 du 06-10-2009 ***";
    const std::string prompt = "\nAppuyer sur une touche pour quitter l'application ...\n";
};

// Three points of the example file. Reference: PROJ's cs2cs with the
// catalogue's parameters (NTF: Clarke 1880 IGN, Paris meridian,
// towgs84=-168,-60,320; Lambert-93: GRS 1980), the altitude taken as the
// ellipsoidal height: Paris 652297.679613 6861633.017210, Brest
// 145904.581764 6835219.558835, Strasbourg 1050216.437853 6841830.798959.
const char* const kInput =
    "* Trois points\r\n"
    "Paris_NotreDame              600984.230  2428291.971    35.000\r\n"
    "Brest_Chateau                 94489.738  2397710.572    12.000\r\n"
    "\r\n"
    "Strasbourg_Cathedrale        999317.724  2411882.996   142.000\r\n";

}  // namespace

TEST_F(ConsoleProgramTest, VerboseFileRun) {
    folder.Write("in.txt", kInput);
    std::vector<std::string> arguments = FileRun("1", "out.txt");
    arguments.push_back("-v");
    ASSERT_EQ(0, Run(arguments));
    const std::string dashes(66, '-');
    EXPECT_EQ(banner +
                  "Ligne de commande validee.\n"
                  "Initialisation des donnees internes aux calculs...\n\n"
                  "\n" +
                  dashes +
                  "\nTransformation terminée entre les fichiers suivants :\n"
                  "in.txt \nout.txt\n\n3 transformation(s) réussie(s)\n"
                  "0 transformation(s) hors zone\n" +
                  dashes + "\n" + prompt,
              out);
    const std::string bytes = TempDir::Read(folder.File("out.txt"));
    const std::string header =
        "*Mardi 8/12/2026 -- 9:05:07\r\n"
        "*R\xE9sultat de la transformation de type Standard entre :\r\n"
        "*SYSTEME :        NTF\r\n"
        "*COORDONN\xC9"
        "ES :   Planes\r\n"
        "*ELLIPSO\xCF"
        "DE :     Clarke 1880 IGN\r\n"
        "*PROJECTION:    NTF Lambert II \xE9tendu\r\n"
        "\r\n"
        "*SYSTEME :        RGF93\r\n"
        "*COORDONN\xC9"
        "ES :   Planes\r\n"
        "*ELLIPSO\xCF"
        "DE :     GRS 1980\r\n"
        "*PROJECTION:    Lambert-93\r\n"
        "\r\n"
        "*SYSTEME ALTIMETRIQUE :       \r\n"
        "\r\n"
        "\r\n"
        "*          Nom              E              N             Alt     Conv(Degr\xE9s "
        "d\xE9"
        "cimaux)  Alt Lin(mm/km)\t\tpr\xE9"
        "c. plani\t\tpr\xE9"
        "c alti\r\n";
    ASSERT_EQ(header, bytes.substr(0, header.size()));
    std::vector<std::string> lines;
    for (std::size_t start = header.size(), end;
         (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    ASSERT_EQ(4u, lines.size());
    // Coordinates to the millimetre of the reference; convergence and linear
    // alteration as PROJ's factors give them (-0d28'18.157", scale 0.99988995).
    EXPECT_EQ(
        "     Paris_NotreDame     652297.680    6861633.017     35.000       0.471710     "
        "-110.0 \t\t de 1 \xE0 2m \t\t aucune information",
        lines[0]);
    EXPECT_EQ("       Brest_Chateau     145904.582    6835219.559     12.000",
              lines[1].substr(0, 61));
    EXPECT_EQ("Strasbourg_Cathedrale    1050216.438    6841830.799    142.000",
              lines[2].substr(0, 62));
    EXPECT_EQ("* Fin Mardi 8/12/2026 -- 9:05:07", lines[3]);
}

TEST_F(ConsoleProgramTest, QuietFileRun) {
    folder.Write("in.txt", kInput);
    ASSERT_EQ(0, Run(FileRun("3", "out.txt")));  // "E N Altitude"
    EXPECT_EQ(banner + prompt, out);
    EXPECT_EQ(
        "     652297.680    6861633.017     35.000\r\n"
        "     145904.582    6835219.559     12.000\r\n"
        "    1050216.438    6841830.799    142.000\r\n",
        TempDir::Read(folder.File("out.txt")));
}

TEST_F(ConsoleProgramTest, SinglePointVerboseAndBare) {
    std::vector<std::string> point = {
        "-mode", "0",         "-type", "1", "-sys1", "1",  "-sys2",      "4",  "-typcoor1",  "3",
        "27572", "-typcoor2", "2",     "2", "1",     "-E", "600984.230", "-N", "2428291.971"};
    ASSERT_EQ(0, Run(point));
    // cs2cs to RGF93 geographic: 2.349909998 48.852970004.
    EXPECT_EQ(banner + "2.34991000 48.85297000" + prompt, out);
    point.push_back("-v");
    ASSERT_EQ(0, Run(point));
    EXPECT_EQ(banner +
                  "Ligne de commande validee.\nInitialisation des donnees internes aux "
                  "calculs...\n\nLon=2.34991000 Lat=48.85297000\n" +
                  prompt,
              out);
}

TEST_F(ConsoleProgramTest, FailuresEndWithANonZeroCode) {
    EXPECT_EQ(1, Run({"-mode", "1", "-bogus"}));
    EXPECT_EQ(banner + "bogus : Le flag n'existe pas !" + prompt, out);
    EXPECT_EQ(1, Run({"-mode", "1", "-type", "1"}));
    EXPECT_EQ(banner + "Le référentiel géodésique de départ choisi n'existe pas !\n" + prompt, out);
    EXPECT_EQ(1, Run(FileRun("1", "out.txt")));  // no input file
    EXPECT_EQ(banner + "Impossible d'ouvrir le fichier in.txt !" + prompt, out);
    folder.Write("in.txt", kInput);
    EXPECT_EQ(1, Run(FileRun("1", folder.File("in.txt"))));
    EXPECT_EQ(banner + "Impossible de lire et d'écrire dans les mêmes fichiers !" + prompt, out);
    EXPECT_EQ(kInput, TempDir::Read(folder.File("in.txt")));
    EXPECT_EQ(1, Run(FileRun("1", "/dev/full")));
    EXPECT_NE(std::string::npos, out.find("Impossible d'écrire dans le fichier /dev/full"));
}

TEST_F(ConsoleProgramTest, HelpFromTheConfiguration) {
    EXPECT_EQ(0, Run({"-?", "x"}));
    EXPECT_EQ(banner + "\nquorvel -mode 1 -type 1 -sys1 ... (aide de test)\n" + prompt, out);
}

// The console writes nothing to the interactive log, and leaves the user's
// log of the window as it is, byte for byte; it creates none either.
TEST_F(ConsoleProgramTest, ConsoleRunsLeaveTheLogAlone) {
    EXPECT_EQ(0, Run({"-?"}));
    EXPECT_FALSE(std::filesystem::exists(folder.File("log.txt")));
    const std::string journal = "POINT : Borne\tTransformation : Standard\r\nEllipso\xEF" "de\r\n";
    folder.Write("log.txt", journal);
    folder.Write("in.txt", kInput);
    EXPECT_EQ(0, Run({"-?"}));
    EXPECT_EQ(0, Run(FileRun("1", "out.txt")));
    EXPECT_EQ(journal, TempDir::Read(folder.File("log.txt")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("log_precedent.txt")));
}
