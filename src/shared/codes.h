#pragma once

// Shared integer codes of the coordinate types, vertical kinds and
// transformation kinds. Their French labels live in the label tables.

enum CoordType : int {
    CoordNotSet = 0,
    Cartesian = 1,   // "Cartésiennes"
    Geographic = 2,  // "Géographiques"
    Projected = 3,   // "Planes"
};

enum VerticalKind : int {
    NoVertical = 0,         // "pas d'info"
    EllipsoidalHeight = 1,  // "Hauteur"
    Altitude = 2,           // "Altitude"
};

enum TransfoKind : int {
    StandardKind = 1,  // "Standard": seven-parameter "TSG" records
    GridKind = 2,      // "Grille": translation-only "TSG0" records
};

// Column layouts of point files; 0 to 5 name no layout.
enum DataFormat : int {
    FormatNotSet = 0,
    FormatNameXYZ = 6,             // "Nom X Y Z"
    FormatXYZ = 7,                 // "X Y Z"
    FormatNameLonLatAltitude = 8,  // "Nom Lon Lat Altitude"
    FormatNameLatLonAltitude = 9,  // "Nom Lat Lon Altitude"
    FormatNameLonLatHeight = 10,   // "Nom Lon Lat Hauteur"
    FormatNameLatLonHeight = 11,   // "Nom Lat Lon Hauteur"
    FormatLonLatAltitude = 12,     // "Lon Lat Altitude"
    FormatLatLonAltitude = 13,     // "Lat Lon Altitude"
    FormatLonLatHeight = 14,       // "Lon Lat Hauteur"
    FormatLatLonHeight = 15,       // "Lat Lon Hauteur"
    FormatNameENAltitude = 16,     // "Nom E N Altitude"
    FormatNameENHeight = 17,       // "Nom E N Hauteur"
    FormatENAltitude = 18,         // "E N Altitude"
    FormatENHeight = 19,           // "E N Hauteur"
};
