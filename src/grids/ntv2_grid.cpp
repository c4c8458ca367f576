// NTv2 datum-shift grids: the binary form (".gsb"), read in place from the
// file, and the text form (".gsa"), converted into a binary cache like every
// text grid. At each node a latitude shift, a longitude shift (positive
// westwards) and their two accuracies, in seconds of arc. A binary file may
// hold several sub-grids, finer children inside their parents: every one is
// described in the header with its parent, and a query descends from the
// first top-level sub-grid that holds its point into its children.
// A text file of several sub-grids is read through at its opening to list
// them; their records follow one another in its cache or in memory.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "shared/text_encoding.h"
#include "grids/grid_message.h"
#include "grids/grid_reader.h"
#include "grids/grid_rules.h"
#include "grids/header_tokenizer.h"

namespace {

constexpr int64_t kRecordSize = 16;
// 11 overview records and 11 sub-grid records: the first node record.
constexpr int64_t kFirstNodeRecord = 352;
// No NTv2 file has more header records than this; a larger count read in
// one byte order is the other byte order.
constexpr int32_t kMostRecords = 1000;
constexpr size_t kHeaderLineRoom = 259;

const char* const kHeaderMismatch = "Incohérence dans l'en-tête";
const char* const kCountMismatch = "Incohérence dans le nombre d'enregistrements";

// An 8-character field of a record, without the blanks and zero bytes that
// pad it, as UTF-8.
std::string Characters(const unsigned char* p, size_t n = 8) {
    std::string text(reinterpret_cast<const char*>(p), n);
    const size_t end = text.find_last_not_of(std::string(" \0", 2));
    text.resize(end == std::string::npos ? 0 : end + 1);
    return Latin1ToUtf8(text);
}

// The squared eccentricity of an ellipsoid given by its two semi-axes.
double SquaredEccentricity(double major, double minor) {
    if (major == 0) return 0;
    const double ratio = minor / major;
    return 1 - ratio * ratio;
}

}  // namespace

namespace {

// What an NTv2 header sets besides the fields it names, and the check of the
// node count; kHeaderRead when the counts agree.
int SetNtv2Layout(GridHeader& g, int64_t gsCount, std::string& message) {
    g.LAYOUT = SE2W2N;
    g.VALUES_NUMBER = 4;
    g.VALUES_TYPE = Real4;
    g.Taille_Valeur();
    g.CODE_PREC = 0;
    g.NODE_COORD_WRITTEN = 0;
    g.VALUES_LOCATION = 0;
    g.SEP = 1;
    g.rowWrap = 0;
    g.TRANSLATION.assign(4, 0.0);
    g.N_COLUMNS = CountFromLimits(g.X_MIN, g.X_MAX, g.X_INC);
    g.N_LINES = CountFromLimits(g.Y_MIN, g.Y_MAX, g.Y_INC);
    if (static_cast<int64_t>(g.N_COLUMNS) * g.N_LINES != gsCount) {
        message = kCountMismatch;
        return kHeaderRefused;
    }
    g.EAST_TO_WEST = 1;
    return kHeaderRead;
}

// The records of one sub-grid header, as the file gives them (seconds,
// longitudes positive westwards).
struct SubGridRecords {
    std::string name, parent;
    double sLat = 0, nLat = 0, eLong = 0, wLong = 0, latInc = 0, longInc = 0;
    int64_t gsCount = -1;
    int64_t firstRecord = 0;
};

// Reads the `count` records of a sub-grid header from `offset`, which moves
// past them. kHeaderRead, or kHeaderRefused with the message.
int ReadSubGrid(const GridBinaryFile& file, int64_t& offset, int32_t count, bool bigEndian,
                SubGridRecords& sub, std::string& message) {
    unsigned char record[kRecordSize];
    auto real = [&] { return bigEndian ? LoadReal8BE(record + 8) : LoadReal8LE(record + 8); };
    auto keyword = [&](const char* k) { return std::memcmp(record, k, 8) == 0; };
    for (int32_t i = 0; i < count; ++i, offset += kRecordSize) {
        if (!file.Read(offset, record, kRecordSize)) {
            message = kHeaderMismatch;
            return kHeaderRefused;
        }
        if (keyword("SUB_NAME")) {
            sub.name = Characters(record + 8);
        } else if (keyword("PARENT  ")) {
            sub.parent = Characters(record + 8);
        } else if (keyword("CREATED ") || keyword("UPDATED ")) {
        } else if (keyword("S_LAT   ")) {
            sub.sLat = real();
        } else if (keyword("N_LAT   ")) {
            sub.nLat = real();
        } else if (keyword("E_LONG  ")) {
            sub.eLong = real();
        } else if (keyword("W_LONG  ")) {
            sub.wLong = real();
        } else if (keyword("LAT_INC ")) {
            sub.latInc = real();
        } else if (keyword("LONG_INC")) {
            sub.longInc = real();
        } else if (keyword("GS_COUNT")) {
            sub.gsCount = bigEndian ? LoadInt32BE(record + 8) : LoadInt32LE(record + 8);
        } else {
            message = "FirstDataElement imprévu : " + Characters(record);
            return kHeaderRefused;
        }
    }
    return kHeaderRead;
}

// A sub-grid after the first: finite limits in order, steps above zero and
// records as many as its limits and steps make.
bool SoundSubGrid(const SubGridRecords& sub) {
    for (double v : {sub.sLat, sub.nLat, sub.eLong, sub.wLong, sub.latInc, sub.longInc})
        if (!std::isfinite(v)) return false;
    if (!(sub.latInc > 1e-10) || !(sub.longInc > 1e-10) || sub.nLat <= sub.sLat ||
        sub.wLong <= sub.eLong)
        return false;
    const int64_t columns = CountFromLimits(sub.eLong, sub.wLong, sub.longInc);
    const int64_t lines = CountFromLimits(sub.sLat, sub.nLat, sub.latInc);
    return columns > 1 && lines > 1 && columns * lines == sub.gsCount;
}

// The parent of each sub-grid, found by name as PROJ finds it: the last
// sub-grid before it of the name it gives; a sub-grid whose parent is "NONE",
// or names no earlier sub-grid, is of the top level (-1).
std::vector<int> Parents(const std::vector<SubGridRecords>& all) {
    std::vector<int> parents(all.size(), -1);
    for (size_t k = 0; k < all.size(); ++k) {
        const std::string& name = all[k].parent;
        if (name.empty() || name == "NONE") continue;
        for (size_t p = 0; p < k; ++p) {
            if (all[p].name == name) parents[k] = static_cast<int>(p);
        }
    }
    return parents;
}

// The lattices of the sub-grids read into h.subGrids, eastwards as the
// normalisation turns the first one's limits.
void ListSubGrids(const std::vector<SubGridRecords>& all, GridHeader& h) {
    h.subGrids.clear();
    const std::vector<int> parents = Parents(all);
    for (size_t k = 0; k < all.size(); ++k) {
        const SubGridRecords& sub = all[k];
        SubGrid lattice;
        lattice.X_MIN = -sub.wLong;
        lattice.X_MAX = -sub.eLong;
        lattice.Y_MIN = sub.sLat;
        lattice.Y_MAX = sub.nLat;
        lattice.X_INC = sub.longInc;
        lattice.Y_INC = sub.latInc;
        lattice.N_COLUMNS = CountFromLimits(sub.eLong, sub.wLong, sub.longInc);
        lattice.N_LINES = CountFromLimits(sub.sLat, sub.nLat, sub.latInc);
        lattice.firstRecordOffset = sub.firstRecord;
        lattice.parent = parents[k];
        h.subGrids.push_back(lattice);
    }
    DepthsFromParents(h.subGrids);
}

}  // namespace

int Lire_EnTete_NTV2_Binaire(const GridBinaryFile& file, GridHeader& h, std::string& message,
                             UserInterface*) {
    unsigned char record[kRecordSize];
    h.firstRecordOffset = 0;
    h.subGrids.clear();
    if (!file.Read(0, record, kRecordSize) || std::memcmp(record, "NUM_OREC", 8) != 0) {
        message = "Grille non NTV2";
        return kHeaderRefused;
    }
    // The byte order is the file's own: the overview count is small in the
    // right one.
    const int32_t little = LoadInt32LE(record + 8), big = LoadInt32BE(record + 8);
    h.bigEndian = (little < 1 || little > kMostRecords) && big >= 1 && big <= kMostRecords;
    if (h.bigEndian) h.GRID_TYPE = GrilleNtv2Big;
    const int32_t overviewCount = h.bigEndian ? big : little;
    auto integer = [&] { return h.bigEndian ? LoadInt32BE(record + 8) : LoadInt32LE(record + 8); };
    auto real = [&] { return h.bigEndian ? LoadReal8BE(record + 8) : LoadReal8LE(record + 8); };
    auto keyword = [&](const char* k) { return std::memcmp(record, k, 8) == 0; };
    auto unexpected = [&] {
        message = "FirstDataElement imprévu : " + Characters(record);
        return kHeaderRefused;
    };

    int64_t offset = kRecordSize;
    int32_t subGridCount = 0, fileCount = 1;
    for (int32_t i = 1; i < overviewCount; ++i, offset += kRecordSize) {
        if (!file.Read(offset, record, kRecordSize)) {
            message = kHeaderMismatch;
            return kHeaderRefused;
        }
        if (keyword("NUM_SREC")) {
            subGridCount = integer();
        } else if (keyword("NUM_FILE")) {
            fileCount = integer();
        } else if (keyword("VERSION ")) {
        } else if (keyword("GS_TYPE ")) {
            if (std::memcmp(record + 8, "SECONDS", 7) != 0) {
                message = "GS_TYPE imprévu";
                return kHeaderRefused;
            }
            h.NODE_COORD_UNIT = h.INC_UNIT = h.VALUES_UNIT = UniteSecondes;
        } else if (keyword("SYSTEM_F")) {
            h.SYSTEM_F = Characters(record + 8);
        } else if (keyword("SYSTEM_T")) {
            h.SYSTEM_T = Characters(record + 8);
        } else if (keyword("MAJOR_F ")) {
            h.MAJOR_F = real();
        } else if (keyword("MAJOR_T ")) {
            h.MAJOR_T = real();
        } else if (keyword("MINOR_F ")) {
            h.SQ_EXC_F = SquaredEccentricity(h.MAJOR_F, real());
        } else if (keyword("MINOR_T ")) {
            h.SQ_EXC_T = SquaredEccentricity(h.MAJOR_T, real());
        } else {
            return unexpected();
        }
    }

    SubGridRecords first;
    first.name = h.DESC;
    first.sLat = h.Y_MIN, first.nLat = h.Y_MAX, first.eLong = h.X_MIN, first.wLong = h.X_MAX;
    first.latInc = h.Y_INC, first.longInc = h.X_INC;
    if (const int r = ReadSubGrid(file, offset, subGridCount, h.bigEndian, first, message);
        r != kHeaderRead)
        return r;
    h.DESC = first.name;
    h.Y_MIN = first.sLat, h.Y_MAX = first.nLat, h.X_MIN = first.eLong, h.X_MAX = first.wLong;
    h.Y_INC = first.latInc, h.X_INC = first.longInc;
    if (offset != kFirstNodeRecord) {
        message = kHeaderMismatch;
        return kHeaderRefused;
    }
    h.firstRecordOffset = kFirstNodeRecord;
    const int read = SetNtv2Layout(h, first.gsCount, message);
    if (read != kHeaderRead || fileCount <= 1) return read;

    // The other sub-grids follow the records of the one before, each with
    // its header of the same records.
    std::vector<SubGridRecords> all{first};
    int64_t next = kFirstNodeRecord + h.NodeCount() * kRecordSize;
    for (int32_t g = 1; g < fileCount; ++g) {
        SubGridRecords sub;
        std::string problem;
        if (ReadSubGrid(file, next, subGridCount, h.bigEndian, sub, problem) != kHeaderRead ||
            !SoundSubGrid(sub)) {
            message = GridMessage("Sous-grille n° %d illisible dans\n%s%s%s", g + 1,
                                  h.NAME.c_str(), problem.empty() ? "" : "\n", problem.c_str());
            return kHeaderRefused;
        }
        const int64_t end = next + sub.gsCount * kRecordSize;
        if (end > file.Size()) {
            message = GridMessage(
                "Grille incomplète :\n%s\n(sous-grille %s : %lld octets au lieu de %lld attendus)",
                h.NAME.c_str(), sub.name.c_str(), static_cast<long long>(file.Size()),
                static_cast<long long>(end));
            return kHeaderRefused;
        }
        sub.firstRecord = next;
        all.push_back(sub);
        next = end;
    }
    all[0].firstRecord = kFirstNodeRecord;
    ListSubGrids(all, h);
    return kHeaderRead;
}

namespace {

// One header line of a text NTv2 file: its keyword (the first word, at most
// 8 characters) and the line itself, trailing blanks and line break removed.
struct Ntv2Line {
    std::string keyword;
    std::string text;
};

bool ReadNtv2Line(GridTextFile& file, Ntv2Line& line) {
    if (!file.ReadLine(line.text, kHeaderLineRoom)) return false;
    const size_t end = line.text.find_last_not_of(" \t\r\n");
    line.text.resize(end == std::string::npos ? 0 : end + 1);
    const size_t word = line.text.find_first_of(" \t");
    line.keyword = line.text.substr(
        0, std::min<size_t>(word == std::string::npos ? line.text.size() : word, 8));
    return true;
}

// The second word of a line, at most 8 characters, as UTF-8.
std::string SecondWord(const std::string& line) {
    const size_t first = line.find_first_of(" \t");
    if (first == std::string::npos) return "";
    const size_t start = line.find_first_not_of(" \t", first);
    if (start == std::string::npos) return "";
    const size_t stop = line.find_first_of(" \t", start);
    return Latin1ToUtf8(line.substr(
        start, std::min<size_t>((stop == std::string::npos ? line.size() : stop) - start, 8)));
}

// The number that a header line carries from its ninth character on, which
// must end the line: 0 when read, -1 with the tokenizer's message, or the
// position reached.
int Ntv2Number(const std::string& line, ChampKind kind, std::string& token, std::string& message) {
    int position = 8;
    const int r = Lire_Champ(' ', line, position, token, kind);
    if (r == 2) return 0;
    if (r < 0) {
        message = token;
        return kHeaderRefused;
    }
    return position;
}

}  // namespace

namespace {

// Reads the `count` header lines of a text sub-grid into `sub`, the first
// of them already read when `first` is given: kHeaderRead, kHeaderRefused
// with the message, or the position in a line.
int ReadTextSubGrid(GridTextFile& file, int32_t count, SubGridRecords& sub, std::string& message,
                    const Ntv2Line* first = nullptr) {
    Ntv2Line line;
    std::string token;
    for (int32_t i = 0; i < count; ++i) {
        if (i == 0 && first) {
            line = *first;
        } else if (!ReadNtv2Line(file, line)) {
            message = kHeaderMismatch;
            return kHeaderRefused;
        }
        const std::string& k = line.keyword;
        double* field = k == "S_LAT"      ? &sub.sLat
                        : k == "N_LAT"    ? &sub.nLat
                        : k == "E_LONG"   ? &sub.eLong
                        : k == "W_LONG"   ? &sub.wLong
                        : k == "LAT_INC"  ? &sub.latInc
                        : k == "LONG_INC" ? &sub.longInc
                                          : nullptr;
        if (k == "SUB_NAME") {
            sub.name = SecondWord(line.text);
        } else if (k == "PARENT") {
            sub.parent = SecondWord(line.text);
        } else if (field) {
            if (const int r = Ntv2Number(line.text, ChampKind::Reel, token, message); r != 0)
                return r;
            *field = TokenReal(token);
        } else if (k == "GS_COUNT") {
            if (const int r = Ntv2Number(line.text, ChampKind::Entier, token, message); r != 0)
                return r;
            sub.gsCount = TokenInteger(token);
        }
        // CREATED, UPDATED and any other record are passed over.
    }
    return kHeaderRead;
}

// Passes over the node lines of a sub-grid (four numbers a node): false
// when the file ends or a word that is no number comes first, with `read`
// the nodes read whole.
bool SkipTextNodes(GridTextFile& file, int64_t nodes, int64_t& read) {
    float value = 0;
    for (read = 0; read < nodes; ++read) {
        for (int k = 0; k < 4; ++k)
            if (file.ReadReal4(value) != GridTextFile::Lecture::Ok) return false;
    }
    return true;
}

// The next line that is not blank; false at the end of the file.
bool NextTextLine(GridTextFile& file, Ntv2Line& line) {
    while (ReadNtv2Line(file, line)) {
        if (!line.text.empty()) return true;
    }
    return false;
}

// Whether a sub-grid lies within another, limits as the file gives them.
bool Within(const SubGridRecords& child, const SubGridRecords& parent) {
    const double margin = 1e-6;  // seconds
    return child.sLat >= parent.sLat - margin && child.nLat <= parent.nLat + margin &&
           child.eLong >= parent.eLong - margin && child.wLong <= parent.wLong + margin;
}

// The sub-grids after the first of a text file that announces `fileCount`,
// the file read through to its end: each one's header lines, checked, and
// its node lines passed over; each child must lie within the parent it
// names, and no sub-grid may follow the last one announced. Fills `all` and
// `starts` (where each one's node lines start). kHeaderRead, or
// kHeaderRefused with the message naming the file.
int ReadTextSubGrids(GridTextFile& file, const std::string& name, int32_t fileCount,
                     int32_t subGridCount, std::vector<SubGridRecords>& all,
                     std::vector<int64_t>& starts, std::string& message) {
    starts.assign(1, file.Offset());
    for (int32_t g = 1;; ++g) {
        const SubGridRecords& last = all.back();
        int64_t read = 0;
        if (!SkipTextNodes(file, last.gsCount, read)) {
            message = GridMessage(
                "Grille incomplète :\n%s\n(sous-grille %s : %lld noeuds lus sur %lld attendus)",
                name.c_str(), last.name.c_str(), static_cast<long long>(read),
                static_cast<long long>(last.gsCount));
            return kHeaderRefused;
        }
        Ntv2Line line;
        const bool more = NextTextLine(file, line) && line.keyword != "END";
        if (more != (g < fileCount)) {
            message = GridMessage(
                "Nombre de sous-grilles incohérent dans\n%s\n(NUM_FILE %d, %s)", name.c_str(),
                fileCount,
                more ? "d'autres sous-grilles suivent la dernière annoncée"
                     : GridMessage("%d sous-grille(s) dans le fichier", g).c_str());
            return kHeaderRefused;
        }
        if (!more) break;
        SubGridRecords sub;
        std::string problem;
        if (ReadTextSubGrid(file, subGridCount, sub, problem, &line) != kHeaderRead ||
            !SoundSubGrid(sub)) {
            message = GridMessage("Sous-grille n° %d illisible dans\n%s%s%s", g + 1,
                                  name.c_str(), problem.empty() ? "" : "\n", problem.c_str());
            return kHeaderRefused;
        }
        starts.push_back(file.Offset());
        all.push_back(sub);
    }
    for (const SubGridRecords& sub : all) {
        if (sub.parent.empty() || sub.parent == "NONE") continue;
        const auto parent = std::find_if(all.begin(), all.end(), [&](const SubGridRecords& p) {
            return &p != &sub && p.name == sub.parent;
        });
        if (parent == all.end() || !Within(sub, *parent)) {
            message = GridMessage("Sous-grille %s hors de sa grille mère %s dans\n%s",
                                  sub.name.c_str(), sub.parent.c_str(), name.c_str());
            return kHeaderRefused;
        }
    }
    return kHeaderRead;
}

}  // namespace

int Lire_EnTete_NTV2_Texte(GridTextFile& file, GridHeader& h, std::string& message,
                           std::vector<int64_t>* valueStarts) {
    Ntv2Line line;
    std::string token;
    h.firstRecordOffset = 0;
    h.subGrids.clear();
    if (valueStarts) valueStarts->clear();
    if (!ReadNtv2Line(file, line) || line.keyword != "NUM_OREC") {
        message = "Grille non NTV2";
        return kHeaderRefused;
    }
    if (const int r = Ntv2Number(line.text, ChampKind::Entier, token, message); r != 0) return r;
    const int32_t overviewCount = TokenInteger(token);

    int32_t subGridCount = 0, fileCount = 1;
    for (int32_t i = 1; i < overviewCount; ++i) {
        if (!ReadNtv2Line(file, line)) {
            message = kHeaderMismatch;
            return kHeaderRefused;
        }
        const std::string& k = line.keyword;
        if (k == "NUM_SREC" || k == "NUM_FILE") {
            if (const int r = Ntv2Number(line.text, ChampKind::Entier, token, message); r != 0)
                return r;
            (k == "NUM_SREC" ? subGridCount : fileCount) = TokenInteger(token);
        } else if (k == "GS_TYPE") {
            int position = 8;
            Lire_Champ(' ', line.text, position, token, ChampKind::Chaine);
            if (token != "SECONDS") {
                message = "GS_TYPE imprévu";
                return kHeaderRefused;
            }
            h.NODE_COORD_UNIT = h.INC_UNIT = h.VALUES_UNIT = UniteSecondes;
        } else if (k == "SYSTEM_F") {
            h.SYSTEM_F = SecondWord(line.text);
        } else if (k == "SYSTEM_T") {
            h.SYSTEM_T = SecondWord(line.text);
        } else if (k == "MAJOR_F" || k == "MAJOR_T" || k == "MINOR_F" || k == "MINOR_T") {
            if (const int r = Ntv2Number(line.text, ChampKind::Reel, token, message); r != 0)
                return r;
            const double v = TokenReal(token);
            if (k == "MAJOR_F") h.MAJOR_F = v;
            if (k == "MAJOR_T") h.MAJOR_T = v;
            if (k == "MINOR_F") h.SQ_EXC_F = SquaredEccentricity(h.MAJOR_F, v);
            if (k == "MINOR_T") h.SQ_EXC_T = SquaredEccentricity(h.MAJOR_T, v);
        }
        // VERSION and any other record are passed over.
    }

    // The first sub-grid's records fill the header; a record it lacks
    // leaves the header's field as it was.
    SubGridRecords first;
    first.name = h.DESC;
    first.sLat = h.Y_MIN, first.nLat = h.Y_MAX, first.eLong = h.X_MIN, first.wLong = h.X_MAX;
    first.latInc = h.Y_INC, first.longInc = h.X_INC;
    if (const int r = ReadTextSubGrid(file, subGridCount, first, message); r != kHeaderRead)
        return r;
    h.DESC = first.name;
    h.Y_MIN = first.sLat, h.Y_MAX = first.nLat, h.X_MIN = first.eLong, h.X_MAX = first.wLong;
    h.Y_INC = first.latInc, h.X_INC = first.longInc;
    const int read = SetNtv2Layout(h, first.gsCount, message);
    if (read != kHeaderRead || fileCount <= 1) return read;

    // Several sub-grids: their records follow one another in the cache or
    // in memory, in file order.
    std::vector<SubGridRecords> all{first};
    std::vector<int64_t> starts;
    if (const int r = ReadTextSubGrids(file, h.NAME, fileCount, subGridCount, all, starts, message);
        r != kHeaderRead)
        return r;
    int64_t offset = 0;
    for (SubGridRecords& sub : all) {
        sub.firstRecord = offset;
        offset += sub.gsCount * kRecordSize;
    }
    ListSubGrids(all, h);
    if (valueStarts) *valueStarts = std::move(starts);
    return kHeaderRead;
}

int Ntv2TextReader::Lire_EnTete(GridHeader& header, std::string& message) {
    return Lire_EnTete_NTV2_Texte(*file_, header, message, &valueStarts_);
}

std::string Ntv2TextReader::Lire_Noeuds(const GridHeader& h, NodeSink& sink,
                                        LoadProgress& progress) {
    if (h.subGrids.size() <= 1 || valueStarts_.size() != h.subGrids.size())
        return LireNoeudsTexte(*file_, h, h.NodeCount(), name_, sink, progress);
    for (size_t g = 0; g < h.subGrids.size(); ++g) {
        const SubGrid& sub = h.subGrids[g];
        if (!file_->Seek(valueStarts_[g])) return "Impossible de lire le fichier\n" + name_;
        const std::string failure = LireNoeudsTexte(
            *file_, h, static_cast<int64_t>(sub.N_COLUMNS) * sub.N_LINES, name_, sink, progress);
        if (!failure.empty()) return failure;
    }
    return "";
}
