#include "engine/grid_selection.h"

#include "engine/approximate_position.h"
#include "engine/coordinate_operations.h"
#include "engine/grid_transformation.h"
#include "engine/transformation_chain.h"
#include "engine/validity_zone.h"
#include "grids/grid_file_name.h"
#include "grids/grid_formats.h"

namespace {

const CReg* SystemById(const Catalogue& catalogue, int id) {
    return FindById(catalogue.systems, id);
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

// Whether a candidate grid holds the point: its zone holds it, and in a file
// of several sub-grids one of them does too. The zone is the box around the
// sub-grids: a point in a gap between them is outside the grid, as a point
// beyond the zone of a grid of one is.
bool GridHolds(const CGrille& grid, const CZone& zone, const CCoor& point,
               const CLgo* greenwich) {
    if (!InGridZone(zone, point, greenwich)) return false;
    if (grid.header.subGrids.size() <= 1) return true;
    CCoor copy = point;
    ToGreenwichDegrees(copy, greenwich);
    const double at[3] = {copy.longitude, copy.latitude, 0};
    return grid.SubGridAt(UniteDegres, at) >= 0;
}

// The zone of a candidate, belonging to `system`: its id is recorded.
void ZoneBelongsTo(CZone& zone, const CReg* system) {
    zone.systemKey = SystemId(system);
}

// Whether a grid copied into the current grid still holds its values.
bool HoldsValues(const CGrille& g) {
    return g.loaded && (g.BinaryFileOpen() || !g.onDisk);
}

// Whether the current grid is the file of the candidate, or the binary
// cache that a text candidate was loaded from.
bool SameGridFile(const CGrille& candidate, const CGrille& current) {
    if (candidate.header.NAME == current.header.NAME) return true;
    return !IsBinaryFormat(candidate.header.GRID_TYPE) &&
           SplitGridFileName(candidate.header.NAME).stem + ".bin" == current.header.NAME;
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
            context.headers.Translation(entry.fileName, context.workingDirectory);
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
        if (!GridHolds(candidate, candidateZone, probe, greenwich)) continue;
        found = kGridFound;
        const bool finer =
            best == nullptr ||
            StepInDegrees(best->header, best->header.Y_INC) > StepInDegrees(candidate.header, candidate.header.Y_INC) ||
            StepInDegrees(best->header, best->header.X_INC) > StepInDegrees(candidate.header, candidate.header.X_INC) ||
            best->header.X_INC == 0 || best->header.Y_INC == 0;
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
            context.headers.Vertical(entry.fileName, context.workingDirectory);
        CZone candidateZone = candidate.zone;
        const CReg* system = SystemById(catalogue, entry.systemId);
        ZoneBelongsTo(candidateZone, system);
        candidateZone.systemKey = entry.systemId;
        zone = candidateZone;
        if (entry.systemId == targetId && entry.systemId != sourceId) {
            if (!Approximate(probe, target.sys.system, catalogue, kind, false))
                return kNoTransformation;
        }
        if (!GridHolds(candidate, candidateZone, probe, greenwich)) continue;
        result = kGridFound;
        if (best == nullptr || best->header.Y_INC == 0 ||
            StepInDegrees(best->header, best->header.Y_INC) > StepInDegrees(candidate.header, candidate.header.Y_INC)) {
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

