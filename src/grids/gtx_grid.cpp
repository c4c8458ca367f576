// GTX vertical grids (".gtx"), as geoid models are published: a 40-byte
// big-endian header (latitude and longitude of the south-west node, latitude
// and longitude steps in degrees as doubles, then the row and column counts as
// 32-bit integers), followed by one big-endian single real per node, rows from
// the south, each row from the west. Longitudes run from -180 or from 0 to
// 360. The values are read in place from the file, like every binary grid.

#include <cmath>

#include "grids/grid_message.h"
#include "grids/grid_reader.h"
#include "grids/grid_rules.h"

namespace {

constexpr int64_t kGtxHeaderSize = 40;

}  // namespace

int Lire_EnTete_GTX(const GridBinaryFile& file, GridHeader& h, std::string& message,
                    UserInterface*) {
    unsigned char bytes[kGtxHeaderSize];
    if (!file.Read(0, bytes, sizeof bytes)) {
        message = GridMessage("En-tête GTX incomplet :\n%s\n(%lld octets au lieu de 40 au moins)",
                              h.NAME.c_str(), static_cast<long long>(file.Size()));
        return kHeaderRefused;
    }
    const double south = LoadReal8BE(bytes), west = LoadReal8BE(bytes + 8);
    const double latitudeStep = LoadReal8BE(bytes + 16), longitudeStep = LoadReal8BE(bytes + 24);
    const int32_t rows = LoadInt32BE(bytes + 32), columns = LoadInt32BE(bytes + 36);
    if (!std::isfinite(south) || !std::isfinite(west) || !std::isfinite(latitudeStep) ||
        !std::isfinite(longitudeStep) || rows < 2 || columns < 2) {
        message = GridMessage(
            "En-tête GTX non valide :\n%s\n(origine %g %g, pas %g %g, %d lignes, %d colonnes)",
            h.NAME.c_str(), south, west, latitudeStep, longitudeStep, rows, columns);
        return kHeaderRefused;
    }
    h.Y_MIN = south;
    h.X_MIN = west;
    h.Y_INC = latitudeStep;
    h.X_INC = longitudeStep;
    h.N_LINES = rows;
    h.N_COLUMNS = columns;
    h.Y_MAX = south + (rows - 1) * latitudeStep;
    h.X_MAX = west + (columns - 1) * longitudeStep;
    h.CountNodes();
    h.NODE_COORD_UNIT = h.INC_UNIT = UniteDegres;
    h.NODE_COORD_TYPE = CoordonneesLonLat;
    h.LAYOUT = SW2E2N;
    h.VALUES_NUMBER = 1;
    h.VALUES_TYPE = Real4;
    h.Taille_Valeur();
    h.VALUES_UNIT = UniteMetres;
    h.CODE_PREC = 0;
    h.NODE_COORD_WRITTEN = 0;
    h.VALUES_LOCATION = 0;
    h.EAST_TO_WEST = 0;
    h.TRANSLATION.assign(1, 0.0);
    // The format's own mark of a node without value, as its single real reads.
    h.VALUE_UNK = static_cast<double>(-88.8888f);
    // A published geoid is used as published: bilinear, unless an XML header
    // beside the file says otherwise.
    h.INTERPOLATION_TYPE = Bilineaire;
    h.bigEndian = true;
    h.firstRecordOffset = kGtxHeaderSize;
    return kHeaderRead;
}
