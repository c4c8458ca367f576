#pragma once

#include <cstdio>
#include <string>

// A binary cache being written. It is written under a temporary name in the
// folder of the cache and takes the cache's name only once complete, so that
// a cancelled or failed conversion never leaves a truncated cache behind that
// a later start would take as complete.
class CacheFile {
public:
    explicit CacheFile(std::string finalName);
    ~CacheFile();  // removes the temporary file unless committed
    CacheFile(const CacheFile&) = delete;
    CacheFile& operator=(const CacheFile&) = delete;

    // Creates the temporary file; false when the folder does not allow it.
    bool Create();
    std::FILE* Stream() { return stream_; }
    // Flushes everything to disk and renames the file into place.
    bool Commit();

private:
    std::string finalName_, tempName_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
};
