#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "grids/grid_enums.h"

// The check refuses more values per node than this: no grid has them, and
// the readers need not make room for a nonsensical count.
constexpr int kMostValuesPerNode = 1000;

// Results of the grid operations, the same across the grid layer:
//
// Header readers (Lire_EnTete_... and GridReader::Lire_EnTete):
//   kHeaderRead (-10)    the header was read;
//   kHeaderRefused (-1)  it was not, and the message says why;
//   any other value      it was not, and the value is the position where
//                        reading stopped (in the header line, or the byte of
//                        the file), which the opening names in "Problème dans
//                        l'en-tête de <file> (position n)". The binary cache
//                        reader gives 2 for a file that does not begin with
//                        "GRID", after showing the keyword it found.
// Interpolations (Interpoler, Interpoler_Mode, Interpoler_Bilineaire,
// Interpoler_Spline):
//   0 the point is inside the grid (or within the step beyond its border that
//     the interpolation accepts), 2 it is outside, -1 the mode asks for no
//     interpolation that the grid knows.
// Openings and loadings: Ouvrir is true, or false with its message;
// Charger_Binaire, Ecrire_Cache and GridReader::Lire_Noeuds give an empty
// text on success, else the French message for the user.
inline constexpr int kHeaderRead = -10;
inline constexpr int kHeaderRefused = -1;

// One sub-grid of a file that holds several (an NTv2 file, or a GeoTIFF of
// several grid images): its lattice as the header's fields hold the first
// one's (limits eastwards, in the unit of the node coordinates), where its
// records start (NTv2) or which grid image of the file holds them (GeoTIFF,
// counted from 0 in file order), its parent (the index of an earlier
// sub-grid of the list, -1 for a sub-grid of the file's top level) and how
// many parents it has above it (0 at the top level).
struct SubGrid {
    double X_MIN = 0, X_MAX = 0, Y_MIN = 0, Y_MAX = 0, X_INC = 0, Y_INC = 0;
    int32_t N_COLUMNS = 0, N_LINES = 0;
    int64_t firstRecordOffset = 0;
    int image = 0;
    int parent = -1;
    int depth = 0;
};

// The depth of every sub-grid from the parents (each an earlier sub-grid, or
// -1); a parent that is not an earlier sub-grid is taken as none.
void DepthsFromParents(std::vector<SubGrid>& subGrids);

// What a grid file says about its grid: a regular lattice of nodes over a
// rectangle of longitudes and latitudes (or eastings and northings), each
// node carrying VALUES_NUMBER values and optionally a precision code, and
// where and how the node records are stored. The fields bear the names of
// their elements in the XML grid header. Text fields hold UTF-8.
struct GridHeader {
    int GRID_TYPE = GrilleIndefinie;  // TypeGrille
    // The grid's file name as the catalogue and the messages give it; the
    // grid opens it relative to its folder.
    std::string NAME = "UNDEFINED";
    std::string ORIGIN = "UNDEFINED";
    std::string CREATED = "UNDEFINED";
    std::string VERSION = "UNDEFINED";
    std::string KEY = "UNDEFINED";
    std::string DESC = "UNDEFINED";
    int LAYOUT = LayoutIndefini;  // Layout
    int32_t N_NODES = 0;
    int32_t N_COLUMNS = 0;
    int32_t N_LINES = 0;
    double X_INC = 0, Y_INC = 0;
    double X_MIN = 0, X_MAX = 0, Y_MIN = 0, Y_MAX = 0;
    int NODE_COORD_TYPE = CoordonneesIndefinies;
    int INC_UNIT = UniteDegres;
    int NODE_COORD_UNIT = UniteDegres;
    int NODE_COORD_WRITTEN = 0;  // each text record starts with the node's two coordinates
    int CODE_PREC = 0;           // each node carries a 32-bit precision code after its values
    int EAST_TO_WEST = 0;        // X grows westwards in the file
    int VALUES_LOCATION = 0;     // 0 node, 1 pixel centre
    int SEP = 1;                 // text values separated by blanks (1) or of fixed width (0)
    int rowWrap = 0;             // fixed-width rows end with a line break after N_COLUMNS nodes
    int32_t VALUES_NUMBER = 0;
    int VALUES_TYPE = TypeValIndefini;  // TypeVal
    // Bytes of one stored value; for fixed-width text also the width of one value.
    int32_t valueSize = 0;
    double VALUE_UNK = 0;  // marks an unknown value; 0: no value is unknown
    int VALUE_UNK_TO_ZERO = 0;
    std::vector<double> TRANSLATION = {0.0};  // added to each bilinear result
    double VALUES_MIN = 0, VALUES_MAX = 0;
    int VALUES_UNIT = UniteMetres;
    int INTERPOLATION_TYPE = InterpolationIndefinie;
    int32_t INTERPOLATION_ORDER = 0;  // spline order; 0 is taken as 4 at the first query
    std::string CRS_CODE_F = "VEXALF:WGS84G";
    std::string CRS_CODE_T = "VEXALF:WGS84G";
    std::string SYSTEM_F = "UNDEFINED";
    std::string SYSTEM_T = "UNDEFINED";
    double MAJOR_F = 0, MINOR_F = 0, SQ_EXC_F = 0;
    double MAJOR_T = 0, MINOR_T = 0, SQ_EXC_T = 0;
    int32_t NODE_COORD_SYST = 0;
    int32_t SHIFT_TYPE = 0;

    // Where the node records of a binary file are.
    int64_t firstRecordOffset = 0;  // byte offset of the first node record
    bool bigEndian = false;         // numbers stored big-endian (NTv2 type 6)
    int image = 0;                  // the GeoTIFF grid image the records are read from
    // Every sub-grid of a file that has more than one, the first included, in
    // file order; empty for a file of one grid.
    std::vector<SubGrid> subGrids;

    int64_t NodeCount() const { return static_cast<int64_t>(N_COLUMNS) * N_LINES; }
    // The node records the file stores: those of every sub-grid, or the
    // lattice's.
    int64_t StoredNodeCount() const;
    // N_NODES from the column and line counts (saturated to 32 bits).
    void CountNodes();
    // The column and line counts from the limits and steps, then N_NODES.
    void CountsFromLimits();
    // Bytes of one node record: the values, then the code when there is one.
    // Inline: every node read asks for it.
    int64_t RecordSize() const {
        const int64_t values = static_cast<int64_t>(valueSize) * VALUES_NUMBER;
        return CODE_PREC ? values + 4 : values;
    }
    // Value size from VALUES_TYPE (unchanged for an undefined type).
    void Taille_Valeur();
    // The layout every native grid and its cache share: node counts from the
    // limits and increments, degrees, values at the nodes, west to east, in
    // metres; then the value size of VALUES_TYPE.
    void NativeLayout();
    // Normalises the header (when asked) and checks it; the check lines,
    // prefixed by the file name, or empty when the header is sound.
    std::string Verifier(bool normalise);
};

// Brings the limits read from a file to the grid's own conventions: an
// east-to-west grid's limits eastwards (eastWest), the steps in the unit of
// the node coordinates (steps), and longitudes beyond 360 degrees a turn back.
void Normaliser(GridHeader& header, bool eastWest, bool steps);

// A step of the grid (X_INC or Y_INC) in degrees, for comparing grids
// whatever the unit of their node coordinates.
double StepInDegrees(const GridHeader& header, double step);

// Whether the grid's columns go round the whole parallel (node coordinates
// in an angle unit, N_COLUMNS steps making a full turn): its last column is
// then followed by its first, and no point of the parallel is outside it.
bool WrapsLongitude(const GridHeader& header);
