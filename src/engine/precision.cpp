#include "engine/precision.h"

std::string PrecisionText(int code) {
    // Codes 1 and 11 both mean one to five centimetres; stored catalogues use
    // both, each with its own spelling.
    switch (code) {
        case 0:
            return "aucune information";
        case 1:
            return "de 1 à 5cm";
        case 2:
            return "de 5 à 10cm";
        case 3:
            return "de 10 à 20cm";
        case 4:
            return "de 20à 50cm";
        case 5:
            return "de 1 à 2m";
        case 6:
            return "de 2 à 5m";
        case 10:
            return "inférieure à 1m";
        case 11:
            return "de 1 à 5 cm";
        case 99:
            return "supérieure à 1m";
        case 88888888:
            return "< 1 cm";
        case kOutsideVerticalGrid:
            return "HORS GRILLE DE GEOIDE";
        default:
            return "";
    }
}
