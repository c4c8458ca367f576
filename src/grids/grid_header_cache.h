#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "grids/grid.h"

// Header-only openings of candidate grids (mode 2), kept for as long as the
// object lives (one run, or the program) so that choosing the grids of a
// point opens no file: a candidate is opened again only when its file has
// changed (size or modification time) or was missing. Outside a run every use
// looks at the file (one stat); during a run (RunScope) a file that was there
// is looked at once, at its first use in the run, so that the points of one
// run all see the same headers.
class GridHeaderCache {
public:
    // The header of a catalogue grid, whose file name is relative to
    // `workingDirectory`.
    const CGrille3D& Translation(const std::string& fileName, const std::string& workingDirectory);
    const CGrille1D& Vertical(const std::string& fileName, const std::string& workingDirectory);
    // Number of header openings done so far (for tests and benchmarks).
    int64_t Openings() const { return openings_; }
    // Number of times a file was looked at (for tests).
    int64_t Looks() const { return looks_; }
    void Clear();
    // The duration of one run over many points.
    class RunScope {
    public:
        explicit RunScope(GridHeaderCache& cache) : cache_(cache) {
            if (cache_.runDepth_++ == 0) ++cache_.run_;
        }
        ~RunScope() { --cache_.runDepth_; }
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;

    private:
        GridHeaderCache& cache_;
    };

private:
    struct Stamp {
        bool exists = false;
        int64_t size = 0;
        int64_t modified = 0;            // nanoseconds
        uint64_t device = 0, inode = 0;  // a file replaced under the same name
        bool operator==(const Stamp&) const = default;
    };
    template <class Grid>
    struct Entry {
        Stamp stamp;
        int64_t lookedInRun = 0;  // the run in which the file was last looked at
        std::unique_ptr<Grid> grid;
    };
    // The entry last asked for, by the names it was asked with.
    template <class Grid>
    struct LastAsked {
        std::string fileName, workingDirectory;
        Entry<Grid>* entry = nullptr;
    };
    template <class Grid>
    const Grid& Get(std::map<std::string, Entry<Grid>>& entries, LastAsked<Grid>& last,
                    const std::string& fileName, const std::string& workingDirectory);

    std::map<std::string, Entry<CGrille3D>> translation_;
    std::map<std::string, Entry<CGrille1D>> vertical_;
    LastAsked<CGrille3D> lastTranslation_;
    LastAsked<CGrille1D> lastVertical_;
    int64_t openings_ = 0;
    int64_t looks_ = 0;
    int64_t run_ = 0;   // runs begun so far; 0 before the first
    int runDepth_ = 0;  // open RunScopes
};
