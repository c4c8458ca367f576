#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "catalogue/loader.h"

// The catalogue installed with the program loads and carries the published
// parameters it claims.
namespace {

class DefaultCatalogue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        catalogue_ = new Catalogue;
        failure_ =
            ReadCatalogue(std::string(QUORVEL_SOURCE_DIR) + "/data/catalogue.txt", *catalogue_);
    }
    static void TearDownTestSuite() { delete catalogue_; }

    static const CReg& System(const char* name) {
        const CReg* system = FindByName(catalogue_->systems, name);
        EXPECT_NE(nullptr, system) << name;
        static const CReg none;
        return system ? *system : none;
    }
    static const CPrc& Projection(int id) {
        const CPrc* projection = FindById(catalogue_->projections, id);
        EXPECT_NE(nullptr, projection) << id;
        static const CPrc none;
        return projection ? *projection : none;
    }

    static Catalogue* catalogue_;
    static std::optional<CatalogueFailure> failure_;
};

Catalogue* DefaultCatalogue::catalogue_ = nullptr;
std::optional<CatalogueFailure> DefaultCatalogue::failure_;

TEST_F(DefaultCatalogue, LoadsWithoutError) {
    ASSERT_FALSE(failure_.has_value()) << "line " << failure_->lineNumber << ": " << failure_->line;
    EXPECT_EQ(5u, catalogue_->ellipsoids.size());
    EXPECT_EQ(44u, catalogue_->systems.size());
}

TEST_F(DefaultCatalogue, EllipsoidsAgreeWithTheirDefiningValues) {
    // e² from a and b (Clarke 1880 IGN) or from a and 1/f (the others).
    const CElg* clarke = FindByName(catalogue_->ellipsoids, "Clarke 1880 IGN");
    ASSERT_NE(nullptr, clarke);
    EXPECT_DOUBLE_EQ(6378249.2, clarke->a);
    double b = 6356515.0;
    EXPECT_NEAR((clarke->a * clarke->a - b * b) / (clarke->a * clarke->a), clarke->e2, 1e-16);
    EXPECT_NEAR(0.00680348764630, clarke->e2, 1e-14);

    struct Flattened {
        const char* name;
        double a, inverseFlattening, e2;
    } expected[] = {{"International 1924", 6378388, 297, 0.00672267002233},
                    {"GRS 1980", 6378137, 298.257222101, 0.00669438002290},
                    {"WGS 84", 6378137, 298.257223563, 0.00669437999014}};
    for (const Flattened& e : expected) {
        const CElg* ellipsoid = FindByName(catalogue_->ellipsoids, e.name);
        ASSERT_NE(nullptr, ellipsoid) << e.name;
        double f = 1 / e.inverseFlattening;
        EXPECT_DOUBLE_EQ(e.a, ellipsoid->a) << e.name;
        EXPECT_NEAR(2 * f - f * f, ellipsoid->e2, 1e-16) << e.name;
        EXPECT_NEAR(e.e2, ellipsoid->e2, 1e-14) << e.name;
    }
}

TEST_F(DefaultCatalogue, SystemsHaveTheirEllipsoidMeridianAndDimension) {
    EXPECT_EQ("Clarke 1880 IGN", System("NTF").ellipsoid->name);
    EXPECT_EQ("Paris", System("NTF").meridian->name);
    EXPECT_DOUBLE_EQ(2.5969213, System("NTF").meridian->longitude);
    EXPECT_EQ(Grade, System("NTF").meridian->unit);
    EXPECT_EQ(2, System("NTF").dimension);
    EXPECT_EQ("International 1924", System("ED50").ellipsoid->name);
    EXPECT_EQ(1, System("ED50").meridian->id);
    EXPECT_EQ("GRS 1980", System("RGF93").ellipsoid->name);
    EXPECT_EQ(3, System("RGF93").dimension);
    EXPECT_EQ("WGS 84", System("WGS84").ellipsoid->name);
    EXPECT_EQ("International 1924", System("R\xC3\xA9union 1947").ellipsoid->name);
    EXPECT_EQ(2, System("R\xC3\xA9union 1947").dimension);
    EXPECT_EQ(3, System("RGR92").dimension);
    EXPECT_EQ(3, System("ETRS89").dimension);
}

TEST_F(DefaultCatalogue, StandardTransformationsCarryThePublishedTranslations) {
    auto translation = [](int from, int to, int kind) -> const CTsg* {
        for (const CTsg& t : catalogue_->transformations) {
            if (t.sourceId == from && t.targetId == to && t.kind == kind) return &t;
        }
        return nullptr;
    };
    int ntf = System("NTF").id, wgs84 = System("WGS84").id, rgf93 = System("RGF93").id;
    int reunion = System("R\xC3\xA9union 1947").id, rgr92 = System("RGR92").id;
    for (int target : {wgs84, rgf93}) {
        const CTsg* t = translation(ntf, target, StandardKind);
        ASSERT_NE(nullptr, t);
        EXPECT_DOUBLE_EQ(-168, t->parameters[0]);
        EXPECT_DOUBLE_EQ(-60, t->parameters[1]);
        EXPECT_DOUBLE_EQ(320, t->parameters[2]);
        EXPECT_EQ(5, t->precisionClass);  // "de 1 à 2m"
        ASSERT_NE(nullptr, translation(ntf, target, GridKind));
    }
    const CTsg* ed50 = translation(System("ED50").id, wgs84, StandardKind);
    ASSERT_NE(nullptr, ed50);
    EXPECT_DOUBLE_EQ(-84, ed50->parameters[0]);
    EXPECT_DOUBLE_EQ(-97, ed50->parameters[1]);
    EXPECT_DOUBLE_EQ(-117, ed50->parameters[2]);
    // Réunion 1947 to RGR92: the IGN's seven parameters (EPSG 1926), 0.1 m;
    // the 94 -948 -1262 translation is the registry's one to WGS 84, 44 m.
    const CTsg* reunionT = translation(reunion, rgr92, StandardKind);
    ASSERT_NE(nullptr, reunionT);
    // Rotations times (1 + D): the registry scales the rotated vector, the
    // catalogue's similarity only the diagonal.
    const double published[7] = {789.524, -626.486, -89.904, -32.3241, 0.6006, 76.7946, -10.5788};
    for (int i = 0; i < 7; ++i) {
        const double factor = i < 4 ? 1 : 1 - 32.3241e-6;
        EXPECT_NEAR(published[i] * factor, reunionT->parameters[i], 1e-9) << i;
    }
    EXPECT_EQ(2, reunionT->precisionClass);  // "de 5 à 10cm"
    const CTsg* reunionWgs84 = translation(reunion, wgs84, StandardKind);
    ASSERT_NE(nullptr, reunionWgs84);
    EXPECT_DOUBLE_EQ(94, reunionWgs84->parameters[0]);
    EXPECT_DOUBLE_EQ(-948, reunionWgs84->parameters[1]);
    EXPECT_DOUBLE_EQ(-1262, reunionWgs84->parameters[2]);
    EXPECT_EQ(99, reunionWgs84->precisionClass);  // "supérieure à 1m"
    for (int source : {rgf93, System("ETRS89").id}) {
        const CTsg* zero = translation(source, wgs84, StandardKind);
        ASSERT_NE(nullptr, zero);
        for (double p : zero->parameters) EXPECT_EQ(0, p);
    }
}

TEST_F(DefaultCatalogue, ProjectionsCarryTheirDefinitions) {
    const CPrc& lambert2e = Projection(27572);
    EXPECT_EQ("NTF Lambert II \xC3\xA9tendu", lambert2e.name);
    EXPECT_EQ(1, lambert2e.family);
    EXPECT_EQ(Grade, lambert2e.unit);
    EXPECT_DOUBLE_EQ(52, lambert2e.originLatitude);
    EXPECT_DOUBLE_EQ(0.99987742, lambert2e.scaleFactor);
    EXPECT_DOUBLE_EQ(2200000, lambert2e.falseNorthing);
    EXPECT_EQ("Paris", lambert2e.meridian->name);
    EXPECT_EQ("Clarke 1880 IGN", lambert2e.ellipsoid->name);
    EXPECT_DOUBLE_EQ(234.358, Projection(27564).falseEasting);
    EXPECT_DOUBLE_EQ(185861.369, Projection(27564).falseNorthing);
    EXPECT_DOUBLE_EQ(46.85, Projection(27564).originLatitude);

    const CPrc& l93 = Projection(2154);
    EXPECT_EQ(3, l93.lambertSubkind);
    EXPECT_DOUBLE_EQ(44, l93.firstParallel);
    EXPECT_DOUBLE_EQ(49, l93.secondParallel);
    EXPECT_DOUBLE_EQ(46.5, l93.originLatitude);
    EXPECT_DOUBLE_EQ(6600000, l93.falseNorthing);
    for (int zone = 42; zone <= 50; ++zone) {
        const CPrc& cc = Projection(3900 + zone);
        EXPECT_EQ("CC" + std::to_string(zone), cc.name);
        EXPECT_DOUBLE_EQ(zone - 0.75, cc.firstParallel);
        EXPECT_DOUBLE_EQ(zone + 0.75, cc.secondParallel);
        EXPECT_DOUBLE_EQ(1200000.0 + (zone - 42) * 1000000.0, cc.falseNorthing);
        EXPECT_DOUBLE_EQ(1700000, cc.falseEasting);
    }
    EXPECT_DOUBLE_EQ(3, Projection(23031).originLongitude);
    EXPECT_EQ("International 1924", Projection(23031).ellipsoid->name);
    EXPECT_EQ("WGS 84", Projection(32632).ellipsoid->name);
    EXPECT_DOUBLE_EQ(9, Projection(32632).originLongitude);
    EXPECT_DOUBLE_EQ(0.9996, Projection(32630).scaleFactor);
    const CPrc& gauss = Projection(3727);
    EXPECT_EQ(5, gauss.family);
    EXPECT_NEAR(-(21 + 7 / 60.0), gauss.originLatitude, 1e-14);
    EXPECT_NEAR(55 + 32 / 60.0, gauss.originLongitude, 1e-14);
    EXPECT_EQ(6, Projection(3035).family);
    EXPECT_DOUBLE_EQ(4321000, Projection(3035).falseEasting);
}

TEST_F(DefaultCatalogue, EverySystemAndProjectionHasItsZonesTypesAndUnits) {
    for (const CReg& system : catalogue_->systems) {
        EXPECT_FALSE(SystemZonesOf(*catalogue_, system.id).empty()) << system.name;
        EXPECT_FALSE(UnitsOf(*catalogue_, system.id).empty()) << system.name;
        std::vector<int> types = CoordTypesOf(*catalogue_, system.id);
        EXPECT_FALSE(types.empty()) << system.name;
        // A two-dimensional system never offers cartesian coordinates.
        bool cartesian = OffersCoordType(*catalogue_, system.id, Cartesian);
        EXPECT_EQ(system.dimension == 3, cartesian) << system.name;
    }
    for (const CPrc& projection : catalogue_->projections) {
        bool permitted = false;
        for (const CProjPermission& p : catalogue_->projectionPermissions) {
            if (p.projectionId != projection.id) continue;
            permitted = true;
            EXPECT_EQ(1u, ProjectionZonesOf(*catalogue_, p.systemId, p.projectionId).size())
                << projection.name;
            // The projection's ellipsoid is its system's.
            EXPECT_EQ(FindById(catalogue_->systems, p.systemId)->ellipsoid, projection.ellipsoid)
                << projection.name;
        }
        EXPECT_TRUE(permitted) << projection.name;
    }
    ASSERT_EQ(8u, ProjectionsOf(*catalogue_, System("NTF").id).size());
    EXPECT_EQ(10u, ProjectionsOf(*catalogue_, System("RGF93").id).size());
}

TEST_F(DefaultCatalogue, ZoneBoundsAreOrdered) {
    for (const auto* list : {&catalogue_->systemZones, &catalogue_->projectionZones}) {
        for (const CZone& zone : *list) {
            EXPECT_LT(zone.southWest.longitude, zone.northEast.longitude) << zone.systemKey;
            EXPECT_LT(zone.southWest.latitude, zone.northEast.latitude) << zone.systemKey;
        }
    }
}

// Every system reaches WGS84 or its territory's modern system by a standard
// transformation, and every transformation says how good it is with a
// precision class of the catalogue.
TEST_F(DefaultCatalogue, EverySystemIsJoinedWithAKnownPrecision) {
    const std::vector<int> classes{0, 1, 2, 3, 4, 5, 6, 10, 99, 88888888};
    for (const CReg& system : catalogue_->systems) {
        bool joined = false;
        for (const CTsg& t : catalogue_->transformations)
            joined |= t.kind == StandardKind && (t.sourceId == system.id || t.targetId == system.id);
        EXPECT_TRUE(joined) << system.name;
    }
    for (const CTsg& t : catalogue_->transformations) {
        if (t.kind != StandardKind) continue;
        EXPECT_NE(classes.end(), std::find(classes.begin(), classes.end(), t.precisionClass))
            << t.id;
        EXPECT_NE(t.sourceId, t.targetId) << t.id;
    }
}

}  // namespace
