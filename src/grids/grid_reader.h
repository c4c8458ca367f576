#pragma once

#include <memory>
#include <string>
#include <vector>

#include "grids/grid_binary_file.h"
#include "grids/grid_header.h"
#include "grids/grid_text_file.h"

class LoadProgress;
class NodeSource;
class UserInterface;

// Takes the node records of a grid in storage order, each laid out as the
// binary cache lays it out: the values, then the precision code when the
// grid has one (little-endian, or as the binary file stores them).
class NodeSink {
public:
    virtual ~NodeSink() = default;
    // False when the record cannot be taken; the reading then stops with Failure().
    virtual bool Take(const unsigned char* record) = 0;
    virtual std::string Failure() const = 0;
};

// The reading of one open grid file in its format: first its header, then
// its node records. The formats (grids/grid_formats.h) open one for a file
// name; the grid's opening drives it.
class GridReader {
public:
    virtual ~GridReader() = default;
    // The format's header, read into `header`, which already holds what the
    // file name told (type, default units). kHeaderRead, kHeaderRefused with
    // the message, or the position where reading stopped.
    virtual int Lire_EnTete(GridHeader& header, std::string& message) = 0;
    // Every node record of the file, in storage order, into `sink`, counted
    // by `progress`: empty, or the message that stopped the reading.
    virtual std::string Lire_Noeuds(const GridHeader& header, NodeSink& sink,
                                    LoadProgress& progress) = 0;
    // The file that queries can read node records from in place; null for a
    // text format, whose values need a binary cache or memory.
    virtual std::shared_ptr<GridBinaryFile> BinaryFile() const { return nullptr; }
    // The records that queries decode on demand from a file that cannot be
    // read in place (GeoTIFF); null for the other formats.
    virtual std::shared_ptr<NodeSource> Source() const { return nullptr; }
};

// A text grid: the header of its format, then node values in free format or
// fixed widths, converted into records. `name` is the file name that the
// messages give.
class TextGridReader final : public GridReader {
public:
    using HeaderReading = int (*)(GridTextFile& file, GridHeader& header, std::string& message);
    TextGridReader(std::unique_ptr<GridTextFile> file, HeaderReading header, std::string name)
        : file_(std::move(file)), header_(header), name_(std::move(name)) {}
    int Lire_EnTete(GridHeader& header, std::string& message) override {
        return header_(*file_, header, message);
    }
    std::string Lire_Noeuds(const GridHeader& header, NodeSink& sink,
                            LoadProgress& progress) override;

private:
    std::unique_ptr<GridTextFile> file_;
    HeaderReading header_;
    std::string name_;
};

// `nodes` node records of a text grid from where `text` stands, read as the
// header lays them out, into `sink`; empty, or the message naming `name`.
std::string LireNoeudsTexte(GridTextFile& text, const GridHeader& header, int64_t nodes,
                            const std::string& name, NodeSink& sink, LoadProgress& progress);

// A text NTv2 file (".gsa"): its header, with every sub-grid of a file that
// holds several (the whole file is read through to list them), then the
// node records of every sub-grid in file order. `name` is the file name
// that the messages give.
class Ntv2TextReader final : public GridReader {
public:
    Ntv2TextReader(std::unique_ptr<GridTextFile> file, std::string name)
        : file_(std::move(file)), name_(std::move(name)) {}
    int Lire_EnTete(GridHeader& header, std::string& message) override;
    std::string Lire_Noeuds(const GridHeader& header, NodeSink& sink,
                            LoadProgress& progress) override;

private:
    std::unique_ptr<GridTextFile> file_;
    std::string name_;
    // Where the node lines of each sub-grid start in the text.
    std::vector<int64_t> valueStarts_;
};

// A binary grid: the header of its format, then node records read in place.
class BinaryGridReader final : public GridReader {
public:
    using HeaderReading = int (*)(const GridBinaryFile& file, GridHeader& header,
                                  std::string& message, UserInterface* ui);
    BinaryGridReader(std::shared_ptr<GridBinaryFile> file, HeaderReading header, UserInterface* ui)
        : file_(std::move(file)), header_(header), ui_(ui) {}
    int Lire_EnTete(GridHeader& header, std::string& message) override {
        return header_(*file_, header, message, ui_);
    }
    std::string Lire_Noeuds(const GridHeader& header, NodeSink& sink,
                            LoadProgress& progress) override;
    std::shared_ptr<GridBinaryFile> BinaryFile() const override { return file_; }

private:
    std::shared_ptr<GridBinaryFile> file_;
    HeaderReading header_;
    UserInterface* ui_;
};

// The node records of a binary file in storage order into `sink`.
std::string LireNoeudsBinaires(const GridBinaryFile& file, const GridHeader& header,
                               NodeSink& sink, LoadProgress& progress);

// Checks that a binary file holds every record its header announces: empty,
// or the message (the file name as the header gives it).
std::string VerifierTailleBinaire(const GridBinaryFile* file, const GridHeader& header);

// The header readers of the formats, one each; results as in grid_header.h.
// The system's own text grid (".mnt"): its one header line, and that line
// read from the file.
int Lire_EnTete_Texte(GridHeader& header, const std::string& line, std::string& message);
int Lire_EnTete_Natif(GridTextFile& file, GridHeader& header, std::string& message);
// The binary cache (".bin"); the user is shown the keyword of a file that
// does not start with "GRID".
int Lire_EnTete_Binaire(const GridBinaryFile& file, GridHeader& header, std::string& message,
                        UserInterface* ui);
// NTv2, binary (either byte order, told by the file itself) and text; a
// file of several sub-grids lists them all in header.subGrids. The text
// reading stands at the first sub-grid's node lines; `valueStarts` takes
// where each sub-grid's node lines start (the whole file read through) when
// there are several.
int Lire_EnTete_NTV2_Binaire(const GridBinaryFile& file, GridHeader& header, std::string& message,
                             UserInterface* ui);
int Lire_EnTete_NTV2_Texte(GridTextFile& file, GridHeader& header, std::string& message,
                           std::vector<int64_t>* valueStarts = nullptr);
// The one-value text formats of other software.
int Lire_EnTete_ESRI(GridTextFile& file, GridHeader& header, std::string& message);
int Lire_EnTete_Gravsoft(GridTextFile& file, GridHeader& header, std::string& message);
int Lire_EnTete_Surfer(GridTextFile& file, GridHeader& header, std::string& message);
int Lire_EnTete_EGM(GridTextFile& file, GridHeader& header, std::string& message);
int Lire_EnTete_DIS(GridTextFile& file, GridHeader& header, std::string& message);
// GTX vertical grids, big-endian, read in place.
int Lire_EnTete_GTX(const GridBinaryFile& file, GridHeader& header, std::string& message,
                    UserInterface* ui);
