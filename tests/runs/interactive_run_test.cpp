#include "runs/interactive_run.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "engine/precision.h"
#include "window_run_fixture.h"

namespace {

using Kind = ScriptedInterface::Kind;
using Icon = UserInterface::QuestionIcon;

class InteractiveRunTest : public WindowRunTest {
protected:
    // Paris Notre-Dame in NTF Lambert II étendu, to RGF93 `projection`.
    void ParisToLambert(int projection = 2154) {
        departure = Side(1, Projected, 2, 27572);
        departure.name = "Paris";
        departure.easting = 600984.230;
        departure.northing = 2428291.971;
        departure.altitude = 35;
        departure.verticalKind = Altitude;
        arrival = Side(4, Projected, 2, projection);
        arrival.verticalKind = Altitude;
        arrival.altitude = 35;
    }
    InteractiveOutcome Run(int kind) {
        return RunInteractive(kind, departure, arrival, last, Environment());
    }
    // The limits box of a grid's zone, as the user reads it.
    static std::string Limits(const char* heading, const CZone& zone) {
        char limits[512];
        std::snprintf(limits, sizeof limits,
                      "\n\n\t%f°  <=  longitude   <=   %f°\n\t%f°  <=  latitude    <=   %f°\n\n",
                      zone.southWest.longitude, zone.northEast.longitude, zone.southWest.latitude,
                      zone.northEast.latitude);
        return std::string(heading) + limits +
               "(Vos coordonnées ont été transformées en degrés décimaux , et\nla longitude est "
               "ramenée au méridien de greenwich si nécessaire)";
    }

    CCoor departure, arrival, last;
};

TEST_F(InteractiveRunTest, ComputedPointBecomesTheLastResultAndIsLogged) {
    for (int kind : {StandardKind, GridKind}) {
        ParisToLambert();
        EXPECT_EQ(Run(kind), InteractiveOutcome::Computed);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(last.easting, arrival.easting);
        EXPECT_EQ(last.northing, arrival.northing);
    }
    // The grid method's result: PROJ's cs2cs +nadgrids=ntf_r93.gsb.
    EXPECT_NEAR(arrival.easting, 652299.046, 0.0005);
    EXPECT_NEAR(arrival.northing, 6861633.318, 0.0005);
    const std::string logged = LogText();
    EXPECT_EQ(Count(logged, "POINT : Paris\tTransformation : "), 2u);
    EXPECT_NE(logged.find("Projection  : Lambert-93\r\nE= 652299.04"), std::string::npos);
}

TEST_F(InteractiveRunTest, PointOutsideTheTranslationGridShowsItsLimits) {
    departure = Side(1, Geographic, 2, 0, 1);  // NTF, decimal degrees from Greenwich
    departure.longitude = 11;
    departure.latitude = 47;
    arrival = Side(4, Geographic, 2, 0, 1);
    last.easting = 1234;
    EXPECT_EQ(Run(GridKind), InteractiveOutcome::OutsideGrid);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, Kind::Plain);
    const CZone zone = headers.Translation("ntf_r93.gsb", kData).zone;
    EXPECT_LT(zone.northEast.longitude, 11);
    EXPECT_EQ(ui.messages[0].text,
              Limits("\nLes coordonnées que vous avez saisies sont hors grille de paramètres de "
                     "transformation :",
                     zone));
    EXPECT_EQ(LogText(), "");
    EXPECT_EQ(last.easting, 1234);
    EXPECT_EQ(arrival.longitude, 0);
}

TEST_F(InteractiveRunTest, PointOutsideTheGeoidIsComputedWithItsPrecisionText) {
    // RGF93 to WGS84 with EGM96 altitudes, east of the geoid's crop of France
    // (the example grid that the catalogue names in a comment, in place of
    // the world geoid).
    catalogue.verticalGrids.clear();
    for (const char* line : {"GR1D egm96_france.mnt 3 3", "GR1D egm96_france.mnt 4 3"})
        ASSERT_EQ(AddCatalogueLine(line, catalogue), LineOutcome::Added);
    departure = Side(4, Geographic, 2, 0, 1, 3);
    departure.longitude = 10.2;
    departure.latitude = 47;
    departure.altitude = departure.height = 500;
    departure.verticalKind = Altitude;
    arrival = Side(3, Geographic, 2, 0, 1, 3);
    arrival.verticalKind = Altitude;
    EXPECT_EQ(Run(StandardKind), InteractiveOutcome::Computed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, Kind::Plain);
    const CZone zone = headers.Vertical("egm96_france.mnt", kData).zone;
    EXPECT_EQ(ui.messages[0].text,
              Limits("\nLes coordonnées que vous avez saisies sont hors grille de geoide :", zone));
    EXPECT_NEAR(arrival.longitude, 10.2, 1e-6);
    EXPECT_EQ(PrecisionText(arrival.verticalPrecision), "HORS GRILLE DE GEOIDE");
    EXPECT_EQ(Count(LogText(), "POINT : "), 1u);
}

TEST_F(InteractiveRunTest, DepartureOutsideItsExtentIsComputedOnlyAfterYes) {
    ParisToLambert();
    departure.northing = 9000000;
    ui.answers = {false};
    EXPECT_EQ(Run(StandardKind), InteractiveOutcome::Stopped);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, Kind::Question);
    EXPECT_EQ(ui.messages[0].text,
              "\nLes coordonnées ne se trouvent pas dans l'emprise de la projection de "
              "départ.\nVoulez-vous continuer ?");
    EXPECT_EQ(ui.messages[0].icon, Icon::Error);
    EXPECT_TRUE(ui.messages[0].noByDefault);
    EXPECT_EQ(arrival.easting, 0);
    EXPECT_EQ(last.easting, 0);
    EXPECT_EQ(LogText(), "");

    // Yes, and Yes again for the arrival, as far out as the departure.
    ui.answers = {true, true};
    EXPECT_EQ(Run(StandardKind), InteractiveOutcome::Computed);
    EXPECT_EQ(ui.unscriptedQuestions, 0);
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_NE(arrival.easting, 0);
    EXPECT_EQ(Count(LogText(), "POINT : "), 1u);
}

TEST_F(InteractiveRunTest, ArrivalOutsideItsExtentKeepsTheResultWithoutLogEntry) {
    ParisToLambert(3942);  // Paris is far north of the CC42 zone
    ui.answers = {false};
    EXPECT_EQ(Run(StandardKind), InteractiveOutcome::Stopped);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "\nLes coordonnées ne se trouvent pas dans l'emprise de la projection "
              "d'arrivée.\nVoulez-vous continuer ?");
    EXPECT_NE(last.easting, 0);
    EXPECT_EQ(last.easting, arrival.easting);
    EXPECT_EQ(LogText(), "");
}

TEST_F(InteractiveRunTest, FailedComputationIsShownAndLoggedButNotKept) {
    ASSERT_EQ(LineOutcome::Added,
              AddCatalogueLine("PRC 9999 0 1 600000.0 2200000.0 2 3 0.0 52 0.99987742 0.0 0.0 0 4 "
                               "Projection inconnue",
                               catalogue));
    ASSERT_EQ(LineOutcome::Added, AddCatalogueLine("PROJ 4 9999 2 -5.5 41.0 10.0 51.5", catalogue));
    ParisToLambert(9999);
    EXPECT_EQ(Run(StandardKind), InteractiveOutcome::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Transformation : erreur n° 300\n");
    EXPECT_EQ(last.easting, 0);
    EXPECT_EQ(Count(LogText(), "POINT : Paris"), 1u);
}

}  // namespace
