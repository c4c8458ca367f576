#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "grids/grid.h"

// The grid method: the change of reference system read from a translation
// grid at each point, and the choice, before each point, of the current
// translation grid and the current vertical grid among the catalogue's.
//
// Two kinds of translation grid:
// - the system's own grids hold 3 (Tx, Ty, Tz in metres) or 7 (with Rx, Ry,
//   Rz in seconds of arc and D in parts per million) similarity parameters
//   per node; a grid listed from A to B has its nodes positioned in the
//   geographic coordinates of B;
// - shift grids, whose nodes hold 4 values (NTv2: latitude shift, longitude
//   shift positive westwards, and their accuracies, in seconds of arc),
//   whatever the file format. Their nodes are positioned in the geographic
//   coordinates of A, the first system of their "GR3D" entry, and the shifts
//   move a point of A onto B.

// Whether a translation grid is a shift grid (4 values per node).
bool IsShiftGrid(const CGrille& grid);

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
    // `workingDirectory`, which is made current before an opening.
    const CGrille3D& Translation(const std::string& fileName, const std::string& workingDirectory,
                                 bool console);
    const CGrille1D& Vertical(const std::string& fileName, const std::string& workingDirectory,
                              bool console);
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
        int64_t modified = 0;  // nanoseconds
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
                    const std::string& fileName, const std::string& workingDirectory, bool console);

    std::map<std::string, Entry<CGrille3D>> translation_;
    std::map<std::string, Entry<CGrille1D>> vertical_;
    LastAsked<CGrille3D> lastTranslation_;
    LastAsked<CGrille1D> lastVertical_;
    int64_t openings_ = 0;
    int64_t looks_ = 0;
    int64_t run_ = 0;   // runs begun so far; 0 before the first
    int runDepth_ = 0;  // open RunScopes
};

// What the selections work on: the catalogue, the application's two current
// grids, the header cache, the working directory and the console flag.
struct GridContext {
    const Catalogue& catalogue;
    CGrille1D& verticalGrid;
    CGrille3D& translationGrid;
    GridHeaderCache& headers;
    std::string workingDirectory;
    bool console = false;
    // A context lives for one run. The current grids' files, which may have
    // been truncated, rewritten, replaced or removed since the last run, are
    // looked at once in it, at the first selection that keeps them.
    bool translationFileSeen = false, verticalFileSeen = false;
};

// Results of the selections.
inline constexpr int kGridFound = 1;         // found, or no grid needed
inline constexpr int kGridNotFound = 0;      // no listed grid covers the point
inline constexpr int kNoVerticalGrid = -1;   // no vertical grid listed for the point
inline constexpr int kNoVerticalValue = -2;  // no vertical system or vertical value

// Chooses the finest translation grid joining the two systems that covers
// the point and makes it the current translation grid (marked not loaded
// when it is another file than the current one). 1 found (or same system),
// 0 not found (`zone` then holds the last candidate's zone), 600 when an
// approximation record that the test needs is missing.
int SelectTranslationGrid(GridContext& context, CCoor source, CSysCoor target, CZone& zone);

// The same for the vertical grid of the source's vertical system. `kind` is
// the run's TransfoKind. 1, 0 (the vertical precision codes of source and
// target become -999), -1, -2 or 600; `message` is "OK".
int SelectVerticalGrid(GridContext& context, int kind, CCoor& source, CCoor& target, CZone& zone,
                       std::string& message);

// Loads a current grid that a selection marked not loaded: the working
// directory is made current and the grid is opened again with its values
// (mode 0). Empty on success, else the opening's message. Outside the
// console, a text grid that needs its cache made shows its progress through
// `ui` when one is given.
std::string LoadCurrentGrid(CGrille& grid, const std::string& workingDirectory, bool console,
                            UserInterface* ui = nullptr);

// The grid change of reference system of one working coordinate: status 0,
// 300 or 600. The coordinate leaves in the target system.
int ApplyGridTransformation(CCoor& coordinate, const CSysCoor& target, CGrille3D& grid,
                            const Catalogue& catalogue);

// The whole chain with the grid change of system (geographic targets: the
// meridian, then the unit).
int TransformPointGrid(CCoor source, CCoor& target, CGrille1D& verticalGrid,
                       CGrille3D& translationGrid, const Catalogue& catalogue);
