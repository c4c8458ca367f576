// The console file run on damaged or hostile input and on files it cannot
// open, read or write: the French message the user reads, and nothing lost —
// every point line of the input gives exactly one output line, in order, and
// the summary accounts for each.

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "batch/command_line.h"
#include "console_run_fixture.h"
#include "catalogue/loader.h"
#include "grids/grid.h"
#include "runs/console_run.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kErrorLine = "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9" "e : ";
const std::string kBadPoint = kErrorLine + "mauvais format de point";

// The error line of a refused input line, with its number.
std::string BadPoint(long line) {
    return kBadPoint + " (ligne " + std::to_string(line) + ")";
}
const std::string kOutsideDeparture =
    kErrorLine +
    "Les coordonn\xE9" "es ne se trouvent pas dans l'emprise de la projection de d\xE9" "part";

class ConsoleFaults : public ConsoleRunFixture {
protected:
    // NTF Lambert II étendu "Nom E N Altitude" to RGF93 Lambert-93 "Nom E N
    // Altitude", standard method.
    static std::vector<std::string> FileRun(const std::string& input, const std::string& output,
                                            bool verbose = true) {
        std::vector<std::string> arguments = {
            "-mode", "1",         "-type", "1",     "-sys1",     "1", "-sys2",
            "4",     "-typcoor1", "3",     "27572", "-typcoor2", "3", "2154",
            "-f1",   "1",         input,   "-f2",   "1",         output};
        if (verbose) arguments.push_back("-v");
        return arguments;
    }

    // The lines of an output file, without their CR LF; every line must have one.
    static std::vector<std::string> Lines(const std::string& bytes) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            lines.push_back(bytes.substr(start, end - start));
        }
        EXPECT_EQ(bytes.size(), start) << "every line ends with CR LF";
        return lines;
    }

    // The lines of a verbose output between the column titles and the end
    // line: one per point line of the input.
    static std::vector<std::string> PointLines(const std::string& bytes) {
        std::vector<std::string> lines = Lines(bytes);
        EXPECT_FALSE(lines.empty());
        if (lines.empty()) return lines;
        EXPECT_EQ("* Fin Mardi 8/12/2026 -- 9:05:07", lines.back());
        lines.pop_back();
        std::size_t first = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].rfind("*          Nom ", 0) == 0) first = i + 1;
        }
        return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(first),
                                        lines.end());
    }

    // The counts of the summary; the refused lines are said only when
    // there are some.
    void Counts(long& succeeded, long& outOfZone, long& refused) const {
        succeeded = outOfZone = -1;
        refused = 0;
        const std::size_t at = console.find("\n\n", console.find("Transformation terminée"));
        ASSERT_NE(std::string::npos, at) << console;
        ASSERT_GE(std::sscanf(console.c_str() + at,
                              "\n\n%ld transformation(s) réussie(s)\n%ld transformation(s) "
                              "hors zone\n%ld ligne(s) refusée(s)",
                              &succeeded, &outOfZone, &refused),
                  2)
            << console;
    }

    // A name right-aligned in 20 characters, as output lines begin.
    static std::string Aligned(const std::string& name) {
        return name.size() < 20 ? std::string(20 - name.size(), ' ') + name : name;
    }
};

}  // namespace

// ---- Files that cannot be opened, read or written ---------------------------

TEST_F(ConsoleFaults, OutputFolderThatCannotBeWritten) {
    folder.Write("in.txt", "A 600000 2200000 0\n");
    // A regular file where a folder should be (root ignores permission
    // bits, not the kinds of files), a folder given as output, and a
    // folder that does not exist.
    fs::create_directory(folder.File("dossier"));
    const std::pair<std::string, std::string> outputs[] = {
        {"in.txt/out.txt", "Un élément du chemin n'est pas un dossier."},
        {"dossier", "C'est un dossier, pas un fichier."},
        {"absent/out.txt", "Le fichier ou son dossier n'existe pas."}};
    for (const auto& [output, reason] : outputs) {
        EXPECT_EQ(ConsoleRunOutcome::Stopped, Run(FileRun("in.txt", output))) << output;
        EXPECT_EQ("Impossible d'ouvrir le fichier " + output + " !\n" + reason, result);
    }
    EXPECT_EQ("A 600000 2200000 0\n", TempDir::Read(folder.File("in.txt")));
    EXPECT_TRUE(fs::is_directory(folder.File("dossier")));
    EXPECT_TRUE(fs::is_empty(folder.File("dossier")));
}

TEST_F(ConsoleFaults, InputThatIsAFolderLeavesTheOutputAlone) {
    fs::create_directory(folder.File("dossier"));
    folder.Write("out.txt", "r\xE9sultats d'hier\r\n");
    EXPECT_EQ(ConsoleRunOutcome::Stopped, Run(FileRun("dossier", "out.txt")));
    EXPECT_EQ("Impossible d'ouvrir le fichier dossier !\nC'est un dossier, pas un fichier.", result);
    EXPECT_EQ("r\xE9sultats d'hier\r\n", TempDir::Read(folder.File("out.txt")));
}

TEST_F(ConsoleFaults, InputWhoseReadingFailsStopsTheRun) {
    // The kernel opens this file but refuses to read its first bytes.
    EXPECT_EQ(ConsoleRunOutcome::Failed, Run(FileRun("/proc/self/mem", "out.txt")));
    EXPECT_EQ("Impossible de lire le fichier /proc/self/mem !", result);
    EXPECT_EQ(std::string::npos, console.find("Transformation terminée"));
    EXPECT_EQ("", TempDir::Read(folder.File("out.txt")));  // no end line: not finished
}

TEST_F(ConsoleFaults, FullDiskWithoutVerboseFlag) {
    folder.Write("in.txt", "A 600000 2200000 0\n");
    EXPECT_EQ(ConsoleRunOutcome::Failed, Run(FileRun("in.txt", "/dev/full", false)));
    EXPECT_EQ(
        "Impossible d'écrire dans le fichier /dev/full (disque plein ou fichier supprimé) : "
        "la transformation est interrompue !",
        result);
    EXPECT_EQ("", console);
}

TEST_F(ConsoleFaults, OutputRemovedDuringTheRunIsNotReportedAsWritten) {
    folder.Write("in.txt", "A 600984.230 2428291.971 35\n");
    // The output is removed, or replaced by another file, once the run has
    // created it: what the run writes reaches no file under its name.
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "removed");
        CQuorvelCommandLine line;
        std::string message;
        ASSERT_TRUE(ParseCommandLine(line, FileRun("in.txt", "out.txt"), "", message));
        console.clear();
        result.clear();
        const ConsoleRunEnvironment environment{
            catalogue,
            verticalGrid,
            [this](const std::string& name) { return folder.File(name); },
            [&](std::string_view text) {
                if (text.find("Initialisation") == 0) {  // the output exists by now
                    fs::remove(folder.File("out.txt"));
                    if (replaced) folder.Write("out.txt", "autre\n");
                }
                console += text;
            },
            nullptr,
            nullptr,
            QUORVEL_SOURCE_DIR "/data/"};
        EXPECT_EQ(ConsoleRunOutcome::Failed, RunConsoleCommandLine(line, environment, result));
        EXPECT_EQ(
            "Impossible d'écrire dans le fichier out.txt (disque plein ou fichier supprimé) : "
            "la transformation est interrompue !",
            result);
        EXPECT_EQ(std::string::npos, console.find("Transformation terminée"));
    }
}

// ---- Point files as they come ------------------------------------------------

TEST_F(ConsoleFaults, OddPointFileLosesNothing) {
    const std::string longName(100 * 1024, 'L');
    const std::string utf8 = "Cl\xC3\xA9ment";
    const std::string control = "C1\x80\x9F\xFF";
    const std::string nul("N\0L", 3);
    folder.Write("in.txt", "* lignes de toutes sortes\r\n" +
                               nul + " 600000 2200000 10\n" +  //
                               longName + " 600000 2200000 10\r\n" +
                               utf8 + " 600000 2200000 10\r\n" +
                               "\r\n" +
                               control + "\t600000\t2200000\n" +
                               "Enorme 600000 2200000 1e400\n" +
                               "PasUnNombre nan 2200000 10\n" +
                               "Zero 600000 2200000 -0\n" +
                               "Loin 600000 9000000 10\n" +
                               "Dernier 600000 2200000 10");  // no line end
    ASSERT_EQ(ConsoleRunOutcome::FinishedWithRefusedLines, Run(FileRun("in.txt", "out.txt")))
        << result;
    const std::vector<std::string> lines = PointLines(TempDir::Read(folder.File("out.txt")));
    ASSERT_EQ(9u, lines.size());
    EXPECT_EQ(Aligned(nul) + "   ", lines[0].substr(0, 23));
    EXPECT_EQ(longName + "   ", lines[1].substr(0, longName.size() + 3));
    EXPECT_EQ(Aligned(utf8) + "   ", lines[2].substr(0, 23));  // the input's own bytes
    EXPECT_EQ(Aligned(control) + "   ", lines[3].substr(0, 23));
    EXPECT_EQ(BadPoint(7), lines[4]);  // an altitude that no double holds
    EXPECT_EQ(BadPoint(8), lines[5]);
    EXPECT_EQ(Aligned("Zero") + "   ", lines[6].substr(0, 23));
    EXPECT_EQ(0u, lines[7].find(kOutsideDeparture)) << lines[7];
    EXPECT_EQ(Aligned("Dernier") + "   ", lines[8].substr(0, 23));
    long succeeded = 0, outOfZone = 0, refused = 0;
    Counts(succeeded, outOfZone, refused);
    EXPECT_EQ(6, succeeded);
    EXPECT_EQ(1, outOfZone);
    EXPECT_EQ(2, refused);
}

// Random point files (fixed seed) mixing good lines inside and outside the
// departure projection, bad lines, comments and blank lines, with both line
// ends and sometimes no final line end.
TEST_F(ConsoleFaults, EveryPointLineHasItsOutputLineAndIsCounted) {
    std::mt19937 random(20261208);
    const auto below = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
    const auto number = [&](long low, long high) {
        const long whole = low + static_cast<long>(below(static_cast<unsigned>(high - low)));
        switch (below(4)) {
            case 0:
                return std::to_string(whole);
            case 1:
                return std::to_string(whole) + "." + std::to_string(below(1000));
            case 2:
                return "+" + std::to_string(whole) + ".5";
            default:
                return std::to_string(whole / 1000) + "." + std::to_string(whole % 1000 + 1000).substr(1) + "e3";
        }
    };
    const char* const blanks[] = {" ", "  ", "\t", " \t "};
    long allInside = 0, allOutside = 0, allBad = 0;
    for (int file = 0; file < 25; ++file) {
        SCOPED_TRACE("file " + std::to_string(file));
        enum Kind { Inside, Outside, Bad };
        std::vector<Kind> kinds;
        std::vector<std::string> names;
        std::vector<long> inputLines;  // the input line of each point line
        std::string bytes;
        const unsigned count = below(300);
        for (unsigned i = 0; i < count; ++i) {
            std::string line;
            const std::string name = "P" + std::to_string(i) + (below(3) == 0 ? "_\xE9t\xE9" : "");
            const std::string gap = blanks[below(4)];
            switch (below(8)) {
                case 0:
                    line = below(2) ? "* commentaire " + name : "   *" + name + " 600000 2200000";
                    break;
                case 1:
                    line = std::string(below(3), below(2) ? ' ' : '\t');
                    break;
                case 2: {
                    const char* const bad[] = {" 12",           "",
                                               " abc 5",        " 600000 1e999 3",
                                               " nan 2200000",  " 600000 -",
                                               " 600000 2400000 1e999"};
                    line = name + bad[below(7)];
                    kinds.push_back(Bad);
                    inputLines.push_back(i + 1);
                    names.push_back(name);
                    break;
                }
                case 3:
                    line = name + gap + number(500000, 700000) + gap + "9000000";
                    kinds.push_back(Outside);
                    inputLines.push_back(i + 1);
                    names.push_back(name);
                    break;
                default:
                    line = gap + name + gap + number(500000, 700000) + gap +
                           number(2300000, 2500000) + (below(4) ? gap + number(0, 1500) : "") +
                           (below(5) == 0 ? " texte ignoré" : "");
                    kinds.push_back(Inside);
                    inputLines.push_back(i + 1);
                    names.push_back(name);
                    break;
            }
            bytes += line;
            if (i + 1 < count || below(2)) bytes += below(2) ? "\r\n" : "\n";
        }
        folder.Write("in.txt", bytes);
        const bool anyBad = std::find(kinds.begin(), kinds.end(), Bad) != kinds.end();
        ASSERT_EQ(anyBad ? ConsoleRunOutcome::FinishedWithRefusedLines : ConsoleRunOutcome::Finished,
                  Run(FileRun("in.txt", "out.txt")))
            << result;
        const std::string written = TempDir::Read(folder.File("out.txt"));
        const std::vector<std::string> lines = PointLines(written);
        ASSERT_EQ(kinds.size(), lines.size()) << bytes;
        long inside = 0, outside = 0;
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            switch (kinds[i]) {
                case Inside:
                    ++inside;
                    EXPECT_EQ(Aligned(names[i]) + "   ", lines[i].substr(0, 23)) << i;
                    break;
                case Outside:
                    ++outside;
                    EXPECT_EQ(0u, lines[i].find(kOutsideDeparture)) << i << ": " << lines[i];
                    EXPECT_TRUE(lines[i].ends_with(" (ligne " + std::to_string(inputLines[i]) + ")"))
                        << lines[i];
                    break;
                case Bad:
                    EXPECT_EQ(BadPoint(inputLines[i]), lines[i]) << i;
                    break;
            }
        }
        long succeeded = 0, outOfZone = 0, refused = 0;
        Counts(succeeded, outOfZone, refused);
        EXPECT_EQ(inside, succeeded);
        EXPECT_EQ(outside, outOfZone);
        const long bad = static_cast<long>(kinds.size()) - inside - outside;
        EXPECT_EQ(bad, refused);
        EXPECT_EQ(static_cast<long>(lines.size()), succeeded + outOfZone + bad);
        allInside += inside;
        allOutside += outside;
        allBad += bad;
    }
    // The files did mix every kind of point line.
    EXPECT_GT(allInside, 1000);
    EXPECT_GT(allOutside, 200);
    EXPECT_GT(allBad, 200);
}

// ---- User text never taken for a format -------------------------------------

TEST_F(ConsoleFaults, FormatDirectivesInNamesAreWrittenAsTheyAre) {
    // In point names, in file names and in catalogue names.
    std::string text = TempDir::Read(QUORVEL_SOURCE_DIR "/data/catalogue.txt");
    const std::string ntf = "REG 1 1 2 2D NTF\n";
    ASSERT_NE(std::string::npos, text.find(ntf));
    text.replace(text.find(ntf), ntf.size(), "REG 1 1 2 2D NTF %s%n%d%x%p\n");
    catalogue = Catalogue();
    ASSERT_FALSE(ReadCatalogue(folder.Write("catalogue.txt", text), catalogue).has_value());

    const std::string input = "%s%n%d.txt", output = "%n%s%99999999d.txt";
    folder.Write(input, "%s%n%d 600984.230 2428291.971 35\n%n%n%n%n 12\n");
    ASSERT_EQ(ConsoleRunOutcome::FinishedWithRefusedLines, Run(FileRun(input, output))) << result;
    EXPECT_NE(std::string::npos,
              console.find("Transformation terminée entre les fichiers suivants :\n" + input +
                           " \n" + output + "\n\n1 transformation(s) réussie(s)"))
        << console;
    const std::string written = TempDir::Read(folder.File(output));
    EXPECT_NE(std::string::npos, written.find("*SYSTEME :        NTF %s%n%d%x%p\r\n"));
    const std::vector<std::string> lines = PointLines(written);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(Aligned("%s%n%d") + "   ", lines[0].substr(0, 23));
    EXPECT_EQ(BadPoint(2), lines[1]);

    EXPECT_EQ(ConsoleRunOutcome::Stopped, Run(FileRun("%s%n%d-absent.txt", output)));
    EXPECT_EQ("Impossible d'ouvrir le fichier %s%n%d-absent.txt !\nLe fichier ou son dossier "
              "n'existe pas.",
              result);
}
