// Opening a grid: the format from the extension, the format's own header,
// the XML header beside the file, the normalisation and check of the header,
// and then, by mode, the binary cache, the values in memory or nothing more.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "grids/binary_cache.h"
#include "grids/grid.h"
#include "grids/grid_file_name.h"
#include "grids/grid_formats.h"
#include "grids/grid_message.h"
#include "grids/grid_progress.h"
#include "grids/grid_reader.h"
#include "grids/grid_rules.h"
#include "grids/xml_header.h"

namespace {

// The limits and steps that the normalisation changes.
struct Geometry {
    double xMin, xMax, xInc, yInc;
    explicit Geometry(const GridHeader& h)
        : xMin(h.X_MIN), xMax(h.X_MAX), xInc(h.X_INC), yInc(h.Y_INC) {}
};

// Whether the lattices and parents of two lists of sub-grids agree (where
// their records start aside).
bool SameSubGrids(const std::vector<SubGrid>& a, const std::vector<SubGrid>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const SubGrid& x, const SubGrid& y) {
                          return x.X_MIN == y.X_MIN && x.X_MAX == y.X_MAX && x.Y_MIN == y.Y_MIN &&
                                 x.Y_MAX == y.Y_MAX && x.X_INC == y.X_INC && x.Y_INC == y.Y_INC &&
                                 x.N_COLUMNS == y.N_COLUMNS && x.N_LINES == y.N_LINES &&
                                 x.depth == y.depth && x.parent == y.parent;
                      });
}

// Whether the cache that h.NAME names lists the sub-grids of `h`.
bool CacheListsSubGrids(const GridHeader& h, const std::string& path) {
    const auto file = GridBinaryFile::Open(path);
    if (!file) return false;
    GridHeader cache;
    cache.NAME = h.NAME;
    std::string ignored;
    return Lire_EnTete_Binaire(*file, cache, ignored, nullptr) == kHeaderRead &&
           SameSubGrids(cache.subGrids, h.subGrids);
}

bool FileExists(const std::string& path, const char* mode) {
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f) return false;
    std::fclose(f);
    return true;
}

std::string HeaderProblem(const std::string& name, int position) {
    return GridMessage("Problème dans l'en-tête de\n%s (position %d)", name.c_str(), position);
}

// Node records kept in the grid's memory.
class MemorySink final : public NodeSink {
public:
    explicit MemorySink(NodeRecords& records) : records_(records) {}
    bool Take(const unsigned char* record) override {
        records_.Append(record);
        return true;
    }
    std::string Failure() const override { return ""; }

private:
    NodeRecords& records_;
};

}  // namespace

void CGrille::Echec() {
    binary_.reset();
    source_.reset();
    readScratch_.cursor.reset();
    loaded = false;
}

int CGrille::Lire_EnTete_Format(std::unique_ptr<GridReader>& reader, std::string& message,
                                UserInterface* ui) {
    header.bigEndian = false;  // only an NTv2 binary file says otherwise
    // Only an NTv2 binary file or a GeoTIFF of several sub-grids has them.
    header.subGrids.clear();
    header.image = 0;
    reader = OpenGridReader(header, Path(), ui, message);
    if (!reader) return kHeaderRefused;
    const int read = reader->Lire_EnTete(header, message);
    // A binary grid's values are read in place: they are there once its
    // header is.
    if (read == kHeaderRead && (reader->BinaryFile() || reader->Source())) loaded = onDisk = true;
    return read;
}

bool CGrille::Ouvrir_EnTete(std::string& message, std::unique_ptr<GridReader>& reader,
                            UserInterface* ui) {
    message.clear();
    binary_.reset();
    source_.reset();
    readScratch_.cursor.reset();
    GridHeader& h = header;
    if (h.NAME.empty()) {
        message = "Le nom du fichier de grille n'est pas initialisé";
        return false;
    }
    if (!FileExists(Path(), "r")) {
        message = "Impossible d'ouvrir le fichier \n" + h.NAME;
        return false;
    }
    Type_Selon_Extension(h);
    loaded = false;
    if (h.GRID_TYPE < GrilleTextePlenar || h.GRID_TYPE > GrilleGeoTiff) {
        message = "TypeGrille non initialisé";
        return false;
    }

    const int read = Lire_EnTete_Format(reader, message, ui);
    if (read != kHeaderRead) {
        if (read != kHeaderRefused) message = HeaderProblem(h.NAME, read);
        Echec();
        return false;
    }
    binary_ = reader->BinaryFile();
    source_ = reader->Source();

    // A binary cache holds its limits and steps already normalised: only what
    // the XML header changes of them is normalised again.
    const bool cache = h.GRID_TYPE == GrilleBinairePlenar;
    const Geometry before(h);
    const std::string xmlFailure = Lire_Xml(h, "", folder);
    const bool xmlRead = xmlFailure.empty();
    if (cache) {
        const Geometry after(h);
        Normaliser(h, after.xMin != before.xMin || after.xMax != before.xMax,
                   after.xInc != before.xInc || after.yInc != before.yInc);
    }
    message = h.Verifier(!cache);
    if (!message.empty()) {
        // An XML header that is there but cannot be read is named: the
        // check lines alone would send the user to the grid's own header.
        std::error_code ignored;
        if (xmlRead) {
            message += "\n(cf fichier XML le cas échéant)";
        } else if (std::filesystem::exists(GridPath(folder, XmlHeaderName(h.NAME)), ignored)) {
            message += "\n" + xmlFailure;
        }
        Echec();
        return false;
    }
    // Whatever type the XML header gives, a file read as binary must hold
    // every record its header announces.
    if (IsBinaryFormat(h.GRID_TYPE) || binary_) {
        message = VerifierTailleBinaire(binary_.get(), h);
        if (!message.empty()) {
            Echec();
            return false;
        }
    }
    return true;
}

bool CGrille::Ouvrir(std::string& message, int mode, GridProgress* progress, UserInterface* ui) {
    const bool opened = Ouvrir_Fichier(message, mode, progress, ui);
    ZoneDeGrille(header, zone);
    return opened;
}

bool CGrille::Ouvrir_Fichier(std::string& message, int mode, GridProgress* progress,
                             UserInterface* ui) {
    std::unique_ptr<GridReader> reader;
    if (!Ouvrir_EnTete(message, reader, ui)) return false;
    if (mode == ModeEnTete) {
        binary_.reset();
        source_.reset();
        readScratch_.cursor.reset();
        return true;
    }
    if (!loaded) {
        message = Charger_Valeurs(*reader, mode, progress);
        if (!message.empty()) {
            Echec();
            return false;
        }
        // The cache now exists: it is read like any binary grid, kept open.
        if (mode == ModeSurDisque && !Ouvrir_EnTete(message, reader, ui)) return false;
    }

    // Values read from the binary file at each query: the work space of the
    // queries is made now rather than at the first one.
    if (binary_ && !binary_->Mapped())
        readScratch_.record.resize(static_cast<size_t>(header.RecordSize()));
    const size_t order =
        static_cast<size_t>(header.INTERPOLATION_ORDER > 4 ? header.INTERPOLATION_ORDER : 4);
    const size_t n = static_cast<size_t>(header.VALUES_NUMBER);
    if (order <= 64) WorkSpace(std::max(4 * n, order * order * n + 4 * order));
    return true;
}

std::string CGrille::Charger_Valeurs(GridReader& reader, int mode, GridProgress* progress) {
    GridHeader& h = header;
    if (mode == ModeSurDisque) {
        onDisk = true;
        h.GRID_TYPE = GrilleBinairePlenar;
        Extension_Selon_Type(h);
        // Only the existence of the cache is tested: once made, it is used as
        // it is. A text file of several sub-grids also needs a cache that
        // lists the same sub-grids under the same parents: one of its first
        // sub-grid alone, as earlier versions wrote, would answer everywhere
        // with its shifts, and one whose parents differ would descend into
        // other children.
        if (FileExists(Path(), "rb") && (h.subGrids.size() <= 1 || CacheListsSubGrids(h, Path())))
            return "";
    } else {
        onDisk = false;
    }
    const int64_t nodes = h.StoredNodeCount();
    if (nodes <= 0 || h.VALUES_NUMBER < 1 || h.VALUES_TYPE < Integer2 || h.VALUES_TYPE > Real8 ||
        (!h.SEP && h.valueSize <= 0))
        return HeaderProblem(h.NAME, 0);
    if (mode == ModeSurDisque) return Ecrire_Cache(h, reader, Path(), progress);

    const std::string failure = Charger_En_Memoire(
        [&](NodeSink& sink, LoadProgress& shown) { return reader.Lire_Noeuds(h, sink, shown); },
        progress);
    if (failure.empty()) loaded = true;
    return failure;
}

std::string CGrille::Charger_En_Memoire(
    const std::function<std::string(NodeSink&, LoadProgress&)>& read, GridProgress* progress) {
    const GridHeader& h = header;
    const int64_t nodes = h.StoredNodeCount();
    if (!records.Reserve(nodes, h.RecordSize()))
        return "Mémoire insuffisante pour charger la grille\n" + h.NAME;
    MemorySink sink(records);
    LoadProgress shown(progress, "Chargement de la grille ", h.NAME, nodes,
                       "Chargement de la grille " + h.NAME + " annulé");
    const std::string failure = read(sink, shown);
    shown.Finish();
    if (!failure.empty()) records.Clear();
    return failure;
}

std::string CGrille::Charger_Binaire(GridProgress* progress, UserInterface* ui) {
    GridHeader& h = header;
    binary_ = GridBinaryFile::Open(Path());
    if (!binary_) return "Impossible d'ouvrir le fichier\n" + h.NAME;
    Type_Selon_Extension(h);
    std::string message;
    std::unique_ptr<GridReader> reader;
    const int read = Lire_EnTete_Format(reader, message, ui);
    if (read != kHeaderRead) {
        binary_.reset();
        if (read != kHeaderRefused) message = HeaderProblem(h.NAME, read);
        return message;
    }
    reader.reset();
    // The limits eastwards and the steps in the unit of the nodes, as an
    // opening leaves them (a cache holds them so already).
    Normaliser(h, true, true);
    message = VerifierTailleBinaire(binary_.get(), h);
    if (!message.empty()) {
        binary_.reset();
        return message;
    }

    message = Charger_En_Memoire(
        [&](NodeSink& sink, LoadProgress& shown) {
            return LireNoeudsBinaires(*binary_, h, sink, shown);
        },
        progress);
    binary_.reset();
    if (!message.empty()) {
        loaded = false;
        return message;
    }
    // In memory the sub-grids' records follow one another, without the
    // headers between them in the file.
    int64_t at = h.firstRecordOffset;
    for (SubGrid& sub : h.subGrids) {
        sub.firstRecordOffset = at;
        at += static_cast<int64_t>(sub.N_COLUMNS) * sub.N_LINES * h.RecordSize();
    }
    loaded = true;
    onDisk = false;
    return "";
}

void ZoneDeGrille(const GridHeader& h, CZone& zone) {
    zone.unit = DecimalDegree;
    zone.southWest.longitude = ConvertUnit(h.X_MIN, h.NODE_COORD_UNIT, UniteDegres);
    zone.southWest.latitude = ConvertUnit(h.Y_MIN, h.NODE_COORD_UNIT, UniteDegres);
    zone.northEast.longitude = ConvertUnit(h.X_MAX, h.NODE_COORD_UNIT, UniteDegres);
    zone.northEast.latitude = ConvertUnit(h.Y_MAX, h.NODE_COORD_UNIT, UniteDegres);
    // A file of several sub-grids covers them all.
    for (const SubGrid& sub : h.subGrids) {
        zone.southWest.longitude = std::min(zone.southWest.longitude,
                                            ConvertUnit(sub.X_MIN, h.NODE_COORD_UNIT, UniteDegres));
        zone.southWest.latitude = std::min(zone.southWest.latitude,
                                           ConvertUnit(sub.Y_MIN, h.NODE_COORD_UNIT, UniteDegres));
        zone.northEast.longitude = std::max(zone.northEast.longitude,
                                            ConvertUnit(sub.X_MAX, h.NODE_COORD_UNIT, UniteDegres));
        zone.northEast.latitude = std::max(zone.northEast.latitude,
                                           ConvertUnit(sub.Y_MAX, h.NODE_COORD_UNIT, UniteDegres));
    }
    // A grid round the whole parallel covers it up to its first column again.
    if (WrapsLongitude(h)) zone.northEast.longitude = zone.southWest.longitude + 360;
}
