#include "grids/grid.h"

#include <new>

#include "grids/node_layout.h"

CGrille::CGrille() = default;

CGrille::~CGrille() {
    Fermer();
}

void CGrille::FermerFichiers() {
    binary_.reset();
    text_.file.reset();
}

void CGrille::Fermer() {
    FermerFichiers();
    TRANSLATION.clear();
    if (!onDisk) LibererValeurs();
}

void CGrille::LibererValeurs() {
    values16 = {};
    values32 = {};
    valuesReal4 = {};
    valuesReal8 = {};
    codes = {};
}

bool CGrille::AllouerValeurs(int64_t nodes) {
    LibererValeurs();
    try {
        const size_t count = static_cast<size_t>(nodes) * static_cast<size_t>(VALUES_NUMBER);
        switch (VALUES_TYPE) {
            case Integer2:
                values16.resize(count);
                break;
            case Integer4:
                values32.resize(count);
                break;
            case Real4:
                valuesReal4.resize(count);
                break;
            default:
                valuesReal8.resize(count);
                break;
        }
        codes.resize(static_cast<size_t>(nodes));
    } catch (const std::bad_alloc&) {
        LibererValeurs();
        return false;
    }
    return true;
}

void CGrille::Taille_Valeur() {
    switch (VALUES_TYPE) {
        case Integer2:
            valueSize = 2;
            break;
        case Integer4:
        case Real4:
            valueSize = 4;
            break;
        case Real8:
            valueSize = 8;
            break;
        default:
            break;
    }
}

int64_t CGrille::RecordSize() const {
    const int64_t values = static_cast<int64_t>(valueSize) * VALUES_NUMBER;
    return CODE_PREC ? values + 4 : values;
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

void CGrille::Lire_Noeud(int c, int l, double* values, int& code) const {
    const int n = VALUES_NUMBER > 0 ? VALUES_NUMBER : 0;
    for (int k = 0; k < n; ++k) values[k] = 0;
    code = 0;
    if (c < 0 || c >= N_COLUMNS || l < 0 || l >= N_LINES) return;
    const int64_t s = StorageIndex(LAYOUT, c, l, N_COLUMNS, N_LINES);
    if (s < 0) return;

    if (onDisk) {
        // One record read as a whole: from the mapping, or one positioned read.
        const int64_t size = RecordSize();
        const int64_t offset = firstRecordOffset + s * size;
        const unsigned char* record =
            binary_ ? binary_->View(offset, static_cast<size_t>(size)) : nullptr;
        if (!record && binary_) {
            auto& buffer = readScratch_.record;
            if (buffer.size() < static_cast<size_t>(size)) buffer.resize(static_cast<size_t>(size));
            if (binary_->Read(offset, buffer.data(), static_cast<size_t>(size)))
                record = buffer.data();
        }
        if (!record) return;  // closed, short or unreadable file: zeros and code 0
        for (int k = 0; k < n; ++k)
            values[k] = DecodeValue(VALUES_TYPE, record + k * valueSize, bigEndian);
        if (CODE_PREC) {
            const unsigned char* p = record + static_cast<int64_t>(n) * valueSize;
            code = bigEndian ? LoadInt32BE(p) : LoadInt32LE(p);
        }
    } else {
        const size_t first = static_cast<size_t>(s) * static_cast<size_t>(n);
        auto take = [&](const auto& array) {
            if (first + n > array.size()) return;
            for (int k = 0; k < n; ++k) values[k] = static_cast<double>(array[first + k]);
        };
        switch (VALUES_TYPE) {
            case Integer2:
                take(values16);
                break;
            case Integer4:
                take(values32);
                break;
            case Real4:
                take(valuesReal4);
                break;
            case Real8:
                take(valuesReal8);
                break;
            default:
                break;
        }
        if (CODE_PREC && static_cast<size_t>(s) < codes.size())
            code = codes[static_cast<size_t>(s)];
    }

    if (VALUE_UNK_TO_ZERO) {
        for (int k = 0; k < n; ++k) {
            if (values[k] == VALUE_UNK) values[k] = 0;
        }
    }
}

void CGrille::Position_Noeud(int64_t s, double* point, int& c, int& l) const {
    int64_t column = 0, line = 0;
    NodeOfStorageIndex(LAYOUT, s, N_COLUMNS, N_LINES, column, line);
    c = static_cast<int>(column);
    l = static_cast<int>(line);
    point[0] = X_MIN + c * X_INC;
    point[1] = Y_MIN + l * Y_INC;
    point[2] = 0;
}
