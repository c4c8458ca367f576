#include "grids/grid_enums.h"

namespace {

const char* const kGridTypes[] = {
    "UNDEFINED",
    "Grille texte PLENAR",
    "Grille binaire PLENAR",
    "Grille texte Gravsoft",
    "Grille texte Surfer",
    "Grille NTV2 binaire little endian",
    "Grille NTV2 binaire big endian",
    "Grille NTV2 texte",
    "Grille ESRI",
    "Grille EGM",
    "Grille DIS",
    "Grille GTX",
    "Grille GeoTIFF",
};
const char* const kUnits[] = {"UNDEFINED", "METERS", "SECONDS", "DEGREES", "RADIANS"};
const char* const kValueTypes[] = {"UNDEFINED", "INTEGER2", "INTEGER4", "REAL4", "REAL8"};
const char* const kInterpolations[] = {"UNDEFINED", "NODE_VALUE", "BILINEAR", "bidon", "SPLINE"};
const char* const kLayouts[] = {"UNDEFINED", "SW2N2E", "NW2E2S", "NW2S2E", "SW2E2N",
                                "SE2N2W",    "NE2W2S", "NE2S2W", "SE2W2N"};
const char* const kNodeCoordTypes[] = {"UNDEFINED", "XYZ", "LON_LAT", "E_N"};

template <int N>
constexpr EnumNames Table(const char* const (&names)[N]) {
    return EnumNames{names, N};
}

}  // namespace

const EnumNames kGridTypeNames = Table(kGridTypes);
const EnumNames kUnitNames = Table(kUnits);
const EnumNames kValueTypeNames = Table(kValueTypes);
const EnumNames kInterpolationNames = Table(kInterpolations);
const EnumNames kLayoutNames = Table(kLayouts);
const EnumNames kNodeCoordTypeNames = Table(kNodeCoordTypes);

const char* EnumNames::NameOf(int code) const {
    if (code < 0 || code >= count) return names[0];
    return names[code];
}

int EnumNames::CodeOf(const std::string& text) const {
    for (int code = 0; code < count; ++code) {
        if (text == names[code]) return code;
    }
    return -1;
}

const char* YesNo(int flag) {
    return flag ? "YES" : "NO";
}
