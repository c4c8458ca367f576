// Text grids produced by other software, one value per node: ESRI ascii
// grids (".asc"), Gravsoft (".gra"), Surfer ascii (".grd"), EGM2008
// sub-grids (".egm") and DIS (".dis"). Each reader fills the header from the
// open text file; the values that follow are read like those of any text grid. A
// header that ends with the file is a header problem, never a wait for more.

#include "shared/text_encoding.h"
#include "grids/grid_reader.h"
#include "grids/grid_rules.h"
#include "grids/header_tokenizer.h"

namespace {

constexpr size_t kHeaderLineRoom = 259;
constexpr size_t kDisLineRoom = 2599;
// The keyword of an ESRI header line is its first word, at most this long.
constexpr size_t kEsriKeywordRoom = 14;

// What every one-value format sets, then its node counts and units.
void SetSingleValue(GridHeader& g, int layout, int valuesType) {
    g.VALUES_NUMBER = 1;
    g.TRANSLATION.assign(1, 0.0);
    g.VALUES_UNIT = UniteMetres;
    g.NODE_COORD_WRITTEN = 0;
    g.CODE_PREC = 0;
    g.VALUES_LOCATION = 0;
    g.EAST_TO_WEST = 0;
    g.LAYOUT = layout;
    g.VALUES_TYPE = valuesType;
    g.Taille_Valeur();
}

void SetDegrees(GridHeader& g) {
    g.NODE_COORD_UNIT = g.INC_UNIT = UniteDegres;
}

// The position reported for a header that a free-format reader could not
// read: the byte where reading stopped, at least 1.
int StopPosition(const GridTextFile& file) {
    const int64_t at = file.Offset();
    return at < 1 ? 1 : at > INT32_MAX ? INT32_MAX : static_cast<int>(at);
}

}  // namespace

int Lire_EnTete_ESRI(GridTextFile& file, GridHeader& h, std::string& message) {
    int32_t ncols = 0, nrows = 0, nodata = 0;
    double xll = 0, yll = 0, cellsize = 0;
    std::string line, token;
    for (;;) {
        // A header that never reaches NODATA_value ends with the file.
        if (!file.ReadLine(line, kHeaderLineRoom)) return StopPosition(file);
        const size_t start = line.find_first_not_of(' ');
        if (start != 0) continue;  // no keyword at the start of the line
        size_t end = line.find_first_of(" \t\r\n");
        if (end == std::string::npos) end = line.size();
        const std::string keyword = line.substr(0, std::min(end, kEsriKeywordRoom));
        const bool isInteger =
            keyword == "ncols" || keyword == "nrows" || keyword == "NODATA_value";
        const bool isReal =
            keyword == "xllcorner" || keyword == "yllcorner" || keyword == "cellsize";
        if (!isInteger && !isReal) continue;
        // The value follows the keyword; writers align it at the fifteenth
        // character or one before, so it is read from the end of the keyword.
        int position = static_cast<int>(keyword.size());
        const int r =
            Lire_Champ(' ', line, position, token, isInteger ? ChampKind::Entier : ChampKind::Reel);
        if (r < 0) {
            message = token;
            return kHeaderRefused;
        }
        if (r != 2 || token.empty()) return position < 1 ? 1 : position;
        if (keyword == "ncols") ncols = TokenInteger(token);
        if (keyword == "nrows") nrows = TokenInteger(token);
        if (keyword == "xllcorner") xll = TokenReal(token);
        if (keyword == "yllcorner") yll = TokenReal(token);
        if (keyword == "cellsize") cellsize = TokenReal(token);
        if (keyword == "NODATA_value") {
            nodata = TokenInteger(token);
            break;
        }
    }
    h.N_COLUMNS = ncols;
    h.N_LINES = nrows;
    // The nodes are the centres of the cells.
    h.X_MIN = xll + cellsize / 2;
    h.Y_MIN = yll + cellsize / 2;
    h.X_INC = h.Y_INC = cellsize;
    h.X_MAX = h.X_MIN + cellsize * (ncols - 1);
    h.Y_MAX = h.Y_MIN + cellsize * (nrows - 1);
    h.VALUE_UNK = nodata;
    h.CountNodes();
    SetDegrees(h);
    SetSingleValue(h, NW2E2S, Integer2);
    return kHeaderRead;
}

int Lire_EnTete_Gravsoft(GridTextFile& file, GridHeader& h, std::string& /*message*/) {
    for (double* field : {&h.Y_MIN, &h.Y_MAX, &h.X_MIN, &h.X_MAX, &h.Y_INC, &h.X_INC}) {
        if (file.ReadReal8(*field) != GridTextFile::Lecture::Ok) return StopPosition(file);
    }
    h.CountsFromLimits();
    SetDegrees(h);
    SetSingleValue(h, NW2E2S, Real8);
    return kHeaderRead;
}

int Lire_EnTete_Surfer(GridTextFile& file, GridHeader& h, std::string& /*message*/) {
    using Lecture = GridTextFile::Lecture;
    std::string tag;
    double range = 0;
    if (file.ReadWord(tag) != Lecture::Ok || file.ReadInt32(h.N_COLUMNS) != Lecture::Ok ||
        file.ReadInt32(h.N_LINES) != Lecture::Ok)
        return StopPosition(file);
    for (double* field : {&h.X_MIN, &h.X_MAX, &h.Y_MIN, &h.Y_MAX, &range, &range}) {
        if (file.ReadReal8(*field) != Lecture::Ok) return StopPosition(file);
    }
    // A grid of one column or one line has no step: a header problem.
    if (h.N_COLUMNS < 2 || h.N_LINES < 2) return StopPosition(file);
    h.X_INC = (h.X_MAX - h.X_MIN) / (h.N_COLUMNS - 1);
    h.Y_INC = (h.Y_MAX - h.Y_MIN) / (h.N_LINES - 1);
    h.CountNodes();
    SetDegrees(h);
    SetSingleValue(h, SW2E2N, Real8);
    return kHeaderRead;
}

int Lire_EnTete_EGM(GridTextFile& file, GridHeader& h, std::string& /*message*/) {
    using Lecture = GridTextFile::Lecture;
    for (double* field : {&h.Y_MAX, &h.X_MIN, &h.Y_INC, &h.X_INC}) {
        if (file.ReadReal8(*field) != Lecture::Ok) return StopPosition(file);
    }
    if (file.ReadInt32(h.N_LINES) != Lecture::Ok || file.ReadInt32(h.N_COLUMNS) != Lecture::Ok)
        return StopPosition(file);
    // Steps in minutes of arc.
    h.X_INC /= 60;
    h.Y_INC /= 60;
    h.X_MAX = (h.N_COLUMNS - 1) * h.X_INC + h.X_MIN;
    h.Y_MIN = h.Y_MAX - (h.N_LINES - 1) * h.Y_INC;
    h.CountNodes();
    SetDegrees(h);
    SetSingleValue(h, NW2E2S, Real8);
    return kHeaderRead;
}

int Lire_EnTete_DIS(GridTextFile& file, GridHeader& h, std::string& message) {
    std::string line, token;
    if (!file.ReadLine(line, kDisLineRoom)) return StopPosition(file);
    int position = 0;
    // Reads the next field; 0 when read, else the reader's result (-1 with
    // the message, or the position where the line ended too early).
    auto next = [&](ChampKind kind, bool last = false) {
        const int r = Lire_Champ(' ', line, position, token, kind);
        if (r < 0) {
            message = token;
            return kHeaderRefused;
        }
        if (r == 2 && !last) return position < 1 ? 1 : position;
        return 0;
    };
    auto real = [&] { return TokenReal(token); };

    if (const int r = next(ChampKind::Chaine); r != 0) return r;
    if (token != "ORTH") {
        message = "Mot-clé ORTH non trouvé";
        return kHeaderRefused;
    }
    double corners[8];
    for (double& c : corners) {
        if (const int r = next(ChampKind::Reel); r != 0) return r;
        c = real();
    }
    const double x1 = corners[0], y1 = corners[1], x2 = corners[2], y2 = corners[3];
    const double x3 = corners[4], y3 = corners[5], x4 = corners[6], y4 = corners[7];
    if (x3 != x1 || y2 != y1 || x4 != x2 || y4 != y3) {
        message = "Grille non orthogonale";
        return kHeaderRefused;
    }
    h.X_MIN = x1;
    h.X_MAX = x2;
    h.Y_MIN = y3;
    h.Y_MAX = y1;

    if (const int r = next(ChampKind::Reel); r != 0) return r;
    h.X_INC = real();
    if (const int r = next(ChampKind::ReelForce); r != 0) return r;
    h.Y_INC = real();
    if (const int r = next(ChampKind::Chaine); r != 0) return r;
    if (token == "METRES") h.NODE_COORD_UNIT = h.INC_UNIT = UniteMetres;

    if (const int r = next(ChampKind::Entier); r != 0) return r;
    h.N_COLUMNS = TokenInteger(token);
    if (const int r = next(ChampKind::EntierForce); r != 0) return r;
    h.N_LINES = TokenInteger(token);

    for (ChampKind kind :
         {ChampKind::Chaine, ChampKind::Reel, ChampKind::ReelForce, ChampKind::Chaine}) {
        if (const int r = next(kind); r != 0) return r;
    }
    if (const int r = next(ChampKind::Reel); r != 0) return r;
    h.VALUES_MIN = real();
    if (const int r = next(ChampKind::ReelForce); r != 0) return r;
    h.VALUES_MAX = real();
    if (const int r = next(ChampKind::Chaine); r != 0)
        return r;  // unit of the values, without effect
    if (const int r = next(ChampKind::Entier, true); r != 0) return r;
    const int32_t width = TokenInteger(token);

    // The first line must end with a line break, and so must the second,
    // which is dropped; a file that ends before is a header problem.
    if (line.empty() || line.back() != '\n') return StopPosition(file);
    std::string dropped;
    do {
        if (!file.ReadLine(dropped, kDisLineRoom)) return StopPosition(file);
    } while (dropped.back() != '\n' && dropped.size() == kDisLineRoom);
    if (dropped.back() != '\n') return StopPosition(file);

    SetSingleValue(h, NW2E2S, Integer4);
    h.SEP = 0;
    h.rowWrap = 1;
    h.CountNodes();
    h.valueSize = width;  // the character width of one value
    return kHeaderRead;
}
