#include <gtest/gtest.h>

#include <string>

#include "shared/labels.h"
#include "shared/profile.h"
#include "app/quorvel_app.h"
#include "catalogue/loader.h"
#include "support/temp_dir.h"

// The configuration shipped in data/ names what the catalogue and the
// example files really hold, so that its first choices work as they stand.
namespace {

const std::string kData = std::string(QUORVEL_SOURCE_DIR) + "/data/";

TEST(DefaultInstallation, GlobalKeysNameExistingFiles) {
    std::string ini = kData + "Quorvel/quorvel.ini";
    EXPECT_EQ("Quorvel", GetProfileString(ini, "INFORMATIONS", "Titre", ""));
    EXPECT_FALSE(GetProfileString(ini, "INFORMATIONS", "Version", "").empty());
    EXPECT_FALSE(GetProfileString(ini, "INFORMATIONS", "Copyright", "").empty());
    // The presentation texts fit the about window's 780-character buffer.
    for (const char* key : {"Standard", "Grille"}) {
        std::string text = GetProfileString(ini, "INFORMATIONS", key, "", 2000);
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_EQ(text, GetProfileString(ini, "INFORMATIONS", key, "", 780)) << key;
    }
    std::string console = GetProfileString(ini, "AIDE", "Console", "", 2000);
    EXPECT_FALSE(console.empty());
    EXPECT_EQ(console, GetProfileString(ini, "AIDE", "Console", ""));  // fits 260
    std::string data = GetProfileString(ini, "DATA", "Data", "");
    Catalogue catalogue;
    EXPECT_FALSE(ReadCatalogue(kData + data, catalogue).has_value()) << data;
}

TEST(DefaultInstallation, PageChoicesNameCatalogueRecordsAndLabels) {
    CQuorvelApp app;
    app.configurationPath = kData + "Quorvel/quorvel.ini";
    Catalogue c;
    ASSERT_FALSE(ReadCatalogue(kData + "catalogue.txt", c).has_value());
    for (int kind : {StandardKind, GridKind}) {
        PageSettings page;
        ASSERT_EQ(1, app.LoadPageConfiguration(kind, page)) << kind;
        const CReg* source = FindByName(c.systems, page.source.system);
        const CReg* target = FindByName(c.systems, page.target.system);
        ASSERT_NE(nullptr, source) << page.source.system;
        ASSERT_NE(nullptr, target) << page.target.system;
        EXPECT_NE(nullptr, FindByName(c.verticalSystems, page.verticalSystem));
        EXPECT_NE(nullptr, FindByName(c.meridians, page.source.meridian));
        EXPECT_NE(nullptr, FindByName(c.meridians, page.target.meridian));
        const CPrc* from = FindByName(c.projections, page.source.projection);
        const CPrc* to = FindByName(c.projections, page.target.projection);
        ASSERT_NE(nullptr, from);
        ASSERT_NE(nullptr, to);
        bool fromAllowed = false, toAllowed = false;
        for (const CPrc* p : ProjectionsOf(c, source->id)) fromAllowed |= p == from;
        for (const CPrc* p : ProjectionsOf(c, target->id)) toAllowed |= p == to;
        EXPECT_TRUE(fromAllowed);
        EXPECT_TRUE(toAllowed);
        EXPECT_TRUE(CoordTypeCode(page.source.type) != 0) << page.source.type;
        EXPECT_TRUE(CoordTypeCode(page.target.type) != 0) << page.target.type;
        EXPECT_TRUE(AngleUnitCode(page.source.unit) != 0) << page.source.unit;
        EXPECT_TRUE(AngleUnitCode(page.target.unit) != 0) << page.target.unit;
        EXPECT_TRUE(DataFormatCode(page.source.format) != 0) << page.source.format;
        EXPECT_TRUE(DataFormatCode(page.target.format) != 0) << page.target.format;
        // The example input file is there.
        EXPECT_FALSE(TempDir::Read(kData + page.source.file).empty()) << page.source.file;
        // A transformation of the page's kind joins the two systems.
        bool joined = false;
        for (const CTsg& t : c.transformations) {
            bool pair = (t.sourceId == source->id && t.targetId == target->id) ||
                        (t.sourceId == target->id && t.targetId == source->id);
            joined |= pair && t.kind == kind;
        }
        EXPECT_TRUE(joined) << kind;
    }
}

}  // namespace
