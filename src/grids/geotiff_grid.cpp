// GeoTIFF grids: the header from the image's tags, the GeoKeys and the GDAL
// metadata, and node records decoded on demand from the image's blocks.

#include "grids/geotiff_grid.h"

#include <tiffio.h>
#include <tinyxml2.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <limits>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "grids/grid_binary_file.h"
#include "grids/grid_message.h"
#include "grids/grid_progress.h"
#include "grids/node_source.h"

namespace {

// GeoTIFF tags and keys (the GeoTIFF standard), and the two tags of GDAL.
constexpr uint32_t kModelPixelScale = 33550;
constexpr uint32_t kModelTiepoint = 33922;
constexpr uint32_t kModelTransformation = 34264;
constexpr uint32_t kGeoKeyDirectory = 34735;
constexpr uint32_t kGdalMetadata = 42112;
constexpr uint32_t kGdalNoData = 42113;
constexpr int kModelTypeKey = 1024;
constexpr int kRasterTypeKey = 1025;
constexpr int kAngularUnitsKey = 2054;
constexpr int kProjectedCsKey = 3072;
constexpr int kModelTypeGeographic = 2;
constexpr int kRasterPixelIsPoint = 2;
constexpr int kAngularRadian = 9101;
constexpr int kAngularDegree = 9102;
constexpr int kAngularArcSecond = 9104;

// The largest block (one tile or strip of one band) that is decoded, and
// the memory that the decoded blocks of one grid may hold together, those
// that the cursors of its copies hold included.
constexpr int64_t kLargestBlock = 8 << 20;
constexpr int64_t kBlockCacheBytes = 64 << 20;
// The cache holds as many blocks as fit in it, of the largest of the file,
// less one for the block read under its lock alone (seven at least), and
// 256 at most.
constexpr int64_t kMostBlocks = 256;
constexpr int64_t kFewestBlocks = kBlockCacheBytes / kLargestBlock - 1;
static_assert(kFewestBlocks >= 7, "the cache holds a few of the largest blocks");
// A cursor holds a quarter of the cache's blocks, two to eight of them (a
// bilinear query touches at most four blocks per band).
constexpr int64_t kFewestHeld = 2;
constexpr int64_t kMostHeld = 8;
// libtiff never allocates more than this for one directory's arrays.
constexpr int64_t kLargestAllocation = 256 << 20;

std::string Refusal(const std::string& name, const std::string& reason) {
    return name + " :\n" + reason;
}

// libtiff's messages (in English, about the file's structure) are not shown:
// the reader says in French why it refuses a file.
int Silent(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

TiffHandle OpenTiff(const std::string& path) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, Silent, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Silent, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kLargestAllocation);
    // Read, never mapped: a file truncated while it is open gives read
    // errors, where a mapping would end the program.
    TiffHandle tif(TIFFOpenExt(path.c_str(), "rm", options));
    TIFFOpenOptionsFree(options);
    return tif;
}

// The values of a tag of the current directory, when it holds values of
// `type` (a tag of the wrong type is taken as absent).
template <class T>
std::vector<T> TagValues(TIFF* tif, uint32_t tag, TIFFDataType type) {
    const TIFFField* field = TIFFFindField(tif, tag, TIFF_ANY);
    if (!field || TIFFFieldDataType(field) != type || !TIFFFieldPassCount(field)) return {};
    void* data = nullptr;
    uint32_t count = 0;
    if (TIFFFieldReadCount(field) == TIFF_VARIABLE2) {
        if (TIFFGetField(tif, tag, &count, &data) != 1) return {};
    } else {
        uint16_t shortCount = 0;
        if (TIFFGetField(tif, tag, &shortCount, &data) != 1) return {};
        count = shortCount;
    }
    if (!data) return {};
    const T* values = static_cast<const T*>(data);
    return std::vector<T>(values, values + count);
}

// An ASCII tag, known to libtiff or not.
std::string TagText(TIFF* tif, uint32_t tag) {
    const TIFFField* field = TIFFFindField(tif, tag, TIFF_ANY);
    if (!field || TIFFFieldDataType(field) != TIFF_ASCII) return "";
    if (TIFFFieldPassCount(field)) {
        const std::vector<char> text = TagValues<char>(tif, tag, TIFF_ASCII);
        if (text.empty()) return "";
        return std::string(text.data(), strnlen(text.data(), text.size()));
    }
    const char* text = nullptr;
    if (TIFFGetField(tif, tag, &text) != 1 || !text) return "";
    return text;
}

// The value of a GeoKey held in the directory itself; -1 when absent.
int GeoKey(const std::vector<uint16_t>& directory, int key) {
    if (directory.size() < 4) return -1;
    const size_t keys = std::min<size_t>(directory[3], (directory.size() - 4) / 4);
    for (size_t k = 0; k < keys; ++k) {
        const uint16_t* entry = &directory[4 + 4 * k];
        if (entry[0] == key) return entry[1] == 0 ? entry[3] : -1;
    }
    return -1;
}

bool HasGeoKey(const std::vector<uint16_t>& directory, int key) {
    if (directory.size() < 4) return false;
    const size_t keys = std::min<size_t>(directory[3], (directory.size() - 4) / 4);
    for (size_t k = 0; k < keys; ++k) {
        if (directory[4 + 4 * k] == key) return true;
    }
    return false;
}

// What the GDAL metadata says of the grid and of each band (sample).
struct BandMetadata {
    std::string description, unit, positive;
    double scale = 1, offset = 0;
};
struct GridMetadata {
    std::string type;  // PROJ's TYPE item: VERTICAL_OFFSET_..., HORIZONTAL_OFFSET, ...
    // The names that place a sub-grid under its parent (a file of several).
    std::string gridName, parentName;
    std::vector<BandMetadata> bands;
};

GridMetadata ReadMetadata(const std::string& xml, int samples) {
    GridMetadata m;
    m.bands.resize(static_cast<size_t>(samples));
    tinyxml2::XMLDocument document;
    if (xml.empty() || document.Parse(xml.c_str(), xml.size()) != tinyxml2::XML_SUCCESS) return m;
    const tinyxml2::XMLElement* root = document.FirstChildElement("GDALMetadata");
    if (!root) return m;
    for (const tinyxml2::XMLElement* item = root->FirstChildElement("Item"); item;
         item = item->NextSiblingElement("Item")) {
        const char* name = item->Attribute("name");
        const char* text = item->GetText();
        if (!name) continue;
        const std::string value = text ? text : "";
        int sample = -1;
        if (item->QueryIntAttribute("sample", &sample) != tinyxml2::XML_SUCCESS) {
            if (std::strcmp(name, "TYPE") == 0) m.type = value;
            if (std::strcmp(name, "grid_name") == 0) m.gridName = value;
            if (std::strcmp(name, "parent_grid_name") == 0) m.parentName = value;
            continue;
        }
        if (sample < 0 || sample >= samples) continue;
        BandMetadata& band = m.bands[static_cast<size_t>(sample)];
        const char* role = item->Attribute("role");
        const std::string what = role ? role : name;
        if (what == "description" || what == "DESCRIPTION") {
            band.description = value;
        } else if (what == "unittype" || what == "UNITTYPE") {
            band.unit = value;
        } else if (what == "positive_value") {
            band.positive = value;
        } else if (what == "scale" || what == "offset") {
            char* end = nullptr;
            const double number = std::strtod(value.c_str(), &end);
            if (end != value.c_str() && std::isfinite(number))
                (what == "scale" ? band.scale : band.offset) = number;
        }
    }
    return m;
}

int BandNamed(const GridMetadata& m, const char* description) {
    for (size_t b = 0; b < m.bands.size(); ++b) {
        if (m.bands[b].description == description) return static_cast<int>(b);
    }
    return -1;
}

// One value of the grid's records: which band it is read from, and how the
// band's number becomes the value (factor after scale and offset).
struct ValueSource {
    int band = 0;
    double factor = 1;
};

// The image's storage: blocks, samples, byte order handled by libtiff.
struct Storage {
    uint32_t width = 0, height = 0;
    uint16_t samples = 1, bits = 0, format = SAMPLEFORMAT_IEEEFP, planar = PLANARCONFIG_CONTIG;
    bool tiled = false;
    uint32_t blockWidth = 0, blockHeight = 0;  // a strip: the image's width and rows per strip
    int64_t blockBytes = 0;
    uint32_t blockCount = 0;
    uint32_t across = 1;     // blocks in a row of blocks
    uint64_t perPlane = 0;   // blocks of one plane (all the bands when interleaved by pixel)
};

// A half-precision real (IEEE 754 binary16) as a real.
double HalfToDouble(uint16_t h) {
    const int exponent = (h >> 10) & 0x1f;
    const int mantissa = h & 0x3ff;
    double v;
    if (exponent == 0) {
        v = std::ldexp(mantissa, -24);
    } else if (exponent == 31) {
        v = mantissa ? std::numeric_limits<double>::quiet_NaN()
                     : std::numeric_limits<double>::infinity();
    } else {
        v = std::ldexp(mantissa + 1024, exponent - 25);
    }
    return (h & 0x8000) ? -v : v;
}

// The sample at p, stored in the processor's order once libtiff decoded it.
double Sample(const Storage& s, const unsigned char* p) {
    switch (s.format) {
        case SAMPLEFORMAT_IEEEFP:
            if (s.bits == 16) {
                uint16_t h;
                std::memcpy(&h, p, 2);
                return HalfToDouble(h);
            } else if (s.bits == 32) {
                float f;
                std::memcpy(&f, p, 4);
                return f;
            } else {
                double d;
                std::memcpy(&d, p, 8);
                return d;
            }
        case SAMPLEFORMAT_INT:
            if (s.bits == 8) return static_cast<int8_t>(*p);
            if (s.bits == 16) {
                int16_t v;
                std::memcpy(&v, p, 2);
                return v;
            } else {
                int32_t v;
                std::memcpy(&v, p, 4);
                return v;
            }
        default:
            if (s.bits == 8) return *p;
            if (s.bits == 16) {
                uint16_t v;
                std::memcpy(&v, p, 2);
                return v;
            } else {
                uint32_t v;
                std::memcpy(&v, p, 4);
                return v;
            }
    }
}

// A real stored little-endian, as the records of the grid hold it; inline,
// since every value of every node read goes through it.
inline void StoreReal(unsigned char* p, double v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, sizeof v);
    } else {
        StoreReal8LE(p, v);
    }
}

bool SampleTypeRead(uint16_t format, uint16_t bits) {
    if (format == SAMPLEFORMAT_IEEEFP) return bits == 16 || bits == 32 || bits == 64;
    if (format == SAMPLEFORMAT_INT || format == SAMPLEFORMAT_UINT)
        return bits == 8 || bits == 16 || bits == 32;
    return false;
}

struct FileIdentity {
    uint64_t device = 0, inode = 0;
    int64_t size = -1, modified = 0;
    static FileIdentity Of(const std::string& path) {
        FileIdentity id;
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return id;
        id.device = static_cast<uint64_t>(st.st_dev);
        id.inode = static_cast<uint64_t>(st.st_ino);
        id.size = static_cast<int64_t>(st.st_size);
        id.modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        return id;
    }
    bool operator==(const FileIdentity&) const = default;
};

// One grid image of the file: where it is, its storage, its lattice and how
// its bands become the values of a node.
struct Image {
    tdir_t directory = 0;
    Storage s;
    std::vector<ValueSource> values;
    std::vector<BandMetadata> bands;
    double noData = 0;
    bool hasNoData = false;
    bool noDataTag = false;  // the file gives a no-data value, usable or not
    bool flipped = false;    // rows the other way round from the first image's
    int unit = UniteDegres;  // of the node coordinates
    int kind = 0;            // values per node
    int layout = NW2E2S;
    SubGrid lattice;  // limits, steps and counts
    std::string gridName, parentName;
};

bool SameValues(const Image& a, const Image& b) {
    if (a.kind != b.kind || a.s.samples != b.s.samples || a.values.size() != b.values.size())
        return false;
    for (size_t k = 0; k < a.values.size(); ++k) {
        if (a.values[k].band != b.values[k].band || a.values[k].factor != b.values[k].factor)
            return false;
    }
    return true;
}

// The grid's node records, decoded from the images' blocks on demand. The
// decoded blocks are kept in a cache of bounded size shared by the images,
// the least recently used one giving way; each cursor holds the few blocks
// it used last, so that most nodes are read without touching the cache. A
// block that a cursor holds stays in the cache, so that its slots are every
// decoded block there is and the budget bounds them all: when the cursors
// of many copies hold every slot, the others read their values under the
// cache's lock from one more block, decoded there.
class GeoTiffSource final : public NodeSource {
public:
    GeoTiffSource(TiffHandle tif, std::string path, std::vector<Image> images, double unknown)
        : tif_(std::move(tif)),
          path_(std::move(path)),
          identity_(FileIdentity::Of(path_)),
          images_(std::move(images)),
          unknown_(unknown) {
        int64_t largest = 1;
        for (const Image& image : images_) largest = std::max(largest, image.s.blockBytes);
        const int64_t slots =
            std::clamp(kBlockCacheBytes / largest - 1, kFewestBlocks, kMostBlocks);
        cache_.resize(static_cast<size_t>(slots));
        slotOf_.reserve(2 * cache_.size());
        held_ = static_cast<size_t>(std::clamp(slots / 4, kFewestHeld, kMostHeld));
    }

    std::unique_ptr<Cursor> NewCursor() const override {
        return std::make_unique<TiffCursor>(this, images_.front().values.size());
    }

    const unsigned char* Record(Cursor& c, int index, int64_t s) override {
        if (index < 0 || static_cast<size_t>(index) >= images_.size()) return nullptr;
        TiffCursor& cursor = static_cast<TiffCursor&>(c);
        const Image& image = images_[static_cast<size_t>(index)];
        const Storage& st = image.s;
        const int64_t nodes = static_cast<int64_t>(st.width) * st.height;
        if (s < 0 || s >= nodes) return nullptr;
        uint32_t row = static_cast<uint32_t>(s / st.width);
        const uint32_t column = static_cast<uint32_t>(s % st.width);
        if (image.flipped) row = st.height - 1 - row;
        // The node's place in its blocks, the same in every plane.
        const bool separate = st.planar == PLANARCONFIG_SEPARATE;
        const uint64_t first = static_cast<uint64_t>(row / st.blockHeight) * st.across +
                               column / st.blockWidth;
        const uint64_t pixel = static_cast<uint64_t>(row % st.blockHeight) * st.blockWidth +
                               column % st.blockWidth;
        const uint64_t bytes = st.bits / 8;
        const Block* block = nullptr;  // null: read under the lock, from the block alone
        uint64_t plane = UINT64_MAX;   // of `block`
        uint64_t number = 0;           // of `block`
        for (size_t k = 0; k < image.values.size(); ++k) {
            const ValueSource& v = image.values[k];
            double value = 0;
            if (v.factor != 0) {
                // The number of the band; NaN when its block cannot be
                // decoded, so that a damaged grid never gives a plausible value.
                double raw = std::numeric_limits<double>::quiet_NaN();
                const uint64_t band = static_cast<uint64_t>(v.band);
                const uint64_t wanted = separate ? band : 0;
                if (wanted != plane) {
                    // As libtiff numbers tiles and strips: plane by plane,
                    // then rows of blocks from the top, blocks from the left.
                    number = wanted * st.perPlane + first;
                    block = BlockOf(cursor, index, image, number);
                    plane = wanted;
                }
                const uint64_t at = (separate ? pixel : pixel * st.samples + band) * bytes;
                if (!block) {
                    raw = SampleAlone(KeyOf(index, number), image, number, at);
                } else if (block->read && at + bytes <= block->bytes.size()) {
                    raw = Sample(st, block->bytes.data() + at);
                }
                if (image.hasNoData && raw == image.noData) {
                    value = unknown_;  // the grid's VALUE_UNK
                } else {
                    const BandMetadata& b = image.bands[static_cast<size_t>(v.band)];
                    value = (raw * b.scale + b.offset) * v.factor;
                }
            }
            StoreReal(cursor.record.data() + 8 * k, value);
        }
        return cursor.record.data();
    }

    bool Unchanged() const override { return FileIdentity::Of(path_) == identity_; }

private:
    struct Block {
        bool read = false;
        std::vector<unsigned char> bytes;
    };
    // A block of the file: its image in the high half, its number in the low.
    using BlockKey = int64_t;

    struct TiffCursor final : Cursor {
        TiffCursor(const NodeSource* owner, size_t values) : Cursor(owner), record(values * 8) {}
        struct Held {
            BlockKey key = -1;
            std::shared_ptr<const Block> block;
        };
        // A bilinear query touches at most four blocks in each of two
        // planes; the source says how many of these a cursor uses.
        std::array<Held, kMostHeld> held;
        size_t last = 0, next = 0;
        std::vector<unsigned char> record;
    };

    static BlockKey KeyOf(int index, uint64_t number) {
        return (static_cast<BlockKey>(index) << 32) | static_cast<BlockKey>(number);
    }

    // The block as the cursor holds it; null when the cursors hold every
    // slot of the cache: its values are then read with SampleAlone.
    const Block* BlockOf(TiffCursor& cursor, int index, const Image& image, uint64_t number) {
        const BlockKey key = KeyOf(index, number);
        // The nodes of one query mostly share a block: the last one first.
        if (cursor.held[cursor.last].key == key) return cursor.held[cursor.last].block.get();
        for (size_t k = 0; k < held_; ++k) {
            if (cursor.held[k].key == key) {
                cursor.last = k;
                return cursor.held[k].block.get();
            }
        }
        TiffCursor::Held& held = cursor.held[cursor.next];
        cursor.last = cursor.next;
        cursor.next = (cursor.next + 1) % held_;
        // The block given way to is let go first: the cache may reuse its slot.
        held.key = -1;
        held.block.reset();
        held.block = Fetch(key, image, number);
        if (held.block) held.key = key;
        return held.block.get();
    }

    // Decodes a block of the file into `block`; under mutex_.
    void Decode(const Image& image, uint64_t number, Block& block) {
        block.read = false;
        const Storage& st = image.s;
        TIFF* t = tif_.get();
        if (number < st.blockCount &&
            (TIFFCurrentDirectory(t) == image.directory || TIFFSetDirectory(t, image.directory))) {
            const uint32_t n = static_cast<uint32_t>(number);
            block.bytes.resize(static_cast<size_t>(st.blockBytes));
            const tmsize_t got =
                st.tiled ? TIFFReadEncodedTile(t, n, block.bytes.data(), st.blockBytes)
                         : TIFFReadEncodedStrip(t, n, block.bytes.data(), st.blockBytes);
            block.read = got > 0;
            if (got > 0) block.bytes.resize(static_cast<size_t>(got));
        }
    }

    // The block from the shared cache, decoded there when it is not in it;
    // null when every slot is held by cursors.
    std::shared_ptr<const Block> Fetch(BlockKey key, const Image& image, uint64_t number) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++clock_;
        if (const auto found = slotOf_.find(key); found != slotOf_.end()) {
            Slot& slot = cache_[found->second];
            slot.used = clock_;
            return slot.block;
        }
        // The block is decoded into the least recently used slot that no
        // cursor holds: a cursor takes its blocks under this lock only, so a
        // block that the cache alone holds stays so. Its block is let go
        // before the new one is decoded.
        Slot* oldest = nullptr;
        for (Slot& slot : cache_) {
            if (slot.block && slot.block.use_count() > 1) continue;
            if (!oldest || slot.used < oldest->used) oldest = &slot;
        }
        if (!oldest) return nullptr;
        if (oldest->key >= 0) slotOf_.erase(oldest->key);
        oldest->key = -1;
        oldest->block.reset();
        auto block = std::make_shared<Block>();
        Decode(image, number, *block);
        slotOf_[key] = static_cast<size_t>(oldest - cache_.data());
        oldest->key = key;
        oldest->used = clock_;
        oldest->block = std::move(block);
        return oldest->block;
    }

    // The sample `at` bytes into a block, read under the lock from the one
    // block decoded for the cursors that the cache has no slot for (the
    // cache's own copy when it has the block); NaN when it cannot be decoded.
    double SampleAlone(BlockKey key, const Image& image, uint64_t number, uint64_t at) {
        std::lock_guard<std::mutex> lock(mutex_);
        const Block* block = &alone_;
        if (const auto found = slotOf_.find(key); found != slotOf_.end()) {
            block = cache_[found->second].block.get();
        } else if (aloneKey_ != key) {
            aloneKey_ = -1;
            Decode(image, number, alone_);
            aloneKey_ = key;
        }
        const uint64_t bytes = image.s.bits / 8;
        if (!block->read || at + bytes > block->bytes.size())
            return std::numeric_limits<double>::quiet_NaN();
        return Sample(image.s, block->bytes.data() + at);
    }

    struct Slot {
        BlockKey key = -1;
        uint64_t used = 0;
        std::shared_ptr<const Block> block;
    };

    TiffHandle tif_;  // used under mutex_ only
    std::string path_;
    FileIdentity identity_;
    std::vector<Image> images_;
    double unknown_;
    std::mutex mutex_;
    std::vector<Slot> cache_;
    std::unordered_map<BlockKey, size_t> slotOf_;  // the slot of each block in the cache
    uint64_t clock_ = 0;
    size_t held_ = kMostHeld;  // blocks a cursor holds
    Block alone_;              // the block read under the lock alone, under mutex_
    BlockKey aloneKey_ = -1;
};

class GeoTiffGridReader final : public GridReader {
public:
    GeoTiffGridReader(std::string path, std::string name)
        : path_(std::move(path)), name_(std::move(name)) {}

    int Lire_EnTete(GridHeader& header, std::string& message) override;
    std::string Lire_Noeuds(const GridHeader& header, NodeSink& sink,
                            LoadProgress& progress) override {
        if (!source_) return Refusal(name_, "Grille GeoTIFF non ouverte");
        const std::unique_ptr<NodeSource::Cursor> cursor = source_->NewCursor();
        for (int64_t s = 0; s < header.NodeCount(); ++s) {
            const unsigned char* record = source_->Record(*cursor, header.image, s);
            if (!record || !sink.Take(record)) return sink.Failure();
            if (!progress.NodeDone()) return progress.Cancelled();
        }
        return "";
    }
    std::shared_ptr<NodeSource> Source() const override { return source_; }

private:
    std::string Refuse(std::string& message, const std::string& reason) const {
        message = Refusal(name_, reason);
        return message;
    }

    std::string path_, name_;
    std::shared_ptr<GeoTiffSource> source_;
};

// Whether the directory is an image of its own (not an overview or a mask).
bool IsGridImage(TIFF* tif) {
    uint32_t kind = 0;
    if (TIFFGetField(tif, TIFFTAG_SUBFILETYPE, &kind) != 1) return true;
    return (kind & (FILETYPE_REDUCEDIMAGE | FILETYPE_MASK)) == 0;
}

// Reads the current directory of `t` as a grid image of the file `path`:
// empty, or why it is refused.
std::string ReadImage(TIFF* t, const std::string& path, Image& image) {
    // Georeferencing: geographic only.
    const std::vector<uint16_t> keys = TagValues<uint16_t>(t, kGeoKeyDirectory, TIFF_SHORT);
    const int model = GeoKey(keys, kModelTypeKey);
    if ((model != -1 && model != kModelTypeGeographic) || HasGeoKey(keys, kProjectedCsKey)) {
        return "Grille GeoTIFF en coordonnées projetées ou géocentriques : seules les grilles en "
               "longitude et latitude sont prises en charge";
    }
    const int angular = GeoKey(keys, kAngularUnitsKey);
    image.unit = UniteDegres;
    if (angular == kAngularRadian) {
        image.unit = UniteRadians;
    } else if (angular == kAngularArcSecond) {
        image.unit = UniteSecondes;
    } else if (angular != -1 && angular != kAngularDegree) {
        return GridMessage("Unité angulaire de la grille GeoTIFF non prise en charge : %d",
                           angular);
    }
    const bool pixelIsPoint = GeoKey(keys, kRasterTypeKey) == kRasterPixelIsPoint;

    Storage& s = image.s;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &s.width);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &s.height);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &s.samples);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &s.bits);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLEFORMAT, &s.format);
    TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &s.planar);
    if (s.width < 1 || s.height < 1 || s.width > INT32_MAX || s.height > INT32_MAX)
        return "Dimensions de l'image GeoTIFF non valides";
    if (!SampleTypeRead(s.format, s.bits)) {
        return GridMessage("Type des valeurs de la grille GeoTIFF non pris en charge "
                           "(%d bits, format %d)",
                           s.bits, s.format);
    }
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(t, TIFFTAG_COMPRESSION, &compression);
    if (!TIFFIsCODECConfigured(compression))
        return GridMessage("Compression de la grille GeoTIFF non prise en charge : %d", compression);

    // The bands and what each value of a node is.
    const GridMetadata meta = ReadMetadata(TagText(t, kGdalMetadata), s.samples);
    image.gridName = meta.gridName;
    image.parentName = meta.parentName;
    std::vector<ValueSource>& values = image.values;
    int latitude = BandNamed(meta, "latitude_offset");
    int longitude = BandNamed(meta, "longitude_offset");
    int x = BandNamed(meta, "x_translation");
    int y = BandNamed(meta, "y_translation");
    int z = BandNamed(meta, "z_translation");
    // Bands without descriptions, in the order of the grid's declared type.
    const bool described = std::any_of(meta.bands.begin(), meta.bands.end(),
                                       [](const BandMetadata& b) { return !b.description.empty(); });
    if (!described && meta.type == "HORIZONTAL_OFFSET" && s.samples >= 2) latitude = 0, longitude = 1;
    if (!described && meta.type == "GEOCENTRIC_TRANSLATION" && s.samples >= 3) x = 0, y = 1, z = 2;
    std::string refused;
    const auto unitFactor = [&](int band, const char* expected, double& factor) {
        const std::string& u = meta.bands[static_cast<size_t>(band)].unit;
        factor = 1;
        if (u.empty() || u == expected) return true;
        if (std::strcmp(expected, "arc-second") == 0) {
            if (u == "degree") return factor = 3600, true;
            if (u == "radian") return factor = 180 * 3600 / 3.141592653589793, true;
        }
        if (std::strcmp(expected, "metre") == 0 && u == "meter") return true;
        refused = "Unité non prise en charge dans la grille GeoTIFF : " + u;
        return false;
    };
    if (latitude >= 0 && longitude >= 0) {
        double fLat = 1, fLon = 1;
        if (!unitFactor(latitude, "arc-second", fLat) || !unitFactor(longitude, "arc-second", fLon))
            return refused;
        const std::string& positive = meta.bands[static_cast<size_t>(longitude)].positive;
        if (!positive.empty() && positive != "east" && positive != "west")
            return "Sens positif des longitudes de la grille GeoTIFF inconnu : " + positive;
        // The grid keeps NTv2's convention: longitude shifts positive westwards.
        if (positive != "west") fLon = -fLon;
        values = {{latitude, fLat}, {longitude, fLon}};
        image.kind = 4;
    } else if (x >= 0 && y >= 0 && z >= 0) {
        double fx = 1, fy = 1, fz = 1;
        if (!unitFactor(x, "metre", fx) || !unitFactor(y, "metre", fy) ||
            !unitFactor(z, "metre", fz))
            return refused;
        values = {{x, fx}, {y, fy}, {z, fz}};
        image.kind = 3;
    } else if (s.samples == 1 && latitude < 0 && longitude < 0 && x < 0 && y < 0 && z < 0 &&
               (meta.type.empty() || meta.type.rfind("VERTICAL_OFFSET", 0) == 0 ||
                meta.type == "GEOID")) {
        double f = 1;
        if (!unitFactor(0, "metre", f)) return refused;
        values = {{0, f}};
        image.kind = 1;
    } else {
        return GridMessage("Disposition des bandes de la grille GeoTIFF inconnue (%d "
                           "bandes) : un géoïde a une bande, une grille de décalages les "
                           "bandes latitude_offset et longitude_offset, une grille de "
                           "translations les bandes x_translation, y_translation et "
                           "z_translation",
                           s.samples);
    }

    // Blocks: their size, and that every one of them lies in the file.
    s.tiled = TIFFIsTiled(t) != 0;
    if (s.tiled) {
        TIFFGetField(t, TIFFTAG_TILEWIDTH, &s.blockWidth);
        TIFFGetField(t, TIFFTAG_TILELENGTH, &s.blockHeight);
        s.blockBytes = TIFFTileSize64(t);
        s.blockCount = TIFFNumberOfTiles(t);
    } else {
        uint32_t rows = 0;
        TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &rows);
        s.blockWidth = s.width;
        s.blockHeight = std::min(rows, s.height);
        s.blockBytes = TIFFStripSize64(t);
        s.blockCount = TIFFNumberOfStrips(t);
    }
    s.across = (s.width + s.blockWidth - 1) / std::max<uint32_t>(s.blockWidth, 1);
    s.perPlane = static_cast<uint64_t>(s.across) *
                 ((s.height + s.blockHeight - 1) / std::max<uint32_t>(s.blockHeight, 1));
    const uint64_t expected = s.perPlane * (s.planar == PLANARCONFIG_SEPARATE ? s.samples : 1);
    if (s.blockWidth < 1 || s.blockHeight < 1 || s.blockBytes < 1 || s.blockCount != expected)
        return "Blocs de l'image GeoTIFF incohérents";
    // Every block lies whole in the file: an image larger than its file
    // (truncated, or a header that does not match it) is refused now rather
    // than giving unknown values at a query.
    const int64_t fileSize = FileIdentity::Of(path).size;
    for (uint32_t b = 0; b < s.blockCount; ++b) {
        int error = 0;
        const uint64_t offset = TIFFGetStrileOffsetWithErr(t, b, &error);
        const uint64_t bytes = TIFFGetStrileByteCountWithErr(t, b, &error);
        if (error || bytes == 0 || offset > static_cast<uint64_t>(fileSize) ||
            bytes > static_cast<uint64_t>(fileSize) - offset)
            return "Grille GeoTIFF tronquée : son image dépasse la fin du fichier";
    }
    if (s.blockBytes > kLargestBlock) {
        return GridMessage("Blocs de l'image GeoTIFF trop grands (%lld octets, %lld au plus)",
                           static_cast<long long>(s.blockBytes),
                           static_cast<long long>(kLargestBlock));
    }

    // Node positions: the tiepoint and scale, or a transformation without rotation.
    const std::vector<double> scale = TagValues<double>(t, kModelPixelScale, TIFF_DOUBLE);
    const std::vector<double> tie = TagValues<double>(t, kModelTiepoint, TIFF_DOUBLE);
    const std::vector<double> matrix = TagValues<double>(t, kModelTransformation, TIFF_DOUBLE);
    double x0, y0, dx, dy;  // the corner of pixel (0, 0), and the steps
    if (scale.size() >= 2 && tie.size() >= 6) {
        dx = scale[0];
        dy = -scale[1];
        x0 = tie[3] - tie[0] * dx;
        y0 = tie[4] - tie[1] * dy;
    } else if (matrix.size() >= 16 && matrix[1] == 0 && matrix[4] == 0) {
        dx = matrix[0];
        dy = matrix[5];
        x0 = matrix[3];
        y0 = matrix[7];
    } else {
        return "Grille GeoTIFF sans géoréférencement utilisable (ModelTiepoint et "
               "ModelPixelScale, ou ModelTransformation sans rotation)";
    }
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(dx) && std::isfinite(dy)) ||
        dx <= 0 || dy == 0)
        return "Géoréférencement de la grille GeoTIFF non valide";
    // Pixel-is-area: the tiepoint is the pixel's corner, the node its centre.
    if (!pixelIsPoint) {
        x0 += dx / 2;
        y0 += dy / 2;
    }
    SubGrid& g = image.lattice;
    g.N_COLUMNS = static_cast<int32_t>(s.width);
    g.N_LINES = static_cast<int32_t>(s.height);
    g.X_INC = dx;
    g.Y_INC = std::fabs(dy);
    g.X_MIN = x0;
    g.X_MAX = x0 + (s.width - 1.0) * dx;
    // Rows north to south (the usual image), or south to north.
    image.layout = dy < 0 ? NW2E2S : SW2E2N;
    g.Y_MIN = dy < 0 ? y0 + (s.height - 1.0) * dy : y0;
    g.Y_MAX = dy < 0 ? y0 : y0 + (s.height - 1.0) * dy;

    const std::string noDataText = TagText(t, kGdalNoData);
    image.noDataTag = !noDataText.empty();
    if (image.noDataTag) {
        char* end = nullptr;
        image.noData = std::strtod(noDataText.c_str(), &end);
        image.hasNoData = end != noDataText.c_str() && std::isfinite(image.noData) && image.noData != 0;
        if (image.hasNoData && s.format == SAMPLEFORMAT_IEEEFP && s.bits == 32)
            image.noData = static_cast<float>(image.noData);  // as the samples hold it
    }
    // The four values of a shift node: the two accuracies are absent (0).
    if (image.kind == 4) values.push_back({latitude, 0}), values.push_back({latitude, 0});
    image.bands = meta.bands;
    return "";
}

// Whether the lattice `outer` holds the whole of `inner`.
bool Holds(const SubGrid& outer, const SubGrid& inner) {
    return inner.X_MIN >= outer.X_MIN && inner.X_MAX <= outer.X_MAX &&
           inner.Y_MIN >= outer.Y_MIN && inner.Y_MAX <= outer.Y_MAX;
}

// The parent of each image (an earlier one, or -1 at the top level), the
// hierarchy built as PROJ builds it for its grids: an image names its parent
// (grid_name, parent_grid_name) when the parent holds it; an image that
// names itself without a parent is of the top level; any other goes under
// the deepest earlier image, of the first top-level one holding it, that
// holds it.
std::vector<int> Parents(const std::vector<Image>& images) {
    const size_t n = images.size();
    std::vector<int> parent(n, -1);
    std::vector<size_t> tops;
    for (size_t k = 0; k < n; ++k) {
        const Image& image = images[k];
        if (!image.parentName.empty()) {
            size_t named = k;
            for (size_t p = 0; p < k; ++p) {
                if (images[p].gridName == image.parentName) named = p;  // the last of the name
            }
            if (named < k && Holds(images[named].lattice, image.lattice)) {
                parent[k] = static_cast<int>(named);
                continue;
            }
        } else if (!image.gridName.empty()) {
            tops.push_back(k);
            continue;
        }
        bool placed = false;
        for (size_t top : tops) {
            if (!Holds(images[top].lattice, image.lattice)) continue;
            size_t at = top;
            for (bool deeper = true; deeper;) {
                deeper = false;
                for (size_t c = 0; c < k; ++c) {
                    if (parent[c] == static_cast<int>(at) && Holds(images[c].lattice, image.lattice)) {
                        at = c;
                        deeper = true;
                        break;
                    }
                }
            }
            parent[k] = static_cast<int>(at);
            placed = true;
            break;
        }
        if (!placed) tops.push_back(k);
    }
    return parent;
}

int GeoTiffGridReader::Lire_EnTete(GridHeader& h, std::string& message) {
    source_.reset();
    TiffHandle tif = OpenTiff(path_);
    if (!tif) {
        Refuse(message, "Fichier GeoTIFF illisible");
        return kHeaderRefused;
    }
    TIFF* t = tif.get();
    // The grid images, overviews and masks aside: one, or the sub-grids of a
    // file of several, each read as a grid of its own.
    std::vector<tdir_t> directories;
    do {
        if (IsGridImage(t)) directories.push_back(TIFFCurrentDirectory(t));
    } while (TIFFReadDirectory(t));
    if (directories.empty()) {
        Refuse(message, "Fichier GeoTIFF sans image de grille");
        return kHeaderRefused;
    }
    std::vector<Image> images(directories.size());
    for (size_t k = 0; k < images.size(); ++k) {
        Image& image = images[k];
        image.directory = directories[k];
        if (!TIFFSetDirectory(t, image.directory)) {
            Refuse(message, "Fichier GeoTIFF illisible");
            return kHeaderRefused;
        }
        const std::string reason = ReadImage(t, path_, image);
        const std::string which =
            images.size() > 1 ? GridMessage("Sous-grille n° %d : ", static_cast<int>(k + 1)) : "";
        if (!reason.empty()) {
            Refuse(message, which + reason);
            return kHeaderRefused;
        }
        if (k == 0) continue;
        // Every sub-grid gives the same values as the first, in the same unit.
        if (!SameValues(image, images[0])) {
            Refuse(message, which + "ses bandes diffèrent de celles de la première sous-grille "
                                    "; toutes les sous-grilles d'une grille GeoTIFF ont les "
                                    "mêmes bandes, de même sens");
            return kHeaderRefused;
        }
        if (image.unit != images[0].unit) {
            Refuse(message, which + "unité angulaire différente de celle de la première "
                                    "sous-grille");
            return kHeaderRefused;
        }
        image.flipped = image.layout != images[0].layout;
    }

    const Image& first = images[0];
    const SubGrid& g = first.lattice;
    h.NODE_COORD_UNIT = h.INC_UNIT = first.unit;
    h.NODE_COORD_TYPE = CoordonneesLonLat;
    h.N_COLUMNS = g.N_COLUMNS;
    h.N_LINES = g.N_LINES;
    h.CountNodes();
    h.X_INC = g.X_INC;
    h.Y_INC = g.Y_INC;
    h.X_MIN = g.X_MIN;
    h.X_MAX = g.X_MAX;
    h.LAYOUT = first.layout;
    h.Y_MIN = g.Y_MIN;
    h.Y_MAX = g.Y_MAX;
    h.EAST_TO_WEST = 0;
    h.VALUES_LOCATION = 0;
    h.NODE_COORD_WRITTEN = 0;
    h.CODE_PREC = 0;
    h.VALUES_NUMBER = first.kind;
    h.VALUES_TYPE = Real8;
    h.Taille_Valeur();
    h.TRANSLATION.assign(static_cast<size_t>(first.kind), 0.0);
    h.VALUES_UNIT = first.kind == 4 ? UniteSecondes : UniteMetres;
    h.INTERPOLATION_TYPE = Bilineaire;
    h.firstRecordOffset = 0;
    h.image = 0;
    if (first.noDataTag) h.VALUE_UNK = first.hasNoData ? first.noData : 0;
    // The first sub-grid's no-data value marks the unknown values of all;
    // when it has none, the first that has one.
    for (const Image& image : images) {
        if (h.VALUE_UNK != 0 || first.hasNoData) break;
        if (image.hasNoData) h.VALUE_UNK = image.noData;
    }

    h.subGrids.clear();
    if (images.size() > 1) {
        const std::vector<int> parents = Parents(images);
        for (size_t k = 0; k < images.size(); ++k) {
            SubGrid sub = images[k].lattice;
            sub.image = static_cast<int>(k);
            sub.parent = parents[k];
            h.subGrids.push_back(sub);
        }
        DepthsFromParents(h.subGrids);
    }
    if (!TIFFSetDirectory(t, first.directory)) {
        Refuse(message, "Fichier GeoTIFF illisible");
        return kHeaderRefused;
    }
    source_ = std::make_shared<GeoTiffSource>(std::move(tif), path_, std::move(images), h.VALUE_UNK);
    return kHeaderRead;
}

}  // namespace

std::unique_ptr<GridReader> OpenGeoTiffReader(const std::string& path, const std::string& name) {
    return std::make_unique<GeoTiffGridReader>(path, name);
}
