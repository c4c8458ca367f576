#pragma once

#include <string>
#include <vector>

#include "engine/coordinate.h"
#include "engine/validity_zone.h"

struct Catalogue;
struct GridContext;
class UserInterface;

// The per-point procedure that the file runs (console and window) share,
// and the pieces of it that the single-point and interactive runs use:
// grid selection with the loading of the current grids, extent tests, the
// standard or grid computation.

// Which extent test of one side a point fails.
enum class ExtentFailure {
    None,
    Projection,  // a projected point outside the zone of its projection
    System,      // outside every zone of its reference system
};

// The extent tests of one side: the projection's zones for a projected
// point, then the system's zones.
ExtentFailure TestExtent(const CCoor& point, const Catalogue& catalogue);
// The same at the point's location found beforehand (see ZoneLocation).
ExtentFailure TestExtent(const CCoor& point, const ZoneLocation& location,
                         const Catalogue& catalogue);

// The zones of the extent tests of one side's system, taken once for the
// points of a file run (see SystemZones).
struct SideZones {
    SystemZones projection, system;
};
SideZones ZonesOfSide(const CCoor& side, const Catalogue& catalogue);
// TestExtent over them: the same result.
ExtentFailure TestExtent(const CCoor& point, const ZoneLocation& location, const SideZones& zones);

// The texts a file run writes for the points it cannot transform.
struct PointFailureTexts {
    std::string outOfGrid;
    std::string outsideSourceProjection;
    std::string outsideSourceSystem;
    std::string outsideTargetProjection;
    std::string outsideTargetSystem;

    const std::string& Of(ExtentFailure failure, bool departure) const;
};
// The console run's texts, and the window run's (the same with " !!!").
PointFailureTexts ConsoleFailureTexts();
PointFailureTexts WindowFailureTexts();

// "Transformation : erreur n° %d", the error text of a failed computation.
std::string ComputationErrorText(int status);
// The message of an output, report or log file that could not be written.
std::string CannotWriteText(const std::string& fileName);

// The grid selections of one point (the translation grid for kind 2, then
// the vertical grid), with the loading of the current grids they choose.
// Returns the point's result text: "OK", the out-of-grid text, or the error
// text of a selection that found no transformation record. A grid that
// cannot be loaded leaves its message in `failure`. `gridsChanged`, when
// given, tells whether the current grids that the computation reads are no
// longer those of the previous point (another grid, a grid loaded again, a
// grid now used or no longer used, the system its zone records).
// `location`, when given, takes the location of a projected departure that
// the selection took back through its projection (`unprojected` set); one
// that holds such a location already, found by LocationOf beforehand, spares
// the selection that inverse projection.
std::string SelectPointGrids(int kind, CCoor& departure, CCoor& arrival, GridContext& grids,
                             const PointFailureTexts& texts, UserInterface* ui,
                             std::string& failure, bool* gridsChanged = nullptr,
                             ZoneLocation* location = nullptr);

// The standard (kind 1) or grid (kind 2) computation from the departure
// record into the arrival record: 0, or the status that makes the point
// fail; an arrival projection that is not handled fails with its status.
// With `convergenceInArrivalUnit`, a computed convergence is given in the
// arrival angle unit (the chain leaves projected points in radians).
// A departure `location` that its inverse projection gave spares the chain
// that inverse projection; `arrivalLocation` takes the chain's geographic
// point before its last conversion (see TransformPointStandard).
int ComputePoint(int kind, const CCoor& departure, CCoor& arrival, GridContext& grids,
                 bool convergenceInArrivalUnit, const ZoneLocation* location = nullptr,
                 ZoneLocation* arrivalLocation = nullptr);

// How one point of a file run ended.
enum class PointOutcome {
    Succeeded,          // computed, inside both extents
    OutOfZone,          // outside the grids or an extent: not counted as computed
    ComputationFailed,  // the computation (or the grid selection) gave an error status
};

struct PointResult {
    PointOutcome outcome = PointOutcome::Succeeded;
    std::string text;       // "OK", or the text of the output error line
    bool computed = false;  // the computation ran (the window run logs the point)
};

// One point of a batch that CompleteFilePoints completes; `result` is its result.
struct FilePointOfBatch {
    CCoor* departure = nullptr;
    CCoor* arrival = nullptr;
    std::string selection;                // the text of its grid selection (SelectPointGrids)
    const ZoneLocation* known = nullptr;  // the location the selection found, if any
    PointResult result;
};

// The points of a file run after their grid selection, for points that read
// the same current grids: departure extent tests, computation with the
// convergence in the arrival unit, arrival extent tests; a later failure text
// replaces an earlier one. It reads the current grids of `grids` and its
// catalogue, and changes nothing else than the points. A `known` location
// spares the departure's inverse projection; the zones, when given, are those
// of the two sides' systems (ZonesOfSide). The chains of the points that pass
// their departure tests are computed side by side (TransformPointsStandard,
// TransformPointsGrid), each with exactly the numbers it has alone.
// `sources` is the caller's work space, kept from one call to the next.
void CompleteFilePoints(int kind, FilePointOfBatch* points, int count, GridContext& grids,
                        const PointFailureTexts& texts, const SideZones* departureZones,
                        const SideZones* arrivalZones, std::vector<CCoor>& sources);
