#include <gtest/gtest.h>

#include "catalogue/records.h"

// A reference taken into a catalogue list stays valid while the list grows.
TEST(CatalogueList, ReferencesSurviveAppends) {
    CatalogueList<CElg> ellipsoids;
    ellipsoids.push_back(CElg{});
    ellipsoids.front().id = 7;
    const CElg* first = &ellipsoids.front();
    for (int i = 0; i < 10000; ++i) ellipsoids.push_back(CElg{});
    EXPECT_EQ(first, &ellipsoids.front());
    EXPECT_EQ(7, first->id);
}

TEST(CZone, NewZoneIsInDecimalDegrees) {
    CZone zone;
    EXPECT_EQ(DecimalDegree, zone.unit);
    EXPECT_EQ(0, zone.systemKey);
}
