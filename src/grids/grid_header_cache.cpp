#include "grids/grid_header_cache.h"

#include <sys/stat.h>

#include "grids/grid_file_name.h"

template <class Grid>
const Grid& GridHeaderCache::Get(std::map<std::string, Entry<Grid>>& entries, LastAsked<Grid>& last,
                                 const std::string& fileName,
                                 const std::string& workingDirectory) {
    Entry<Grid>* entry = last.entry;
    if (entry == nullptr || last.fileName != fileName ||
        last.workingDirectory != workingDirectory) {
        entry = &entries[GridPath(workingDirectory, fileName)];  // map nodes stay where they are
        last.fileName = fileName;
        last.workingDirectory = workingDirectory;
        last.entry = entry;
    }
    // During a run, a file that was there when the run first looked at it.
    if (runDepth_ > 0 && entry->lookedInRun == run_ && entry->grid && entry->stamp.exists)
        return *entry->grid;
    const std::string path = GridPath(workingDirectory, fileName);
    Stamp stamp;
    struct stat st {};
    ++looks_;
    if (::stat(path.c_str(), &st) == 0) {
        stamp.exists = true;
        stamp.size = static_cast<int64_t>(st.st_size);
        stamp.modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        stamp.device = static_cast<uint64_t>(st.st_dev);
        stamp.inode = static_cast<uint64_t>(st.st_ino);
    }
    entry->lookedInRun = runDepth_ > 0 ? run_ : 0;
    if (entry->grid && entry->stamp == stamp && stamp.exists) return *entry->grid;
    entry->stamp = stamp;
    entry->grid = std::make_unique<Grid>();
    // A candidate that cannot be opened takes part with whatever header and
    // zone the failed opening left.
    entry->grid->header.NAME = fileName;
    entry->grid->folder = workingDirectory;
    std::string message;
    entry->grid->Ouvrir(message, ModeEnTete);
    ++openings_;
    return *entry->grid;
}

const CGrille3D& GridHeaderCache::Translation(const std::string& fileName,
                                              const std::string& workingDirectory) {
    return Get(translation_, lastTranslation_, fileName, workingDirectory);
}

const CGrille1D& GridHeaderCache::Vertical(const std::string& fileName,
                                           const std::string& workingDirectory) {
    return Get(vertical_, lastVertical_, fileName, workingDirectory);
}

void GridHeaderCache::Clear() {
    translation_.clear();
    vertical_.clear();
    lastTranslation_ = {};
    lastVertical_ = {};
}
