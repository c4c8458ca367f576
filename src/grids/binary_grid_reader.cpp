// The node records of a binary grid (binary cache, NTv2 binary), read in
// place from the file, and the check that the file holds them all.

#include <vector>

#include "grids/grid_message.h"
#include "grids/grid_progress.h"
#include "grids/grid_reader.h"

namespace {

// The `nodes` records from byte `first` on.
std::string ReadRecords(const GridBinaryFile& file, const GridHeader& h, int64_t first,
                        int64_t nodes, NodeSink& sink, LoadProgress& progress) {
    const size_t recordSize = static_cast<size_t>(h.RecordSize());
    std::vector<unsigned char> buffer(recordSize);
    for (int64_t s = 0; s < nodes; ++s) {
        const int64_t at = first + s * static_cast<int64_t>(recordSize);
        const unsigned char* record = file.View(at, recordSize);
        if (!record && file.Read(at, buffer.data(), recordSize)) record = buffer.data();
        if (!record) break;  // cannot happen: the size was checked
        if (!sink.Take(record)) return sink.Failure();
        if (!progress.NodeDone()) return progress.Cancelled();
    }
    return "";
}

}  // namespace

std::string LireNoeudsBinaires(const GridBinaryFile& file, const GridHeader& h, NodeSink& sink,
                               LoadProgress& progress) {
    if (h.subGrids.empty()) return ReadRecords(file, h, h.firstRecordOffset, h.NodeCount(), sink, progress);
    for (const SubGrid& sub : h.subGrids) {
        const std::string failure =
            ReadRecords(file, h, sub.firstRecordOffset,
                        static_cast<int64_t>(sub.N_COLUMNS) * sub.N_LINES, sink, progress);
        if (!failure.empty()) return failure;
    }
    return "";
}

std::string BinaryGridReader::Lire_Noeuds(const GridHeader& h, NodeSink& sink,
                                          LoadProgress& progress) {
    return LireNoeudsBinaires(*file_, h, sink, progress);
}

std::string VerifierTailleBinaire(const GridBinaryFile* file, const GridHeader& h) {
    if (!file) return "Impossible d'ouvrir le fichier\n" + h.NAME;
    const int64_t record = h.RecordSize();
    const int64_t nodes = h.NodeCount();
    const int64_t room = INT64_MAX - h.firstRecordOffset;
    const int64_t needed =
        (record > 0 && nodes > room / record) ? INT64_MAX : h.firstRecordOffset + nodes * record;
    if (file->Size() >= needed) return "";
    return GridMessage("Grille incomplète :\n%s\n(%lld octets au lieu de %lld attendus)",
                       h.NAME.c_str(), static_cast<long long>(file->Size()),
                       static_cast<long long>(needed));
}
