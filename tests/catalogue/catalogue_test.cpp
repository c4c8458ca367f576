#include <gtest/gtest.h>

#include "catalogue/catalogue.h"

namespace {

CReg System(int id, const char* name) {
    CReg system;
    system.id = id;
    system.name = name;
    return system;
}

TEST(CatalogueLookup, ByIdAndByNameTakeTheFirstExactMatch) {
    CatalogueList<CReg> systems;
    systems.push_back(System(0, "Zero"));
    systems.push_back(System(7, "NTF"));
    systems.push_back(System(7, "ED50"));
    systems.push_back(System(3, "NTF"));

    ASSERT_NE(nullptr, FindById(systems, 7));
    EXPECT_EQ(&systems[1], FindById(systems, 7));
    EXPECT_EQ(&systems[1], FindByName(systems, "NTF"));
    EXPECT_EQ(&systems[2], FindByName(systems, "ED50"));
    EXPECT_EQ(nullptr, FindById(systems, 8));
    EXPECT_EQ(nullptr, FindByName(systems, "ntf"));   // case counts
    EXPECT_EQ(nullptr, FindByName(systems, "NTF "));  // the whole name
    // A name key never matches a record only because that record's id is 0.
    EXPECT_EQ(nullptr, FindByName(systems, "RGF93"));
    EXPECT_EQ(&systems[0], FindById(systems, 0));
}

TEST(CatalogueLookup, SameRecordWhenIdOrNameAgree) {
    EXPECT_TRUE(SameRecord(System(1, "A"), System(1, "B")));
    EXPECT_TRUE(SameRecord(System(1, "A"), System(2, "A")));
    EXPECT_FALSE(SameRecord(System(1, "A"), System(2, "a")));
}

TEST(CatalogueQueries, CoordinateTypesAndUnitsComeFromTheFirstEntry) {
    Catalogue c;
    c.coordTypeEntries.push_back({4, {2}});
    c.coordTypeEntries.push_back({4, {1, 2, 3}});
    c.unitEntries.push_back({4, {}});
    c.unitEntries.push_back({4, {2, 3}});
    c.unitEntries.push_back({5, {10, 2}});

    EXPECT_EQ(std::vector<int>{2}, CoordTypesOf(c, 4));
    EXPECT_TRUE(OffersCoordType(c, 4, Geographic));
    EXPECT_FALSE(OffersCoordType(c, 4, Projected));
    EXPECT_TRUE(CoordTypesOf(c, 9).empty());
    EXPECT_FALSE(OffersCoordType(c, 9, Geographic));

    EXPECT_TRUE(UnitsOf(c, 4).empty());
    EXPECT_FALSE(OffersUnit(c, 4, DecimalDegree));
    EXPECT_EQ((std::vector<int>{10, 2}), UnitsOf(c, 5));
    EXPECT_TRUE(OffersUnit(c, 5, PackedDms));
}

TEST(CatalogueQueries, ProjectionsFollowPermissionsAndSkipUnknownIds) {
    Catalogue c;
    CPrc p1, p2;
    p1.id = 27572;
    p2.id = 2154;
    c.projections.push_back(p1);
    c.projections.push_back(p2);
    c.projectionPermissions.push_back({1, 2154});
    c.projectionPermissions.push_back({2, 27572});
    c.projectionPermissions.push_back({1, 999});
    c.projectionPermissions.push_back({1, 27572});

    auto list = ProjectionsOf(c, 1);
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(&c.projections[1], list[0]);
    EXPECT_EQ(&c.projections[0], list[1]);
    EXPECT_TRUE(ProjectionsOf(c, 3).empty());
}

TEST(CatalogueQueries, GridsForAPairOfSystems) {
    Catalogue c;
    c.verticalGrids.push_back({"a.mnt", 1, {4, 5}});
    c.verticalGrids.push_back({"b.mnt", 2, {5}});
    c.verticalGrids.push_back({"c.mnt", 3, {5}});
    c.verticalGrids.push_back({"d.mnt", 1, {}});
    c.translationGrids.push_back({"ab.gsb", 1, 2});
    c.translationGrids.push_back({"ba.gsb", 2, 1});
    c.translationGrids.push_back({"ac.gsb", 1, 3});

    auto vertical = VerticalGridsFor(c, 1, 2, 5);
    ASSERT_EQ(2u, vertical.size());
    EXPECT_EQ("a.mnt", vertical[0]->fileName);
    EXPECT_EQ("b.mnt", vertical[1]->fileName);
    EXPECT_EQ(1u, VerticalGridsFor(c, 2, 1, 4).size());
    EXPECT_TRUE(VerticalGridsFor(c, 1, 2, 6).empty());

    auto translation = TranslationGridsBetween(c, 2, 1);
    ASSERT_EQ(2u, translation.size());
    EXPECT_EQ("ab.gsb", translation[0]->fileName);
    EXPECT_EQ("ba.gsb", translation[1]->fileName);
    EXPECT_TRUE(TranslationGridsBetween(c, 2, 3).empty());
}

TEST(CatalogueQueries, ZonesOfASystemAndOfOneOfItsProjections) {
    Catalogue c;
    CZone system1, system2, proj;
    system1.systemKey = 1;
    system2.systemKey = 2;
    proj.systemKey = 1;
    proj.projectionKey = 27572;
    c.systemZones = {system1, system2, system1};
    c.projectionZones = {proj};

    EXPECT_EQ(2u, SystemZonesOf(c, 1).size());
    EXPECT_EQ(&c.systemZones[2], SystemZonesOf(c, 1)[1]);
    EXPECT_EQ(1u, ProjectionZonesOf(c, 1, 27572).size());
    EXPECT_TRUE(ProjectionZonesOf(c, 2, 27572).empty());
    EXPECT_TRUE(ProjectionZonesOf(c, 1, 2154).empty());
}

}  // namespace
