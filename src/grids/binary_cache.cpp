// The binary cache (".bin") of a text grid: a header of little-endian numbers
// beginning with "GRID", followed by the node records in storage order.

#include "grids/binary_cache.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "shared/text_encoding.h"
#include "shared/user_interface.h"
#include "grids/cache_file.h"
#include "grids/grid_message.h"
#include "grids/grid_progress.h"
#include "grids/grid_reader.h"
#include "grids/grid_rules.h"

namespace {

constexpr int32_t kCacheVersion = 3;
// The cache of a text NTv2 file of several sub-grids: the same header, then
// the number of sub-grids and each one's lattice (limits, steps, counts,
// depth, and from version 5 on its parent); their records follow one another
// in file order. A program that knows only version 3 refuses it rather than
// read its first sub-grid alone. Version 4, written before the parents were
// kept, is still read: each sub-grid's parent is then the last earlier one a
// level up that holds it.
constexpr int32_t kDepthCacheVersion = 4;
constexpr int32_t kSubGridCacheVersion = 5;
constexpr size_t kDescriptionRoom = 259;

class HeaderOut {
public:
    explicit HeaderOut(std::FILE* f) : f_(f) {}
    void Bytes(const void* p, size_t n) { ok_ = ok_ && std::fwrite(p, 1, n, f_) == n; }
    void Int(int32_t v) {
        unsigned char b[4];
        StoreInt32LE(b, v);
        Bytes(b, 4);
    }
    void Real(double v) {
        unsigned char b[8];
        StoreReal8LE(b, v);
        Bytes(b, 8);
    }
    bool Ok() const { return ok_; }

private:
    std::FILE* f_;
    bool ok_ = true;
};

// Reads the header's numbers in turn; any read past the end marks it failed.
class HeaderIn {
public:
    HeaderIn(const GridBinaryFile& f, int64_t at) : f_(f), at_(at) {}
    int32_t Int() {
        unsigned char b[4] = {};
        Take(b, 4);
        return LoadInt32LE(b);
    }
    double Real() {
        unsigned char b[8] = {};
        Take(b, 8);
        return LoadReal8LE(b);
    }
    void Take(void* p, size_t n) {
        ok_ = ok_ && f_.Read(at_, p, n);
        at_ += static_cast<int64_t>(n);
    }
    bool Ok() const { return ok_; }
    int64_t At() const { return at_; }

private:
    const GridBinaryFile& f_;
    int64_t at_;
    bool ok_ = true;
};

// Whether the lattice `outer` holds the whole of `inner`.
bool Within(const SubGrid& inner, const SubGrid& outer) {
    return inner.X_MIN >= outer.X_MIN && inner.X_MAX <= outer.X_MAX &&
           inner.Y_MIN >= outer.Y_MIN && inner.Y_MAX <= outer.Y_MAX;
}

// The parents of a version 4 table, which gives the depths alone: the last
// earlier sub-grid a level up that holds the sub-grid, else the last one a
// level up. A text file's opening compares them with the file's own and
// makes the cache again when they differ.
void ParentsFromDepths(std::vector<SubGrid>& subGrids) {
    for (size_t k = 0; k < subGrids.size(); ++k) {
        SubGrid& sub = subGrids[k];
        sub.parent = -1;
        int level = -1;  // a sub-grid a level up, holding or not
        for (size_t p = k; p-- > 0 && sub.depth > 0;) {
            if (subGrids[p].depth != sub.depth - 1) continue;
            if (level < 0) level = static_cast<int>(p);
            if (Within(sub, subGrids[p])) {
                sub.parent = static_cast<int>(p);
                break;
            }
        }
        if (sub.parent < 0) sub.parent = level;
    }
    DepthsFromParents(subGrids);
}

// The sub-grid table of a version 4 or 5 cache: at least two sub-grids,
// each a lattice of finite limits in order, positive steps and the node
// counts they make, and a parent before it whose depth is one less. False
// for a damaged table.
bool ReadSubGrids(HeaderIn& in, int32_t version, std::vector<SubGrid>& subGrids) {
    const int32_t count = in.Int();
    // Each sub-grid takes 60 bytes of the header and one record at least.
    if (!in.Ok() || count < 2 || count > 1000000) return false;
    for (int32_t g = 0; g < count && in.Ok(); ++g) {
        SubGrid sub;
        sub.X_MIN = in.Real(), sub.X_MAX = in.Real(), sub.Y_MIN = in.Real();
        sub.Y_MAX = in.Real(), sub.X_INC = in.Real(), sub.Y_INC = in.Real();
        sub.N_COLUMNS = in.Int(), sub.N_LINES = in.Int(), sub.depth = in.Int();
        if (version >= kSubGridCacheVersion) sub.parent = in.Int();
        const bool parentSound =
            version < kSubGridCacheVersion ||
            (sub.parent < 0 ? sub.parent == -1 && sub.depth == 0
                            : sub.parent < g && subGrids[static_cast<size_t>(sub.parent)].depth ==
                                                    sub.depth - 1);
        if (!(sub.X_INC > 1e-10) || !(sub.Y_INC > 1e-10) || !(sub.X_MAX > sub.X_MIN) ||
            !(sub.Y_MAX > sub.Y_MIN) || !std::isfinite(sub.X_MAX - sub.X_MIN) ||
            !std::isfinite(sub.Y_MAX - sub.Y_MIN) || sub.depth < 0 || sub.depth >= count ||
            sub.N_COLUMNS != CountFromLimits(sub.X_MIN, sub.X_MAX, sub.X_INC) ||
            sub.N_LINES != CountFromLimits(sub.Y_MIN, sub.Y_MAX, sub.Y_INC) ||
            sub.N_COLUMNS < 2 || sub.N_LINES < 2 || !parentSound)
            return false;
        subGrids.push_back(sub);
    }
    if (in.Ok() && version < kSubGridCacheVersion) ParentsFromDepths(subGrids);
    return in.Ok();
}

}  // namespace

bool Ecrire_EnTete_Binaire(GridHeader& h, std::FILE* cache) {
    if (!cache) return false;
    HeaderOut out(cache);
    const bool subGrids = h.subGrids.size() > 1;
    out.Bytes("GRID", 5);  // with its terminating zero byte
    out.Int(subGrids ? kSubGridCacheVersion : kCacheVersion);
    out.Int(0);  // first-record offset, known once the header is written
    for (double v : {h.X_MIN, h.X_MAX, h.Y_MIN, h.Y_MAX, h.X_INC, h.Y_INC}) out.Real(v);
    out.Int(h.LAYOUT);
    out.Int(h.NODE_COORD_WRITTEN);
    out.Int(h.VALUES_NUMBER);
    out.Int(h.VALUES_TYPE);
    out.Int(h.CODE_PREC);
    for (int k = 0; k < h.VALUES_NUMBER; ++k)
        out.Real(k < static_cast<int>(h.TRANSLATION.size())
                     ? h.TRANSLATION[static_cast<size_t>(k)]
                     : 0.0);
    std::string description = Utf8ToLatin1(h.DESC);
    if (description.size() > kDescriptionRoom) description.resize(kDescriptionRoom);
    out.Int(static_cast<int32_t>(description.size()));
    out.Bytes(description.data(), description.size());
    if (subGrids) {
        out.Int(static_cast<int32_t>(h.subGrids.size()));
        for (const SubGrid& sub : h.subGrids) {
            for (double v : {sub.X_MIN, sub.X_MAX, sub.Y_MIN, sub.Y_MAX, sub.X_INC, sub.Y_INC})
                out.Real(v);
            out.Int(sub.N_COLUMNS);
            out.Int(sub.N_LINES);
            out.Int(sub.depth);
            out.Int(sub.parent);
        }
    }
    if (!out.Ok()) return false;

    const long offset = std::ftell(cache);
    if (offset < 0) return false;
    h.firstRecordOffset = offset;
    unsigned char b[4];
    StoreInt32LE(b, static_cast<int32_t>(offset));
    return std::fseek(cache, 9, SEEK_SET) == 0 && std::fwrite(b, 1, 4, cache) == 4 &&
           std::fseek(cache, offset, SEEK_SET) == 0;
}

int Lire_EnTete_Binaire(const GridBinaryFile& file, GridHeader& h, std::string& message,
                        UserInterface* ui) {
    char keyword[6] = {};
    const bool keywordRead = file.Read(0, keyword, 5);
    if (!keywordRead || std::memcmp(keyword, "GRID", 5) != 0) {
        if (ui) {
            ui->ShowError(GridMessage("Mot-clé imprévu : %s\n(%s)", Latin1ToUtf8(keyword).c_str(),
                                      h.NAME.c_str()),
                          "Quorvel");
        }
        return 2;
    }
    const std::string damaged = "En-tête du fichier binaire endommagé :\n" + h.NAME;
    HeaderIn in(file, 5);
    const int32_t version = in.Int();
    if (!in.Ok()) {
        message = damaged;
        return kHeaderRefused;
    }
    if (version != 2 && version != 3 && version != kDepthCacheVersion &&
        version != kSubGridCacheVersion) {
        message = "Numéro de version imprévu : " + std::to_string(version) + "\n(" + h.NAME + ")";
        return kHeaderRefused;
    }
    const int32_t offset = in.Int();
    h.X_MIN = in.Real();
    h.X_MAX = in.Real();
    h.Y_MIN = in.Real();
    h.Y_MAX = in.Real();
    h.X_INC = in.Real();
    h.Y_INC = in.Real();
    h.LAYOUT = in.Int();
    h.NODE_COORD_WRITTEN = in.Int();
    const int32_t n = in.Int();
    h.VALUES_TYPE = version >= 3 ? in.Int() : static_cast<int32_t>(Real8);
    h.CODE_PREC = in.Int();
    if (!in.Ok() || n < 1 || n > kMostValuesPerNode || h.VALUES_TYPE < Integer2 ||
        h.VALUES_TYPE > Real8) {
        message = damaged;
        return kHeaderRefused;
    }
    h.VALUES_NUMBER = n;
    std::vector<double> translation(static_cast<size_t>(n));
    for (double& t : translation) t = in.Real();
    const int32_t length = in.Int();
    if (!in.Ok() || length < 0 || length > file.Size() - in.At()) {
        message = damaged;
        return kHeaderRefused;
    }
    std::string description(static_cast<size_t>(length), '\0');
    in.Take(description.data(), description.size());
    std::vector<SubGrid> subGrids;
    if (version >= kDepthCacheVersion && !ReadSubGrids(in, version, subGrids)) {
        message = damaged;
        return kHeaderRefused;
    }
    if (!in.Ok() || offset < in.At() || offset > file.Size()) {
        message = damaged;
        return kHeaderRefused;
    }
    h.TRANSLATION = std::move(translation);
    h.DESC = Latin1ToUtf8(description);
    h.firstRecordOffset = offset;

    h.NativeLayout();
    if (!subGrids.empty()) {
        // The records of each sub-grid follow those of the one before; the
        // file must hold them all.
        const int64_t record = h.RecordSize();
        int64_t at = offset;
        bool fits = true;
        for (SubGrid& sub : subGrids) {
            sub.firstRecordOffset = at;
            const int64_t nodes = static_cast<int64_t>(sub.N_COLUMNS) * sub.N_LINES;
            fits = fits && nodes <= (file.Size() - at) / record;
            if (!fits) break;
            at += nodes * record;
        }
        const SubGrid& first = subGrids.front();
        if (!fits || first.N_COLUMNS != h.N_COLUMNS || first.N_LINES != h.N_LINES) {
            message = damaged;
            return kHeaderRefused;
        }
        h.subGrids = std::move(subGrids);
    }
    return kHeaderRead;
}

namespace {

// Node records written one after the other into the cache being made.
class CacheSink final : public NodeSink {
public:
    CacheSink(std::FILE* cache, size_t recordSize, const std::string& name)
        : cache_(cache), recordSize_(recordSize), name_(name) {}
    bool Take(const unsigned char* record) override {
        return std::fwrite(record, 1, recordSize_, cache_) == recordSize_;
    }
    std::string Failure() const override { return "Impossible d'écrire le fichier\n" + name_; }

private:
    std::FILE* cache_;
    size_t recordSize_;
    const std::string& name_;
};

}  // namespace

std::string Ecrire_Cache(GridHeader& h, GridReader& text, const std::string& path,
                         GridProgress* progress) {
    CacheFile cache(path);
    if (!cache.Create() || !Ecrire_EnTete_Binaire(h, cache.Stream()))
        return "Impossible d'ouvrir le fichier\n " + h.NAME;
    CacheSink sink(cache.Stream(), static_cast<size_t>(h.RecordSize()), h.NAME);
    LoadProgress shown(progress, "Création du fichier binaire ", h.NAME, h.StoredNodeCount(),
                       "Création du fichier binaire " + h.NAME + " annulée");
    std::string failure = text.Lire_Noeuds(h, sink, shown);
    shown.Finish();
    if (failure.empty() && !cache.Commit()) failure = "Impossible d'écrire le fichier\n" + h.NAME;
    return failure;
}
