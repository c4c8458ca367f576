// Finding the catalogue transformation between two systems and applying it
// in the catalogue's units.

#include "catalogue/standard_transformation.h"

#include <gtest/gtest.h>

#include "shared/codes.h"

namespace {

CTsg Record(int id, int source, int target, int kind, double tx = 0) {
    CTsg t;
    t.id = id;
    t.sourceId = source;
    t.targetId = target;
    t.kind = kind;
    t.parameters[0] = tx;
    return t;
}

TEST(FindTransformation, DirectionKindAndOrder) {
    CatalogueList<CTsg> list;
    CTransfo found;
    EXPECT_FALSE(FindTransformation(found, list, 1, 3, StandardKind));
    list.push_back(Record(10, 3, 5, GridKind));      // translation-only, 3 → 5
    list.push_back(Record(11, 5, 1, StandardKind));  // 5 → 1
    list.push_back(Record(12, 1, 5, StandardKind));  // 1 → 5
    list.push_back(Record(13, 1, 5, StandardKind));  // a later duplicate
    list.push_back(Record(14, 7, 7, StandardKind));

    ASSERT_TRUE(FindTransformation(found, list, 1, 5, StandardKind));
    EXPECT_EQ(found.record.id, 12);  // listed source → target wins over 5 → 1
    EXPECT_EQ(found.inverse, 0);
    ASSERT_TRUE(FindTransformation(found, list, 5, 1, StandardKind));
    EXPECT_EQ(found.record.id, 11);
    EXPECT_EQ(found.inverse, 0);

    ASSERT_TRUE(FindTransformation(found, list, 5, 3, GridKind));
    EXPECT_EQ(found.record.id, 10);
    EXPECT_EQ(found.inverse, 1);
    EXPECT_FALSE(FindTransformation(found, list, 5, 3, StandardKind));
    EXPECT_FALSE(FindTransformation(found, list, 1, 3, StandardKind));
    EXPECT_FALSE(FindTransformation(found, list, 7, 7, StandardKind));

    list.erase(list.begin() + 1, list.begin() + 2);  // only 1 → 5 records left
    CReg from, to;
    from.id = 5;
    to.id = 1;
    ASSERT_TRUE(FindTransformation(found, list, from, to, StandardKind));
    EXPECT_EQ(found.record.id, 12);  // the first of the two, used inversely
    EXPECT_EQ(found.inverse, 1);
}

TEST(ApplyTransfo, ConvertsCatalogueUnitsAndFollowsTheDirection) {
    CTransfo t;
    t.record = Record(1, 1, 2, StandardKind, 10);
    t.record.parameters[3] = 1;  // 1 ppm
    t.record.parameters[6] = 1;  // 1 second about Z
    const double a = 6378137;
    const Cartesian3 d = ApplyTransfo(t, a, 0, 0);
    EXPECT_NEAR(d.x, 10 + a * (1 + 1e-6), 1e-9);
    EXPECT_NEAR(d.y, a * 4.84813681109536e-6, 1e-9);  // 30.922 m
    EXPECT_EQ(d.z, 0);
    t.inverse = 1;
    const Cartesian3 back = ApplyTransfo(t, d.x, d.y, d.z);
    EXPECT_NEAR(back.x, a, 1e-9);
    EXPECT_NEAR(back.y, 0, 1e-9);
    EXPECT_NEAR(back.z, 0, 1e-9);
}

}  // namespace
