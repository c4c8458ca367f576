#pragma once

// Shared helpers of the fuzz targets: a scratch folder of the process's own
// and a file written there from the fuzzer's bytes.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "catalogue/loader.h"

namespace fuzz {

// A folder under the temporary folder, made once per process and removed
// when the process ends.
inline const std::string& ScratchFolder() {
    struct Folder {
        std::string path;
        Folder() {
            // In memory where the machine offers it: grid caches and the
            // configuration are synced to disk when written, which would
            // otherwise bound the fuzzer's pace.
            std::error_code error;
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                                   ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
            std::string pattern = (base / "quorvel-fuzz-XXXXXX").string();
            if (::mkdtemp(pattern.data()) != nullptr) path = pattern;
        }
        ~Folder() {
            std::error_code ignored;
            if (!path.empty()) std::filesystem::remove_all(path, ignored);
        }
    };
    static Folder folder;
    return folder.path;
}

// Empties the scratch folder, so that no file of an earlier input (a grid
// cache, an XML header) plays a part in the next one.
inline void ClearScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder(), ignored)) {
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

// Writes the bytes to a file of the scratch folder and returns its path.
inline std::string WriteFile(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = ScratchFolder() + "/" + name;
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

// The default installation's catalogue, read once: the lines and command
// lines of the targets then name real ellipsoids, systems and projections.
inline const Catalogue& DefaultCatalogue() {
    static const Catalogue catalogue = [] {
        Catalogue loaded;
        ReadCatalogue(QUORVEL_SOURCE_DIR "/data/catalogue.txt", loaded);
        return loaded;
    }();
    return catalogue;
}

// Opens the grid file at `path` as a `Grid` in `mode` (the grid objects'
// opening modes), asks `query` for its values when it opened, and closes it.
template <class Grid, class Query>
void OpenGrid(const std::string& path, int mode, Query query) {
    Grid grid;
    grid.header.NAME = path;
    std::string message;
    if (grid.Ouvrir(message, mode)) query(grid);
    grid.Fermer();
}

}  // namespace fuzz
