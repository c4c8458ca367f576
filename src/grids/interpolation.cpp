// Values of a grid at an arbitrary point: the nearest node, the bilinear
// interpolation in the cell of the point, and the bicubic interpolation built
// from natural cubic splines over a window of n x n nodes. The work space is
// the grid's own, so a query allocates nothing once the first one is done.

#include <algorithm>
#include <cmath>

#include "grids/grid.h"
#include "grids/grid_rules.h"
#include "grids/natural_spline.h"

namespace {

// Whether a lattice holds the point (borders included).
bool Holds(const SubGrid& sub, double x, double y) {
    const double marginX = sub.X_INC * 1e-10, marginY = sub.Y_INC * 1e-10;
    return x >= sub.X_MIN - marginX && x <= sub.X_MAX + marginX && y >= sub.Y_MIN - marginY &&
           y <= sub.Y_MAX + marginY;
}

// The sub-grid that holds the point (borders included) and has the most
// parents above it; the first in file order among equals; null when none
// holds it. Each sub-grid takes the longitude as given or a turn away,
// whichever falls within its columns, so that sub-grids on either side of a
// meridian where longitudes change sign (or of the antimeridian) are found
// alike; `xAt` is then the longitude within the chosen one's columns.
const SubGrid* FinestSubGrid(const std::vector<SubGrid>& subGrids, double x, double y,
                             double turn, bool angular, double& xAt) {
    const SubGrid* finest = nullptr;
    for (const SubGrid& sub : subGrids) {
        double inColumns = x;
        bool held = Holds(sub, x, y);
        if (angular && !held && std::isfinite(x)) {
            for (const double turned : {x + turn, x - turn}) {
                if (Holds(sub, turned, y)) {
                    inColumns = turned;
                    held = true;
                    break;
                }
            }
        }
        if (!held) continue;
        if (!finest || sub.depth > finest->depth) {
            finest = &sub;
            xAt = inColumns;
        }
    }
    return finest;
}

// The lattice fields of a header, put aside while a sub-grid's stand in.
class LatticeOf {
public:
    explicit LatticeOf(GridHeader& h) : h_(h), kept_(Current(h)) {}
    void Take(const SubGrid& sub) { Set(h_, sub); }
    void Restore() { Set(h_, kept_); }

private:
    static SubGrid Current(const GridHeader& h) {
        SubGrid sub;
        sub.X_MIN = h.X_MIN, sub.X_MAX = h.X_MAX, sub.Y_MIN = h.Y_MIN, sub.Y_MAX = h.Y_MAX;
        sub.X_INC = h.X_INC, sub.Y_INC = h.Y_INC;
        sub.N_COLUMNS = h.N_COLUMNS, sub.N_LINES = h.N_LINES;
        sub.firstRecordOffset = h.firstRecordOffset;
        sub.image = h.image;
        return sub;
    }
    static void Set(GridHeader& h, const SubGrid& sub) {
        h.X_MIN = sub.X_MIN, h.X_MAX = sub.X_MAX, h.Y_MIN = sub.Y_MIN, h.Y_MAX = sub.Y_MAX;
        h.X_INC = sub.X_INC, h.Y_INC = sub.Y_INC;
        h.N_COLUMNS = sub.N_COLUMNS, h.N_LINES = sub.N_LINES;
        h.firstRecordOffset = sub.firstRecordOffset;
        h.image = sub.image;
    }
    GridHeader& h_;
    SubGrid kept_;
};

void CopyValues(double* to, const double* from, int n) {
    std::copy(from, from + n, to);
}

}  // namespace

void CGrille::ValeursHorsGrille(double* values) const {
    const double fill = header.VALUE_UNK_TO_ZERO ? 0.0 : header.VALUE_UNK;
    for (int k = 0; k < header.VALUES_NUMBER; ++k) values[k] = fill;
}

int CGrille::Interpoler(int unit, const double* point, double* values, int& code) {
    return Interpoler_Mode(unit, point, values, code, header.INTERPOLATION_TYPE);
}

int CGrille::Interpoler_Mode(int unit, const double* point, double* values, int& code, int mode) {
    const double given = ConvertUnit(point[0], unit, header.NODE_COORD_UNIT);
    double x = given;
    const double y = ConvertUnit(point[1], unit, header.NODE_COORD_UNIT);
    // Grids laid out over 0 .. 360 degrees of longitude: a full turn in the
    // unit of the node coordinates (360 for metres or an undefined unit).
    const double turn = ConvertUnit(360, UniteDegres, header.NODE_COORD_UNIT);
    if (x < 0 && header.X_MIN >= 0) x += turn;
    // Round the whole parallel, every longitude is a turn away from one
    // within the first turn of the columns.
    if (WrapsLongitude(header) && std::isfinite(x) &&
        (x < header.X_MIN || x >= header.X_MIN + turn)) {
        x = header.X_MIN + std::fmod(std::fmod(x - header.X_MIN, turn) + turn, turn);
        if (x >= header.X_MIN + turn) x = header.X_MIN;  // a rounding up to the full turn
    }
    const double p[3] = {x, y, point[2]};

    // A file of several sub-grids: the finest one that holds the point
    // answers, its lattice standing in for the header's while it does. The
    // first sub-grid's columns say nothing of where the others' lie: the
    // longitude as given is matched to each one's own.
    if (header.subGrids.size() > 1) {
        const int u = header.NODE_COORD_UNIT;
        const bool angular = u == UniteSecondes || u == UniteDegres || u == UniteRadians;
        double xAt = x;
        const SubGrid* finest = FinestSubGrid(header.subGrids, given, y, turn, angular, xAt);
        if (finest && finest != &header.subGrids.front()) {
            const double q[3] = {xAt, y, point[2]};
            LatticeOf saved(header);
            saved.Take(*finest);
            const int status = Interpoler_Point(q, values, code, mode);
            saved.Restore();
            return status;
        }
    }
    return Interpoler_Point(p, values, code, mode);
}

int CGrille::Interpoler_Point(const double* p, double* values, int& code, int mode) {
    const double x = p[0], y = p[1];
    if (mode & ValeurNoeud) {
        Lire_Noeud(SaturateToInt32(Nearest((x - header.X_MIN) / header.X_INC)),
                   SaturateToInt32(Nearest((y - header.Y_MIN) / header.Y_INC)), values, code);
        return 0;
    }
    if (mode & Bilineaire) return Interpoler_Bilineaire(p, values, code);
    if (mode & Spline) {
        if (header.INTERPOLATION_ORDER == 0) header.INTERPOLATION_ORDER = 4;
        return Interpoler_Spline(header.INTERPOLATION_ORDER, p, values, code);
    }
    return -1;
}

int CGrille::Interpoler_Bilineaire(const double* point, double* values, int& code) {
    const int n = std::max(header.VALUES_NUMBER, 0);
    const int C = header.N_COLUMNS, L = header.N_LINES;
    const double fx = (point[0] - header.X_MIN) / header.X_INC;
    const double fy = (point[1] - header.Y_MIN) / header.Y_INC;
    const int i = IndexOf(fx), j = IndexOf(fy);
    // Up to one step beyond the border on every side.
    if (i < -1 || i >= C || j < -1 || j >= L) {
        ValeursHorsGrille(values);
        return 2;
    }
    const double u = fx - i, v = fy - j;

    double* A = WorkSpace(4 * static_cast<size_t>(n));
    double* B = A + n;
    double* Cn = B + n;
    double* D = Cn + n;
    // A grid that goes round the whole parallel has no west or east border:
    // the cell across the seam joins its last column to its first.
    const bool wraps = WrapsLongitude(header);
    const int west = wraps && i == -1 ? C - 1 : i;
    const int east = wraps && i + 1 == C ? 0 : i + 1;
    const bool westBorder = !wraps && i == -1, eastBorder = !wraps && i == C - 1;
    int codeA = 0, codeB = 0, codeC = 0, codeD = 0;
    Lire_Noeud(west, j, A, codeA);
    Lire_Noeud(west, j + 1, B, codeB);
    Lire_Noeud(east, j, Cn, codeC);
    Lire_Noeud(east, j + 1, D, codeD);

    // Beyond the border the cell takes the values of the nodes inside it.
    if (westBorder && j == -1) {
        CopyValues(A, D, n), CopyValues(B, D, n), CopyValues(Cn, D, n);
        code = codeD;
    } else if (westBorder && j == L - 1) {
        CopyValues(A, Cn, n), CopyValues(B, Cn, n), CopyValues(D, Cn, n);
        code = codeC;
    } else if (eastBorder && j == L - 1) {
        CopyValues(B, A, n), CopyValues(Cn, A, n), CopyValues(D, A, n);
        code = codeA;
    } else if (eastBorder && j == -1) {
        CopyValues(A, B, n), CopyValues(Cn, B, n), CopyValues(D, B, n);
        code = codeB;
    } else if (westBorder) {
        CopyValues(A, Cn, n), CopyValues(B, D, n);
        code = v >= 0.5 ? codeD : codeC;
    } else if (eastBorder) {
        CopyValues(Cn, A, n), CopyValues(D, B, n);
        code = v < 0.5 ? codeA : codeB;
    } else if (j == -1) {
        CopyValues(A, B, n), CopyValues(Cn, D, n);
        code = u >= 0.5 ? codeD : codeB;
    } else if (j == L - 1) {
        CopyValues(B, A, n), CopyValues(D, Cn, n);
        code = u < 0.5 ? codeA : codeC;
    } else if (u < 0.5) {
        code = v < 0.5 ? codeA : codeB;  // the nearest node; a tie goes up
    } else {
        code = v < 0.5 ? codeC : codeD;
    }

    for (int k = 0; k < n; ++k) {
        if (header.VALUE_UNK != 0 &&
            (A[k] == header.VALUE_UNK || B[k] == header.VALUE_UNK || Cn[k] == header.VALUE_UNK || D[k] == header.VALUE_UNK)) {
            values[k] = header.VALUE_UNK;
            continue;
        }
        const double translation = k < static_cast<int>(header.TRANSLATION.size()) ? header.TRANSLATION[k] : 0.0;
        values[k] = (1 - u) * (1 - v) * A[k] + (1 - u) * v * B[k] + u * (1 - v) * Cn[k] +
                    u * v * D[k] + translation;
    }
    return 0;
}

int CGrille::Interpoler_Spline(int order, const double* point, double* values, int& code) {
    const int nv = std::max(header.VALUES_NUMBER, 0);
    const int C = header.N_COLUMNS, L = header.N_LINES;
    const double fx = Snap((point[0] - header.X_MIN) / header.X_INC);
    const double fy = Snap((point[1] - header.Y_MIN) / header.Y_INC);
    const int i = IndexOf(fx), j = IndexOf(fy);
    // Nothing before the first column or line; up to one step beyond the last.
    if (i < 0 || i >= C || j < 0 || j >= L) {
        ValeursHorsGrille(values);
        return 2;
    }

    // The window holds `order` nodes per direction, or every node of a grid
    // that has fewer, so that it never reaches outside the grid. Round the
    // whole parallel it stays centred on the point: its columns beyond the
    // seam are those a turn away.
    const int n = std::max(order, 1);
    const int nx = std::min(n, C), ny = std::min(n, L);
    const bool wraps = WrapsLongitude(header);
    int i0 = i - IndexOf(nx * 0.5) + 1;
    int j0 = j - IndexOf(ny * 0.5) + 1;
    if (!wraps && i0 < 0) i0 = 0;
    if (j0 < 0) j0 = 0;
    if (!wraps && i0 + nx > C) i0 = C - nx;
    if (j0 + ny > L) j0 = L - ny;

    const size_t windowSize = static_cast<size_t>(nx) * ny * nv;
    const size_t longest = static_cast<size_t>(std::max(nx, ny));
    double* window = WorkSpace(windowSize + 4 * longest);
    double* line = window + windowSize;  // values along one window line
    double* across = line + longest;     // one result per window line
    double* g = across + longest;
    double* w = g + longest;

    bool unknown = false;
    for (int a = 0; a < nx; ++a) {
        for (int b = 0; b < ny; ++b) {
            double* node = window + (static_cast<size_t>(a) * ny + b) * nv;
            int nodeCode = 0;
            const int column = wraps ? ((i0 + a) % C + C) % C : i0 + a;
            Lire_Noeud(column, j0 + b, node, nodeCode);
            if (header.VALUE_UNK != 0) {
                for (int k = 0; k < nv; ++k) unknown = unknown || node[k] == header.VALUE_UNK;
            }
            // The last node within half a step of the point gives the code.
            if (std::fabs(fx - (i0 + a)) <= 0.5 && std::fabs(fy - (j0 + b)) <= 0.5) code = nodeCode;
        }
    }

    const double tx = fx - i0 + 1, ty = fy - j0 + 1;
    for (int k = 0; k < nv; ++k) {
        if (unknown) {
            values[k] = header.VALUE_UNK;
            continue;
        }
        for (int b = 0; b < ny; ++b) {
            for (int a = 0; a < nx; ++a)
                line[a] = window[(static_cast<size_t>(a) * ny + b) * nv + k];
            NaturalSplineSecondDerivatives(line, nx, g, w);
            across[b] = NaturalSplineValue(line, g, nx, tx);
        }
        NaturalSplineSecondDerivatives(across, ny, g, w);
        values[k] = NaturalSplineValue(across, g, ny, ty);
    }
    return 0;
}
