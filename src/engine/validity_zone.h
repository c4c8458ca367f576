#pragma once

#include <vector>

#include "catalogue/records.h"
#include "engine/coordinate.h"

// Validity zones are latitude-longitude rectangles with longitudes counted
// from Greenwich. The tests below compare a point's Greenwich longitude,
// whatever meridian the point was typed from.

// Where the extent tests read a point: its longitude counted from Greenwich
// and its latitude, in `unit`. `unprojected` tells that a projected point
// was taken back through its projection to find them (radians).
struct ZoneLocation {
    double longitude = 0, latitude = 0;
    int unit = 0;
    bool unprojected = false;
    // A geographic point counted from Greenwich whose packed angles were
    // converted into decimal degrees beforehand (`unit`): every test of a
    // zone in another unit than the point's converts them through decimal
    // degrees, so it reads the same numbers from these.
    bool converted = false;
};

// The location of a point: a geographic point counted from Greenwich as it
// is, a projected point through its inverse projection, any other converted
// on a copy.
ZoneLocation LocationOf(const CCoor& point);
// The locations of `count` projected points of one projection, as
// LocationOf gives each, their inverse projections computed side by side;
// false, with nothing written, when the projection is not handled.
bool LocationsOfProjected(const CPrc& projection, const double* eastings,
                          const double* northings, int count, ZoneLocation* locations);

// Whether `point` lies in `zone`, borders included, within 1e-10 in the
// zone's angle unit.
bool IsInZone(const CZone& zone, const CCoor& point);

// Extent test of a point against a list of zones (system and projection
// extents). Returns 0 when the point lies outside every zone of its system
// (or the list has none for it), 1 inside a zone of its system but not in a
// zone of its projection, 2 inside the zone of its projection; 1 for an empty
// list. `key` takes the point's system id and then, like `matched`, the last
// zone of the system that was examined.
int ZoneStatus(CZone& key, const CCoor& point, const CatalogueList<CZone>& zones, CZone& matched);

// The same test when the caller needs only its result: no zone is copied.
int ZoneStatus(const CCoor& point, const CatalogueList<CZone>& zones);
// The same at a location found beforehand, by LocationOf or by the chain
// that computed the point: its system and projection records are the point's.
int ZoneStatus(const CCoor& point, const ZoneLocation& location,
               const CatalogueList<CZone>& zones);

// The zones of one system in a list of zones, in the list's order. The
// points of a file run all belong to the same two systems: their extent
// tests read these few zones instead of going through the whole list.
struct SystemZones {
    const CatalogueList<CZone>* list = nullptr;  // the list they were taken from
    int systemId = 0;
    std::vector<const CZone*> zones;
    // When every zone of the system has the same angle unit (`unit`), the
    // test of a point of the projection the zones were taken for
    // (`projectionId`, 0 for none) reads only the zones that can decide it:
    // those of that projection and those of no projection (all of them for
    // a point without projection), in the same order.
    int unit = -1;  // -1: the zones' units differ, or there is none
    int projectionId = 0;
    std::vector<const CZone*> deciding;
};
// Those of the point's system (an id of 0 for a point without system).
SystemZones ZonesOfSystem(const CatalogueList<CZone>& zones, const CCoor& point);
// ZoneStatus at a location over the zones of the point's system: the same
// result as over the whole list they were taken from (which a point of
// another system reads).
int ZoneStatus(const CCoor& point, const ZoneLocation& location, const SystemZones& zones);
// The location of a point of the zones' system expressed in their one unit,
// as the test of each zone expresses it; unchanged when their units differ
// or the point is of another system. Testing it gives the same result as
// testing `location`, with its conversion made once.
ZoneLocation InZoneUnit(const CCoor& point, const ZoneLocation& location,
                        const SystemZones& zones);
