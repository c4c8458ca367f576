#pragma once

#include "catalogue/codes.h"

// Column layouts of point files (DataFormat codes 6 to 19; 0 to 5 name no
// layout). Their labels are in the label tables.
enum DataFormat : int {
    FormatNone = 0,
    NomXYZ = 6,
    XYZ = 7,
    NomLonLatAltitude = 8,
    NomLatLonAltitude = 9,
    NomLonLatHauteur = 10,
    NomLatLonHauteur = 11,
    LonLatAltitude = 12,
    LatLonAltitude = 13,
    LonLatHauteur = 14,
    LatLonHauteur = 15,
    NomENAltitude = 16,
    NomENHauteur = 17,
    ENAltitude = 18,
    ENHauteur = 19,
};

constexpr bool IsDataFormat(int format) { return format >= NomXYZ && format <= ENHauteur; }

// Whether the lines of the layout start with a point name.
constexpr bool HasNameColumn(int format) {
    return format == NomXYZ || (format >= NomLonLatAltitude && format <= NomLatLonHauteur) ||
           format == NomENAltitude || format == NomENHauteur;
}

// The coordinate type of the layout's numbers; 0 for a code that is no layout.
constexpr int CoordTypeOfFormat(int format) {
    if (format == NomXYZ || format == XYZ) return Cartesian;
    if (format >= NomLonLatAltitude && format <= LatLonHauteur) return Geographic;
    if (format >= NomENAltitude && format <= ENHauteur) return Projected;
    return CoordNotSet;
}

// Whether the third number is an altitude (else an ellipsoidal height, the
// cartesian layouts included).
constexpr bool CarriesAltitude(int format) {
    return format == NomLonLatAltitude || format == NomLatLonAltitude ||
           format == LonLatAltitude || format == LatLonAltitude || format == NomENAltitude ||
           format == ENAltitude;
}

// The vertical kind a file run gives a point read or written in the layout.
constexpr int VerticalKindOfFormat(int format) {
    return CarriesAltitude(format) ? Altitude : EllipsoidalHeight;
}

// Whether the latitude comes before the longitude.
constexpr bool LatitudeFirst(int format) {
    return format == NomLatLonAltitude || format == NomLatLonHauteur ||
           format == LatLonAltitude || format == LatLonHauteur;
}
