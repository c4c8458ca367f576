#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/loader.h"
#include "pages/quorvel_page.h"
#include "support/scripted_interface.h"

// The standard page on the default catalogue offers every territory of
// France: its older systems as departures, its modern system as an arrival,
// and their projections once "Planes" is chosen.
namespace {

using SC = SideControl;

bool Has(const std::vector<std::string>& entries, const std::string& text) {
    return std::find(entries.begin(), entries.end(), text) != entries.end();
}

TEST(TerritoryLists, TheStandardPageListsEveryTerritorysSystemsAndProjections) {
    Catalogue catalogue;
    ASSERT_FALSE(
        ReadCatalogue(std::string(QUORVEL_SOURCE_DIR) + "/data/catalogue.txt", catalogue));
    ScriptedInterface ui;
    CCoor last;
    PageContext context;
    context.catalogue = &catalogue;
    context.ui = &ui;
    context.lastResult = &last;
    context.caption = "Quorvel";
    CStandardPage page(context);
    page.Initialise();

    // Every system is joined to another one, so every one is a departure.
    const std::vector<std::string> departures = page.State(SourceSide, SC::System).entries;
    EXPECT_EQ(catalogue.systems.size(), departures.size());

    struct Case {
        const char *source, *sourceProjection, *target, *targetProjection;
    } cases[] = {
        {"RGF93 v2", "CC48 (RGF93 v2)", "RGF93 v2b", "CC48 (RGF93 v2b)"},
        {"NTF", "NTF Lambert IV carto", "RGF93", "Lambert-93"},
        {"Martinique 1938", "UTM 20 Nord (Martinique 1938)", "RGAF09", "UTM 20 Nord (RGAF09)"},
        {"CSG67", "UTM 22 Nord (CSG67)", "RGFG95", "UTM 22 Nord (RGFG95)"},
        {"R\xC3\xA9union 1947", "Gauss-Laborde R\xC3\xA9union", "RGR92", "RGR92 UTM 40 sud"},
        {"Combani 1950", "UTM 38 Sud (Combani 1950)", "RGM04", "UTM 38 Sud (RGM04)"},
        {"Tahiti 79", "UTM 6 Sud (Tahiti 79)", "RGPF", "UTM 6 Sud (RGPF)"},
        {"IGN72 Grande Terre", "UTM 58 Sud (IGN72 Grande Terre)", "RGNC91-93",
         "Lambert Nouvelle-Cal\xC3\xA9" "donie"},
        {"MOP78", "UTM 1 Sud (MOP78)", "WGS84", nullptr},
        {"Saint-Pierre-et-Miquelon 1950", "UTM 21 Nord (Saint-Pierre-et-Miquelon 1950)", "WGS84",
         nullptr},
        {"IGN 1962 Kerguelen", "UTM 42 Sud (IGN 1962 Kerguelen)", "WGS84", nullptr},
        {"RGTAAF07", "UTM 42 Sud (RGTAAF07)", "WGS84", nullptr},
        {"RGWF96", "UTM 1 Sud (RGWF96)", "WGS84", nullptr},
        {"RGSPM06", "UTM 21 Nord (RGSPM06)", "WGS84", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        ASSERT_TRUE(Has(departures, c.source));
        page.ChooseList(SourceSide, SC::System, c.source);
        page.ChooseList(SourceSide, SC::Type, "Planes");
        EXPECT_TRUE(Has(page.State(SourceSide, SC::Projection).entries, c.sourceProjection));
        ASSERT_TRUE(Has(page.State(TargetSide, SC::System).entries, c.target));
        page.ChooseList(TargetSide, SC::System, c.target);
        if (!c.targetProjection) continue;
        page.ChooseList(TargetSide, SC::Type, "Planes");
        EXPECT_TRUE(Has(page.State(TargetSide, SC::Projection).entries, c.targetProjection));
    }
}

}  // namespace
