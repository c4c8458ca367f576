// The built quorvel on damaged or hostile input, as a user runs it: the
// message the console shows, the exit code, and the user's files as they
// were (or the whole output when the run could be done).

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class ConsoleFaultsProgram : public ::testing::Test {
protected:
    ConsoleFaultsProgram() {
        fs::create_directories(folder.File("Quorvel"));
        folder.Write("Quorvel/quorvel.ini", "[INFORMATIONS]\nTitre=Quorvel essai\n[DATA]\nData=" +
                                                std::string("catalogue.txt\n"));
        // The default catalogue without its grids; tests add their own.
        const std::string text = TempDir::Read(QUORVEL_SOURCE_DIR "/data/catalogue.txt");
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = text.find('\n', at);
            const std::size_t next = end == std::string::npos ? text.size() : end + 1;
            const std::string line = text.substr(at, next - at);
            if (line.rfind("GR1D", 0) != 0 && line.rfind("GR3D", 0) != 0) catalogue += line;
            at = next;
        }
        folder.Write("catalogue.txt", catalogue);
    }

    static std::string Quoted(const std::string& argument) {
        std::string quoted = "'";
        for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }

    // Runs quorvel from the test folder; its exit code, with standard output
    // in `out` and standard error in `err`.
    int Run(const std::vector<std::string>& arguments) {
        std::string command = "cd " + Quoted(folder.path()) +
                              " && ALLUSERSPROFILE=" + Quoted(folder.path()) +
                              " QUORVEL_TIME_STAMP='2026-12-08 09:05:07' '" QUORVEL_BINARY "'";
        for (const std::string& argument : arguments) command += " " + Quoted(argument);
        command += " </dev/null >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        out = TempDir::Read(folder.File("stdout.txt"));
        err = TempDir::Read(folder.File("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::vector<std::string> FileRun(const std::string& input, const std::string& output,
                                            bool verbose) {
        std::vector<std::string> arguments = {
            "-mode", "1",         "-type", "1",     "-sys1",     "1", "-sys2",
            "4",     "-typcoor1", "3",     "27572", "-typcoor2", "3", "2154",
            "-f1",   "1",         input,   "-f2",   "1",         output};
        if (verbose) arguments.push_back("-v");
        return arguments;
    }

    // A small native geoid in RGF93 serving the vertical system 3, and the
    // catalogue line that names it.
    void AddGeoid(const std::string& xml) {
        folder.Write("geoide.mnt",
                     "1.0 3.0 46.0 48.0 1.0 1.0 4 0 1 0 0 Geoide\n"
                     "50.1 50.2 50.3\n50.4 50.5 50.6\n50.7 50.8 50.9\n");
        folder.Write("geoide.xml", xml);
        folder.Write("catalogue.txt", catalogue + "GR1D geoide.mnt 4 3\n");
    }

    TempDir folder;
    std::string catalogue;
    std::string out, err;
    const std::string banner = "*** Bienvenue dans Quorvel Batch, version 1.1 du 06-10-2009 ***";
    const std::string prompt = "\nAppuyer sur une touche pour quitter l'application ...\n";
};

// The error line of a refused input line.
std::string BadPoint(int line) {
    return "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
           "e : mauvais format de point (ligne " +
           std::to_string(line) + ")\r\n";
}

}  // namespace

TEST_F(ConsoleFaultsProgram, OddPointFileThroughTheProgram) {
    const std::string longName(70 * 1024, 'L');
    folder.Write("in.txt", "* commentaire\r\n" + std::string("N\0L", 3) +
                               " 600984.230 2428291.971 35\n" +  //
                               longName + " 600984.230 2428291.971 35\r\n" +
                               "Cl\xC3\xA9ment\t600984.230\t2428291.971\n" +
                               "\x80\x9F\xFF 600984.230 2428291.971 -0\n" +
                               "\n" +
                               "Enorme 600984.230 2428291.971 1e400\n" +
                               "PasUnNombre nan 2428291.971\n" +
                               "Dernier 600984.230 2428291.971 35");
    // Two lines refused: the run goes to its end with status 2 and says so.
    ASSERT_EQ(2, Run(FileRun("in.txt", "out.txt", false))) << out << err;
    EXPECT_EQ(banner +
                  "\n2 ligne(s) refusée(s) (ni point, ni commentaire, ni ligne blanche) dans "
                  "in.txt : voir les lignes ERREUR de out.txt !\n" +
                  prompt,
              out);
    const std::string paris = "     652297.680    6861633.017";
    EXPECT_EQ(std::string("                 N\0L", 20) + paris + "     35.000\r\n" +  //
                  longName + paris + "     35.000\r\n" +                             //
                  "            Cl\xC3\xA9ment" + paris + "      0.000\r\n" +           //
                  "                 \x80\x9F\xFF" + paris + "     -0.000\r\n" +         //
                  BadPoint(7) + BadPoint(8) +                                         //
                  "             Dernier" + paris + "     35.000\r\n",
              TempDir::Read(folder.File("out.txt")));

    ASSERT_EQ(2, Run(FileRun("in.txt", "out.txt", true))) << out << err;
    EXPECT_NE(std::string::npos,
              out.find("\n\n5 transformation(s) réussie(s)\n0 transformation(s) hors zone\n2 "
                       "ligne(s) refusée(s) (ni point, ni commentaire, ni ligne blanche)\n"))
        << out;
}

TEST_F(ConsoleFaultsProgram, FilesThatCannotBeOpened) {
    folder.Write("in.txt", "A 600984.230 2428291.971 35\n");
    // The output in a folder that is a regular file.
    EXPECT_EQ(1, Run(FileRun("in.txt", "in.txt/out.txt", true)));
    EXPECT_NE(std::string::npos,
              out.find("Impossible d'ouvrir le fichier in.txt/out.txt !\nUn élément du chemin "
                       "n'est pas un dossier." +
                       prompt))
        << out;
    // A folder as input: refused before the existing output is emptied.
    fs::create_directory(folder.File("dossier"));
    folder.Write("out.txt", "r\xE9sultats d'hier\r\n");
    EXPECT_EQ(1, Run(FileRun("dossier", "out.txt", true)));
    EXPECT_NE(std::string::npos, out.find("Impossible d'ouvrir le fichier dossier !\nC'est un "
                                          "dossier, pas un fichier." +
                                          prompt))
        << out;
    EXPECT_EQ("r\xE9sultats d'hier\r\n", TempDir::Read(folder.File("out.txt")));
    EXPECT_EQ("A 600984.230 2428291.971 35\n", TempDir::Read(folder.File("in.txt")));
    // A file that opens but cannot be read.
    EXPECT_EQ(1, Run(FileRun("/proc/self/mem", "out.txt", true)));
    EXPECT_NE(std::string::npos,
              out.find("Impossible de lire le fichier /proc/self/mem !" + prompt))
        << out;
    EXPECT_EQ(std::string::npos, out.find("Transformation terminée"));
}

TEST_F(ConsoleFaultsProgram, GridCacheOfAnotherVersionEndsStartUpAndIsKept) {
    AddGeoid("<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR"
             "</INTERPOLATION_TYPE></GRID_HEADER>\n");
    ASSERT_EQ(0, Run({"-?"})) << out << err;  // the first start makes the cache
    std::string cache = TempDir::Read(folder.File("geoide.bin"));
    ASSERT_GT(cache.size(), 9u);
    cache[5] = 9;  // version 9, written by another program
    folder.Write("geoide.bin", cache);
    EXPECT_EQ(1, Run({"-?"}));
    EXPECT_EQ("Numéro de version imprévu : 9\n(geoide.bin)\n", err);
    EXPECT_EQ(0u, out.find(banner));
    EXPECT_EQ(std::string::npos, out.find("Appuyer"));
    EXPECT_EQ(cache, TempDir::Read(folder.File("geoide.bin")));
    EXPECT_NE(std::string::npos, TempDir::Read(folder.File("geoide.mnt")).find("Geoide"));
}

TEST_F(ConsoleFaultsProgram, MalformedXmlHeaderEndsStartUpNamingIt) {
    AddGeoid("<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</GRID_HEADER>\n");
    EXPECT_EQ(1, Run({"-?"}));
    EXPECT_EQ(
        "geoide.mnt :\n+ Le type d'interpolation doit être bilinéaire ou spline\n\n"
        "Fichier geoide.xml non chargé.\nUne piste : l'élément CDATA n'est pas supporté.\n",
        err);
    EXPECT_FALSE(fs::exists(folder.File("geoide.bin")));
}

TEST_F(ConsoleFaultsProgram, FormatDirectivesReachNoFormat) {
    // In a catalogue name (through the start-up check's message and the
    // output header), in file names and in point names.
    folder.Write("catalogue.txt", catalogue + "GR1D %s%n%d%n.mnt 4 3\n");
    EXPECT_EQ(1, Run({"-?"}));
    EXPECT_EQ("Impossible d'ouvrir le fichier \n%s%n%d%n.mnt\n", err);

    std::string renamed = catalogue;
    const std::string ntf = "REG 1 1 2 2D NTF\n";
    ASSERT_NE(std::string::npos, renamed.find(ntf));
    renamed.replace(renamed.find(ntf), ntf.size(), "REG 1 1 2 2D NTF %s%n%d%x\n");
    folder.Write("catalogue.txt", renamed);
    folder.Write("%s%n%d.txt", "%n%s%n 600984.230 2428291.971 35\n%n%n 1\n");
    ASSERT_EQ(2, Run(FileRun("%s%n%d.txt", "%n%99999999s.txt", true))) << out << err;
    EXPECT_NE(std::string::npos,
              out.find("Transformation terminée entre les fichiers suivants :\n%s%n%d.txt \n"
                       "%n%99999999s.txt\n\n1 transformation(s) réussie(s)\n"))
        << out;
    const std::string written = TempDir::Read(folder.File("%n%99999999s.txt"));
    EXPECT_NE(std::string::npos, written.find("*SYSTEME :        NTF %s%n%d%x\r\n"));
    EXPECT_NE(std::string::npos, written.find("\r\n              %n%s%n     652297.680"));
    EXPECT_NE(std::string::npos, written.find(BadPoint(2)));
    EXPECT_EQ(1, Run(FileRun("%s%n%d-absent.txt", "x.txt", false)));
    EXPECT_EQ(banner + "Impossible d'ouvrir le fichier %s%n%d-absent.txt !\nLe fichier ou son "
                       "dossier n'existe pas." +
                       prompt,
              out);
}
