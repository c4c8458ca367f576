#include "shared/string_resources.h"

#include <algorithm>
#include <iterator>

namespace {

struct StringResource {
    int id;
    const char* text;
};

// Sorted by id; LoadString searches it by halving.
constexpr StringResource kStrings[] = {
    // Tooltips of the main window's buttons.
    {1, "Calcule la transformation de coordonnées précisée"},
    {2, "Quitte le programme et ferme tout"},
    {101, "&A propos de Quorvel"},
    {107, "Quorvel"},

    // Tooltips of the computation pages' lists and controls.
    {1002, "Liste des systèmes de référence(REG)"},
    {1003, "Liste des systèmes de référence(REG) autorisés en fonction du REG de départ"},
    {1004, "Choix des types de coordonnées au départ"},
    {1005, "Choix des types de coordonnées à l'arrivée"},
    {1007, "Liste des projections autorisées au départ"},
    {1008, "Liste des projections autorisées à l'arrivée"},
    {1012, "Choix à réaliser dans la liste des unités disponibles"},
    {1013, "Choix à réaliser dans la liste des unités disponibles"},
    {1017, "Choix du méridien origine des coordonnées"},
    {1018, "Par convention, positif à l'Est"},
    {1019, "Choix du méridien origine des coordonnées"},
    {1021, "Par convention,négatif à l'Ouest"},
    {1022, "Par convention, positif au Nord"},
    {1023, "Par convention, négatif au Sud"},
    {1031, "Afichage des commentaires d'utilisation du logiciel"},
    {1037, "pas de signe lors de la saisie"},
    {1038, "Par convention, positif à l'Est"},
    {1039, "Par convention,négatif à l'Ouest"},
    {1041, "Par convention, positif au Nord"},
    {1042, "Par convention, négatif au Sud"},

    // Tooltips of the point entry and result fields.
    {1050, "Coordonnée d'entrée"},
    {1051, "Coordonnée d'entrée"},
    {1052, "Coordonnée d'entrée"},
    {1056, "Saisie de la coordonnée Est en  projection"},
    {1057, "Saisie de la coordonnée Nord en  projection"},
    {1058, "Saisie de l'altitude de départ (en mètre)"},
    {1062, "Saisie des degrés (ou heures) en longitude"},
    {1064, "Saisie de la hauteur ellipsoïdale"},
    {1069, "Saisie des minutes de degrés (ou d'heures) de longitude"},
    {1071, "Saisie des secondes de degrés (ou d'heures) de longitude"},
    {1073, "Saisie des degrés (ou heures) en latitude"},
    {1075, "Saisie des minutes de degrés (ou d'heures) de latitude"},
    {1077, "Saisie des secondes de degrés (ou d'heures) de latitude"},
    {1079, "Saisie des minutes décimales de degrés (ou d'heures) de longitude"},
    {1081, "Saisie des minutes décimales de degrés (ou d'heures) de latitude"},
    {1083, "Coordonnée calculée"},
    {1084, "Coordonnée calculée"},
    {1085, "Coordonnée calculée"},
    {1089, "Coordonnée calculée"},
    {1090, "Coordonnée calculée"},
    {1091, "Altitude calculée (en mètre)"},
    {1095, "Hauteur ellipsoïdale calculée"},
    {1099, "Degrés de longitude calculés(ou heures)"},
    {1101, "Minutes de degrés de longitude (ou d'heures) calculées"},
    {1103, "Secondes de degrés de longitude (ou d'heures) calculées"},
    {1105, "Degrés (ou heures) de latitude calculés"},
    {1107, "Minutes de degrés (ou heures) de latitude calculées"},
    {1109, "Secondes de degrés (ou heures) de latitude calculées"},
    {1111, "Minutes décimales de degrés (ou d'heures) de longitude calculées"},
    {1113, "Minutes décimales de degrés (ou heures) de latitude calculées"},
    {1116, "Convergence des méridiens exprimée dans l'unité choisie"},
    {1117, "Altération linéaire exprimée en mm/km"},
    {1118, "Saisir le nom du point maximum 30 caractères"},
    {1124, "Vous n'avez aucune valeur sur la référence verticale."},
    {1125, "Vous choisissez une hauteur sur l'ellipsoïde."},
    {1126, "Vous choisissez une hauteur sur le géoïde."},
    {1127, "Saisie du nom du fichier contenant les coordonnées à transformer."},
    {1128, "Recherche du fichier de départ."},
    {1129, "Saisie du nom du fichier recevant les coordonnées transformées."},
    {1132, "Recherche du fichier d'arrivée."},
    {1135, "Choix du format des coordonnées contenues dans le fichier de départ."},
    {1136, "Choix du format des coordonnées à écrire dans le fichier de sortie"},
    {1139, "Mode de transformation écran avec sauvegarde dans le fichier log.txt"},
    {1140, "Mode de transformation avec fichier de départ et d'arrivée, et choix d'un rapport"},
    {1142, "Choix du système altimétrique."},

    // Tooltip of the tab control.
    {1200, "Choix du type de transformation : standard ou grille."},

    // Angle-unit labels.
    {2000, "Radians"},
    {2001, "Degrés décimaux"},
    {2002, "Grades"},
    {2003, "Heures décimales"},
    {2004, "Secondes de degré"},
    {2005, "Secondes d'heure"},
    {2009, "Degrés Minutes Secondes"},
    {2010, "Heures Minutes Secondes"},
    {2011, "Degrés Minutes décimales"},

    // Unit messages of the command line (the trailing blank is part of them).
    {2012, "L'unité choisie au départ n'est pas valide "},
    {2013, "L'unité choisie à l'arrivée n'est pas valide "},

    // Data-format labels.
    {2016, "Nom X Y Z"},
    {2017, "X Y Z"},
    {2018, "Nom E N Altitude"},
    {2019, "Nom E N Hauteur"},
    {2020, "E N Altitude"},
    {2021, "E N Hauteur"},
    {2022, "Nom Lon Lat Altitude"},
    {2023, "Nom Lon Lat Hauteur"},
    {2024, "Lon Lat Altitude"},
    {2025, "Lon Lat Hauteur"},
    {2026, "Nom Lat Lon Altitude"},
    {2027, "Nom Lat Lon Hauteur"},
    {2028, "Lat Lon Altitude"},
    {2029, "Lat Lon Hauteur"},

    // Coordinate-type labels.
    {2032, "Cartésiennes"},
    {2033, "Géographiques"},
    {2034, "Planes"},

    // Configuration file: global sections and keys.
    {2064, "INFORMATIONS"},
    {2065, "Titre"},
    {2066, "DATA"},
    {2067, "Data"},
    {2068, "AIDE"},
    {2069, "Aide_html"},
    {2070, "Console"},
    {2071, "LOG"},
    {2072, "Log"},
    {2073, "EXEMPLES"},
    {2074, "Exemples"},
    {2075, "Standard"},
    {2076, "Grille"},
    {2077, "Copyright"},
    {2078, "Version"},
    // Page sections and their keys.
    {2079, "Standard"},
    {2080, "Grille"},
    {2081, "Mode"},
    {2082, "Nom du point"},
    {2083, "Fichier de rapport"},
    {2084, "Path de rapport"},
    {2085, "Verticale"},
    {2086, "Système Altimétrique"},
    {2087, "Système de départ"},
    {2088, "Coordonnées de départ"},
    {2089, "Projection de départ"},
    {2090, "Unité de départ"},
    {2091, "Méridien de départ"},
    {2092, "Fichier de départ"},
    {2093, "Path de départ"},
    {2094, "Type de données de départ"},
    {2095, "Système d'arrivée"},
    {2096, "Coordonnées d'arrivée"},
    {2097, "Projection d'arrivée"},
    {2098, "Unité d'arrivée"},
    {2099, "Méridien d'arrivée"},
    {2100, "Fichier d'arrivée"},
    {2101, "Path d'arrivée"},
    {2102, "Type de données d'arrivée"},

    // Command-line messages.
    {2177, "Le méridien origine choisi n'est pas valide"},
    {2180, "La projection choisie pour n'est pas valide"},
    {2192, "*** Bienvenue dans Quorvel Batch, version 1.1 du 06-10-2009 ***"},
    {2193, "Appuyer sur une touche pour quitter l'application ..."},
    {2197, "Le type de coordonnées de départ selectionné n'existe pas"},
    {2198, "Le type de coordonnées d'arrivée selectionné n'existe pas"},
    {2199, "Le type de données choisi n'est pas valide"},
    {2202, "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel de départ"},
    {2203, "Il est interdit de saisir des coordonnées cartésiennes avec le référentiel d'arrivée"},
    {2210, "Il est interdit de rentrer des hauteurs sur l'ellipsoïde avec le référentiel"},
    {2211, "Le type de transformation géométrique choisi n'existe pas"},
    {2212, "Le référentiel géodésique de départ choisi n'existe pas"},
    {2213, "Le référentiel géodésique d'arrivée choisi n'existe pas"},
    {2214, "Le référentiel altimétrique choisi n'existe pas"},
    {2215, "La transformation entre les deux referentiels n'existe pas en mode transformation"},
    {2216, "Le nom du fichier de départ n'est pas saisi"},
    {2217, "Le nom du fichier d'arrivée n'est pas saisi"},
    {2218, "Ligne de commande validee."},
    {2219, "Le flag n'existe pas"},
    {2220, "Le type de coordonnées de départ n'est pas compatible avec le référentiel"},
    {2221, "Le type de coordonnées d'arrivée n'est pas compatible avec le référentiel"},

    // Console run and catalogue loader.
    {2231, "Initialisation des donnees internes aux calculs..."},
    {2233, "Les coordonnées que vous avez saisies sont hors de la grille de transformation"},
    {2234, "Les coordonnées ne se trouvent pas dans l'emprise de la projection de départ"},
    {2235, "Les coordonnées ne se trouvent pas dans l'emprise du référentiel de départ"},
    {2236, "Les coordonnées ne se trouvent pas dans l'emprise de la projection d'arrivée"},
    {2237, "Les coordonnées ne se trouvent pas dans l'emprise du référentiel d'arrivée"},
    {2238, "Transformation terminée entre les fichiers suivants :"},
    {2239, "transformation(s) réussie(s)"},
    {2240, "transformation(s) hors zone"},
    {2250, "Impossible de lire le fichier"},
    {2251, "Impossible d'ouvrir le fichier"},
    {2252, "Impossible de lire et d'écrire dans les mêmes fichiers"},
    {2254, "Erreur dans le fichier"},
    {2255, "Mauvais format à la ligne"},

    // Day names, Sunday first.
    {2260, "Dimanche"},
    {2261, "Lundi"},
    {2262, "Mardi"},
    {2263, "Mercredi"},
    {2264, "Jeudi"},
    {2265, "Vendredi"},
    {2266, "Samedi"},

    // Page tab titles.
    {3010, "Transformation standard"},
    {3011, "Transformation grille"},

    // Tooltip of the help button.
    {57670, "Explication géodésique sur les systèmes, projections, coordonnées...."},
};

constexpr bool IdsAscend() {
    for (size_t i = 1; i < std::size(kStrings); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id) return false;
    }
    return true;
}
static_assert(IdsAscend(), "string resources must be sorted by id, each id once");

}  // namespace

std::string LoadString(int id) {
    const auto* end = std::end(kStrings);
    const auto* it = std::lower_bound(std::begin(kStrings), end, id,
                                      [](const StringResource& r, int key) { return r.id < key; });
    if (it == end || it->id != id) return std::string();
    return it->text;
}
