#pragma once

#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "engine/coordinate_system.h"
#include "grids/grid.h"
#include "grids/grid_test_support.h"

// The tests' own small catalogue, written by hand and shaped like the default
// one: NTF (Clarke 1880 IGN, Paris), WGS84 and
// RGF93 on Greenwich, and a system that no record joins; a seven-parameter
// record listed from NTF to RGF93 only, the NTF Lambert II étendu projection
// and a projection of family 4, which is not handled.
struct TestCatalogue {
    Catalogue catalogue;
    const CLgo* greenwich = nullptr;
    const CLgo* paris = nullptr;
    const CReg* ntf = nullptr;
    const CReg* wgs84 = nullptr;
    const CReg* rgf93 = nullptr;
    const CReg* isolated = nullptr;
    const CPrc* lambert2e = nullptr;
    const CPrc* family4 = nullptr;
    const CTsg* ntfToRgf93 = nullptr;

    TestCatalogue() {
        auto& c = catalogue;
        c.ellipsoids.push_back(Ellipsoid(1, "Clarke 1880 IGN", 6378249.2, 0.00680348764629989));
        c.ellipsoids.push_back(Ellipsoid(3, "GRS 1980", 6378137, 0.00669438002290079));
        c.ellipsoids.push_back(Ellipsoid(4, "WGS 84", 6378137, 0.00669437999014132));
        c.meridians.push_back(Meridian(1, "Greenwich", 0, DecimalDegree));
        c.meridians.push_back(Meridian(2, "Paris", 2.5969213, Grade));
        greenwich = &c.meridians[0];
        paris = &c.meridians[1];
        c.systems.push_back(System(1, "NTF", &c.ellipsoids[0], paris));
        c.systems.push_back(System(3, "WGS84", &c.ellipsoids[2], greenwich));
        c.systems.push_back(System(4, "RGF93", &c.ellipsoids[1], greenwich));
        c.systems.push_back(System(9, "Isolé", &c.ellipsoids[1], greenwich));
        ntf = &c.systems[0];
        wgs84 = &c.systems[1];
        rgf93 = &c.systems[2];
        isolated = &c.systems[3];

        CTsg t;
        t.id = 2;
        t.sourceId = 1;
        t.targetId = 4;
        t.source = ntf;
        t.target = rgf93;
        double p[7] = {-168, -60, 320, 2.5, 0.8, -1.2, 0.4};
        for (int i = 0; i < 7; ++i) t.parameters[i] = p[i];
        t.precisionClass = 5;
        t.kind = 1;
        c.transformations.push_back(t);
        CTsg zero = t;  // RGF93 to WGS84, no change
        zero.id = 4;
        zero.sourceId = 4;
        zero.targetId = 3;
        zero.source = rgf93;
        zero.target = wgs84;
        for (double& v : zero.parameters) v = 0;
        zero.precisionClass = 10;
        c.transformations.push_back(zero);
        ntfToRgf93 = &c.transformations[0];

        CPrc l2e;
        l2e.id = 27572;
        l2e.name = "NTF Lambert II étendu";
        l2e.lambertSubkind = 2;
        l2e.family = 1;
        l2e.unit = Grade;
        l2e.scaleFactor = 0.99987742;
        l2e.originLatitude = 52;
        l2e.falseEasting = 600000;
        l2e.falseNorthing = 2200000;
        l2e.ellipsoid = &c.ellipsoids[0];
        l2e.meridian = paris;
        c.projections.push_back(l2e);
        CPrc unhandled = l2e;
        unhandled.id = 4;
        unhandled.name = "Famille 4";
        unhandled.family = 4;
        c.projections.push_back(unhandled);
        lambert2e = &c.projections[0];
        family4 = &c.projections[1];
    }
    TestCatalogue(const TestCatalogue&) = delete;

    CCoor Geographic(const CReg* system, const CLgo* meridian, int unit, double longitude,
                     double latitude, double height = 0, int verticalKind = 1) const {
        CCoor c;
        c.type = ::Geographic;
        c.unit = unit;
        c.longitude = longitude;
        c.latitude = latitude;
        c.height = height;
        c.verticalKind = verticalKind;
        c.sys.system = system;
        c.sys.meridian = meridian;
        return c;
    }
    CCoor Target(int type, const CReg* system, const CLgo* meridian, int unit,
                 const CPrc* projection = nullptr) const {
        CCoor c;
        c.type = type;
        c.unit = unit;
        c.sys.system = system;
        c.sys.meridian = meridian;
        c.sys.projection = projection;
        return c;
    }

    static CElg Ellipsoid(int id, const char* name, double a, double e2) {
        CElg e;
        e.id = id;
        e.name = name;
        e.a = a;
        e.e2 = e2;
        return e;
    }
    static CLgo Meridian(int id, const char* name, double longitude, int unit) {
        CLgo m;
        m.id = id;
        m.name = name;
        m.longitude = longitude;
        m.unit = unit;
        return m;
    }
    static CReg System(int id, const char* name, const CElg* ellipsoid, const CLgo* meridian) {
        CReg s;
        s.id = id;
        s.name = name;
        s.dimension = 3;
        s.ellipsoid = ellipsoid;
        s.meridian = meridian;
        return s;
    }
};

// A loaded vertical grid in memory over France, positioned in `systemId`,
// whose N grows by 1 m per degree of Greenwich longitude and 0.5 m per degree
// of latitude: N = 40 + lon + 0.5 (lat - 41), bilinear, so exact between
// nodes. Every node carries precision code 88888888.
// A point of `system` (meridian 1, no vertical system) resolved by ids in
// `catalogue`: longitude and latitude in decimal degrees when geographic,
// easting and northing of `projection` otherwise.
inline CCoor PointByIds(const Catalogue& catalogue, int type, int system, int projection,
                        double a, double b) {
    CCoor c;
    c.type = type;
    c.unit = DecimalDegree;
    ResolveByIds(c.sys, system, 1, projection, 0, catalogue);
    if (type == Geographic) {
        c.longitude = a;
        c.latitude = b;
    } else {
        c.easting = a;
        c.northing = b;
    }
    return c;
}

inline void MakeVerticalGrid(CGrille1D& grid, int systemId) {
    grid.header.N_COLUMNS = 17;  // -6 .. 10 degrees
    grid.header.N_LINES = 12;    // 41 .. 52 degrees
    grid.header.X_MIN = -6;
    grid.header.X_MAX = 10;
    grid.header.Y_MIN = 41;
    grid.header.Y_MAX = 52;
    grid.header.X_INC = grid.header.Y_INC = 1;
    grid.header.N_NODES = grid.header.N_COLUMNS * grid.header.N_LINES;
    grid.header.LAYOUT = SW2E2N;
    grid.header.VALUES_NUMBER = 1;
    grid.header.VALUES_TYPE = Real8;
    grid.header.valueSize = 8;
    grid.header.CODE_PREC = 1;
    grid.header.INTERPOLATION_TYPE = Bilineaire;
    const int columns = grid.header.N_COLUMNS;
    HoldReal8Nodes(
        grid,
        [&](int64_t s, int) { return 40 + (grid.header.X_MIN + s % columns) + 0.5 * (s / columns); },
        [](int64_t) { return 88888888; });
    grid.zone.systemKey = systemId;
}

inline double GridN(double greenwichLongitude, double latitude) {
    return 40 + greenwichLongitude + 0.5 * (latitude - 41);
}

// Paris east of Greenwich, in decimal degrees (2.5969213 grades).
inline constexpr double kParisDegrees = 2.33722917;
