#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/coordinate.h"
#include "shared/text_encoding.h"
#include "runs/input_point_file.h"
#include "runs/output_point_file.h"
#include "runs/result_texts.h"
#include "sample_points.h"
#include "support/temp_dir.h"

namespace {

// Fixes the time stamp of every line written while it lives.
struct FixedTime {
    FixedTime() { setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1); }
    ~FixedTime() { unsetenv("QUORVEL_TIME_STAMP"); }
};

class OutFicTest : public ::testing::Test {
protected:
    // The bytes of one output written through `write`.
    template <class Write>
    std::string Output(int format, bool header, Write write) {
        const std::string path = folder.File("out.txt");
        {
            Out_Fic out(path);
            EXPECT_TRUE(out.IsOpen());
            out.dataFormat = format;
            out.header = header;
            write(out);
            EXPECT_TRUE(out.Close());
        }
        return TempDir::Read(path);
    }

    std::string OneLine(int format, const CCoor& arrival, bool header, bool alteration) {
        return Output(format, header, [&](Out_Fic& out) {
            out.Ecrire_Point(arrival, arrival, StandardKind, kResultOk, alteration);
        });
    }

    CCoor Lambert93Point() {
        CCoor p = sample.Projected(sample.rgf93, sample.lambert93, 652468.1234, 6862035.5);
        p.name = "P1";
        p.altitude = 35.2;
        p.height = 80.25;
        p.convergence = -1.234567;
        p.convergenceUnit = 3;
        p.linearAlteration = -12.34;
        p.precision = 1;
        p.verticalPrecision = -999;
        return p;
    }

    TempDir folder;
    SamplePoints sample;
    FixedTime time;
};

}  // namespace

TEST_F(OutFicTest, ProjectedColumnsByAlterationAndHeaderFlags) {
    const CCoor p = Lambert93Point();
    const std::string name = std::string(18, ' ') + "P1";
    // Altitude layouts without the header: no alteration columns.
    EXPECT_EQ(name + "     652468.123    6862035.500     35.200\r\n",
              OneLine(FormatNameENAltitude, p, false, true));
    EXPECT_EQ("     652468.123    6862035.500     35.200\r\n",
              OneLine(FormatENAltitude, p, false, true));
    // Ellipsoidal-height layouts keep them without the header.
    EXPECT_EQ(name + "     652468.123    6862035.500     80.250      -1.234567      -12.3\r\n",
              OneLine(FormatNameENHeight, p, false, true));
    EXPECT_EQ("     652468.123    6862035.500     80.250\r\n",
              OneLine(FormatENHeight, p, false, false));
}

TEST_F(OutFicTest, PrecisionColumnsWithTheHeaderFlag) {
    const CCoor p = Lambert93Point();
    const std::string bytes = OneLine(FormatENAltitude, p, true, true);
    const std::string last = bytes.substr(bytes.rfind("\r\n", bytes.size() - 3) + 2);
    EXPECT_EQ(
        "     652468.123    6862035.500     35.200      -1.234567      -12.3"
        " \t\t de 1 \xE0 5cm \t\t HORS GRILLE DE GEOIDE\r\n",
        last);
}

TEST_F(OutFicTest, NamesAreRightAlignedAndNeverCut) {
    CCoor p = Lambert93Point();
    p.name = "Borne-0123456789-ABCDEFGH";  // 25 characters
    EXPECT_EQ("Borne-0123456789-ABCDEFGH     652468.123    6862035.500     35.200\r\n",
              OneLine(FormatNameENAltitude, p, false, false));
    p.name = "Clément";  // written as ISO-8859-1: 7 bytes
    EXPECT_EQ(std::string(13, ' ') + "Cl\xE9ment     652468.123    6862035.500     35.200\r\n",
              OneLine(FormatNameENAltitude, p, false, false));
    p.name = "";  // an unnamed input written in a named layout
    EXPECT_EQ(std::string(20, ' ') + "     652468.123    6862035.500     35.200\r\n",
              OneLine(FormatNameENAltitude, p, false, false));
}

TEST_F(OutFicTest, AngleFormatsByUnit) {
    CCoor p = sample.GeographicPoint(sample.rgf93, 2, 2.5, 48.75);
    p.name = "G";
    p.altitude = 35.2;
    p.height = 80.25;
    EXPECT_EQ(std::string(19, ' ') + "G    2.50000000   48.75000000   35.200\r\n",
              OneLine(FormatNameLonLatAltitude, p, false, true));
    EXPECT_EQ("   48.75000000    2.50000000   80.250\r\n",
              OneLine(FormatLatLonHeight, p, false, true));
    p.unit = 10;  // packed degrees-minutes-seconds: 9 decimals
    p.latitude = 45.301525;
    p.longitude = -2.2;
    EXPECT_EQ(std::string(19, ' ') + "G  45.301525000  -2.200000000   35.200\r\n",
              OneLine(FormatNameLatLonAltitude, p, false, false));
    p.unit = 1;
    p.longitude = 0.0436332313;
    p.latitude = 0.8508480103;
    EXPECT_EQ("  0.0436332313  0.8508480103   80.250\r\n",
              OneLine(FormatLonLatHeight, p, false, false));
    p.unit = 5;
    p.longitude = 9000;
    p.latitude = 175500.125;
    EXPECT_EQ("    9000.00000  175500.12500   35.200\r\n",
              OneLine(FormatLonLatAltitude, p, false, false));
    p.unit = 6;
    EXPECT_EQ("   9000.000000 175500.125000   80.250\r\n",
              OneLine(FormatLonLatHeight, p, false, false));

    // The other units and the remaining geographic layouts.
    p.longitude = 2.78;
    p.latitude = 54.1666666667;
    p.unit = 3;  // grades: 8 decimals
    EXPECT_EQ(std::string(19, ' ') + "G    2.78000000   54.16666667   80.250\r\n",
              OneLine(FormatNameLonLatHeight, p, false, false));
    p.unit = 4;  // decimal hours: 10 decimals
    p.longitude = 0.1666666667;
    p.latitude = 3.25;
    EXPECT_EQ(std::string(19, ' ') + "G  3.2500000000  0.1666666667   80.250\r\n",
              OneLine(FormatNameLatLonHeight, p, false, false));
    p.unit = 11;  // packed hours-minutes-seconds: 10 decimals
    p.longitude = 0.1;
    p.latitude = 3.15;
    EXPECT_EQ("  3.1500000000  0.1000000000   35.200\r\n",
              OneLine(FormatLatLonAltitude, p, false, false));
    p.unit = 12;  // packed degrees and decimal minutes: 9 decimals
    p.longitude = -1.3075;
    p.latitude = 48.5125;
    EXPECT_EQ("  48.512500000  -1.307500000   35.200\r\n",
              OneLine(FormatLatLonAltitude, p, false, false));
}

TEST_F(OutFicTest, CartesianColumns) {
    CCoor p;
    p.type = 1;
    p.name = "C";
    p.x = 4201575.1;
    p.y = 189856.25;
    p.z = -4779203.5;
    EXPECT_EQ(std::string(19, ' ') + "C  4201575.100   189856.250 -4779203.500\r\n",
              OneLine(FormatNameXYZ, p, false, true));
    EXPECT_EQ("  4201575.100   189856.250 -4779203.500\r\n", OneLine(FormatXYZ, p, false, true));
}

TEST_F(OutFicTest, ErrorLinesCarryOnlyTheText) {
    const CCoor p = Lambert93Point();
    const std::string bytes = Output(FormatNameENAltitude, false, [&](Out_Fic& out) {
        out.Ecrire_Point(p, p, StandardKind, kResultBadPoint, true);
        out.Ecrire_Point(p, p, StandardKind, "Transformation : erreur n° 600", true);
        EXPECT_EQ(2, out.lineCount);
    });
    EXPECT_EQ(
        "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
        "e : mauvais format de point\r\n"
        "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
        "e : Transformation : erreur n\xB0 600\r\n",
        bytes);
}

// Error texts with accents, more of them than the stream keeps converted,
// in turns and repeated: every line has its own text's ISO-8859-1 bytes.
TEST_F(OutFicTest, ManyAccentedErrorTextsInTurns) {
    const CCoor p = Lambert93Point();
    const std::vector<std::string> texts = {"hors zone é", "référentiel", "à", "ça", "â ê",
                                            "déjà", "référentiel"};
    std::string expected;
    const std::string bytes = Output(FormatNameENAltitude, false, [&](Out_Fic& out) {
        for (int turn = 0; turn < 3; ++turn) {
            for (const std::string& text : texts) {
                out.Ecrire_Point(p, p, StandardKind, text, true);
                expected += "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
                            "e : " +
                            Utf8ToLatin1(text) + "\r\n";
            }
        }
    });
    EXPECT_EQ(expected, bytes);
}

TEST_F(OutFicTest, HeaderBeforeTheFirstLineOnlyAndEndLine) {
    CCoor departure = sample.Projected(sample.ntf, sample.lambert2e, 600000, 2200000);
    const CCoor arrival = Lambert93Point();
    long long lines = 0;
    const std::string bytes = Output(FormatNameENAltitude, true, [&](Out_Fic& out) {
        out.Ecrire_Point(departure, arrival, StandardKind, kResultOk, true);
        out.Ecrire_Point(departure, arrival, StandardKind, kResultBadPoint, true);
        out.Ecrire_Fin(kResultEnd);
        out.Ecrire_Fin("autre");  // writes nothing
        lines = out.lineCount;
    });
    EXPECT_EQ(4, lines);  // the header counts 2
    const std::string expected =
        "*Mardi 8/12/2026 -- 9:05:07\r\n"
        "*R\xE9sultat de la transformation de type Standard entre :\r\n"
        "*SYSTEME :        NTF\r\n"
        "*COORDONN\xC9"
        "ES :   Planes\r\n"
        "*ELLIPSO\xCF"
        "DE :     Clarke 1880 IGN\r\n"
        "*PROJECTION:    Lambert II \xE9tendu\r\n"
        "\r\n"
        "*SYSTEME :        RGF93\r\n"
        "*COORDONN\xC9"
        "ES :   Planes\r\n"
        "*ELLIPSO\xCF"
        "DE :     GRS 1980\r\n"
        "*PROJECTION:    Lambert-93\r\n"
        "\r\n"
        "*SYSTEME ALTIMETRIQUE :       IGN69\r\n"
        "\r\n"
        "\r\n"
        "*          Nom              E              N             Alt     Conv(Grades)  Alt "
        "Lin(mm/km)\t\tpr\xE9"
        "c. plani\t\tpr\xE9"
        "c alti\r\n"
        "                  P1     652468.123    6862035.500     35.200      -1.234567      -12.3"
        " \t\t de 1 \xE0 5cm \t\t HORS GRILLE DE GEOIDE\r\n"
        "* ERREUR!!! Sur cette ligne du fichier d'entr\xE9"
        "e : mauvais format de point\r\n"
        "* Fin Mardi 8/12/2026 -- 9:05:07\r\n";
    EXPECT_EQ(expected, bytes);
}

TEST_F(OutFicTest, OnlyCommentsLeaveJustTheEndLine) {
    EXPECT_EQ("* Fin Mardi 8/12/2026 -- 9:05:07\r\n",
              Output(FormatENAltitude, true, [](Out_Fic& out) { out.Ecrire_Fin(kResultEnd); }));
}

TEST_F(OutFicTest, ReportLines) {
    folder.Write("in.txt", "*c\nA 1 2\n");
    In_Fic input(folder.File("in.txt"));
    input.dataFormat = FormatNameENHeight;
    CCoor point;
    input.Lire_Point(point);
    input.Lire_Point(point);  // line 2

    CCoor departure = sample.Projected(sample.ntf, sample.lambert2e, 600000, 2200000);
    departure.name = "A";
    departure.height = 50;
    CCoor arrival = Lambert93Point();
    Out_Fic output(folder.File("out.txt"));
    output.dataFormat = FormatENHeight;

    const std::string bytes = Output(0, false, [&](Out_Fic& report) {
        report.Ecrire_Rapport(departure, arrival, input, output, GridKind, kResultOk);
        report.Ecrire_Rapport(departure, arrival, input, output, GridKind, kResultBadPoint);
        EXPECT_EQ(2, report.lineCount);  // the report header is not counted
        report.Ecrire_Fin(kReportEndText);
    });
    const std::size_t body = bytes.find("                   A");
    ASSERT_NE(std::string::npos, body);
    EXPECT_EQ(
        "                   A   600000.000  2200000.000   50.000 |    652468.123  6862035.500"
        "   80.250 \t\t de 1 \xE0 5cm \t\t HORS GRILLE DE GEOIDE\r\n"
        "ERREUR \xE0 la ligne 2 du fichier initial : mauvais format de point\r\n" +
            std::string(80, '-') + "\r\nFin Mardi 8/12/2026 -- 9:05:07\r\n",
        bytes.substr(body));
}

TEST_F(OutFicTest, OutputReadsBackInItsOwnLayout) {
    CCoor departure = sample.Projected(sample.ntf, sample.lambert2e, 600000, 2200000);
    CCoor a = Lambert93Point();
    CCoor b = Lambert93Point();
    b.name = "Second";
    b.easting = 700000.0006;
    b.height = -12.5;
    Output(FormatNameENHeight, true, [&](Out_Fic& out) {
        out.Ecrire_Point(departure, a, StandardKind, kResultOk, true);
        out.Ecrire_Point(departure, a, StandardKind, kResultBadPoint, true);
        out.Ecrire_Point(departure, b, StandardKind, kResultOk, true);
        out.Ecrire_Fin(kResultEnd);
    });
    In_Fic input(folder.File("out.txt"));
    input.dataFormat = FormatNameENHeight;
    std::vector<CCoor> points;
    for (int guard = 0; guard < 100; ++guard) {
        CCoor p;
        const std::string result = input.Lire_Point(p);
        if (result == kResultEnd) break;
        if (result == kResultOk) {
            points.push_back(p);
        } else {
            EXPECT_TRUE(result == kResultComment || result == kResultBlankLine) << result;
        }
    }
    ASSERT_EQ(2u, points.size());
    EXPECT_EQ("P1", points[0].name);
    EXPECT_EQ(652468.123, points[0].easting);
    EXPECT_EQ(6862035.5, points[0].northing);
    EXPECT_EQ(80.25, points[0].height);
    EXPECT_EQ("Second", points[1].name);
    EXPECT_EQ(700000.001, points[1].easting);  // written with 3 decimals
    EXPECT_EQ(-12.5, points[1].height);
}

TEST(OutFic, WriteFailureIsReported) {
    Out_Fic out("/dev/full");
    ASSERT_TRUE(out.IsOpen());
    out.dataFormat = FormatXYZ;
    CCoor p;
    out.Ecrire_Point(p, p, StandardKind, kResultOk, false);
    EXPECT_FALSE(out.Flush());
    EXPECT_TRUE(out.WriteFailed());
    EXPECT_FALSE(out.Close());
}

TEST(OutFic, FileRemovedBeforeClosingIsAFailure) {
    TempDir folder;
    const std::string path = folder.File("out.txt");
    Out_Fic out(path);
    ASSERT_TRUE(out.IsOpen());
    out.Write("ligne\n");
    ASSERT_TRUE(out.Flush());
    ASSERT_EQ(0, ::unlink(path.c_str()));
    out.Write("encore\n");
    EXPECT_FALSE(out.Close());
    EXPECT_TRUE(out.WriteFailed());
    // Devices and files still in place close as written.
    Out_Fic null("/dev/null");
    null.Write("x\n");
    EXPECT_TRUE(null.Close());
}

TEST(OutFic, UncreatableFileFails) {
    Out_Fic out("/nonexistent/folder/out.txt");
    EXPECT_FALSE(out.IsOpen());
}
