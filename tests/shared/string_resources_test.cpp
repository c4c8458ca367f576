#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shared/string_resources.h"

TEST(StringResources, TextsByIdAsWritten) {
    EXPECT_EQ("Calcule la transformation de coordonnées précisée", LoadString(1));
    EXPECT_EQ("&A propos de Quorvel", LoadString(IDS_ABOUT_MENU));
    EXPECT_EQ("Quorvel", LoadString(IDS_PROGRESS_CAPTION));
    EXPECT_EQ("Par convention,négatif à l'Ouest", LoadString(1039));
    EXPECT_EQ("Saisie de la coordonnée Est en  projection", LoadString(1056));  // two blanks
    EXPECT_EQ("L'unité choisie au départ n'est pas valide ", LoadString(IDS_CMD_SOURCE_UNIT));
    EXPECT_EQ("*** Bienvenue dans Quorvel Batch, version 1.1 du 06-10-2009 ***",
              LoadString(IDS_CONSOLE_BANNER));
    EXPECT_EQ("Le flag n'existe pas", LoadString(IDS_CMD_UNKNOWN_FLAG));
    EXPECT_EQ("Mauvais format à la ligne", LoadString(IDS_BAD_FORMAT_AT_LINE));
    EXPECT_EQ("Transformation grille", LoadString(IDS_TAB_GRILLE));
    EXPECT_EQ("Explication géodésique sur les systèmes, projections, coordonnées....",
              LoadString(57670));
}

TEST(StringResources, UnknownIdsAreEmpty) {
    for (int id : {0, -1, 3, 1001, 2006, 2014, 2030, 2103, 2175, 2176, 2190, 2230, 2253, 2267, 3012,
                   57671, 1 << 30}) {
        EXPECT_EQ("", LoadString(id)) << id;
    }
}

TEST(StringResources, DayNamesSundayFirst) {
    const char* days[7] = {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"};
    for (int d = 0; d < 7; ++d) EXPECT_EQ(days[d], LoadString(IDS_DAY_SUNDAY + d));
}

TEST(StringResources, ConfigurationNames) {
    EXPECT_EQ("INFORMATIONS", LoadString(IDS_SECTION_INFORMATIONS));
    EXPECT_EQ("Aide_html", LoadString(IDS_KEY_AIDE_HTML));
    EXPECT_EQ("Console", LoadString(IDS_KEY_CONSOLE));
    EXPECT_EQ("Standard", LoadString(IDS_SECTION_STANDARD));
    EXPECT_EQ("Grille", LoadString(IDS_SECTION_GRILLE));
    // The 22 page keys: all present, all different, in the written order.
    std::set<std::string> names;
    for (int id : kPageKeyIds) {
        const std::string name = LoadString(id);
        EXPECT_FALSE(name.empty()) << id;
        names.insert(name);
    }
    EXPECT_EQ(22u, names.size());
    EXPECT_EQ("Mode", LoadString(kPageKeyIds[0]));
    EXPECT_EQ("Système Altimétrique", LoadString(kPageKeyIds[5]));
    EXPECT_EQ("Système de départ", LoadString(kPageKeyIds[6]));
    EXPECT_EQ("Type de données d'arrivée", LoadString(kPageKeyIds[21]));
    // Every configuration name lies in its reserved range.
    for (int id = 2064; id <= 2102; ++id) EXPECT_FALSE(LoadString(id).empty()) << id;
}
