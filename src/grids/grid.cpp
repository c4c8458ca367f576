// The grid's values: where a node record is (the binary file, read in place,
// or memory), the decoding of its values and code, and the node positions.

#include "grids/grid.h"

#include "grids/grid_file_name.h"
#include "grids/grid_reader.h"
#include "grids/node_layout.h"

CGrille::CGrille() = default;

CGrille::~CGrille() {
    Fermer();
}

void CGrille::Fermer() {
    binary_.reset();
    source_.reset();
    readScratch_.cursor.reset();
    header.TRANSLATION.clear();
    if (!onDisk) records.Clear();
}

std::string CGrille::Path() const {
    return GridPath(folder, header.NAME);
}

double* CGrille::WorkSpace(size_t n) {
    if (scratch_.values.size() < n) scratch_.values.resize(n);
    return scratch_.values.data();
}

namespace {

// One value of type `type` stored at p, as a real.
double DecodeValue(int type, const unsigned char* p, bool bigEndian) {
    if (bigEndian) return DecodeValueBE(type, p);
    switch (type) {
        case Integer2:
            return LoadInt16LE(p);
        case Integer4:
            return LoadInt32LE(p);
        case Real4:
            return LoadReal4LE(p);
        case Real8:
            return LoadReal8LE(p);
        default:
            return 0;
    }
}

}  // namespace

const unsigned char* CGrille::Record(int64_t s) const {
    if (!onDisk) {
        // Memory holds the records of every sub-grid one after the other: a
        // sub-grid standing in for the lattice starts where its offset says.
        int64_t first = 0;
        if (!header.subGrids.empty() && header.RecordSize() > 0)
            first = (header.firstRecordOffset - header.subGrids.front().firstRecordOffset) /
                    header.RecordSize();
        return records.Record(first + s);
    }
    if (source_) {
        auto& cursor = readScratch_.cursor;
        if (!cursor || cursor->Owner() != source_.get()) cursor = source_->NewCursor();
        return source_->Record(*cursor, header.image, s);
    }
    if (!binary_) return nullptr;
    // One record read as a whole: from the mapping, or one positioned read.
    const int64_t size = header.RecordSize();
    const int64_t offset = header.firstRecordOffset + s * size;
    if (const unsigned char* record = binary_->View(offset, static_cast<size_t>(size)))
        return record;
    auto& buffer = readScratch_.record;
    if (buffer.size() < static_cast<size_t>(size)) buffer.resize(static_cast<size_t>(size));
    return binary_->Read(offset, buffer.data(), static_cast<size_t>(size)) ? buffer.data()
                                                                           : nullptr;
}

void CGrille::Lire_Noeud(int c, int l, double* values, int& code) const {
    const GridHeader& h = header;
    const int n = h.VALUES_NUMBER > 0 ? h.VALUES_NUMBER : 0;
    for (int k = 0; k < n; ++k) values[k] = 0;
    code = 0;
    if (c < 0 || c >= h.N_COLUMNS || l < 0 || l >= h.N_LINES) return;
    const int64_t s = StorageIndex(h.LAYOUT, c, l, h.N_COLUMNS, h.N_LINES);
    if (s < 0) return;
    const unsigned char* record = Record(s);
    if (!record) return;  // closed, short or unreadable file, or not in memory: zeros and code 0
    for (int k = 0; k < n; ++k)
        values[k] = DecodeValue(h.VALUES_TYPE, record + k * h.valueSize, h.bigEndian);
    if (h.CODE_PREC) {
        const unsigned char* p = record + static_cast<int64_t>(n) * h.valueSize;
        code = h.bigEndian ? LoadInt32BE(p) : LoadInt32LE(p);
    }
    if (h.VALUE_UNK_TO_ZERO) {
        for (int k = 0; k < n; ++k) {
            if (values[k] == h.VALUE_UNK) values[k] = 0;
        }
    }
}

void CGrille::Position_Noeud(int64_t s, double* point, int& c, int& l) const {
    int64_t column = 0, line = 0;
    NodeOfStorageIndex(header.LAYOUT, s, header.N_COLUMNS, header.N_LINES, column, line);
    c = static_cast<int>(column);
    l = static_cast<int>(line);
    point[0] = header.X_MIN + c * header.X_INC;
    point[1] = header.Y_MIN + l * header.Y_INC;
    point[2] = 0;
}
