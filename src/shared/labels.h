#pragma once

#include <span>
#include <string_view>

// French labels of the shared codes (UTF-8), as the lists of the pages, the
// configuration file, the reports and the console show them. Each table is
// indexed directly by the code; positions without a code hold "".

inline constexpr const char* kAngleUnitLabels[13] = {
    "",
    "Radians",
    "Degrés décimaux",
    "Grades",
    "Heures décimales",
    "Secondes de degré",
    "Secondes d'heure",
    "",
    "",
    "",
    "Degrés Minutes Secondes",
    "Heures Minutes Secondes",
    "Degrés Minutes décimales",
};

inline constexpr const char* kDataFormatLabels[20] = {
    "",
    "",
    "",
    "",
    "",
    "",
    "Nom X Y Z",             // 6
    "X Y Z",                 // 7
    "Nom Lon Lat Altitude",  // 8
    "Nom Lat Lon Altitude",  // 9
    "Nom Lon Lat Hauteur",   // 10
    "Nom Lat Lon Hauteur",   // 11
    "Lon Lat Altitude",      // 12
    "Lat Lon Altitude",      // 13
    "Lon Lat Hauteur",       // 14
    "Lat Lon Hauteur",       // 15
    "Nom E N Altitude",      // 16
    "Nom E N Hauteur",       // 17
    "E N Altitude",          // 18
    "E N Hauteur",           // 19
};

inline constexpr const char* kCoordTypeLabels[4] = {"", "Cartésiennes", "Géographiques", "Planes"};

// Also the names of the two page sections of the configuration file.
inline constexpr const char* kTransfoKindLabels[3] = {"", "Standard", "Grille"};

// The layouts offered for each coordinate type, numbered from 1 (position 0
// is empty): the order of the page lists and of the command-line numbers.
inline constexpr const char* kCartesianFormatList[3] = {"", "Nom X Y Z", "X Y Z"};
inline constexpr const char* kGeographicFormatList[9] = {
    "",
    "Nom Lon Lat Altitude",
    "Nom Lon Lat Hauteur",
    "Lon Lat Altitude",
    "Lon Lat Hauteur",
    "Nom Lat Lon Altitude",
    "Nom Lat Lon Hauteur",
    "Lat Lon Altitude",
    "Lat Lon Hauteur",
};
inline constexpr const char* kProjectedFormatList[5] = {"", "Nom E N Altitude", "Nom E N Hauteur",
                                                        "E N Altitude", "E N Hauteur"};

// Label of a code; "" for a code outside the table.
const char* AngleUnitLabel(int code);
const char* DataFormatLabel(int code);
const char* CoordTypeLabel(int code);
const char* TransfoKindLabel(int code);

// The format list of a coordinate type (position 0 empty); an empty span for
// a type outside 1 to 3.
std::span<const char* const> FormatListOfType(int coordType);

// Code of a label, compared exactly (case and accents count); 0 when no
// label matches.
int AngleUnitCode(std::string_view label);
int CoordTypeCode(std::string_view label);
int DataFormatCode(std::string_view label);

// What a data format carries, read from its label and its table row.
int DataFormatCoordType(int code);       // CoordType, 0 outside 6 to 19
int DataFormatVertical(int code);        // VerticalKind: Hauteur 1, Altitude 2, none 0
bool DataFormatHasName(int code);        // the label begins with "Nom"
bool DataFormatLatitudeFirst(int code);  // a "Lat Lon" layout
bool DataFormatHasHeight(int code);      // the label ends with "Hauteur"
