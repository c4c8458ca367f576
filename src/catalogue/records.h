#pragma once

#include <deque>
#include <string>
#include <vector>

#include "geodesy/angle_unit.h"
#include "shared/codes.h"

// Records of the parameter catalogue. The loader appends them to lists that
// never move their elements (see CatalogueList), so the references that
// records, coordinate systems and transformations hold stay valid while the
// catalogue is being read and for the whole run afterwards.

// Ellipsoid.
struct CElg {
    int id = 0;
    std::string name;
    double a = 0;       // semi-major axis, metres
    double value2 = 0;  // second defining value of the line (stored, unused)
    double value3 = 0;  // third defining value of the line (stored, unused)
    double e2 = 0;      // first eccentricity squared
    virtual ~CElg() = default;
};

// Prime meridian. Id 1 is Greenwich, whose longitude is always taken as 0.
struct CLgo {
    int id = 0;
    std::string name;
    double longitude = 0;  // east of Greenwich, in `unit`
    int unit = 0;          // AngleUnit of the longitude
    virtual ~CLgo() = default;
};

// Geodetic reference system.
struct CReg {
    int id = 0;
    std::string name;
    int dimension = 0;  // 2, 3, or 0 when the line said neither
    const CElg* ellipsoid = nullptr;
    const CLgo* meridian = nullptr;  // the system's own prime meridian
    virtual ~CReg() = default;
};

// Vertical reference system; id 0 stands for no vertical system.
struct CRea {
    int id = 0;
    std::string name;
    virtual ~CRea() = default;
};

// Standard transformation between two systems.
struct CTsg {
    int id = 0;  // 0 for a translation-only line
    int sourceId = 0;
    int targetId = 0;
    const CReg* source = nullptr;
    const CReg* target = nullptr;
    // Tx, Ty, Tz (metres), D (parts per million), Rx, Ry, Rz (seconds of arc).
    double parameters[7] = {0, 0, 0, 0, 0, 0, 0};
    int precisionClass = 0;  // precision code copied into every point transformed
    int kind = 0;            // TransfoKind: 1 "TSG", 2 "TSG0"
};

// Map projection.
struct CPrc {
    int id = 0;
    std::string name;
    int lambertSubkind = 0;  // 1 or 2 tangent, 3 secant
    int family = 0;          // 1 Lambert, 2/3 transverse Mercator, 5 Gauss-Laborde, 6 LAEA
    int unit = 0;            // AngleUnit of the angular parameters
    double secondParallel = 0;
    double firstParallel = 0;
    double scaleFactor = 0;
    double originLatitude = 0;
    double originLongitude = 0;  // relative to the projection's meridian
    double falseEasting = 0;
    double falseNorthing = 0;
    int attribute = 0;  // thirteenth field of the line, stored
    const CElg* ellipsoid = nullptr;
    const CLgo* meridian = nullptr;
    virtual ~CPrc() = default;
};

// A corner of a validity zone: longitude east of Greenwich and latitude, in
// the unit of the zone.
struct ZoneCorner {
    double longitude = 0, latitude = 0;
};

// Rectangular validity zone in geographic coordinates, longitudes counted
// from Greenwich.
struct CZone {
    int systemKey = 0;
    int projectionKey = 0;     // 0 for a system zone
    int unit = DecimalDegree;  // AngleUnit of the bounds
    ZoneCorner southWest;      // west and south bounds
    ZoneCorner northEast;      // east and north bounds
};

// Compatibility entries.
struct CTypCoorEntry {  // "TYPCOOR"
    int systemId = 0;
    std::vector<int> types;  // CoordType codes
};

struct CUnitEntry {  // "UNIT"
    int systemId = 0;
    std::vector<int> units;  // AngleUnit codes, possibly none
};

struct CProjPermission {  // "PROJ"
    int systemId = 0;
    int projectionId = 0;
};

struct CGr1dEntry {  // "GR1D": vertical grid
    std::string fileName;
    int systemId = 0;
    std::vector<int> verticalIds;
};

struct CGr3dEntry {  // "GR3D": translation grid
    std::string fileName;
    int firstSystemId = 0;
    int secondSystemId = 0;
};

// A list of catalogue records in file order. Appending never moves the
// records already in it, so references into it stay valid.
template <class Record>
using CatalogueList = std::deque<Record>;
