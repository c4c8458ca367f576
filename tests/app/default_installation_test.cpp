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
        const CReg* source = FindByName(c.systems, page.sourceSystem);
        const CReg* target = FindByName(c.systems, page.targetSystem);
        ASSERT_NE(nullptr, source) << page.sourceSystem;
        ASSERT_NE(nullptr, target) << page.targetSystem;
        EXPECT_NE(nullptr, FindByName(c.verticalSystems, page.verticalSystem));
        EXPECT_NE(nullptr, FindByName(c.meridians, page.sourceMeridian));
        EXPECT_NE(nullptr, FindByName(c.meridians, page.targetMeridian));
        const CPrc* from = FindByName(c.projections, page.sourceProjection);
        const CPrc* to = FindByName(c.projections, page.targetProjection);
        ASSERT_NE(nullptr, from);
        ASSERT_NE(nullptr, to);
        bool fromAllowed = false, toAllowed = false;
        for (const CPrc* p : ProjectionsOf(c, source->id)) fromAllowed |= p == from;
        for (const CPrc* p : ProjectionsOf(c, target->id)) toAllowed |= p == to;
        EXPECT_TRUE(fromAllowed);
        EXPECT_TRUE(toAllowed);
        EXPECT_TRUE(CoordTypeCode(page.sourceType) != 0) << page.sourceType;
        EXPECT_TRUE(CoordTypeCode(page.targetType) != 0) << page.targetType;
        EXPECT_TRUE(AngleUnitCode(page.sourceUnit) != 0) << page.sourceUnit;
        EXPECT_TRUE(AngleUnitCode(page.targetUnit) != 0) << page.targetUnit;
        EXPECT_TRUE(DataFormatCode(page.sourceFormat) != 0) << page.sourceFormat;
        EXPECT_TRUE(DataFormatCode(page.targetFormat) != 0) << page.targetFormat;
        // The example input file is there.
        EXPECT_FALSE(TempDir::Read(kData + page.sourceFile).empty()) << page.sourceFile;
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
