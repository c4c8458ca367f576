#pragma once

#include <string>

#include "shared/codes.h"
#include "geodesy/angle_unit.h"

struct CLgo;
struct CReg;
struct CPrc;
struct CRea;

// The four catalogue records that give a coordinate's numbers their meaning.
// The records belong to the catalogue; a CSysCoor never owns them.
struct CSysCoor {
    const CLgo* meridian = nullptr;  // meridian the longitude is counted from
    const CReg* system = nullptr;
    const CPrc* projection = nullptr;
    const CRea* vertical = nullptr;
};

// One point with everything its type can carry. Copied by value.
struct CCoor {
    int type = 0;  // CoordType
    int unit = 0;  // AngleUnit of longitude and latitude
    double x = 0, y = 0, z = 0;
    double longitude = 0, latitude = 0;
    double height = 0;  // ellipsoidal height, metres
    double easting = 0, northing = 0;
    CSysCoor sys;
    bool projectionError = false;
    double linearAlteration = 0;  // mm/km, after a forward projection
    double convergence = 0;       // in convergenceUnit
    int convergenceUnit = 0;
    int verticalKind = 0;  // VerticalKind
    double altitude = 0;
    std::string name;
    // The columns a delimited point file holds after the layout's ones
    // (codes, dates, remarks), exactly as the file holds them, separator
    // first: carried to the end of the output line.
    std::string extraColumns;
    int precision = 0;
    int verticalPrecision = 0;
};
