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
    EXPECT_EQ(banner + "Impossible d'ouvrir le fichier in.txt !\nLe fichier ou son dossier n'existe pas." + prompt, out);
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

TEST_F(ConsoleProgramTest, RefusedLinesAreCountedAndEndWithStatusTwo) {
    struct Case {
        const char* name;
        std::string input;
        int status;
        std::vector<std::string> outputLines;  // the point and error lines, in order
        const char* counts;                    // the summary's counts, as printed
    };
    const std::string paris = "Paris_NotreDame 600984.230 2428291.971 35.000\r\n";
    const char* parisOut = "     Paris_NotreDame     652297.680    6861633.017     35.000";
    const Case cases[] = {
        {"every line refused",
         "Matricule|E|N|Altitude\r\nP1|600984,230|2428291,971|35\r\n* commentaire\r\n\r\n", 2,
         {"* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : mauvais format de point (ligne 1)",
          "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : mauvais format de point (ligne 2)"},
         "0 transformation(s) réussie(s)\n0 transformation(s) hors zone\n2 ligne(s) refusée(s) "
         "(ni point, ni commentaire, ni ligne blanche)\n"},
        // A decimal comma after a good number would read the whole part alone.
        {"one decimal comma among good points",
         paris + "P2 600984.230 2428291,971 35\r\n" + paris, 2,
         {parisOut,
          "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : mauvais format de point (ligne 2)",
          parisOut},
         "2 transformation(s) réussie(s)\n0 transformation(s) hors zone\n1 ligne(s) refusée(s) "
         "(ni point, ni commentaire, ni ligne blanche)\n"},
        {"every line a point", "* titre\r\n" + paris, 0, {parisOut},
         "1 transformation(s) réussie(s)\n0 transformation(s) hors zone\n"},
        // A UTF-8 file saved with its byte-order mark: the mark is no part of
        // the first name, and the names are read as UTF-8.
        {"byte-order mark", "\xEF\xBB\xBFPr\xC3\xA9" + paris.substr(5), 0,
         {"       Pr\xE9_NotreDame     652297.680    6861633.017     35.000"},
         "1 transformation(s) réussie(s)\n0 transformation(s) hors zone\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.Write("in.txt", c.input);
        std::vector<std::string> arguments = FileRun("1", "out.txt");
        arguments.push_back("-v");
        EXPECT_EQ(c.status, Run(arguments));
        EXPECT_NE(std::string::npos, out.find(c.counts)) << out;
        // The point and error lines of the output: every other line is
        // blank, a comment of the header or the end line.
        std::vector<std::string> lines;
        const std::string written = TempDir::Read(folder.File("out.txt"));
        for (size_t at = 0; at < written.size();) {
            const size_t end = written.find("\r\n", at);
            const std::string line = written.substr(at, end - at);
            if (!line.empty() && (line[0] != '*' || line.rfind("* ERREUR", 0) == 0))
                lines.push_back(line);
            at = end + 2;
        }
        ASSERT_EQ(c.outputLines.size(), lines.size()) << written;
        for (size_t i = 0; i < c.outputLines.size(); ++i) {
            EXPECT_EQ(c.outputLines[i], lines[i].substr(0, c.outputLines[i].size()));
        }
        // Without -v the count is said all the same, with the same status.
        EXPECT_EQ(c.status, Run(FileRun("1", "out.txt")));
        const bool said = out.find("ligne(s) refusée(s)") != std::string::npos;
        EXPECT_EQ(c.status == 2, said) << out;
    }
}

TEST_F(ConsoleProgramTest, DecimalCommaAndMissingCoordinatesOnTheCommandLine) {
    const std::vector<std::string> base = {"-mode", "0",  "-type", "1", "-sys1",    "1",
                                           "-sys2", "4",  "-typcoor1", "3", "27572", "-typcoor2",
                                           "2",     "2",  "1"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return arguments;
    };
    // The decimal comma gives the very point of the decimal point.
    ASSERT_EQ(0, Run(with({"-E", "600984,230", "-N", "2428291,971"})));
    EXPECT_EQ(banner + "2.34991000 48.85297000" + prompt, out);
    EXPECT_EQ(1, Run(with({"-E", "abc", "-N", "2428291,971"})));
    EXPECT_EQ(banner + "La valeur \"abc\" du flag -E n'est pas un nombre !\n" + prompt, out);
    EXPECT_EQ(1, Run(with({"-E", "600984,230"})));
    EXPECT_EQ(banner + "Le flag -N manque : le point de départ demande cette coordonnée !\n" +
                  prompt,
              out);
}
