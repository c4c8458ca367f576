// A file run on several threads writes the output, the report and the log
// byte for byte as the run on one thread does, and stops at the same line,
// whatever the thread count: for every kind of layout, points that switch
// between two translation grids and in and out of the geoid, refused lines,
// points out of zone, and output or report files that cannot be written.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch/command_line.h"
#include "grids/ntv2_file.h"
#include "run_files.h"
#include "shared/data_format.h"
#include "runs/point_line_pipeline.h"
#include "runs/window_file_run.h"
#include "window_run_fixture.h"

namespace {

namespace fs = std::filesystem;

enum Input { ProjectedInput, GeographicInput, CartesianInput };
// The arrival side: RGF93 Lambert-93, in degrees, radians or cartesian, or
// NTF in grades from Paris.
enum Target { Lambert93, Rgf93Degrees, Rgf93Radians, Rgf93Cartesian, NtfParisGrades };

struct Case {
    const char* name;
    int kind;
    Input input;
    int inputFormat;
    Target target;
    int outputFormat;
    bool report;
    const char* failingFile;  // the output ("out") or the report ("report") on a full device
};

// The input lines: points over France and beyond it (out of the grids and
// zones), some in the small fine grid around Paris, with comments, blank
// lines and lines that are not points.
std::string InputText(Input input, bool named, int lines) {
    std::string text = "* points\n";
    unsigned state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<double>((state >> 8) & 0xFFFF) / 65536.0;
    };
    for (int i = 0; i < lines; ++i) {
        if (i % 97 == 13) text += "* commentaire\n";
        if (i % 89 == 7) text += "\n";
        if (i % 83 == 5) text += "P" + std::to_string(i) + " 12\n";  // not a point
        // Every third point in the fine grid around Paris, one in forty far away.
        double lon = -4.5 + next() * 12.5, lat = 42.5 + next() * 8;
        if (i % 3 == 0) lon = 1.6 + next() * 1.3, lat = 48.1 + next() * 1.3;
        if (i % 40 == 11) lon = 20 + next() * 5, lat = 60;
        if (named) text += "P" + std::to_string(i) + " ";
        char line[96];
        if (input == ProjectedInput) {
            // Lambert II étendu, roughly: enough that the points spread.
            std::snprintf(line, sizeof line, "%.3f %.3f %.3f\n", 600000 + (lon - 2.337) * 73000,
                          2200000 + (lat - 46.8) * 111000, next() * 2000);
        } else if (input == GeographicInput) {
            std::snprintf(line, sizeof line, "%.8f %.8f %.3f\n", lon, lat, next() * 2000);
        } else {
            // Near France, or on the other side of the Earth.
            const double side = i % 40 == 11 ? -1 : 1;
            std::snprintf(line, sizeof line, "%.3f %.3f %.3f\n",
                          side * (4200000 + next() * 600000), next() * 600000 - 100000,
                          side * (4600000 + next() * 600000));
        }
        text += line;
    }
    return text;
}

class ParallelRunTest : public WindowRunTest {
protected:
    ParallelRunTest() {
        // The default grids and a finer NTF to RGF93 grid around Paris in a
        // working directory of the test's own.
        for (const char* name :
             {"ntf_r93.gsb", "ntf_r93.xml", "egm96_france.mnt", "egm96_france.xml"}) {
            fs::copy_file(kData + name, work.File(name));
        }
        Ntv2File fine;
        fine.sLat = 48 * 3600;
        fine.nLat = 49.5 * 3600;
        fine.eLong = -3 * 3600;  // positive westwards
        fine.wLong = -1.5 * 3600;
        fine.latInc = fine.longInc = 120;
        work.Write("fine.gsb", fine.Binary());
        fs::copy_file(kData + "ntf_r93.xml", work.File("fine.xml"));
        catalogue.translationGrids.push_back({"fine.gsb", 1, 4});
        grids.workingDirectory = work.path() + "/";
    }

    struct Written {
        FileRunCounts counts;
        std::string output, report, log, messages;
    };

    Written Run(const Case& c, int threads) {
        // Each run starts without current grids, as the program does.
        for (CGrille* grid : {static_cast<CGrille*>(&verticalGrid),
                              static_cast<CGrille*>(&translationGrid)}) {
            grid->Fermer();
            grid->loaded = false;
        }
        // The same names in every run: the report's header and the summary name them.
        FileRunRequest request;
        request.kind = c.kind;
        request.alterationFlag = true;
        if (c.input == ProjectedInput) request.source = Side(1, Projected, 2, 27572, 0, 3);
        if (c.input == GeographicInput) request.source = Side(1, Geographic, 2, 0, 1, 3);
        if (c.input == CartesianInput) request.source = Side(1, Cartesian);
        switch (c.target) {
            case Lambert93: request.target = Side(4, Projected, 2, 2154, 0, 3); break;
            case Rgf93Degrees: request.target = Side(4, Geographic, 2, 0, 1, 3); break;
            case Rgf93Radians: request.target = Side(4, Geographic, 1, 0, 1, 3); break;
            case Rgf93Cartesian: request.target = Side(4, Cartesian); break;
            case NtfParisGrades: request.target = Side(1, Geographic, 3, 0, 0, 3); break;
        }
        request.inputFormat = c.inputFormat;
        request.inputPath = folder.File("in.txt");
        request.outputFormat = c.outputFormat;
        const bool outputFails = std::string(c.failingFile) == "out";
        const bool reportFails = std::string(c.failingFile) == "report";
        request.outputPath = outputFails ? "/dev/full" : folder.File("out.txt");
        request.report = c.report;
        request.reportPath = reportFails ? "/dev/full" : folder.File("rapport.txt");
        log.Open(folder.File("log.txt"));
        ui.messages.clear();
        WindowRunEnvironment environment = Environment();
        environment.threads = threads;
        Written written;
        written.counts = RunWindowFile(request, environment);
        log.Close();
        if (!outputFails) written.output = TempDir::Read(request.outputPath);
        if (c.report && !reportFails) written.report = TempDir::Read(request.reportPath);
        written.log = TempDir::Read(folder.File("log.txt"));
        for (const auto& message : ui.messages) written.messages += message.text + "\n";
        return written;
    }

    TempDir work;
};

const Case kCases[] = {
    {"standard, named projected both ways, report", StandardKind, ProjectedInput,
     FormatNameENAltitude, Lambert93, FormatNameENHeight, true, ""},
    {"standard, projected to geographic degrees", StandardKind, ProjectedInput, FormatENAltitude,
     Rgf93Degrees, FormatLatLonHeight, false, ""},
    {"standard, geographic to cartesian, report", StandardKind, GeographicInput,
     FormatLonLatAltitude, Rgf93Cartesian, FormatXYZ, true, ""},
    {"standard, cartesian to grades from Paris", StandardKind, CartesianInput, FormatXYZ,
     NtfParisGrades, FormatLonLatAltitude, false, ""},
    {"grid, two grids and the geoid, report", GridKind, ProjectedInput, FormatNameENAltitude,
     Lambert93, FormatNameENAltitude, true, ""},
    {"grid, geographic to radians", GridKind, GeographicInput, FormatNameLonLatAltitude,
     Rgf93Radians, FormatNameLatLonHeight, true, ""},
    {"grid, output on a full device", GridKind, ProjectedInput, FormatENAltitude, Lambert93,
     FormatENAltitude, false, "out"},
    {"standard, report on a full device", StandardKind, ProjectedInput, FormatNameENAltitude,
     Lambert93, FormatNameENAltitude, true, "report"},
};

TEST_F(ParallelRunTest, EveryThreadCountWritesTheBytesOfOneThread) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const bool named = DataFormatHasName(c.inputFormat);
        // Past the 256 KB that the streams keep before writing, so that a
        // full device fails in the middle of the run.
        folder.Write("in.txt", InputText(c.input, named, c.failingFile[0] ? 4000 : 1500));
        const Written one = Run(c, 1);
        // The case does what it is there for.
        if (c.failingFile[0]) {
            EXPECT_FALSE(one.counts.finished);
            EXPECT_NE(one.messages.find("Impossible d'écrire dans le fichier /dev/full"),
                      std::string::npos)
                << one.messages;
            EXPECT_GT(one.counts.succeeded, 1000);
            EXPECT_LT(one.counts.succeeded, 3900);
        } else {
            EXPECT_TRUE(one.counts.finished) << one.messages;
            EXPECT_GT(one.counts.succeeded, 500);
            EXPECT_GT(one.counts.outOfZone, 10);
            EXPECT_GT(one.counts.refused, 10);
            EXPECT_GT(one.output.size(), 50000u);
        }
        for (int threads : {2, 3, 8}) {
            SCOPED_TRACE(threads);
            const Written many = Run(c, threads);
            EXPECT_EQ(many.counts.finished, one.counts.finished);
            EXPECT_EQ(many.counts.succeeded, one.counts.succeeded);
            EXPECT_EQ(many.counts.failed, one.counts.failed);
            EXPECT_EQ(many.counts.outOfZone, one.counts.outOfZone);
            EXPECT_EQ(many.counts.refused, one.counts.refused);
            EXPECT_TRUE(many.output == one.output);
            EXPECT_TRUE(many.report == one.report);
            EXPECT_TRUE(many.log == one.log);
            EXPECT_EQ(many.messages, one.messages);
        }
    }
}

// The grid points of the test go through both translation grids, each
// chosen again many times: the fine grid's values show in the output.
TEST_F(ParallelRunTest, PointsSwitchBetweenTranslationGrids) {
    folder.Write("in.txt", "A 600984.230 2428291.971 35.0\nB 94489.738 2397710.572 12.0\n"
                           "C 601000.000 2428000.000 35.0\n");
    const Case c{"", GridKind, ProjectedInput, FormatNameENAltitude, Lambert93,
                 FormatNameENAltitude, false, ""};
    const Written fine = Run(c, 2);
    catalogue.translationGrids.pop_back();
    const Written published = Run(c, 2);
    const std::vector<std::string> a = CrLfLines(fine.output), b = CrLfLines(published.output);
    ASSERT_EQ(a.size(), b.size());
    ASSERT_GE(a.size(), 4u);
    // Paris and its neighbour lie in the fine grid, Brest does not.
    const std::size_t last = a.size() - 1;  // the end line
    EXPECT_NE(a[last - 3], b[last - 3]);
    EXPECT_EQ(a[last - 2], b[last - 2]);
    EXPECT_NE(a[last - 1], b[last - 1]);
}

// The fine grid's file has lost its records: the first point that chooses
// it stops the run, in the third batch of lines, after the lines before it
// are written, whatever the thread count and however far the threads have
// read and located the lines after it.
TEST_F(ParallelRunTest, AGridThatCannotBeLoadedStopsEveryThreadCountAtTheSameLine) {
    const std::string fine = TempDir::Read(work.File("fine.gsb"));
    work.Write("fine.gsb", fine.substr(0, fine.size() - 4096));
    std::string text;
    for (int i = 0; i < 700; ++i) {
        text += std::to_string(94000 + i) + ".000 2397710.572 12.0\n";  // around Brest
    }
    folder.Write("in.txt", text + InputText(ProjectedInput, false, 1500));
    const Case c{"", GridKind, ProjectedInput, FormatENAltitude, Lambert93, FormatENAltitude,
                 true, ""};
    const Written one = Run(c, 1);
    EXPECT_FALSE(one.counts.finished);
    EXPECT_NE(one.messages.find("fine.gsb"), std::string::npos) << one.messages;
    EXPECT_EQ(one.counts.succeeded, 700);
    for (int threads : {2, 3, 8}) {
        SCOPED_TRACE(threads);
        const Written many = Run(c, threads);
        EXPECT_FALSE(many.counts.finished);
        EXPECT_EQ(many.counts.succeeded, one.counts.succeeded);
        EXPECT_TRUE(many.output == one.output);
        EXPECT_TRUE(many.report == one.report);
        EXPECT_TRUE(many.log == one.log);
        EXPECT_EQ(many.messages, one.messages);
    }
}

TEST(RunThreads, ConfiguredCounts) {
    const int every = DefaultRunThreads();
    EXPECT_GE(every, 1);
    const struct {
        int configured, expected;
    } cases[] = {{0, every}, {-3, every}, {1, 1}, {3, 3}, {256, 256}, {100000, 256}};
    for (const auto& c : cases) EXPECT_EQ(RunThreads(c.configured), c.expected) << c.configured;
}

TEST(RunThreads, CommandLineCount) {
    const struct {
        const char* value;
        int threads;
        bool refused;
    } cases[] = {{"3", 3, false}, {"0", 0, false}, {"-1", 0, true}, {"deux", 0, true}};
    for (const auto& c : cases) {
        CQuorvelCommandLine line;
        std::string message;
        EXPECT_TRUE(ParseCommandLine(line, {"-mode", "1", "-threads", c.value}, "", message));
        EXPECT_TRUE(line.threadsGiven) << c.value;
        EXPECT_EQ(line.threads, c.threads) << c.value;
        EXPECT_EQ(line.refusedFlag == FlagThreads, c.refused) << c.value;
    }
    CQuorvelCommandLine none;
    std::string message;
    EXPECT_TRUE(ParseCommandLine(none, {"-mode", "1"}, "", message));
    EXPECT_FALSE(none.threadsGiven);
}

}  // namespace
