#include "engine/grid_transformation.h"

#include <sys/stat.h>

#include <array>
#include <cmath>

#include "shared/platform.h"
#include "catalogue/standard_transformation.h"
#include "engine/coordinate_operations.h"
#include "engine/transformation_chain.h"
#include "engine/validity_zone.h"
#include "geodesy/similarity.h"
#include "grids/grid_file_name.h"
#include "grids/grid_rules.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegreesPerRadian = 180 / kPi;
// The inverse of a shift is sought until the shifted point gives back the
// input to this many radians, in at most kMostShiftSteps steps.
constexpr double kShiftTolerance = 1e-12;
constexpr int kMostShiftSteps = 20;
constexpr int kTranslationOnly = 2;  // TransfoKind of the "TSG0" records

int SystemId(const CReg* system) {
    return system ? system->id : 0;
}

const CReg* SystemById(const Catalogue& catalogue, int id) {
    return FindById(catalogue.systems, id);
}

// The coordinate in geographic decimal degrees counted from Greenwich.
int ToGreenwichDegrees(CCoor& c, const CLgo* greenwich) {
    int status = 0;
    if (c.type != Geographic) status = ToGeographic(c, greenwich);
    ToGreenwich(c, greenwich);
    if (c.unit != DecimalDegree) SetUnit(c, DecimalDegree);
    return status;
}

// A grid step in degrees, for comparing grids whatever their node unit.
double StepInDegrees(const CGrille& g, double step) {
    return ConvertUnit(step, g.NODE_COORD_UNIT, UniteDegres);
}

// Whether the point lies in a grid's zone, a turn east or west included
// (grids that cross the antimeridian run past 180 degrees).
bool InGridZone(const CZone& zone, const CCoor& point, const CLgo* greenwich) {
    if (IsInZone(zone, point)) return true;
    CCoor copy = point;
    ToGreenwichDegrees(copy, greenwich);
    for (double turn : {360.0, -360.0}) {
        CCoor turned = copy;
        turned.longitude += turn;
        if (IsInZone(zone, turned)) return true;
    }
    return false;
}

// The zone of a candidate, belonging to `system`: its id is recorded.
void ZoneBelongsTo(CZone& zone, const CReg* system) {
    zone.systemKey = SystemId(system);
}

// Brings the probe near `to` with the translations of the translation-only
// record from its system to `to`. A record listed from `to` to the probe's
// system is applied backwards when `backwards` is set, and left out
// otherwise. False when no record joins the systems.
bool Approximate(CCoor& probe, const CReg* to, const Catalogue& catalogue, int kind,
                 bool backwards) {
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    ToCartesian(probe, greenwich);
    CTransfo transfo;
    if (!probe.sys.system || !to ||
        !FindTransformation(transfo, catalogue.transformations, probe.sys.system->id, to->id, kind))
        return false;
    const double* t = transfo.record.parameters;
    if (!transfo.inverse) {
        probe.x += t[0];
        probe.y += t[1];
        probe.z += t[2];
        probe.sys.system = to;
    } else if (backwards) {
        probe.x -= t[0];
        probe.y -= t[1];
        probe.z -= t[2];
        probe.sys.system = to;
    }
    return true;
}

// Whether a grid copied into the current grid still holds its values.
bool HoldsValues(const CGrille& g) {
    return g.loaded && (g.BinaryFileOpen() || !g.onDisk);
}

// Whether the current grid is the file of the candidate, or the binary
// cache that a text candidate was loaded from.
bool SameGridFile(const CGrille& candidate, const CGrille& current) {
    if (candidate.NAME == current.NAME) return true;
    const bool text = candidate.GRID_TYPE != GrilleBinairePlenar &&
                      candidate.GRID_TYPE != GrilleNtv2Little &&
                      candidate.GRID_TYPE != GrilleNtv2Big;
    return text && SplitGridFileName(candidate.NAME).stem + ".bin" == current.NAME;
}

// Whether the current grid reads its values from a file that has changed
// since it was opened: looked at once per run, at the run's first selection
// that keeps it (`seen` records that it was).
bool CurrentFileChanged(const CGrille& current, bool& seen) {
    if (!HoldsValues(current) || !current.onDisk || seen) return false;
    seen = true;
    return !current.BinaryFileUnchanged();
}

// Makes `best` the current grid, or keeps the current one when it is the
// same file, unchanged on disk (its zone then takes the system the selection
// gave it). A grid whose file changed is made current afresh, not loaded: the
// run loads it again or stops with the message of its opening.
template <class Grid>
void MakeCurrent(Grid& current, const Grid& best, const CZone& bestZone, bool& seen) {
    if (SameGridFile(best, current) && !CurrentFileChanged(current, seen)) {
        current.loaded = HoldsValues(current);
        current.zone.systemKey = bestZone.systemKey;
        return;
    }
    current.Fermer();
    current = best;
    current.zone = bestZone;
    current.loaded = false;
}

}  // namespace

bool IsShiftGrid(const CGrille& grid) {
    return grid.VALUES_NUMBER == 4;
}

// ---- Header cache ----------------------------------------------------------

template <class Grid>
const Grid& GridHeaderCache::Get(std::map<std::string, Entry<Grid>>& entries, LastAsked<Grid>& last,
                                 const std::string& fileName, const std::string& workingDirectory,
                                 bool console) {
    Entry<Grid>* entry = last.entry;
    if (entry == nullptr || last.fileName != fileName ||
        last.workingDirectory != workingDirectory) {
        const std::string path =
            !fileName.empty() && fileName[0] == '/' ? fileName : workingDirectory + fileName;
        entry = &entries[path];  // map nodes stay where they are
        last.fileName = fileName;
        last.workingDirectory = workingDirectory;
        last.entry = entry;
    }
    // During a run, a file that was there when the run first looked at it.
    if (runDepth_ > 0 && entry->lookedInRun == run_ && entry->grid && entry->stamp.exists)
        return *entry->grid;
    const std::string path =
        !fileName.empty() && fileName[0] == '/' ? fileName : workingDirectory + fileName;
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
    SetCurrentDirectory(workingDirectory);
    entry->grid->NAME = fileName;
    std::string message;
    entry->grid->Ouvrir(message, console, ModeEnTete);
    ++openings_;
    return *entry->grid;
}

const CGrille3D& GridHeaderCache::Translation(const std::string& fileName,
                                              const std::string& workingDirectory, bool console) {
    return Get(translation_, lastTranslation_, fileName, workingDirectory, console);
}

const CGrille1D& GridHeaderCache::Vertical(const std::string& fileName,
                                           const std::string& workingDirectory, bool console) {
    return Get(vertical_, lastVertical_, fileName, workingDirectory, console);
}

void GridHeaderCache::Clear() {
    translation_.clear();
    vertical_.clear();
    lastTranslation_ = {};
    lastVertical_ = {};
}

// ---- Selections ------------------------------------------------------------

int SelectTranslationGrid(GridContext& context, CCoor source, CSysCoor target, CZone& zone) {
    const int sourceId = SystemId(source.sys.system);
    const int targetId = SystemId(target.system);
    if (sourceId == targetId) {
        // No grid is needed; the run has nothing to load.
        context.translationGrid.loaded = true;
        return kGridFound;
    }
    const Catalogue& catalogue = context.catalogue;
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    int found = kGridNotFound;
    const CGrille3D* best = nullptr;
    CZone bestZone;
    for (const CGr3dEntry& entry : catalogue.translationGrids) {
        const bool direct = entry.firstSystemId == sourceId && entry.secondSystemId == targetId;
        const bool reverse = entry.firstSystemId == targetId && entry.secondSystemId == sourceId;
        if (!direct && !reverse) continue;
        CCoor probe = source;
        const CGrille3D& candidate =
            context.headers.Translation(entry.fileName, context.workingDirectory, context.console);
        CZone candidateZone = candidate.zone;
        if (IsShiftGrid(candidate)) {
            // Positioned in the first system of the entry.
            if (direct) {
                ZoneBelongsTo(candidateZone, source.sys.system);
            } else {
                ZoneBelongsTo(candidateZone, target.system);
                if (!Approximate(probe, target.system, catalogue, kTranslationOnly, true))
                    return kNoTransformation;
            }
        } else if (reverse) {
            ZoneBelongsTo(candidateZone, source.sys.system);
        } else {
            ZoneBelongsTo(candidateZone, target.system);
            if (!Approximate(probe, target.system, catalogue, kTranslationOnly, false))
                return kNoTransformation;
        }
        zone = candidateZone;
        if (!InGridZone(candidateZone, probe, greenwich)) continue;
        found = kGridFound;
        const bool finer =
            best == nullptr ||
            StepInDegrees(*best, best->Y_INC) > StepInDegrees(candidate, candidate.Y_INC) ||
            StepInDegrees(*best, best->X_INC) > StepInDegrees(candidate, candidate.X_INC) ||
            best->X_INC == 0 || best->Y_INC == 0;
        if (finer) {
            best = &candidate;
            bestZone = candidateZone;
        }
    }
    if (found && best)
        MakeCurrent(context.translationGrid, *best, bestZone, context.translationFileSeen);
    return found;
}

int SelectVerticalGrid(GridContext& context, int kind, CCoor& source, CCoor& target, CZone& zone,
                       std::string& message) {
    message = "OK";
    if (!source.sys.vertical || source.sys.vertical->id == 0 || source.verticalKind == NoVertical)
        return kNoVerticalValue;
    const Catalogue& catalogue = context.catalogue;
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    const int sourceId = SystemId(source.sys.system);
    const int targetId = SystemId(target.sys.system);
    const int verticalId = source.sys.vertical->id;
    int result = kNoVerticalGrid;
    const CGrille1D* best = nullptr;
    CZone bestZone;
    for (const CGr1dEntry& entry : catalogue.verticalGrids) {
        bool serves = false;
        for (int id : entry.verticalIds) serves = serves || id == verticalId;
        if (!serves || (entry.systemId != sourceId && entry.systemId != targetId)) continue;
        result = kGridNotFound;
        CCoor probe = source;
        const CGrille1D& candidate =
            context.headers.Vertical(entry.fileName, context.workingDirectory, context.console);
        CZone candidateZone = candidate.zone;
        const CReg* system = SystemById(catalogue, entry.systemId);
        ZoneBelongsTo(candidateZone, system);
        candidateZone.systemKey = entry.systemId;
        zone = candidateZone;
        if (entry.systemId == targetId && entry.systemId != sourceId) {
            if (!Approximate(probe, target.sys.system, catalogue, kind, false))
                return kNoTransformation;
        }
        if (!InGridZone(candidateZone, probe, greenwich)) continue;
        result = kGridFound;
        if (best == nullptr || best->Y_INC == 0 ||
            StepInDegrees(*best, best->Y_INC) > StepInDegrees(candidate, candidate.Y_INC)) {
            best = &candidate;
            bestZone = candidateZone;
        }
    }
    if (result == kGridFound && best) {
        MakeCurrent(context.verticalGrid, *best, bestZone, context.verticalFileSeen);
        return kGridFound;
    }
    context.verticalGrid.loaded = false;
    if (result == kGridNotFound) {
        source.verticalPrecision = -999;
        target.verticalPrecision = -999;
    }
    return result;
}

std::string LoadCurrentGrid(CGrille& grid, const std::string& workingDirectory, bool console,
                            UserInterface* ui) {
    SetCurrentDirectory(workingDirectory);
    grid.Fermer();
    std::string message;
    if (!grid.Ouvrir(message, console, ModeSurDisque, ui) && message.empty())
        message = "Impossible d'ouvrir le fichier \n" + grid.NAME;
    if (!message.empty()) grid.loaded = false;
    return message;
}

// ---- The grid step ---------------------------------------------------------

namespace {

// Latitude and longitude shifts of a shift grid at a point, in degrees
// (longitude positive eastwards). The point's longitude is taken within the
// grid's columns when a turn brings it there.
void ShiftAt(CGrille3D& grid, double longitude, double latitude, double& dLongitude,
             double& dLatitude, int& code) {
    const double west = grid.zone.southWest.longitude, east = grid.zone.northEast.longitude;
    const double step = StepInDegrees(grid, grid.X_INC);
    if (longitude < west - step && longitude + 360 <= east + step) longitude += 360;
    if (longitude > east + step && longitude - 360 >= west - step) longitude -= 360;
    const double point[3] = {longitude, latitude, 0};
    std::array<double, 4> v{};
    grid.Interpoler(UniteDegres, point, v.data(), code);
    dLatitude = v[0] / 3600;
    dLongitude = -v[1] / 3600;
}

int ApplyShiftGrid(CCoor& c, const CSysCoor& target, CGrille3D& grid, const Catalogue& catalogue) {
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    const int status = ToGreenwichDegrees(c, greenwich);
    int code = 0;
    double dLon = 0, dLat = 0;
    if (grid.zone.systemKey == SystemId(c.sys.system)) {
        // From the system of the nodes to the other one.
        ShiftAt(grid, c.longitude, c.latitude, dLon, dLat, code);
        c.longitude += dLon;
        c.latitude += dLat;
    } else {
        // Backwards: the point of the nodes' system whose shifted position is
        // the given point.
        const double lon = c.longitude, lat = c.latitude;
        double guessLon = lon, guessLat = lat;
        const double tolerance = kShiftTolerance * kDegreesPerRadian;
        for (int step = 0; step < kMostShiftSteps; ++step) {
            ShiftAt(grid, guessLon, guessLat, dLon, dLat, code);
            const double errorLon = guessLon + dLon - lon, errorLat = guessLat + dLat - lat;
            guessLon -= errorLon;
            guessLat -= errorLat;
            if (std::fabs(errorLon) < tolerance && std::fabs(errorLat) < tolerance) break;
        }
        c.longitude = guessLon;
        c.latitude = guessLat;
    }
    c.precision = code;
    c.sys.system = target.system;
    c.sys.projection = target.projection;
    c.sys.vertical = target.vertical;
    return status;
}

}  // namespace

int ApplyGridTransformation(CCoor& c, const CSysCoor& target, CGrille3D& grid,
                            const Catalogue& catalogue) {
    if (IsShiftGrid(grid)) return ApplyShiftGrid(c, target, grid, catalogue);

    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    if (c.type != Cartesian) ToCartesian(c, greenwich);
    CCoor probe = c;
    if (grid.GRID_TYPE == GrilleTextePlenar || grid.GRID_TYPE == GrilleBinairePlenar) {
        // Native grids are positioned in the target system: the probe is
        // brought near it first.
        if (!Approximate(probe, target.system, catalogue, kTranslationOnly, false))
            return kNoTransformation;
    }
    const int status = ToGreenwichDegrees(probe, greenwich);
    const double point[3] = {probe.longitude, probe.latitude, 0};
    std::array<double, kMostValuesPerNode> v{};
    int code = 0;
    if (grid.VALUES_NUMBER >= 3 && grid.VALUES_NUMBER <= kMostValuesPerNode)
        grid.Interpoler(UniteDegres, point, v.data(), code);
    const double tx = v[0], ty = v[1], tz = v[2];
    double d = 0, rx = 0, ry = 0, rz = 0;
    if (grid.VALUES_NUMBER == 7) {
        const double arcSecond = kPi / 180 / 3600;
        rx = v[3] * arcSecond;
        ry = v[4] * arcSecond;
        rz = v[5] * arcSecond;
        d = v[6] * 1e-6;
    }
    const Cartesian3 moved = SystemId(target.system) != grid.zone.systemKey
                                 ? SimilarityInverse(tx, ty, tz, d, rx, ry, rz, c.x, c.y, c.z)
                                 : SimilarityDirect(tx, ty, tz, d, rx, ry, rz, c.x, c.y, c.z);
    c.x = moved.x;
    c.y = moved.y;
    c.z = moved.z;
    c.precision = code;
    c.sys.system = target.system;
    c.sys.projection = target.projection;
    c.sys.vertical = target.vertical;
    return status;
}

int TransformPointGrid(CCoor source, CCoor& target, CGrille1D& verticalGrid,
                       CGrille3D& translationGrid, const Catalogue& catalogue) {
    return TransformPoint(
        std::move(source), target, verticalGrid, catalogue,
        [&](CCoor& working, const CSysCoor& to) {
            return ApplyGridTransformation(working, to, translationGrid, catalogue);
        },
        GeographicArrival::MeridianThenUnit);
}
