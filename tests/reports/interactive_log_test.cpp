#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../runs/sample_points.h"
#include "app/text_encoding.h"
#include "reports/interactive_log.h"
#include "runs/output_point_file.h"
#include "support/temp_dir.h"

namespace {

class LogTest : public ::testing::Test {
protected:
    LogTest() { setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1); }
    ~LogTest() override { unsetenv("QUORVEL_TIME_STAMP"); }

    // The entry as UTF-8 with "\n" line ends; checks that every line ends with CR LF.
    std::string Entry(const CCoor& departure, const CCoor& arrival, int kind) {
        const std::string path = folder.File(kInteractiveLogName);
        {
            Out_Fic log(path);
            AppendLogEntry(log, departure, arrival, kind);
        }
        const std::string bytes = TempDir::Read(path);
        std::string lines;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r');
            }
            if (bytes[i] != '\r') lines += bytes[i];
        }
        return Latin1ToUtf8(lines);
    }

    TempDir folder;
    SamplePoints s;
    const std::string dashes = std::string(80, '-');
};

}  // namespace

TEST_F(LogTest, PackedDepartureToProjectedArrival) {
    CCoor departure = s.GeographicPoint(s.ntf, 10, 2.2, 45.301525);
    departure.name = "B1";
    departure.sys.meridian = &s.paris;
    departure.verticalKind = 2;
    departure.altitude = 35.2;
    CCoor arrival = s.Projected(s.rgf93, s.lambert93, 652468.12346, 6862035.5);
    arrival.verticalKind = 2;
    arrival.altitude = 35.2;
    arrival.convergence = -1.2345678;
    arrival.convergenceUnit = 3;
    arrival.linearAlteration = -12.34;
    EXPECT_EQ(
        "Mardi 8/12/2026 -- 9:05:07\n"
        "POINT : B1\tTransformation : Standard\n"
        "SYSTEME DE DEPART : NTF Géographiques Degrés Minutes Secondes\n"
        "Ellipsoïde  : Clarke 1880 IGN\n"
        "Méridien  : Paris\n"
        "lon= 2.2000000000 lat= 45.3015250000 alt = 35.2000\n"
        "SYSTEME DE D'ARRIVEE : RGF93 Planes\n"
        "Ellipsoïde  : GRS 1980\n"
        "Projection  : Lambert-93\n"
        "E= 652468.1235 N= 6862035.5000 alt = 35.2000\n"
        "Convergence : -1.234568 (Grades) Altération linéaire : -12.3 mm/km\n"
        "\n" +
            dashes + "\n",
        Entry(departure, arrival, StandardKind));
}

TEST_F(LogTest, VerticalTextsByKind) {
    CCoor departure = s.Projected(s.ntf, s.lambert2e, 600000, 2200000);
    departure.name = "V";
    departure.verticalKind = 0;
    CCoor arrival = s.GeographicPoint(s.rgf93, 2, 2.5, 48.5);
    arrival.verticalKind = 2;
    arrival.altitude = 35;
    arrival.height = 80.5;
    const std::string grid = Entry(departure, arrival, GridKind);
    EXPECT_NE(
        std::string::npos,
        grid.find("E= 600000.0000 N= 2200000.0000 aucune info sur la composante verticale \n"));
    EXPECT_NE(std::string::npos,
              grid.find("SYSTEME D'ARRIVEE : RGF93 Géographiques Degrés décimaux\n"));
    EXPECT_NE(std::string::npos,
              grid.find("lon= 2.5000000000 lat= 48.5000000000 alt = 35.0000 h = 80.5000\n"));
    const std::string standard = Entry(departure, arrival, StandardKind);
    EXPECT_NE(std::string::npos, standard.find("lat= 48.5000000000 alt = 35.0000\n"));
    arrival.verticalKind = 1;
    EXPECT_NE(std::string::npos,
              Entry(departure, arrival, StandardKind).find("lat= 48.5000000000 h = 80.5000\n"));
}

TEST_F(LogTest, CartesianArrivalHasNoVerticalTextNorConvergence) {
    CCoor departure;
    departure.type = 1;
    departure.sys.system = &s.rgf93;
    departure.x = 4201575.1;
    CCoor arrival = departure;
    arrival.verticalKind = 1;
    const std::string entry = Entry(departure, arrival, StandardKind);
    EXPECT_NE(std::string::npos, entry.find("SYSTEME DE DEPART : RGF93 Cartésiennes\n"
                                            "x= 4201575.1000 y= 0.0000 z= 0.0000\n"
                                            "SYSTEME DE D'ARRIVEE : RGF93 Cartésiennes\n"
                                            "x= 4201575.1000 y= 0.0000 z= 0.0000\n\n"));
    EXPECT_EQ(std::string::npos, entry.find("Convergence"));
    EXPECT_EQ(std::string::npos, entry.find(" h = "));
}

TEST_F(LogTest, ShortSystemNamesTakeTwoCharacters) {
    CReg one = s.rgf93;
    one.name = "R";
    CCoor p;
    p.type = 1;
    p.sys.system = &one;
    EXPECT_NE(std::string::npos,
              Entry(p, p, StandardKind).find("SYSTEME DE DEPART : R  Cartésiennes\n"));
}

// A log that cannot be opened, or set aside, means no log and loses nothing.
TEST(SessionLog, WithoutAWritableFolderThereIsNoLogAndNothingIsLost) {
    TempDir folder;
    Out_Fic log;
    EXPECT_FALSE(OpenSessionLog(log, folder.File("absent") + "/"));
    EXPECT_FALSE(std::filesystem::exists(folder.File("absent")));
    // The predecessor's name taken by a folder: the entries stay in log.txt.
    std::filesystem::create_directory(folder.File(kPreviousInteractiveLogName));
    folder.Write(kInteractiveLogName, "entrées d'hier\r\n");
    EXPECT_FALSE(OpenSessionLog(log, folder.path() + "/"));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ("entrées d'hier\r\n", TempDir::Read(folder.File(kInteractiveLogName)));
}
