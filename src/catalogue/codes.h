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
