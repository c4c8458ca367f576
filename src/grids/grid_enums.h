#pragma once

#include <string>

// Codes of the grid header's enumerations and the names that the XML grid
// header and the binary cache use for them.

// Format of a grid file. The text formats keep their values in a text file
// that is converted once into a binary cache.
enum TypeGrille : int {
    GrilleIndefinie = 0,      // "UNDEFINED"
    GrilleTextePlenar = 1,    // ".mnt"
    GrilleBinairePlenar = 2,  // ".bin", the binary cache
    GrilleGravsoft = 3,       // ".gra"
    GrilleSurfer = 4,         // ".grd"
    GrilleNtv2Little = 5,     // ".gsb"
    GrilleNtv2Big = 6,        // ".gsb", named only by an XML header
    GrilleNtv2Texte = 7,      // ".gsa"
    GrilleEsri = 8,           // ".asc"
    GrilleEgm = 9,            // ".egm"
    GrilleDis = 10,           // ".dis"
    GrilleGtx = 11,           // ".gtx", big-endian vertical grid read in place
    GrilleGeoTiff = 12,       // ".tif", ".tiff": values decoded on demand, no cache
};

// Units of the node coordinates, of the steps and of the values.
enum GridUnit : int {
    UniteIndefinie = 0,  // "UNDEFINED"
    UniteMetres = 1,     // "METERS"
    UniteSecondes = 2,   // "SECONDS", seconds of arc
    UniteDegres = 3,     // "DEGREES"
    UniteRadians = 4,    // "RADIANS"
};

// Storage type of one node value.
enum TypeVal : int {
    TypeValIndefini = 0,  // "UNDEFINED"
    Integer2 = 1,         // "INTEGER2", 2 bytes, signed
    Integer4 = 2,         // "INTEGER4", 4 bytes, signed
    Real4 = 3,            // "REAL4", IEEE single
    Real8 = 4,            // "REAL8", IEEE double
};

// Interpolation types; 1, 2 and 4 are also the bits of the mode word.
enum InterpolationType : int {
    InterpolationIndefinie = 0,  // "UNDEFINED"
    ValeurNoeud = 1,             // "NODE_VALUE"
    Bilineaire = 2,              // "BILINEAR"
    InterpolationBidon = 3,      // "bidon"
    Spline = 4,                  // "SPLINE"
};

// Order of the node records, named after the corner they start from, the
// direction along a run and the direction from one run to the next.
enum Layout : int {
    LayoutIndefini = 0,  // "UNDEFINED"
    SW2N2E = 1,
    NW2E2S = 2,
    NW2S2E = 3,
    SW2E2N = 4,
    SE2N2W = 5,
    NE2W2S = 6,
    NE2S2W = 7,
    SE2W2N = 8,
};

// Kind of node coordinates (carried only).
enum NodeCoordType : int {
    CoordonneesIndefinies = 0,  // "UNDEFINED"
    CoordonneesXYZ = 1,         // "XYZ"
    CoordonneesLonLat = 2,      // "LON_LAT"
    CoordonneesEN = 3,          // "E_N"
};

// One enumeration's names, indexed by code.
struct EnumNames {
    const char* const* names;
    int count;
    // The name of a code; "UNDEFINED" for a code outside the table.
    const char* NameOf(int code) const;
    // The code of the first name equal to text, exactly; -1 when none is.
    int CodeOf(const std::string& text) const;
};

extern const EnumNames kGridTypeNames;       // "UNDEFINED" .. "Grille GTX"
extern const EnumNames kUnitNames;           // "UNDEFINED" .. "RADIANS"
extern const EnumNames kValueTypeNames;      // "UNDEFINED" .. "REAL8"
extern const EnumNames kInterpolationNames;  // "UNDEFINED" .. "SPLINE"
extern const EnumNames kLayoutNames;         // "UNDEFINED" .. "SE2W2N"
extern const EnumNames kNodeCoordTypeNames;  // "UNDEFINED" .. "E_N"

// "NO" for 0, "YES" otherwise.
const char* YesNo(int flag);
