// The binary cache (".bin") of a text grid: a header of little-endian numbers
// beginning with "GRID", followed by the node records in storage order.

#include <cstring>

#include "shared/text_encoding.h"
#include "shared/user_interface.h"
#include "grids/grid.h"
#include "grids/grid_message.h"
#include "grids/grid_rules.h"
#include "grids/load_progress.h"

namespace {

constexpr int32_t kCacheVersion = 3;
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

}  // namespace

bool CGrille::Ecrire_EnTete_Binaire(std::FILE* cache) {
    if (!cache) return false;
    HeaderOut out(cache);
    out.Bytes("GRID", 5);  // with its terminating zero byte
    out.Int(kCacheVersion);
    out.Int(0);  // first-record offset, known once the header is written
    for (double v : {X_MIN, X_MAX, Y_MIN, Y_MAX, X_INC, Y_INC}) out.Real(v);
    out.Int(LAYOUT);
    out.Int(NODE_COORD_WRITTEN);
    out.Int(VALUES_NUMBER);
    out.Int(VALUES_TYPE);
    out.Int(CODE_PREC);
    for (int k = 0; k < VALUES_NUMBER; ++k)
        out.Real(k < static_cast<int>(TRANSLATION.size()) ? TRANSLATION[static_cast<size_t>(k)]
                                                          : 0.0);
    std::string description = Utf8ToLatin1(DESC);
    if (description.size() > kDescriptionRoom) description.resize(kDescriptionRoom);
    out.Int(static_cast<int32_t>(description.size()));
    out.Bytes(description.data(), description.size());
    if (!out.Ok()) return false;

    const long offset = std::ftell(cache);
    if (offset < 0) return false;
    firstRecordOffset = offset;
    unsigned char b[4];
    StoreInt32LE(b, static_cast<int32_t>(offset));
    return std::fseek(cache, 9, SEEK_SET) == 0 && std::fwrite(b, 1, 4, cache) == 4 &&
           std::fseek(cache, offset, SEEK_SET) == 0;
}

int CGrille::Lire_EnTete_Binaire(std::string& message, UserInterface* ui) {
    if (!binary_) {
        message = "Impossible d'ouvrir le fichier\n" + NAME;
        return -1;
    }
    char keyword[6] = {};
    const bool keywordRead = binary_->Read(0, keyword, 5);
    if (!keywordRead || std::memcmp(keyword, "GRID", 5) != 0) {
        if (ui) {
            ui->ShowError(GridMessage("Mot-clé imprévu : %s\n(%s)", Latin1ToUtf8(keyword).c_str(),
                                      NAME.c_str()),
                          "Quorvel");
        }
        return 2;
    }
    const std::string damaged = "En-tête du fichier binaire endommagé :\n" + NAME;
    HeaderIn in(*binary_, 5);
    const int32_t version = in.Int();
    if (!in.Ok()) {
        message = damaged;
        return -1;
    }
    if (version != 2 && version != 3) {
        message = "Numéro de version imprévu : " + std::to_string(version) + "\n(" + NAME + ")";
        return -1;
    }
    const int32_t offset = in.Int();
    X_MIN = in.Real();
    X_MAX = in.Real();
    Y_MIN = in.Real();
    Y_MAX = in.Real();
    X_INC = in.Real();
    Y_INC = in.Real();
    LAYOUT = in.Int();
    NODE_COORD_WRITTEN = in.Int();
    const int32_t n = in.Int();
    VALUES_TYPE = version == 3 ? in.Int() : static_cast<int32_t>(Real8);
    CODE_PREC = in.Int();
    if (!in.Ok() || n < 1 || n > kMostValuesPerNode || VALUES_TYPE < Integer2 ||
        VALUES_TYPE > Real8) {
        message = damaged;
        return -1;
    }
    VALUES_NUMBER = n;
    std::vector<double> translation(static_cast<size_t>(n));
    for (double& t : translation) t = in.Real();
    const int32_t length = in.Int();
    if (!in.Ok() || length < 0 || length > binary_->Size() - in.At()) {
        message = damaged;
        return -1;
    }
    std::string description(static_cast<size_t>(length), '\0');
    in.Take(description.data(), description.size());
    if (!in.Ok() || offset < in.At() || offset > binary_->Size()) {
        message = damaged;
        return -1;
    }
    TRANSLATION = std::move(translation);
    DESC = Latin1ToUtf8(description);
    firstRecordOffset = offset;

    onDisk = true;
    NativeLayout();
    return -10;
}

std::string CGrille::VerifierTailleBinaire() const {
    if (!binary_) return "Impossible d'ouvrir le fichier\n" + NAME;
    const int64_t record = RecordSize();
    const int64_t nodes = NodeCount();
    const int64_t room = INT64_MAX - firstRecordOffset;
    const int64_t needed =
        (record > 0 && nodes > room / record) ? INT64_MAX : firstRecordOffset + nodes * record;
    if (binary_->Size() >= needed) return "";
    return GridMessage("Grille incomplète :\n%s\n(%lld octets au lieu de %lld attendus)",
                       NAME.c_str(), static_cast<long long>(binary_->Size()),
                       static_cast<long long>(needed));
}

std::string CGrille::Charger_Binaire(bool console, UserInterface* ui) {
    binary_ = GridBinaryFile::Open(NAME);
    if (!binary_) return "Impossible d'ouvrir le fichier\n" + NAME;
    Type_Selon_Extension();
    std::string message;
    const int read = Lire_EnTete_Format(message, ui);
    if (read != -10) {
        binary_.reset();
        if (read != -1)
            message =
                GridMessage("Problème dans l'en-tête de\n%s (position %d)", NAME.c_str(), read);
        return message;
    }
    message = VerifierTailleBinaire();
    if (!message.empty()) {
        binary_.reset();
        return message;
    }
    loaded = true;

    const int64_t nodes = NodeCount();
    const int n = VALUES_NUMBER;
    if (!AllouerValeurs(nodes)) {
        binary_.reset();
        loaded = false;
        return "Mémoire insuffisante pour charger la grille\n" + NAME;
    }

    LoadProgress progress(console, ui, "Chargement de la grille ", NAME, nodes);
    const size_t recordSize = static_cast<size_t>(RecordSize());
    std::vector<unsigned char> buffer(recordSize);
    for (int64_t s = 0; s < nodes; ++s) {
        const int64_t at = firstRecordOffset + s * static_cast<int64_t>(recordSize);
        const unsigned char* record = binary_->View(at, recordSize);
        if (!record && binary_->Read(at, buffer.data(), recordSize)) record = buffer.data();
        if (!record) break;  // cannot happen: the size was checked
        const size_t first = static_cast<size_t>(s) * n;
        for (int k = 0; k < n; ++k) {
            const unsigned char* p = record + static_cast<size_t>(k) * valueSize;
            if (bigEndian) {
                const double v = DecodeValueBE(VALUES_TYPE, p);
                switch (VALUES_TYPE) {
                    case Integer2:
                        values16[first + k] = static_cast<int16_t>(v);
                        break;
                    case Integer4:
                        values32[first + k] = static_cast<int32_t>(v);
                        break;
                    case Real4:
                        valuesReal4[first + k] = static_cast<float>(v);
                        break;
                    default:
                        valuesReal8[first + k] = v;
                        break;
                }
                continue;
            }
            switch (VALUES_TYPE) {
                case Integer2:
                    values16[first + k] = LoadInt16LE(p);
                    break;
                case Integer4:
                    values32[first + k] = LoadInt32LE(p);
                    break;
                case Real4:
                    valuesReal4[first + k] = LoadReal4LE(p);
                    break;
                default:
                    valuesReal8[first + k] = LoadReal8LE(p);
                    break;
            }
        }
        if (CODE_PREC) {
            const unsigned char* p = record + static_cast<size_t>(n) * valueSize;
            codes[static_cast<size_t>(s)] = bigEndian ? LoadInt32BE(p) : LoadInt32LE(p);
        }
        if (!progress.NodeDone()) {
            progress.Finish();
            LibererValeurs();
            binary_.reset();
            loaded = false;
            return "Chargement de la grille " + NAME + " annulé";
        }
    }
    progress.Finish();
    loaded = true;
    onDisk = false;
    binary_.reset();
    return "";
}
