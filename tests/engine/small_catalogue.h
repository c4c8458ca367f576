#pragma once

#include "catalogue/records.h"
#include "engine/coordinate.h"

// A few catalogue records written by hand, shaped like the default
// catalogue's: Greenwich and Paris (in grades), NTF on Paris, WGS84 and RGF93
// on Greenwich.
struct SmallCatalogue {
    CatalogueList<CElg> ellipsoids;
    CatalogueList<CLgo> meridians;
    CatalogueList<CReg> systems;

    const CLgo* greenwich = nullptr;
    const CLgo* paris = nullptr;
    const CReg* ntf = nullptr;
    const CReg* wgs84 = nullptr;
    const CReg* rgf93 = nullptr;

    SmallCatalogue() {
        ellipsoids.push_back(Ellipsoid(1, "Clarke 1880 IGN", 6378249.2, 0.00680348764630));
        ellipsoids.push_back(Ellipsoid(2, "WGS 84", 6378137, 0.00669437999014));
        ellipsoids.push_back(Ellipsoid(3, "GRS 1980", 6378137, 0.00669438002290));
        meridians.push_back(Meridian(1, "Greenwich", 0, DecimalDegree));
        meridians.push_back(Meridian(2, "Paris", 2.5969213, Grade));
        greenwich = &meridians[0];
        paris = &meridians[1];
        systems.push_back(System(1, "NTF", &ellipsoids[0], paris));
        systems.push_back(System(2, "WGS84", &ellipsoids[1], greenwich));
        systems.push_back(System(3, "RGF93", &ellipsoids[2], greenwich));
        ntf = &systems[0];
        wgs84 = &systems[1];
        rgf93 = &systems[2];
    }
    SmallCatalogue(const SmallCatalogue&) = delete;

    // A geographic point of `system`, in `unit`, counted from `meridian`.
    CCoor Geographic(const CReg* system, const CLgo* meridian, int unit, double longitude,
                     double latitude, double height = 0) const {
        CCoor c;
        c.type = ::Geographic;
        c.unit = unit;
        c.longitude = longitude;
        c.latitude = latitude;
        c.height = height;
        c.sys.system = system;
        c.sys.meridian = meridian;
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

// Paris east of Greenwich, in decimal degrees (2.5969213 grades).
inline constexpr double kParisDegrees = 2.33722917;
