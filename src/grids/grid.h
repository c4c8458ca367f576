#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/records.h"
#include "grids/grid_binary_file.h"
#include "grids/grid_enums.h"
#include "grids/grid_header.h"
#include "grids/node_records.h"
#include "grids/node_source.h"

class GridProgress;
class GridReader;
class LoadProgress;
class NodeSink;
class UserInterface;

// Opening modes of Ouvrir.
enum OpenMode : int {
    ModeSurDisque = 0,  // values read from a binary file at each query (a text grid gets its cache)
    ModeEnMemoire = 1,  // values of a text grid loaded into memory
    ModeEnTete = 2,     // header only, no file left open
};

// A grid: its header, where its node values are (its binary file, read in
// place at each query, or its records in memory), and the queries on them.
// The return codes of the operations are listed in grids/grid_header.h.
//
// Calling order: construct, set header.NAME (and the folder it is relative
// to), Ouvrir, any number of Interpoler, Fermer, then Ouvrir again or
// destroy. One grid serves one query at a time.
class CGrille {
public:
    CGrille();
    CGrille(const CGrille&) = default;
    CGrille& operator=(const CGrille&) = default;
    virtual ~CGrille();

    GridHeader header;
    // The folder that header.NAME is relative to; empty: the current directory.
    std::string folder;
    bool loaded = false;  // values are available
    bool onDisk = false;  // values are read from the binary file at each query
    CZone zone;           // the grid's rectangle in decimal degrees, set by Ouvrir
    // Node records loaded into memory (when not onDisk).
    NodeRecords records;

    // ---- Operations ---------------------------------------------------
    // Opens the grid named header.NAME: format from the extension, the
    // format's header, the XML header, the check, then by mode the binary
    // cache, the values in memory, or nothing more. False with a French
    // message naming the problem. A text grid read node by node shows its
    // progress through `progress` (none when null); `ui` shows the keyword of
    // a binary file that is not a cache.
    bool Ouvrir(std::string& message, int mode, GridProgress* progress = nullptr,
                UserInterface* ui = nullptr);
    // Closes the grid's file and releases TRANSLATION and the values in
    // memory; the header and the loaded flag stay.
    void Fermer();
    // Loads every record of the binary grid header.NAME into memory, as
    // "Chargement de la grille". Empty on success, else a French message.
    std::string Charger_Binaire(GridProgress* progress = nullptr, UserInterface* ui = nullptr);

    // The path of the grid file: header.NAME in the folder.
    std::string Path() const;

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
    // own interpolation.
    int Interpoler(int unit, const double* point, double* values, int& code);
    // The same with an explicit mode word (bits 1 node value, 2 bilinear, 4 spline).
    // In a file of several sub-grids the one that SubGridAt gives answers;
    // at a point that none holds, the first of the top level within a step
    // of it, as a grid of one answers a step beyond its border.
    int Interpoler_Mode(int unit, const double* point, double* values, int& code, int mode);
    // A file of several sub-grids: the one that answers at a point (angle
    // unit `unit`), picked as PROJ picks it: the first sub-grid of the top
    // level, in file order, that holds the point (borders included, its
    // longitude as given or a turn away), then the first of its children
    // that holds it, and so down. -1 when none holds it, and for a file of
    // one grid, whose zone says where it answers.
    int SubGridAt(int unit, const double* point) const;
    // Whether sub-grid `sub` holds the point, up to a ten-thousandth of a
    // cell beyond its border (where its interpolation reads the border's
    // nodes, as PROJ's does).
    bool SubGridHolds(int sub, int unit, const double* point) const;
    // Values at a point from sub-grid `sub` alone, with the grid's own
    // interpolation, which takes the points up to a step beyond that
    // sub-grid's border; for sub -1 (or a file of one grid), Interpoler.
    int Interpoler_SousGrille(int sub, int unit, const double* point, double* values, int& code);
    // point[0], point[1] in the node-coordinate unit.
    int Interpoler_Bilineaire(const double* point, double* values, int& code);
    int Interpoler_Spline(int n, const double* point, double* values, int& code);

    bool BinaryFileOpen() const { return binary_ != nullptr || source_ != nullptr; }
    // Whether the binary file that values are read from is still the file
    // under its name, as it was opened (true when none is open).
    bool BinaryFileUnchanged() const {
        return (!binary_ || binary_->Unchanged()) && (!source_ || source_->Unchanged());
    }

private:
    // Work space of the queries, kept between them so that no query
    // allocates; never shared between grids.
    // A copy or an assignment starts with no cursor: the cursor is the
    // grid's own reader of a GeoTIFF source (it never serves two threads),
    // and an assigned grid may read another source.
    struct Scratch {
        std::vector<double> values;
        std::vector<unsigned char> record;
        std::unique_ptr<NodeSource::Cursor> cursor;
        Scratch() = default;
        Scratch(const Scratch&) {}
        Scratch& operator=(const Scratch&) {
            cursor.reset();
            return *this;
        }
    };

    // The nearest node, bilinear or spline by the mode word, at a point in
    // the node-coordinate unit.
    int Interpoler_Point(const double* point, double* values, int& code, int mode);
    // The same in sub-grid `sub`, whose lattice stands in for the header's
    // while it answers.
    int Interpoler_Lattice(int sub, double x, double y, double z, double* values, int& code,
                           int mode);
    // The opening itself; Ouvrir then sets the zone from the header.
    bool Ouvrir_Fichier(std::string& message, int mode, GridProgress* progress,
                        UserInterface* ui);
    // Opens the file named header.NAME with the reader of its format and
    // reads the format's header (see the results in grids/grid_header.h).
    int Lire_EnTete_Format(std::unique_ptr<GridReader>& reader, std::string& message,
                           UserInterface* ui);
    // Opens the file named header.NAME with the reader of its format and
    // reads its header, the XML header beside it and the check; the reader
    // stays open for the values. False with the message.
    bool Ouvrir_EnTete(std::string& message, std::unique_ptr<GridReader>& reader,
                       UserInterface* ui);
    // The values of the text grid that `reader` has read the header of: into
    // a new binary cache (mode 0, header.NAME then names the cache) or into
    // memory (mode 1). Empty on success, else a French message.
    std::string Charger_Valeurs(GridReader& reader, int mode, GridProgress* progress);
    // Reads every node record into memory with `read`, shown as "Chargement
    // de la grille". Empty on success; otherwise the message, and nothing held.
    std::string Charger_En_Memoire(
        const std::function<std::string(NodeSink&, LoadProgress&)>& read,
        GridProgress* progress);
    // The failed end of an opening: no file left open, the grid not loaded.
    void Echec();
    // The node record stored at s, from the file or from memory; null when
    // it cannot be read.
    const unsigned char* Record(int64_t s) const;
    // Makes sure the query work space holds at least n reals.
    double* WorkSpace(size_t n);
    void ValeursHorsGrille(double* values) const;

    std::shared_ptr<GridBinaryFile> binary_;  // read-only; shared by copies
    // Or the file whose records are decoded at each query (GeoTIFF).
    std::shared_ptr<NodeSource> source_;
    Scratch scratch_;
    mutable Scratch readScratch_;
};

// A vertical grid: the height of the vertical reference surface above the
// ellipsoid, one value per node.
class CGrille1D : public CGrille {};

// A translation grid: three (or seven) parameters of a similarity per node,
// or the four values of a shift grid.
class CGrille3D : public CGrille {};

// Sets the corners of zone to the rectangle of the grid, geographic, in
// decimal degrees; the zone's other fields stay.
void ZoneDeGrille(const GridHeader& header, CZone& zone);
