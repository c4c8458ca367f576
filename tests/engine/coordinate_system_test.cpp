#include <gtest/gtest.h>

#include "engine/coordinate_system.h"
#include "support/test_catalogue.h"

namespace {

// Systems, meridians, projections and vertical systems of a small catalogue,
// with two systems sharing id 7 to show that the first one wins.
struct ResolveCatalogue {
    TestCatalogue base;
    Catalogue catalogue;
    ResolveCatalogue() {
        catalogue.meridians.push_back(*base.greenwich);
        catalogue.meridians.push_back(*base.paris);
        catalogue.systems.push_back(
            TestCatalogue::System(1, "NTF", &base.catalogue.ellipsoids[0], &catalogue.meridians[1]));
        catalogue.systems.push_back(
            TestCatalogue::System(7, "RGF93", &base.catalogue.ellipsoids[1], &catalogue.meridians[0]));
        catalogue.systems.push_back(
            TestCatalogue::System(7, "RGF93 bis", &base.catalogue.ellipsoids[1], &catalogue.meridians[0]));
        CPrc lambert;
        lambert.id = 27572;
        lambert.name = "Lambert II étendu";
        catalogue.projections.push_back(lambert);
        CRea ign69;
        ign69.id = 3;
        ign69.name = "IGN 1969";
        catalogue.verticalSystems.push_back(ign69);
    }
};

}  // namespace

TEST(ResolveByIds, FindsTheFirstRecordOfEachList) {
    ResolveCatalogue c;
    CSysCoor sys;
    EXPECT_EQ(1, ResolveByIds(sys, 7, 2, 27572, 3, c.catalogue));
    EXPECT_EQ(&c.catalogue.systems[1], sys.system);
    EXPECT_EQ(&c.catalogue.meridians[1], sys.meridian);
    EXPECT_EQ(&c.catalogue.projections[0], sys.projection);
    EXPECT_EQ(&c.catalogue.verticalSystems[0], sys.vertical);
}

TEST(ResolveByIds, AnUnknownMeridianFallsBackOnTheSystemsOwn) {
    ResolveCatalogue c;
    CSysCoor sys;
    EXPECT_EQ(1, ResolveByIds(sys, 1, 99, 27572, 3, c.catalogue));
    EXPECT_EQ(&c.catalogue.meridians[1], sys.meridian);  // NTF's Paris
}

TEST(ResolveByIds, MissingRecordsGiveZero) {
    ResolveCatalogue c;
    CSysCoor sys;
    EXPECT_EQ(0, ResolveByIds(sys, 99, 1, 27572, 3, c.catalogue));
    EXPECT_EQ(nullptr, sys.system);
    EXPECT_EQ(0, ResolveByIds(sys, 1, 1, 99, 3, c.catalogue));
    EXPECT_EQ(nullptr, sys.projection);
    EXPECT_EQ(&c.catalogue.systems[0], sys.system);
}

// No vertical system: the coordinate system still gets a record, id 0, empty
// name, that the rest of the program reads as "none".
TEST(ResolveByIds, AnUnknownVerticalSystemIsTheNoneRecord) {
    ResolveCatalogue c;
    CSysCoor sys;
    EXPECT_EQ(0, ResolveByIds(sys, 1, 1, 27572, 0, c.catalogue));
    ASSERT_NE(nullptr, sys.vertical);
    EXPECT_EQ(0, sys.vertical->id);
    EXPECT_EQ("", sys.vertical->name);
    EXPECT_EQ(&c.catalogue.systems[0], sys.system);
}

TEST(ResolveByIds, WithoutSystemsOrProjectionsOnlyTheVerticalIsResolved) {
    ResolveCatalogue c;
    c.catalogue.projections.clear();
    CSysCoor sys;
    EXPECT_EQ(0, ResolveByIds(sys, 1, 1, 27572, 3, c.catalogue));
    EXPECT_EQ(nullptr, sys.system);
    EXPECT_EQ(&c.catalogue.verticalSystems[0], sys.vertical);
}

TEST(ResolveByNames, MatchesWholeNamesExactly) {
    ResolveCatalogue c;
    CSysCoor sys;
    EXPECT_EQ(1, ResolveByNames(sys, "RGF93 bis", "Greenwich", "Lambert II étendu", "IGN 1969",
                                c.catalogue));
    EXPECT_EQ(&c.catalogue.systems[2], sys.system);
    EXPECT_EQ(
        0, ResolveByNames(sys, "rgf93", "Greenwich", "Lambert II étendu", "IGN 1969", c.catalogue));
    EXPECT_EQ(0, ResolveByNames(sys, "RGF93", "Greenwich", "Lambert II", "IGN 1969", c.catalogue));
    EXPECT_EQ(1, ResolveByNames(sys, "NTF", "", "Lambert II étendu", "IGN 1969", c.catalogue));
    EXPECT_EQ(&c.catalogue.meridians[1], sys.meridian);
}
