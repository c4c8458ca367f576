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

// Whether a lattice holds the point, borders included, within the margins
// beyond them (in the unit of the node coordinates).
bool Holds(const SubGrid& sub, double x, double y, double marginX, double marginY) {
    return x >= sub.X_MIN - marginX && x <= sub.X_MAX + marginX && y >= sub.Y_MIN - marginY &&
           y <= sub.Y_MAX + marginY;
}

// A point in the unit of a grid's node coordinates, with a full turn in that
// unit (360 for metres or an undefined unit) and whether the unit is an angle.
struct NodePoint {
    double x, y, z, turn;
    bool angular;
};

NodePoint InNodeUnit(const GridHeader& h, int unit, const double* point) {
    const int u = h.NODE_COORD_UNIT;
    return {ConvertUnit(point[0], unit, u), ConvertUnit(point[1], unit, u), point[2],
            ConvertUnit(360, UniteDegres, u),
            u == UniteSecondes || u == UniteDegres || u == UniteRadians};
}

// Whether a sub-grid holds the point within the margins, its longitude taken
// as given or a turn away, whichever falls within its columns, so that
// sub-grids on either side of a meridian where longitudes change sign (or of
// the antimeridian) are found alike; `xAt` is then the longitude within them.
bool HoldsTurned(const SubGrid& sub, const NodePoint& p, double marginX, double marginY,
                 double& xAt) {
    if (Holds(sub, p.x, p.y, marginX, marginY)) {
        xAt = p.x;
        return true;
    }
    if (!p.angular || !std::isfinite(p.x)) return false;
    for (const double turned : {p.x + p.turn, p.x - p.turn}) {
        if (Holds(sub, turned, p.y, marginX, marginY)) {
            xAt = turned;
            return true;
        }
    }
    return false;
}

// The sub-grid that answers at a point, picked as PROJ picks it: the first
// sub-grid of the top level, in file order, that holds the point, then the
// first of its children that holds it, and so down; a sub-grid holds the
// points within a hundred-thousandth of its two steps beyond its border, as
// there. -1 when none holds it. Every parent comes before its children, so
// one pass over the list descends.
int Descend(const std::vector<SubGrid>& subGrids, const NodePoint& p, double& xAt) {
    int found = -1;
    for (size_t k = 0; k < subGrids.size(); ++k) {
        const SubGrid& sub = subGrids[k];
        if (sub.parent != found) continue;
        const double margin = (sub.X_INC + sub.Y_INC) * 1e-5;
        if (HoldsTurned(sub, p, margin, margin, xAt)) found = static_cast<int>(k);
    }
    return found;
}

// The longitude of a point within the columns of the header's own lattice.
double InHeaderColumns(const GridHeader& h, double x, double turn) {
    // Grids laid out over 0 .. 360 degrees of longitude.
    if (x < 0 && h.X_MIN >= 0) x += turn;
    // Round the whole parallel, every longitude is a turn away from one
    // within the first turn of the columns.
    if (WrapsLongitude(h) && std::isfinite(x) && (x < h.X_MIN || x >= h.X_MIN + turn)) {
        x = h.X_MIN + std::fmod(std::fmod(x - h.X_MIN, turn) + turn, turn);
        if (x >= h.X_MIN + turn) x = h.X_MIN;  // a rounding up to the full turn
    }
    return x;
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
    const NodePoint p = InNodeUnit(header, unit, point);
    if (header.subGrids.size() <= 1) {
        const double q[3] = {InHeaderColumns(header, p.x, p.turn), p.y, p.z};
        return Interpoler_Point(q, values, code, mode);
    }
    // A file of several sub-grids: the one that holds the point answers.
    // The first sub-grid's columns say nothing of where the others' lie: the
    // longitude as given is matched to each one's own.
    double xAt = p.x;
    const int sub = Descend(header.subGrids, p, xAt);
    if (sub >= 0) return Interpoler_Lattice(sub, xAt, p.y, p.z, values, code, mode);
    // None holds it: the first sub-grid of the top level within a step of
    // it answers, as a grid of one sub-grid answers a step beyond its border.
    for (size_t k = 0; k < header.subGrids.size(); ++k) {
        const SubGrid& top = header.subGrids[k];
        if (top.parent < 0 && HoldsTurned(top, p, top.X_INC, top.Y_INC, xAt))
            return Interpoler_Lattice(static_cast<int>(k), xAt, p.y, p.z, values, code, mode);
    }
    ValeursHorsGrille(values);
    return 2;
}

int CGrille::SubGridAt(int unit, const double* point) const {
    if (header.subGrids.size() <= 1) return -1;
    double xAt = 0;
    return Descend(header.subGrids, InNodeUnit(header, unit, point), xAt);
}

bool CGrille::SubGridHolds(int sub, int unit, const double* point) const {
    if (sub < 0 || static_cast<size_t>(sub) >= header.subGrids.size()) return false;
    const SubGrid& lattice = header.subGrids[static_cast<size_t>(sub)];
    double xAt = 0;
    return HoldsTurned(lattice, InNodeUnit(header, unit, point), lattice.X_INC * 1e-4,
                       lattice.Y_INC * 1e-4, xAt);
}

int CGrille::Interpoler_SousGrille(int sub, int unit, const double* point, double* values,
                                   int& code) {
    if (sub < 0 || static_cast<size_t>(sub) >= header.subGrids.size())
        return Interpoler(unit, point, values, code);
    const NodePoint p = InNodeUnit(header, unit, point);
    // The longitude as given, or a turn away when that brings it within a
    // step of the sub-grid's columns.
    const SubGrid& lattice = header.subGrids[static_cast<size_t>(sub)];
    double xAt = p.x;
    HoldsTurned(lattice, p, lattice.X_INC, lattice.Y_INC, xAt);
    return Interpoler_Lattice(sub, xAt, p.y, p.z, values, code, header.INTERPOLATION_TYPE);
}

int CGrille::Interpoler_Lattice(int sub, double x, double y, double z, double* values, int& code,
                                int mode) {
    const double q[3] = {x, y, z};
    // The first sub-grid's lattice is the header's own.
    if (sub == 0) return Interpoler_Point(q, values, code, mode);
    LatticeOf saved(header);
    saved.Take(header.subGrids[static_cast<size_t>(sub)]);
    const int status = Interpoler_Point(q, values, code, mode);
    saved.Restore();
    return status;
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
