#include "runs/window_file_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "batch/command_line.h"
#include "run_files.h"
#include "runs/console_run.h"
#include "window_run_fixture.h"

namespace {

using Kind = ScriptedInterface::Kind;

const char* const kInput = kNtfPoints;

// Latin-1 bytes of the error lines.
const std::string kErrorLine =
    "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
    "e : ";

class WindowFileRunTest : public WindowRunTest {
protected:
    // NTF Lambert II étendu to RGF93 Lambert-93, "Nom E N Altitude" both ways.
    FileRunRequest Request(int kind = StandardKind) {
        FileRunRequest request;
        request.kind = kind;
        request.alterationFlag = true;
        request.source = Side(1, Projected, 2, 27572);
        request.target = Side(4, Projected, 2, 2154);
        request.inputFormat = FormatNameENAltitude;
        request.inputPath = folder.File("in.txt");
        request.outputFormat = FormatNameENAltitude;
        request.outputPath = folder.File("out.txt");
        return request;
    }
    // WGS84 to RGF93 in cartesian coordinates, between the given layouts.
    FileRunRequest Cartesian(int inputFormat, int outputFormat) {
        FileRunRequest request = Request();
        request.source = Side(3, ::Cartesian);
        request.target = Side(4, ::Cartesian);
        request.inputFormat = inputFormat;
        request.outputFormat = outputFormat;
        return request;
    }
    FileRunCounts Run(const FileRunRequest& request) {
        return RunWindowFile(request, Environment());
    }
    // The summary box of a finished run.
    std::string Summary(const FileRunRequest& request, int succeeded, int failed, int outOfZone,
                        int refused = 0) {
        std::string text = "Transformation TERMINEE entre les fichiers suivants :\n\n" +
                           request.inputPath + " \n" + request.outputPath + "\n\n" +
                           std::to_string(succeeded) + " transformation(s) réussie(s)\n" +
                           std::to_string(failed) + " transformation(s) non réussie(s)\n" +
                           std::to_string(outOfZone) + " transformation(s) hors zone";
        if (refused > 0) {
            text += "\n" + std::to_string(refused) +
                    " ligne(s) refusée(s) (ni point, ni commentaire, ni ligne blanche) : voir les "
                    "lignes ERREUR du fichier d'arrivée";
        }
        if (request.report) text += "\n\nRapport dans le fichier " + request.reportPath;
        return text;
    }
    std::string Output() { return TempDir::Read(folder.File("out.txt")); }
};

// The whole run: output, report, log, progress and summary; the output is
// the console run's for the same file but for the " !!!" of the extent texts.
TEST_F(WindowFileRunTest, RunWithReportMatchesTheConsoleRun) {
    folder.Write("in.txt", kInput);
    FileRunRequest request = Request();
    request.report = true;
    request.reportPath = folder.File("rapport.prt");
    const FileRunCounts counts = Run(request);
    EXPECT_TRUE(counts.finished);
    ASSERT_EQ(ui.messages.size(), 1u);
    // The line that is not a point makes the summary a warning.
    EXPECT_EQ(ui.messages[0].kind, Kind::Warning);
    EXPECT_EQ(ui.messages[0].caption, "Quorvel");
    EXPECT_EQ(ui.messages[0].text, Summary(request, 2, 0, 1, 1));
    EXPECT_EQ(counts.refused, 1);

    CQuorvelCommandLine line;
    std::string message;
    ASSERT_TRUE(ParseCommandLine(
        line, {"-mode", "1",         "-type",  "1",     "-sys1",     "1",           "-sys2",
               "4",     "-typcoor1", "3",      "27572", "-typcoor2", "3",           "2154",
               "-f1",   "1",         "in.txt", "-f2",   "1",         "console.txt", "-v"},
        "", message))
        << message;
    std::string result;
    const ConsoleRunEnvironment console{
        catalogue,
        verticalGrid,
        [this](const std::string& name) { return folder.File(name); },
        [](std::string_view) {},
        nullptr,
        nullptr,
        kData};
    ASSERT_EQ(RunConsoleCommandLine(line, console, result),
              ConsoleRunOutcome::FinishedWithRefusedLines);
    std::string expected = TempDir::Read(folder.File("console.txt"));
    const std::string projection = "de la projection de d\xE9part";
    expected.insert(expected.find(projection) + projection.size(), " !!!");
    EXPECT_EQ(Output(), expected);

    const std::vector<std::string> lines = CrLfLines(Output());
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[17], kErrorLine + "mauvais format de point (ligne 4)");
    EXPECT_EQ(lines[19], kErrorLine +
                             "Les coordonn\xE9"
                             "es ne se trouvent pas dans l'emprise de la "
                             "projection de d\xE9"
                             "part !!! (ligne 6)");
    EXPECT_EQ(lines[20], "* Fin Mardi 8/12/2026 -- 9:05:07");

    const std::vector<std::string> report = CrLfLines(TempDir::Read(request.reportPath));
    ASSERT_GE(report.size(), 6u);
    const std::string& paris = report[report.size() - 6];
    EXPECT_EQ(paris.substr(0, 20), "               Paris");
    EXPECT_NE(paris.find(" | "), std::string::npos);
    EXPECT_EQ(report[report.size() - 5],
              "ERREUR \xE0 la ligne 4 du fichier initial : mauvais format de point");
    EXPECT_EQ(report[report.size() - 4].substr(0, 20), "               Brest");
    const std::string& far = report[report.size() - 3];
    EXPECT_EQ(far.substr(0, 30), "ERREUR \xE0 la ligne 6 du fichier");
    EXPECT_EQ(far.substr(far.size() - 4), " !!!");
    EXPECT_EQ(report[report.size() - 2], std::string(80, '-'));
    EXPECT_EQ(report[report.size() - 1], "Fin Mardi 8/12/2026 -- 9:05:07");

    // Only the computed points are logged.
    const std::string logged = LogText();
    EXPECT_EQ(Count(logged, "POINT : "), 2u);
    EXPECT_NE(logged.find("POINT : Paris\tTransformation : Standard"), std::string::npos);
    EXPECT_NE(logged.find("POINT : Brest\t"), std::string::npos);

    // Six lines: the bar advances at every pass, the final blank line of a
    // file that ends with a line end and the end of the file included.
    const auto& progress = *ui.progress;
    ASSERT_GE(progress.size(), 5u);
    EXPECT_EQ(progress[0].call, "create");
    EXPECT_EQ(progress[0].text, "Quorvel|\nTransformation en cours...Patience!");
    EXPECT_EQ(progress[1].call, "range");
    EXPECT_EQ(progress[1].a, 1);
    EXPECT_EQ(progress[1].b, 100);
    EXPECT_EQ(progress[2].call, "pos");
    EXPECT_EQ(progress[2].a, 1);
    EXPECT_EQ(progress[3].call, "step");
    EXPECT_EQ(progress[3].a, 1);
    EXPECT_EQ(counts.progressStep, 1);
    EXPECT_EQ(std::count_if(progress.begin(), progress.end(),
                            [](const auto& c) { return c.call == "stepit"; }),
              8);
    EXPECT_EQ(progress.back().call, "destroy");
}

TEST_F(WindowFileRunTest, TwoHundredFiftyLinesAdvanceTheBarEveryThirdLine) {
    std::string input;
    for (int i = 0; i < 250; ++i) {
        input += "P" + std::to_string(i) + " " + std::to_string(600000 + i) + " 2428291.971 35\n";
    }
    folder.Write("in.txt", input);
    const FileRunCounts counts = Run(Request());
    EXPECT_EQ(counts.progressStep, 3);
    EXPECT_EQ(counts.succeeded, 250);
    // 250 lines, the final blank line and the end of the file: 252 passes,
    // one step every third.
    EXPECT_EQ(std::count_if(ui.progress->begin(), ui.progress->end(),
                            [](const auto& c) { return c.call == "stepit"; }),
              84);
}

// The progress window's cancel button, read at each advance of the bar,
// stops the run where it is pressed: the lines read before are written and
// counted, the output and the report have no end line, and the summary says
// the run was stopped. Every thread count stops at the same line.
TEST_F(WindowFileRunTest, CancelStopsTheRunAfterTheLinesReadBefore) {
    std::string input;
    for (int i = 0; i < 250; ++i) {
        input += "P" + std::to_string(i) + " " + std::to_string(600000 + i) + " 2428291.971 35\n";
    }
    folder.Write("in.txt", input);
    FileRunRequest request = Request();
    request.report = true;
    request.reportPath = folder.File("rapport.txt");
    std::string firstOutput;
    for (int threads : {1, 2, 8}) {
        SCOPED_TRACE(threads);
        ui.messages.clear();
        // The tenth advance of the bar, every third line, is the 30th line's.
        ui.cancelAtCheck = 10;
        WindowRunEnvironment environment = Environment();
        environment.threads = threads;
        const FileRunCounts counts = RunWindowFile(request, environment);
        EXPECT_FALSE(counts.finished);
        EXPECT_EQ(counts.succeeded, 29);
        const std::vector<std::string> lines = CrLfLines(Output());
        ASSERT_FALSE(lines.empty());
        EXPECT_NE(lines.back().find(" P28 "), std::string::npos) << lines.back();
        EXPECT_EQ(TempDir::Read(request.reportPath).find("Fin "), std::string::npos);
        if (firstOutput.empty()) firstOutput = Output();
        EXPECT_TRUE(Output() == firstOutput);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, Kind::Warning);
        EXPECT_EQ(ui.messages[0].text.rfind("Transformation INTERROMPUE entre les fichiers", 0), 0u);
        EXPECT_NE(ui.messages[0].text.find("29 transformation(s) réussie(s)"), std::string::npos);
    }
}

TEST_F(WindowFileRunTest, CommentsOnlyWriteTheEndLineAlone) {
    folder.Write("in.txt", "* un commentaire\n* un autre\n");
    const FileRunRequest request = Request();
    const FileRunCounts counts = Run(request);
    EXPECT_TRUE(counts.finished);
    EXPECT_EQ(Output(), "* Fin Mardi 8/12/2026 -- 9:05:07\r\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, Summary(request, 0, 0, 0));
    EXPECT_EQ(LogText(), "");
}

TEST_F(WindowFileRunTest, NamedOutputFromUnnamedInputTouchesNoFile) {
    folder.Write("in.txt", "4201000 178000 4779000\n");
    folder.Write("out.txt",
                 "contenu pr\xE9"
                 "cieux\n");
    folder.Write("rapport.prt", "ancien rapport\n");
    FileRunRequest request = Cartesian(FormatXYZ, FormatNameXYZ);
    request.report = true;
    request.reportPath = folder.File("rapport.prt");
    EXPECT_FALSE(Run(request).finished);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, Kind::Error);
    EXPECT_EQ(ui.messages[0].text,
              "ERREUR!!! Il est impossible de passer du type de données X Y Z\nau type de données "
              "Nom X Y Z,\n\nOn ne peut pas inventer de noms !");
    EXPECT_EQ(Output(),
              "contenu pr\xE9"
              "cieux\n");
    EXPECT_EQ(TempDir::Read(request.reportPath), "ancien rapport\n");
    EXPECT_TRUE(ui.progress->empty());
}

TEST_F(WindowFileRunTest, NamesAreDroppedFromNamedInputToUnnamedOutput) {
    folder.Write("in.txt", "Borne 4201000 178000 4779000\n");
    const FileRunRequest request = Cartesian(FormatNameXYZ, FormatXYZ);
    const FileRunCounts counts = Run(request);
    EXPECT_EQ(counts.succeeded, 1);
    const std::vector<std::string> lines = CrLfLines(Output());
    ASSERT_GE(lines.size(), 2u);
    const std::string& point = lines[lines.size() - 2];
    EXPECT_EQ(point.find("Borne"), std::string::npos);
    EXPECT_EQ(point.substr(0, 13), "  4201000.000");
}

TEST_F(WindowFileRunTest, PointOutsideTheDepartureSystemIsOutOfZone) {
    folder.Write("in.txt", "Est 12.0 47.0 100\nParis 2.35 48.85 35\n");
    FileRunRequest request = Request();
    request.source = Side(1, Geographic, 2, 0, 1);  // decimal degrees from Greenwich
    request.target = Side(4, Geographic, 2, 0, 1);
    request.inputFormat = FormatNameLonLatAltitude;
    request.outputFormat = FormatNameLonLatAltitude;
    const FileRunCounts counts = Run(request);
    EXPECT_EQ(counts.succeeded, 1);
    EXPECT_EQ(counts.outOfZone, 1);
    EXPECT_EQ(counts.failed, 0);
    EXPECT_NE(Output().find(kErrorLine + "Les coordonn\xE9"
                                         "es ne se trouvent pas dans l'emprise du "
                                         "r\xE9"
                                         "f\xE9"
                                         "rentiel de d\xE9"
                                         "part !!! (ligne 1)\r\n"),
              std::string::npos);
    EXPECT_EQ(ui.messages.back().text, Summary(request, 1, 0, 1));
}

TEST_F(WindowFileRunTest, FailedComputationIsAnErrorLineCountedAsNotSucceeded) {
    // An arrival projection whose family the engine does not handle.
    ASSERT_EQ(LineOutcome::Added,
              AddCatalogueLine("PRC 9999 0 1 600000.0 2200000.0 2 3 0.0 52 0.99987742 0.0 0.0 0 4 "
                               "Projection inconnue",
                               catalogue));
    ASSERT_EQ(LineOutcome::Added, AddCatalogueLine("PROJ 4 9999 2 -5.5 41.0 10.0 51.5", catalogue));
    folder.Write("in.txt", kInput);
    FileRunRequest request = Request();
    request.target = Side(4, Projected, 2, 9999);
    const FileRunCounts counts = Run(request);
    EXPECT_EQ(counts.succeeded, 0);
    EXPECT_EQ(counts.failed, 2);
    EXPECT_EQ(counts.outOfZone, 1);
    EXPECT_EQ(Count(Output(), kErrorLine + "Transformation : erreur n\xB0 300 (ligne "), 2u);
    EXPECT_EQ(counts.refused, 1);
    EXPECT_EQ(ui.messages.back().text, Summary(request, 0, 2, 1, 1));
}

TEST_F(WindowFileRunTest, GridRunThroughTheNtv2Grid) {
    // References: PROJ's cs2cs +nadgrids=ntf_r93.gsb, as for the console.
    folder.Write("in.txt", kInput);
    const FileRunCounts counts = Run(Request(GridKind));
    EXPECT_EQ(counts.succeeded, 2);
    EXPECT_EQ(counts.outOfZone, 1);
    const std::string written = Output();
    EXPECT_NE(written.find("               Paris     652299.046    6861633.318     35.000"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("               Brest     145906.080    6835223.227     12.000"),
              std::string::npos);
    EXPECT_TRUE(translationGrid.loaded);
    EXPECT_NE(LogText().find("POINT : Paris\tTransformation : Grille"), std::string::npos);
}

TEST_F(WindowFileRunTest, FilesThatCannotBeOpenedStopBeforeAnyOutput) {
    FileRunRequest request = Request();
    EXPECT_FALSE(Run(request).finished);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, Kind::Error);
    EXPECT_EQ(ui.messages[0].text, "Impossible d'ouvrir le fichier " + request.inputPath +
                                       "\n\nLe fichier ou son dossier n'existe pas.");
    EXPECT_FALSE(std::filesystem::exists(request.outputPath));

    folder.Write("in.txt", kInput);
    request.report = true;
    request.reportPath = folder.File("absent/rapport.prt");
    EXPECT_FALSE(Run(request).finished);
    EXPECT_EQ(ui.messages.back().text, "Impossible d'ouvrir le fichier " + request.reportPath +
                                           "\n\nLe fichier ou son dossier n'existe pas.");
    EXPECT_FALSE(std::filesystem::exists(request.outputPath));

    request.report = false;
    request.outputPath = folder.File("absent/out.txt");
    EXPECT_FALSE(Run(request).finished);
    EXPECT_EQ(ui.messages.back().text, "Impossible d'ouvrir le fichier " + request.outputPath +
                                           "\n\nLe fichier ou son dossier n'existe pas.");
    EXPECT_TRUE(ui.progress->empty());
}

TEST_F(WindowFileRunTest, WriteFailureIsToldAndNeverSummarised) {
    folder.Write("in.txt", kInput);
    for (bool toReport : {false, true}) {
        ui.messages.clear();
        FileRunRequest request = Request();
        if (toReport) {
            request.report = true;
            request.reportPath = "/dev/full";
        } else {
            request.outputPath = "/dev/full";
        }
        EXPECT_FALSE(Run(request).finished);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, Kind::Error);
        EXPECT_EQ(ui.messages[0].text,
                  "Impossible d'écrire dans le fichier /dev/full (disque plein ou fichier "
                  "supprimé) : la transformation est interrompue !");
    }
}

}  // namespace

TEST_F(WindowFileRunTest, TheRefusalOfAFileSaysWhyItCannotBeOpened) {
    folder.Write("in.txt", kInput);
    std::filesystem::create_directories(folder.File("dossier"));
    struct Case {
        const char* input;
        const char* output;
        const char* named;   // the file the message names
        const char* reason;
    };
    const Case cases[] = {
        {"absent.txt", "out.txt", "absent.txt", "Le fichier ou son dossier n'existe pas."},
        {"dossier", "out.txt", "dossier", "C'est un dossier, pas un fichier."},
        {"in.txt", "dossier", "dossier", "C'est un dossier, pas un fichier."},
        {"in.txt", "in.txt/out.txt", "in.txt/out.txt", "Un élément du chemin n'est pas un dossier."},
    };
    for (const Case& c : cases) {
        FileRunRequest request = Request();
        request.inputPath = folder.File(c.input);
        request.outputPath = folder.File(c.output);
        ui.messages.clear();
        EXPECT_FALSE(Run(request).finished) << c.input << " " << c.output;
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  "Impossible d'ouvrir le fichier " + folder.File(c.named) + "\n\n" + c.reason);
    }
}
