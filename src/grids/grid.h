#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/records.h"
#include "grids/grid_binary_file.h"
#include "grids/grid_enums.h"
#include "grids/grid_text_file.h"

class UserInterface;

// The check refuses more values per node than this: no grid has them, and
// the readers need not make room for a nonsensical count.
constexpr int kMostValuesPerNode = 1000;

// Opening modes of Ouvrir.
enum OpenMode : int {
    ModeSurDisque = 0,  // values read from a binary file at each query (a text grid gets its cache)
    ModeEnMemoire = 1,  // values of a text grid loaded into memory
    ModeEnTete = 2,     // header only, no file left open
};

// A regular lattice of nodes over a rectangle of longitudes and latitudes (or
// eastings and northings), each node carrying VALUES_NUMBER values and
// optionally a precision code. The header fields bear the names of their
// elements in the XML grid header. Text fields hold UTF-8.
//
// Calling order: construct, set NAME, Ouvrir, any number of Interpoler,
// Fermer, then Ouvrir again or destroy. One grid serves one query at a time.
class CGrille {
public:
    CGrille();
    CGrille(const CGrille&) = default;
    CGrille& operator=(const CGrille&) = default;
    virtual ~CGrille();

    // ---- Header -------------------------------------------------------
    int GRID_TYPE = GrilleIndefinie;  // TypeGrille
    // The grid's file name, relative to the current directory (the grid
    // directory, which the caller makes current).
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

    // ---- Values -------------------------------------------------------
    int64_t firstRecordOffset = 0;  // byte offset of the first node record in the binary file
    bool loaded = false;            // values are available
    bool onDisk = false;            // values are read from the binary file at each query
    bool bigEndian = false;         // the binary file stores its numbers big-endian (NTv2 type 6)
    // Node values in storage order, node after node; only the array of
    // VALUES_TYPE is used.
    std::vector<int16_t> values16;
    std::vector<int32_t> values32;
    std::vector<float> valuesReal4;
    std::vector<double> valuesReal8;
    std::vector<int32_t> codes;  // precision code of each node, when CODE_PREC is set

    // ---- Operations ---------------------------------------------------
    // Opens the grid named NAME: format from the extension, the format's
    // header, the XML header, the check, then by mode the binary cache, the
    // values in memory, or nothing more. False with a French message naming
    // the problem. Progress goes to standard output when console is set,
    // otherwise to a progress window of ui (none when ui is null).
    virtual bool Ouvrir(std::string& message, bool console, int mode, UserInterface* ui = nullptr);
    // Closes the grid's files and releases TRANSLATION and the value
    // storage; the header and the loaded flag stay.
    void Fermer();

    // Normalises the header (when asked) and checks it; the check lines,
    // prefixed by the file name, or empty when the header is sound.
    std::string Verifier(bool normalise);
    // GRID_TYPE and the default units from the file-name extension.
    void Type_Selon_Extension();
    // Gives NAME the extension of GRID_TYPE.
    void Extension_Selon_Type();
    // Value size from VALUES_TYPE (unchanged for an undefined type).
    void Taille_Valeur();

    // Values of node (c, l) as reals and its precision code; zeros and code
    // 0 outside the grid or when the node cannot be read.
    void Lire_Noeud(int c, int l, double* values, int& code) const;
    // The angular deviations (radians) that a precision class means at a
    // latitude (radians) on the departure ellipsoid (MAJOR_F, SQ_EXC_F), and
    // back: the class of the deviations' metric size.
    void Precision_Vers_Ecarts(int code, double latitude, double& dlon, double& dlat) const;
    void Ecarts_Vers_Precision(int& code, double latitude, double dlon, double dlat) const;
    // Column, line and coordinates (third one 0) of the node stored at s.
    void Position_Noeud(int64_t s, double* point, int& c, int& l) const;

    // Values at a point whose longitude and latitude are in the angle unit
    // `unit` (GridUnit: 2 seconds, 3 degrees, 4 radians), with the grid's
    // own interpolation. 0 inside, 2 outside the grid, -1 for no interpolation.
    int Interpoler(int unit, const double* point, double* values, int& code);
    // The same with an explicit mode word (bits 1 node value, 2 bilinear, 4 spline).
    int Interpoler_Mode(int unit, const double* point, double* values, int& code, int mode);
    // point[0], point[1] in the node-coordinate unit; 0 inside, 2 outside.
    int Interpoler_Bilineaire(const double* point, double* values, int& code);
    int Interpoler_Spline(int n, const double* point, double* values, int& code);

    // Native text grid: the header line; -10 when read, -1 with a message,
    // otherwise the position in the line where reading stopped.
    int Lire_EnTete_Texte(const std::string& line, std::string& message);
    // Reads the values of the open text grid into memory (mode 1) or into a
    // new binary cache (mode 0). Empty on success, else a French message.
    std::string Charger_Valeurs(bool console, int mode, UserInterface* ui = nullptr);
    // Binary cache header, written to cache and left at the first record.
    bool Ecrire_EnTete_Binaire(std::FILE* cache);
    // Binary cache header from the open binary file: -10 when read, 2 when
    // the file does not start with "GRID", -1 with a message.
    int Lire_EnTete_Binaire(std::string& message, UserInterface* ui = nullptr);
    // NTv2 headers, binary (either byte order, told by the file itself) and
    // text; only the first sub-grid is used. -10 when read, -1 with a
    // message, or (text) the position in a header line where reading stopped.
    int Lire_EnTete_NTV2_Binaire(std::string& message);
    int Lire_EnTete_NTV2_Texte(std::string& message);
    // Headers of the other text formats, same convention.
    int Lire_EnTete_ESRI(std::string& message);
    int Lire_EnTete_Gravsoft(std::string& message);
    int Lire_EnTete_Surfer(std::string& message);
    int Lire_EnTete_EGM(std::string& message);
    int Lire_EnTete_DIS(std::string& message);
    // Loads every record of a binary grid into memory. Empty on success.
    std::string Charger_Binaire(bool console, UserInterface* ui = nullptr);

    // The XML header, with names for every enumeration; an empty path means
    // the grid's own XML header beside its file.
    void Ecrire_Xml(const std::string& path) const;
    // The older numeric form of the XML header.
    void Ecrire_Xml_Numerique(const std::string& path) const;

    // ---- Sizes and files ----------------------------------------------
    int64_t NodeCount() const { return static_cast<int64_t>(N_COLUMNS) * N_LINES; }
    // Bytes of one node record in a binary file.
    int64_t RecordSize() const;
    bool TextFileOpen() const { return text_.file != nullptr; }
    bool BinaryFileOpen() const { return binary_ != nullptr; }
    // Whether the binary file that values are read from is still the file
    // under its name, as it was opened (true when none is open).
    bool BinaryFileUnchanged() const { return !binary_ || binary_->Unchanged(); }

protected:
    // Work space of the queries, kept between them so that no query
    // allocates; never shared between grids.
    struct Scratch {
        std::vector<double> values;
        std::vector<unsigned char> record;
        Scratch() = default;
        Scratch(const Scratch&) {}
        Scratch& operator=(const Scratch&) { return *this; }
    };
    // The text file is read during Ouvrir only; a copy never takes it.
    struct TextSlot {
        std::unique_ptr<GridTextFile> file;
        TextSlot() = default;
        TextSlot(const TextSlot&) {}
        TextSlot& operator=(const TextSlot&) {
            file.reset();
            return *this;
        }
    };

    // The format's header reader on the files opened for it; the result
    // follows the readers' convention (-10, -1 with message, or a position).
    int Lire_EnTete_Format(std::string& message, UserInterface* ui);
    // Checks that the open binary file holds every record its header announces.
    std::string VerifierTailleBinaire() const;
    // The layout every native grid and its cache share: node counts from the
    // limits and increments, degrees, values at the nodes, west to east, in
    // metres; then the value size of VALUES_TYPE.
    void NativeLayout();
    // Makes sure the query work space holds at least n reals.
    double* WorkSpace(size_t n);
    void FermerFichiers();
    // Value and code arrays for `nodes` nodes of VALUES_NUMBER values of
    // VALUES_TYPE; false (and nothing held) when memory is short.
    bool AllouerValeurs(int64_t nodes);
    void LibererValeurs();
    void ValeursHorsGrille(double* values) const;

    TextSlot text_;
    std::shared_ptr<GridBinaryFile> binary_;  // read-only; shared by copies
    Scratch scratch_;
    mutable Scratch readScratch_;
};

// Node records of the two kinds of grid.
struct CNoeud1D {
    int32_t code = 0;
    int32_t valeur = 0;
};
struct CNoeud3D {
    int32_t code = 0;
    double valeurs[3] = {0, 0, 0};
};

// A vertical grid: the height of the vertical reference surface above the
// ellipsoid, one value per node.
class CGrille1D : public CGrille {
public:
    CZone zone;  // the grid's rectangle in decimal degrees, set by Ouvrir
    std::vector<CNoeud1D> noeuds;
    bool Ouvrir(std::string& message, bool console, int mode, UserInterface* ui = nullptr) override;
};

// A translation grid: three (or seven) parameters of a similarity per node.
class CGrille3D : public CGrille {
public:
    CZone zone;  // the grid's rectangle in decimal degrees, set by Ouvrir
    std::vector<CNoeud3D> noeuds;
    bool Ouvrir(std::string& message, bool console, int mode, UserInterface* ui = nullptr) override;
};

// Sets the corners of zone to the rectangle of the grid, geographic, in
// decimal degrees; the zone's other fields stay.
void ZoneDeGrille(const CGrille& grid, CZone& zone);
