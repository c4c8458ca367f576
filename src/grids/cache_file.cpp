#include "grids/cache_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

CacheFile::CacheFile(std::string finalName) : finalName_(std::move(finalName)) {}

CacheFile::~CacheFile() {
    if (stream_) std::fclose(stream_);
    if (!committed_ && !tempName_.empty()) ::unlink(tempName_.c_str());
}

bool CacheFile::Create() {
    std::string pattern = finalName_ + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    tempName_ = name.data();
    // mkstemp makes the file private; a cache is as readable as any file made here.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    stream_ = ::fdopen(fd, "wb");
    if (!stream_) {
        ::close(fd);
        return false;
    }
    std::setvbuf(stream_, nullptr, _IOFBF, 1 << 20);
    return true;
}

bool CacheFile::Commit() {
    if (!stream_) return false;
    bool ok = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    ok = ok && ::fsync(::fileno(stream_)) == 0;
    ok = std::fclose(stream_) == 0 && ok;
    stream_ = nullptr;
    if (!ok) return false;
    if (::rename(tempName_.c_str(), finalName_.c_str()) != 0) return false;
    committed_ = true;
    return true;
}
