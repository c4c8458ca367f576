#include "grids/grid_text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr size_t kBufferSize = 1 << 20;
// No number of a grid file is this long; a longer word is refused.
constexpr size_t kLongestWord = 512;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::unique_ptr<GridTextFile> GridTextFile::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<GridTextFile> file(new GridTextFile);
    file->fd_ = fd;
    // Not filled in advance: a small grid touches only the pages it reads.
    file->buffer_.reset(new char[kBufferSize]);
    return file;
}

GridTextFile::~GridTextFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool GridTextFile::Fill(size_t wanted) {
    if (end_ - pos_ >= wanted) return true;
    if (atEof_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
        consumed_ += static_cast<int64_t>(pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    while (end_ < wanted && !atEof_) {
        const ssize_t got = ::read(fd_, buffer_.get() + end_, kBufferSize - end_);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            atEof_ = true;  // a read error ends the file like its end
            break;
        }
        end_ += static_cast<size_t>(got);
    }
    return end_ - pos_ >= wanted;
}

int GridTextFile::Get() {
    if (!Fill(1)) return -1;
    char c = buffer_[pos_++];
    if (c == '\r' && Fill(1) && buffer_[pos_] == '\n') c = buffer_[pos_++];
    return static_cast<unsigned char>(c);
}

bool GridTextFile::ReadLine(std::string& line, size_t maxChars) {
    line.clear();
    if (!Fill(1)) return false;
    while (line.size() < maxChars) {
        const int c = Get();
        if (c < 0) break;
        line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return true;
}

bool GridTextFile::Seek(int64_t offset) {
    if (offset < 0 || ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return false;
    pos_ = end_ = 0;
    consumed_ = offset;
    atEof_ = false;
    return true;
}

std::string GridTextFile::ReadField(size_t width) {
    std::string field;
    while (field.size() < width) {
        const int c = Get();
        if (c < 0) break;
        field.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return field;
}

bool GridTextFile::NextWord(const char*& first, const char*& last) {
    for (;;) {
        if (!Fill(1)) return false;
        while (pos_ < end_ && IsBlank(buffer_[pos_])) ++pos_;
        if (pos_ < end_) break;
    }
    Fill(kLongestWord);
    const char* begin = buffer_.get() + pos_;
    const char* stop = buffer_.get() + end_;
    const char* p = begin;
    while (p != stop && !IsBlank(*p) && static_cast<size_t>(p - begin) < kLongestWord) ++p;
    first = begin;
    last = p;
    pos_ += static_cast<size_t>(p - begin);
    if (p == stop || IsBlank(*p)) return true;
    // Too long to be a number: skip the rest of it and hand back no word.
    while (Fill(1) && !IsBlank(buffer_[pos_])) ++pos_;
    first = last = nullptr;
    return true;
}

template <class T>
GridTextFile::Lecture GridTextFile::ReadNumber(T& v) {
    const char *first = nullptr, *last = nullptr;
    if (!NextWord(first, last)) return Lecture::Fin;
    return ParseWholeNumber(first, last, v) ? Lecture::Ok : Lecture::Illisible;
}

GridTextFile::Lecture GridTextFile::ReadReal8(double& v) {
    return ReadNumber(v);
}
GridTextFile::Lecture GridTextFile::ReadReal4(float& v) {
    return ReadNumber(v);
}
GridTextFile::Lecture GridTextFile::ReadInt32(int32_t& v) {
    return ReadNumber(v);
}
GridTextFile::Lecture GridTextFile::ReadInt16(int16_t& v) {
    return ReadNumber(v);
}

GridTextFile::Lecture GridTextFile::ReadWord(std::string& word) {
    const char *first = nullptr, *last = nullptr;
    if (!NextWord(first, last)) return Lecture::Fin;
    if (first == nullptr) return Lecture::Illisible;
    word.assign(first, last);
    return Lecture::Ok;
}
