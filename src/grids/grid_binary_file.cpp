#include "grids/grid_binary_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

int64_t ModifiedNanoseconds(const struct stat& st) {
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

}  // namespace

std::shared_ptr<GridBinaryFile> GridBinaryFile::Open(const std::string& path, bool map) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::shared_ptr<GridBinaryFile> file(new GridBinaryFile);
    file->fd_ = fd;
    file->size_ = static_cast<int64_t>(st.st_size);
    file->device_ = static_cast<uint64_t>(st.st_dev);
    file->inode_ = static_cast<uint64_t>(st.st_ino);
    file->modified_ = ModifiedNanoseconds(st);
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    file->path_ = failed ? path : absolute.string();
    if (map && file->size_ > 0) {
        void* p = ::mmap(nullptr, static_cast<size_t>(file->size_), PROT_READ, MAP_SHARED, fd, 0);
        if (p != MAP_FAILED) {
            file->data_ = static_cast<const unsigned char*>(p);
            // Queries jump around the grid: no read-ahead of whole stretches.
            ::madvise(p, static_cast<size_t>(file->size_), MADV_RANDOM);
        }
    }
    return file;
}

GridBinaryFile::~GridBinaryFile() {
    if (data_) ::munmap(const_cast<unsigned char*>(data_), static_cast<size_t>(size_));
    if (fd_ >= 0) ::close(fd_);
}

bool GridBinaryFile::Unchanged() const {
    struct stat open {};
    if (::fstat(fd_, &open) != 0 || static_cast<int64_t>(open.st_size) != size_ ||
        ModifiedNanoseconds(open) != modified_)
        return false;
    struct stat named {};
    return ::stat(path_.c_str(), &named) == 0 && static_cast<uint64_t>(named.st_dev) == device_ &&
           static_cast<uint64_t>(named.st_ino) == inode_;
}

bool GridBinaryFile::Read(int64_t offset, void* destination, size_t n) const {
    if (offset < 0 || n > static_cast<uint64_t>(size_) || offset > size_ - static_cast<int64_t>(n))
        return false;
    if (data_) {
        std::memcpy(destination, data_ + offset, n);
        return true;
    }
    auto* out = static_cast<unsigned char*>(destination);
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += got;
        n -= static_cast<size_t>(got);
    }
    return true;
}

namespace {

template <class Unsigned>
Unsigned LoadLE(const unsigned char* p) {
    Unsigned v = 0;
    for (size_t i = 0; i < sizeof(Unsigned); ++i) v |= static_cast<Unsigned>(p[i]) << (8 * i);
    return v;
}

template <class Unsigned>
void StoreLE(unsigned char* p, Unsigned v) {
    for (size_t i = 0; i < sizeof(Unsigned); ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

template <class Unsigned>
Unsigned LoadBE(const unsigned char* p) {
    Unsigned v = 0;
    for (size_t i = 0; i < sizeof(Unsigned); ++i) v = static_cast<Unsigned>(v << 8) | p[i];
    return v;
}

}  // namespace

int32_t LoadInt32BE(const unsigned char* p) {
    return std::bit_cast<int32_t>(LoadBE<uint32_t>(p));
}
double LoadReal8BE(const unsigned char* p) {
    return std::bit_cast<double>(LoadBE<uint64_t>(p));
}
double DecodeValueBE(int type, const unsigned char* p) {
    switch (type) {
        case 1:
            return std::bit_cast<int16_t>(LoadBE<uint16_t>(p));
        case 2:
            return std::bit_cast<int32_t>(LoadBE<uint32_t>(p));
        case 3:
            return std::bit_cast<float>(LoadBE<uint32_t>(p));
        case 4:
            return std::bit_cast<double>(LoadBE<uint64_t>(p));
        default:
            return 0;
    }
}

// On a little-endian processor these compile to plain loads and stores.
void StoreInt16LE(unsigned char* p, int16_t v) {
    StoreLE(p, std::bit_cast<uint16_t>(v));
}
void StoreInt32LE(unsigned char* p, int32_t v) {
    StoreLE(p, std::bit_cast<uint32_t>(v));
}
void StoreReal4LE(unsigned char* p, float v) {
    StoreLE(p, std::bit_cast<uint32_t>(v));
}
void StoreReal8LE(unsigned char* p, double v) {
    StoreLE(p, std::bit_cast<uint64_t>(v));
}
