// The header's sizes, the layout of native grids, and the normalisation and
// check that every opening applies to a header before any value is read.

#include "grids/grid_header.h"

#include <cmath>

#include "grids/grid_message.h"
#include "grids/grid_rules.h"

void GridHeader::Taille_Valeur() {
    switch (VALUES_TYPE) {
        case Integer2:
            valueSize = 2;
            break;
        case Integer4:
        case Real4:
            valueSize = 4;
            break;
        case Real8:
            valueSize = 8;
            break;
        default:
            break;
    }
}

void GridHeader::CountNodes() {
    N_NODES = SaturateToInt32(static_cast<double>(N_COLUMNS) * N_LINES);
}

int64_t GridHeader::StoredNodeCount() const {
    if (subGrids.empty()) return NodeCount();
    int64_t nodes = 0;
    for (const SubGrid& sub : subGrids) nodes += static_cast<int64_t>(sub.N_COLUMNS) * sub.N_LINES;
    return nodes;
}

void DepthsFromParents(std::vector<SubGrid>& subGrids) {
    for (size_t k = 0; k < subGrids.size(); ++k) {
        SubGrid& sub = subGrids[k];
        if (sub.parent < 0 || static_cast<size_t>(sub.parent) >= k) sub.parent = -1;
        // A parent comes earlier: its depth is known.
        sub.depth = sub.parent < 0 ? 0 : subGrids[static_cast<size_t>(sub.parent)].depth + 1;
    }
}

void GridHeader::CountsFromLimits() {
    N_COLUMNS = CountFromLimits(X_MIN, X_MAX, X_INC);
    N_LINES = CountFromLimits(Y_MIN, Y_MAX, Y_INC);
    CountNodes();
}

void GridHeader::NativeLayout() {
    CountsFromLimits();
    NODE_COORD_UNIT = UniteDegres;
    INC_UNIT = UniteDegres;
    VALUES_LOCATION = 0;
    EAST_TO_WEST = 0;
    VALUES_UNIT = UniteMetres;
    Taille_Valeur();
}

void Normaliser(GridHeader& h, bool eastWest, bool steps) {
    if (eastWest && h.EAST_TO_WEST) {
        const double west = -h.X_MAX, east = -h.X_MIN;
        h.X_MIN = west;
        h.X_MAX = east;
    }
    if (steps) {
        h.X_INC = ConvertUnit(h.X_INC, h.INC_UNIT, h.NODE_COORD_UNIT);
        h.Y_INC = ConvertUnit(h.Y_INC, h.INC_UNIT, h.NODE_COORD_UNIT);
    }
    if (h.NODE_COORD_UNIT == UniteDegres && (h.X_MIN > 360 || h.X_MAX > 360)) {
        h.X_MIN -= 360;
        h.X_MAX -= 360;
    }
}

std::string GridHeader::Verifier(bool normalise) {
    if (normalise) Normaliser(*this, true, true);

    // The comparisons are written so that a limit or step that is not a
    // number fails them too.
    std::string lines;
    if (LAYOUT < SW2N2E || LAYOUT > SE2W2N)
        lines += GridMessage("+ Type de rangement imprévu : %d\n", LAYOUT);
    if (!(X_MAX > X_MIN)) lines += "+ XMin >= XMax\n";
    if (!(Y_MAX > Y_MIN)) lines += "+ YMin >= YMax\n";
    if (NODE_COORD_UNIT == UniteSecondes || NODE_COORD_UNIT == UniteDegres) {
        const double longitudeBound = NODE_COORD_UNIT == UniteSecondes ? 1296000 : 360;
        const double latitudeBound = NODE_COORD_UNIT == UniteSecondes ? 324000 : 90;
        if (!(std::fabs(X_MIN) <= longitudeBound) || !(std::fabs(X_MAX) <= longitudeBound) ||
            !(std::fabs(Y_MIN) <= latitudeBound) || !(std::fabs(Y_MAX) <= latitudeBound) ||
            X_MIN == X_MAX || Y_MIN == Y_MAX)
            lines += "+ Emprise de la grille non valide\n";
    }
    if (!(X_INC >= 1e-10) || !(Y_INC >= 1e-10)) lines += "+ Pas non valide\n";
    const char* inconsistent =
        "+ Incohérence des limites, pas et nombre de lignes et de colonnes\n";
    if (!(std::fabs(N_COLUMNS - Nearest((X_MAX - X_MIN) / X_INC) - 1) <= 1e-10)) {
        lines += inconsistent;
    } else if (!(std::fabs(N_LINES - Nearest((Y_MAX - Y_MIN) / Y_INC) - 1) <= 1e-10)) {
        lines += inconsistent;
    }
    if (!(std::fabs(X_MAX - X_MIN - (N_COLUMNS - 1.0) * X_INC) <= 1e-5) ||
        !(std::fabs(Y_MAX - Y_MIN - (N_LINES - 1.0) * Y_INC) <= 1e-5))
        lines += "+ Ajustez mieux les limites et les pas de votre grille\n";
    if (VALUES_TYPE == TypeValIndefini) lines += "+ TypeVal non initialisé\n";
    if (INTERPOLATION_TYPE != Bilineaire && INTERPOLATION_TYPE != Spline)
        lines += "+ Le type d'interpolation doit être bilinéaire ou spline\n";
    if (INTERPOLATION_TYPE == Spline && INTERPOLATION_ORDER < 4)
        lines += "+ Pour une interpolation spline, l'ordre doit être >= 4\n";
    // Beyond the documented checks: a grid needs at least one value per node
    // and a value type that gives its size.
    if (VALUES_NUMBER < 1 || VALUES_NUMBER > kMostValuesPerNode)
        lines += GridMessage("+ Nombre de valeurs par noeud non valide : %d\n", VALUES_NUMBER);
    else if (VALUES_TYPE < TypeValIndefini || VALUES_TYPE > Real8)
        lines += GridMessage("+ Type de valeur imprévu : %d\n", VALUES_TYPE);

    if (!lines.empty() && !NAME.empty()) return NAME + " :\n" + lines;
    return lines;
}

double StepInDegrees(const GridHeader& h, double step) {
    return ConvertUnit(step, h.NODE_COORD_UNIT, UniteDegres);
}

bool WrapsLongitude(const GridHeader& h) {
    if (h.NODE_COORD_UNIT != UniteSecondes && h.NODE_COORD_UNIT != UniteDegres &&
        h.NODE_COORD_UNIT != UniteRadians)
        return false;
    if (h.N_COLUMNS < 2 || !(h.X_INC > 0)) return false;
    const double turn = ConvertUnit(360, UniteDegres, h.NODE_COORD_UNIT);
    return h.N_COLUMNS * h.X_INC >= turn * (1 - 1e-12);
}
