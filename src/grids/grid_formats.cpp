#include "grids/grid_formats.h"

#include "grids/geotiff_grid.h"
#include "grids/grid_file_name.h"
#include "grids/grid_message.h"

namespace {

struct GridFormat {
    int type;
    const char* lower;  // the extension, dot included
    const char* upper;
    TextGridReader::HeaderReading text;      // a text format's header reader, or
    BinaryGridReader::HeaderReading binary;  // a binary format's
};

// In the order the extensions are looked up: the big-endian NTv2 grid, named
// only by an XML header, comes after the little-endian one of the same
// extension.
const GridFormat kFormats[] = {
    {GrilleTextePlenar, ".mnt", ".MNT", Lire_EnTete_Natif, nullptr},
    {GrilleBinairePlenar, ".bin", ".BIN", nullptr, Lire_EnTete_Binaire},
    {GrilleGravsoft, ".gra", ".GRA", Lire_EnTete_Gravsoft, nullptr},
    {GrilleSurfer, ".grd", ".GRD", Lire_EnTete_Surfer, nullptr},
    // Read by a reader of its own, which lists the sub-grids.
    {GrilleNtv2Texte, ".gsa", ".GSA",
     [](GridTextFile& file, GridHeader& h, std::string& message) {
         return Lire_EnTete_NTV2_Texte(file, h, message);
     },
     nullptr},
    {GrilleNtv2Little, ".gsb", ".GSB", nullptr, Lire_EnTete_NTV2_Binaire},
    {GrilleEsri, ".asc", ".ASC", Lire_EnTete_ESRI, nullptr},
    {GrilleEgm, ".egm", ".EGM", Lire_EnTete_EGM, nullptr},
    {GrilleDis, ".dis", ".DIS", Lire_EnTete_DIS, nullptr},
    {GrilleNtv2Big, ".gsb", ".GSB", nullptr, Lire_EnTete_NTV2_Binaire},
    {GrilleGtx, ".gtx", ".GTX", nullptr, Lire_EnTete_GTX},
    // Read by a reader of its own (grids/geotiff_grid.h).
    {GrilleGeoTiff, ".tif", ".TIF", nullptr, nullptr},
    {GrilleGeoTiff, ".tiff", ".TIFF", nullptr, nullptr},
};

const GridFormat* FormatOf(int type) {
    for (const GridFormat& format : kFormats) {
        if (format.type == type) return &format;
    }
    return nullptr;
}

}  // namespace

void Type_Selon_Extension(GridHeader& h) {
    const std::string extension = SplitGridFileName(h.NAME).extension;
    h.GRID_TYPE = GrilleIndefinie;
    for (const GridFormat& format : kFormats) {
        if (extension == format.lower || extension == format.upper) {
            h.GRID_TYPE = format.type;
            break;
        }
    }
    if (h.GRID_TYPE == GrilleNtv2Little || h.GRID_TYPE == GrilleNtv2Big ||
        h.GRID_TYPE == GrilleNtv2Texte) {
        h.NODE_COORD_UNIT = h.INC_UNIT = UniteSecondes;
        h.EAST_TO_WEST = 1;
        h.VALUES_UNIT = UniteSecondes;
    } else {
        h.NODE_COORD_UNIT = h.INC_UNIT = UniteDegres;
        h.EAST_TO_WEST = 0;
        h.VALUES_UNIT = UniteMetres;
    }
}

void Extension_Selon_Type(GridHeader& h) {
    const GridFormat* format = FormatOf(h.GRID_TYPE);
    if (!format) return;
    h.NAME = SplitGridFileName(h.NAME).stem + format->lower;
}

bool IsBinaryFormat(int type) {
    const GridFormat* format = FormatOf(type);
    return format && format->binary;
}

std::unique_ptr<GridReader> OpenGridReader(const GridHeader& h, const std::string& path,
                                           UserInterface* ui, std::string& message) {
    const GridFormat* format = FormatOf(h.GRID_TYPE);
    if (!format) {
        message = GridMessage("Format de grille non pris en charge : %s\n(%s)",
                              kGridTypeNames.NameOf(h.GRID_TYPE), h.NAME.c_str());
        return nullptr;
    }
    std::unique_ptr<GridReader> reader;
    if (format->type == GrilleGeoTiff) {
        reader = OpenGeoTiffReader(path, h.NAME);
    } else if (format->type == GrilleNtv2Texte) {
        if (auto file = GridTextFile::Open(path))
            reader = std::make_unique<Ntv2TextReader>(std::move(file), h.NAME);
    } else if (format->binary) {
        if (auto file = GridBinaryFile::Open(path))
            reader = std::make_unique<BinaryGridReader>(std::move(file), format->binary, ui);
    } else if (auto file = GridTextFile::Open(path)) {
        reader = std::make_unique<TextGridReader>(std::move(file), format->text, h.NAME);
    }
    if (!reader) message = "Impossible d'ouvrir le fichier \n" + h.NAME;
    return reader;
}
