#pragma once

#include "catalogue/records.h"
#include "engine/coordinate.h"

// A tiny set of catalogue records for the writers' tests: NTF on Clarke 1880
// with the Paris meridian and Lambert II étendu, RGF93 on GRS 1980 with
// Lambert-93, and a vertical system.
struct SamplePoints {
    CElg clarke, grs80;
    CLgo greenwich, paris;
    CReg ntf, rgf93;
    CPrc lambert2e, lambert93;
    CRea ign69;

    SamplePoints() {
        clarke.id = 1;
        clarke.name = "Clarke 1880 IGN";
        clarke.a = 6378249.2;
        clarke.e2 = 0.00680348764630;
        grs80.id = 3;
        grs80.name = "GRS 1980";
        grs80.a = 6378137;
        grs80.e2 = 0.00669438002290;
        greenwich.id = 1;
        greenwich.name = "Greenwich";
        paris.id = 2;
        paris.name = "Paris";
        paris.longitude = 2.5969213;
        paris.unit = 3;
        ntf.id = 1;
        ntf.name = "NTF";
        ntf.dimension = 2;
        ntf.ellipsoid = &clarke;
        ntf.meridian = &paris;
        rgf93.id = 4;
        rgf93.name = "RGF93";
        rgf93.dimension = 3;
        rgf93.ellipsoid = &grs80;
        rgf93.meridian = &greenwich;
        lambert2e.id = 5;
        lambert2e.name = "Lambert II étendu";
        lambert93.id = 10;
        lambert93.name = "Lambert-93";
        ign69.id = 1;
        ign69.name = "IGN69";
    }

    CCoor Projected(const CReg& system, const CPrc& projection, double e, double n) const {
        CCoor p;
        p.type = 3;
        p.unit = 2;
        p.sys.system = &system;
        p.sys.meridian = system.meridian;
        p.sys.projection = &projection;
        p.sys.vertical = &ign69;
        p.easting = e;
        p.northing = n;
        return p;
    }

    CCoor GeographicPoint(const CReg& system, int unit, double lon, double lat) const {
        CCoor p;
        p.type = 2;
        p.unit = unit;
        p.sys.system = &system;
        p.sys.meridian = system.meridian;
        p.sys.vertical = &ign69;
        p.longitude = lon;
        p.latitude = lat;
        return p;
    }
};
