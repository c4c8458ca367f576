#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

// The built quorvel in shell pipelines: points read from the standard input
// ("-f1 N -") and written to the standard output ("-f2 N -"), the console's
// own texts then on the error stream.
namespace {

class StandardStreamsProgramTest : public ::testing::Test {
protected:
    StandardStreamsProgramTest() {
        std::filesystem::create_directories(folder.File("Quorvel"));
        folder.Write("Quorvel/quorvel.ini",
                     "[INFORMATIONS]\nTitre=Quorvel essai\n[DATA]\nData=catalogue.txt\n");
        std::string catalogue = TempDir::Read(QUORVEL_SOURCE_DIR "/data/catalogue.txt"), kept;
        for (size_t at = 0; at < catalogue.size();) {
            const size_t end = catalogue.find('\n', at);
            const size_t next = end == std::string::npos ? catalogue.size() : end + 1;
            const std::string line = catalogue.substr(at, next - at);
            if (line.rfind("GR1D", 0) != 0 && line.rfind("GR3D", 0) != 0) kept += line;
            at = next;
        }
        folder.Write("catalogue.txt", kept);
        folder.Write("in.csv",
                     "Matricule;E;N;Altitude;Code\r\nP1;600984,230;2428291,971;35;B12\r\n"
                     "P2;pas un nombre;2428291,971;35;B13\r\n");
    }

    // Runs a shell command in the folder with `quorvel` standing for the
    // program; returns its exit status.
    int Shell(const std::string& pipeline) {
        std::string command = "cd '" + folder.path() + "' && quorvel() { ALLUSERSPROFILE='" +
                              folder.path() +
                              "' QUORVEL_TIME_STAMP='2026-12-08 09:05:07' '" QUORVEL_BINARY
                              "' \"$@\"; } && " + pipeline;
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Read(const std::string& name) { return TempDir::Read(folder.File(name)); }

    TempDir folder;
    const std::string run =
        "quorvel -mode 1 -type 1 -sys1 1 -sys2 4 -typcoor1 3 27572 -typcoor2 3 2154 ";
};

}  // namespace

TEST_F(StandardStreamsProgramTest, PointsFlowThroughAPipeline) {
    ASSERT_EQ(0, Shell("cat in.csv | " + run +
                       "-f1 1 - -f2 1 - 2>err.txt | cut -d ';' -f 1,5 > cut.txt"));
    EXPECT_EQ("Nom;Code\r\nP1;B12\r\n* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
              "e : mauvais format de point (ligne 3)\r\n",
              Read("cut.txt"));
    // The console's texts went to the error stream, the refused line among them.
    EXPECT_NE(std::string::npos, Read("err.txt").find("*** Bienvenue dans Quorvel Batch"));
    EXPECT_NE(std::string::npos, Read("err.txt").find("1 ligne(s) refusée(s)"));

    // The exit status of the program itself, with a file on one side.
    EXPECT_EQ(2, Shell(run + "-f1 1 - -f2 1 out.csv < in.csv > console.txt 2>&1"));
    EXPECT_EQ("Nom;E;N;Altitude;Code\r\nP1;652297,680;6861633,017;35,000;B12\r\n"
              "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
              "e : mauvais format de point (ligne 3)\r\n",
              Read("out.csv"));
    EXPECT_EQ(2, Shell(run + "-f1 1 in.csv -f2 1 - > piped.csv 2>console.txt"));
    EXPECT_EQ(Read("out.csv"), Read("piped.csv"));
    EXPECT_EQ(std::string::npos, Read("piped.csv").find("Bienvenue"));
}

TEST_F(StandardStreamsProgramTest, TheSameFileTwiceIsRefusedThroughAStream) {
    const std::string before = Read("in.csv");
    // The standard input is the output file, or the standard output the
    // input file: nothing is read or written, the file stays whole.
    EXPECT_EQ(1, Shell(run + "-f1 1 - -f2 1 in.csv < in.csv > console.txt 2>&1"));
    EXPECT_NE(std::string::npos,
              Read("console.txt").find("Impossible de lire et d'écrire dans les mêmes fichiers"));
    EXPECT_EQ(1, Shell(run + "-f1 1 in.csv -f2 1 - >> in.csv 2>console.txt"));
    EXPECT_EQ(before, Read("in.csv"));
    // Two streams are two files.
    EXPECT_EQ(2, Shell(run + "-f1 1 - -f2 1 - < in.csv > out.csv 2>/dev/null"));
}

// Every thread count writes the same bytes, for spreadsheet files too: a
// UTF-8 file with its mark, a title row, quoted names holding the separator,
// decimal commas, extra columns and refused lines, spread over several
// batches of lines; to a file and through the standard output.
TEST_F(StandardStreamsProgramTest, EveryThreadCountWritesTheSameBytes) {
    std::string points = "\xEF\xBB\xBF\"Matricule\";\"E\";\"N\";\"Altitude\";\"Code\";\"Date\"\r\n";
    for (int i = 0; i < 1500; ++i) {
        const std::string e = std::to_string(600000 + 37 * i) + "," + std::to_string(i % 1000);
        const std::string n = std::to_string(2420000 + 53 * i) + ",5";
        if (i % 211 == 7) {
            points += "\"Borne " + std::to_string(i) + "\";" + e + ";pas un nombre;35;X;\r\n";
        } else {
            points += "\"Borne; é" + std::to_string(i) + "\";" + e + ";" + n + ";" +
                      std::to_string(i % 90) + ",25;C" + std::to_string(i % 7) + ";2026-12-0" +
                      std::to_string(1 + i % 9) + "\n";
        }
    }
    folder.Write("many.csv", points);
    std::string first;
    for (const char* threads : {"1", "2", "3", "8"}) {
        SCOPED_TRACE(threads);
        const std::string out = std::string("out_") + threads + ".csv";
        EXPECT_EQ(2, Shell(run + "-f1 1 many.csv -f2 1 " + out + " -v -threads " + threads +
                           " > console.txt 2>&1"));
        EXPECT_EQ(2, Shell(run + "-f1 1 - -f2 1 - -threads " + threads +
                           " < many.csv > piped_" + threads + ".csv 2>/dev/null"));
        if (first.empty()) {
            first = Read(out);
            ASSERT_EQ(0u, first.rfind("\xEF\xBB\xBF", 0));
            EXPECT_NE(std::string::npos, first.find("\"Borne; é12\";"));
            EXPECT_NE(std::string::npos, first.find("(ligne 9)"));
            EXPECT_NE(std::string::npos, first.find(";C5;2026-12-03\r\n"));
        }
        EXPECT_TRUE(Read(out) == first);
        EXPECT_TRUE(Read(std::string("piped_") + threads + ".csv") ==
                    Read("piped_1.csv"));
    }
}
