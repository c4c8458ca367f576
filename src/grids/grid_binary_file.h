#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

// A grid's binary file (binary cache, NTv2 binary) opened read-only for
// reading node records at any 64-bit offset. The file is mapped into memory
// when the system allows it, so a node read is a memory access; otherwise each
// read is one positioned read (pread) of the whole span asked for. Neither
// moves a file position, so copies of a grid may share one open file.
class GridBinaryFile {
public:
    // Null when the file cannot be opened. map = false forces positioned reads.
    static std::shared_ptr<GridBinaryFile> Open(const std::string& path, bool map = true);
    ~GridBinaryFile();
    GridBinaryFile(const GridBinaryFile&) = delete;
    GridBinaryFile& operator=(const GridBinaryFile&) = delete;

    int64_t Size() const { return size_; }
    bool Mapped() const { return data_ != nullptr; }

    // The n bytes at offset, in place; null when not mapped or out of the file.
    const unsigned char* View(int64_t offset, size_t n) const {
        if (!data_ || offset < 0 || n > static_cast<uint64_t>(size_) ||
            offset > size_ - static_cast<int64_t>(n))
            return nullptr;
        return data_ + offset;
    }
    // Copies the n bytes at offset; false when they are not all in the file.
    bool Read(int64_t offset, void* destination, size_t n) const;

    // Whether the file is still, under the name it was opened with, the file
    // as it was opened: same size and modification time, neither replaced nor
    // removed. Reading through the mapping of a file truncated since would end
    // the program, and a file rewritten or replaced no longer matches the
    // header read from it.
    bool Unchanged() const;

private:
    GridBinaryFile() = default;
    int fd_ = -1;
    int64_t size_ = 0;
    const unsigned char* data_ = nullptr;
    std::string path_;  // absolute, so that a later change of directory does not matter
    uint64_t device_ = 0, inode_ = 0;
    int64_t modified_ = 0;  // nanoseconds
};

// Little-endian numbers as stored in binary grids, whatever the processor.
// Inline: every node read decodes its values with them.
namespace grid_bytes {
template <class Unsigned>
inline Unsigned LoadLE(const unsigned char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        Unsigned v;
        std::memcpy(&v, p, sizeof v);  // one load
        return v;
    } else {
        Unsigned v = 0;
        for (size_t i = 0; i < sizeof(Unsigned); ++i) v |= static_cast<Unsigned>(p[i]) << (8 * i);
        return v;
    }
}
}  // namespace grid_bytes
inline int16_t LoadInt16LE(const unsigned char* p) {
    return std::bit_cast<int16_t>(grid_bytes::LoadLE<uint16_t>(p));
}
inline int32_t LoadInt32LE(const unsigned char* p) {
    return std::bit_cast<int32_t>(grid_bytes::LoadLE<uint32_t>(p));
}
inline float LoadReal4LE(const unsigned char* p) {
    return std::bit_cast<float>(grid_bytes::LoadLE<uint32_t>(p));
}
inline double LoadReal8LE(const unsigned char* p) {
    return std::bit_cast<double>(grid_bytes::LoadLE<uint64_t>(p));
}
// Big-endian numbers (NTv2 grids written on big-endian processors).
int32_t LoadInt32BE(const unsigned char* p);
double LoadReal8BE(const unsigned char* p);
// One value of TypeVal `type` stored big-endian at p, as a real (0 for an
// undefined type).
double DecodeValueBE(int type, const unsigned char* p);
void StoreInt16LE(unsigned char* p, int16_t v);
void StoreInt32LE(unsigned char* p, int32_t v);
void StoreReal4LE(unsigned char* p, float v);
void StoreReal8LE(unsigned char* p, double v);
