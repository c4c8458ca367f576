#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../runs/sample_points.h"
#include "shared/text_encoding.h"
#include "reports/headers.h"
#include "support/temp_dir.h"

namespace {

struct FixedTime {
    FixedTime() { setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1); }
    ~FixedTime() { unsetenv("QUORVEL_TIME_STAMP"); }
};

}  // namespace

TEST(ColumnTitles, ProjectedWithAndWithoutAlteration) {
    SamplePoints s;
    CCoor arrival = s.Projected(s.rgf93, s.lambert93, 0, 0);
    arrival.convergenceUnit = 3;
    EXPECT_EQ(
        "*          Nom              E              N             Alt     Conv(Grades)  "
        "Alt Lin(mm/km)\t\tpréc. plani\t\tpréc alti",
        ColumnTitles(FormatNameENAltitude, arrival, true));
    EXPECT_EQ(
        "*          Nom              E              N             Alt\t\tpréc. plani\t\tpréc alti",
        ColumnTitles(FormatNameENAltitude, arrival, false));
    // The alteration columns belong to projected layouts only.
    EXPECT_EQ("*  Latitude     Longitude   Altitude\t\tpréc. plani\t\tpréc alti",
              ColumnTitles(FormatLatLonAltitude, arrival, true));
    EXPECT_EQ("\t\tpréc. plani\t\tpréc alti", ColumnTitles(3, arrival, true));
}

TEST(ColumnTitles, EveryLayoutHasItsTitle) {
    SamplePoints s;
    CCoor arrival = s.Projected(s.rgf93, s.lambert93, 0, 0);
    const char* titles[] = {
        "*          Nom            X            Y           Z",
        "*     X            Y           Z",
        "*          Nom         Longitude   Latitude    Altitude",
        "*          Nom         Latitude    Longitude   Altitude",
        "*          Nom         Longitude    Latitude    Hauteur",
        "*          Nom         Latitude     Longitude   Hauteur",
        "*  Longitude    Latitude    Altitude",
        "*  Latitude     Longitude   Altitude",
        "*  Longitude     Latitude    Hauteur",
        "*  Latitude      Longitude   Hauteur",
        "*          Nom              E              N             Alt",
        "*          Nom              E              N             Hauteur",
        "*          E              N             Alt",
        "*          E              N             Hauteur",
    };
    for (int layout = 6; layout <= 19; ++layout) {
        EXPECT_EQ(std::string(titles[layout - 6]) + "\t\tpréc. plani\t\tpréc alti",
                  ColumnTitles(layout, arrival, false))
            << layout;
    }
    EXPECT_EQ("\t\tpréc. plani\t\tpréc alti", ColumnTitles(20, arrival, false));
}

TEST(OutputHeader, GeographicAndCartesianSides) {
    FixedTime time;
    SamplePoints s;
    CCoor departure = s.GeographicPoint(s.ntf, 3, 0, 0);
    departure.sys.meridian = &s.paris;
    CCoor arrival;
    arrival.type = 1;
    arrival.sys.system = &s.rgf93;
    EXPECT_EQ(
        "*Mardi 8/12/2026 -- 9:05:07\n"
        "*Résultat de la transformation de type Grille entre :\n"
        "*SYSTEME :        NTF\n"
        "*COORDONNÉES :   Géographiques\n"
        "*ELLIPSOÏDE :     Clarke 1880 IGN\n"
        "*MERIDIEN :      Paris\n"
        "*UNITÉ :          Grades\n"
        "\n"
        "*SYSTEME :        RGF93\n"
        "*COORDONNÉES :   Cartésiennes\n"
        "\n"
        "*SYSTEME ALTIMETRIQUE :       \n"
        "\n",
        OutputHeader(departure, arrival, GridKind));
}

class ReportHeaderTest : public ::testing::Test {
protected:
    std::string Header(const CCoor& departure, const CCoor& arrival, int inFormat, int outFormat,
                       int kind) {
        return ReportHeader(departure, arrival, folder.File("in.txt"), inFormat,
                            folder.File("out.txt"), outFormat, kind);
    }
    FixedTime time;
    TempDir folder;
    SamplePoints s;
    const std::string dashes = std::string(80, '-');
};

TEST_F(ReportHeaderTest, CartesianToProjectedStandard) {
    CCoor departure;
    departure.type = 1;
    departure.sys.system = &s.rgf93;
    const CCoor arrival = s.Projected(s.rgf93, s.lambert93, 0, 0);
    const std::string header =
        Header(departure, arrival, FormatNameXYZ, FormatNameENHeight, StandardKind);
    const std::string expected =
        std::string(kReportBanner) + "Mardi 8/12/2026 -- 9:05:07\n" +
        "Quorvel, atelier de calcul géodésique, 1 place du Méridien\n"
        "Tél. : +33 0 00 00 00 00 - Fax : +33 0 00 00 00 01 - quorvel.invalid\n\n" +
        dashes + "\n Transformation de type Standard\n" + dashes + "\n" +
        "COORDONNÉES INITIALES :  Fichier " + folder.File("in.txt") + "\n" +
        "Référentiel géodésique : RGF93\n"
        "Ellipsoïde             : GRS 1980(a= 6378137.000, e2= 0.006694380023)\n"
        "Coordonnées cartésiennes en mètres\n"
        "\n"
        "COORDONNÉES FINALES :  Fichier " +
        folder.File("out.txt") + "\n" +
        "Référentiel géodésique : RGF93\n"
        "Ellipsoïde             : GRS 1980(a= 6378137.000, e2= 0.006694380023)\n"
        "Projection             : Lambert-93\n"
        "Coordonnées planes E, N, Hauteur en mètres\n" +
        dashes + "\n";
    EXPECT_EQ(expected, header);
    EXPECT_EQ(std::string::npos, header.find("Méridien origine"));
}

TEST_F(ReportHeaderTest, GridEndsWithTheVerticalSystem) {
    CCoor departure = s.GeographicPoint(s.ntf, 10, 0, 0);
    departure.sys.meridian = &s.paris;
    const CCoor arrival = s.Projected(s.rgf93, s.lambert93, 0, 0);
    const std::string header =
        Header(departure, arrival, FormatLatLonHeight, FormatENAltitude, GridKind);
    EXPECT_NE(std::string::npos,
              header.find("Ellipsoïde             : Clarke 1880 IGN(a= 6378249.200, e2= "
                          "0.006803487646)\nMéridien origine       : Paris\n"
                          "Coordonnées géographiques en Degrés Minutes Secondes(lat, lon, "
                          "hauteur)\n\n"));
    EXPECT_NE(std::string::npos, header.find("Coordonnées planes E, N, Altitude en mètres\n"));
    const std::string tail = dashes + "\nSystème altimétrique   : IGN69\n" + dashes + "\n";
    ASSERT_GE(header.size(), tail.size());
    EXPECT_EQ(tail, header.substr(header.size() - tail.size()));
}

TEST(ReportBanner, FiftyCharacters) {
    EXPECT_EQ(50u, Utf8ToLatin1(kReportBanner).size());
}
