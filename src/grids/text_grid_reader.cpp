// The node values of a text grid, whatever its format: read in free format or
// in fixed widths, node after node, and handed on as the records of the
// binary cache.

#include <vector>

#include "grids/grid_message.h"
#include "grids/grid_progress.h"
#include "grids/grid_reader.h"

namespace {

using Lecture = GridTextFile::Lecture;

// Stores v little-endian at p, in the type it was read as.
void Store(int16_t v, unsigned char* p) {
    StoreInt16LE(p, v);
}
void Store(int32_t v, unsigned char* p) {
    StoreInt32LE(p, v);
}
void Store(float v, unsigned char* p) {
    StoreReal4LE(p, v);
}
void Store(double v, unsigned char* p) {
    StoreReal8LE(p, v);
}

// Free format: the next word as a number of type T, stored at p.
template <class T>
Lecture ReadFree(GridTextFile& file, unsigned char* p) {
    T v{};
    Lecture got;
    if constexpr (std::is_same_v<T, int16_t>) got = file.ReadInt16(v);
    if constexpr (std::is_same_v<T, int32_t>) got = file.ReadInt32(v);
    if constexpr (std::is_same_v<T, float>) got = file.ReadReal4(v);
    if constexpr (std::is_same_v<T, double>) got = file.ReadReal8(v);
    if (got == Lecture::Ok) Store(v, p);
    return got;
}

Lecture ReadFree(GridTextFile& file, int type, unsigned char* p) {
    switch (type) {
        case Integer2:
            return ReadFree<int16_t>(file, p);
        case Integer4:
            return ReadFree<int32_t>(file, p);
        case Real4:
            return ReadFree<float>(file, p);
        default:
            return ReadFree<double>(file, p);
    }
}

// Fixed width: the field's text as a number of type T, stored at p.
template <class T>
Lecture ParseField(const char* a, const char* b, unsigned char* p) {
    T v{};
    if (!ParseWholeNumber(a, b, v)) return Lecture::Illisible;
    Store(v, p);
    return Lecture::Ok;
}

// A fixed-width field (blanks around the number allowed).
Lecture ReadFixed(GridTextFile& file, int type, size_t width, unsigned char* p, bool& endedLine) {
    const std::string field = file.ReadField(width);
    endedLine = !field.empty() && field.back() == '\n';
    if (field.empty()) return Lecture::Fin;
    size_t first = field.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return Lecture::Illisible;
    const size_t last = field.find_last_not_of(" \t\r\n") + 1;
    const char* a = field.data() + first;
    const char* b = field.data() + last;
    switch (type) {
        case Integer2:
            return ParseField<int16_t>(a, b, p);
        case Integer4:
            return ParseField<int32_t>(a, b, p);
        case Real4:
            return ParseField<float>(a, b, p);
        default:
            return ParseField<double>(a, b, p);
    }
}

}  // namespace

std::string TextGridReader::Lire_Noeuds(const GridHeader& h, NodeSink& sink,
                                        LoadProgress& progress) {
    return LireNoeudsTexte(*file_, h, h.NodeCount(), name_, sink, progress);
}

std::string LireNoeudsTexte(GridTextFile& text, const GridHeader& h, int64_t nodes,
                            const std::string& name, NodeSink& sink, LoadProgress& progress) {
    const int n = h.VALUES_NUMBER;
    const size_t valueSize = static_cast<size_t>(h.valueSize);
    std::vector<unsigned char> record(static_cast<size_t>(h.RecordSize()));
    int64_t inRow = 0;
    for (int64_t node = 0; node < nodes; ++node) {
        if (h.rowWrap && inRow == h.N_COLUMNS) {
            text.ReadField(valueSize + 1);  // the rest of the row's line
            inRow = 0;
        }
        Lecture got = Lecture::Ok;
        if (h.NODE_COORD_WRITTEN) {
            double coordinate = 0;
            got = text.ReadReal8(coordinate);
            if (got == Lecture::Ok) got = text.ReadReal8(coordinate);
        }
        bool endedLine = false;
        for (int k = 0; k < n && got == Lecture::Ok; ++k) {
            unsigned char* p = record.data() + static_cast<size_t>(k) * valueSize;
            bool fieldEndedLine = false;
            got = h.SEP ? ReadFree(text, h.VALUES_TYPE, p)
                        : ReadFixed(text, h.VALUES_TYPE, valueSize, p, fieldEndedLine);
            endedLine = endedLine || fieldEndedLine;
        }
        int32_t code = 0;
        if (got == Lecture::Ok && h.CODE_PREC) got = text.ReadInt32(code);

        if (got == Lecture::Fin)
            return GridMessage("Grille incomplète :\n%s\n(%lld noeuds lus sur %lld attendus)",
                               name.c_str(), static_cast<long long>(node),
                               static_cast<long long>(nodes));
        if (got == Lecture::Illisible)
            return GridMessage("Valeur illisible dans la grille :\n%s\n(noeud %lld, octet %lld)",
                               name.c_str(), static_cast<long long>(node + 1),
                               static_cast<long long>(text.Offset()));
        if (h.CODE_PREC) StoreInt32LE(record.data() + static_cast<size_t>(n) * valueSize, code);
        if (!sink.Take(record.data())) return sink.Failure();
        // A short last field ends its row early: the next row starts on the next line.
        inRow = endedLine ? 0 : inRow + 1;
        if (!progress.NodeDone()) return progress.Cancelled();
    }
    return "";
}
