#include "engine/validity_zone.h"

#include "catalogue/projection_parameters.h"
#include "engine/coordinate_operations.h"
#include "geodesy/angle.h"

namespace {

constexpr double kBorderTolerance = 1e-10;

// Re-expressed in a zone's unit, as SetUnit does on a coordinate.
void ExpressIn(ZoneLocation& location, int zoneUnit) {
    if (location.unit == zoneUnit) return;
    location.longitude = ConvertAngle(location.longitude, location.unit, zoneUnit);
    location.latitude = ConvertAngle(location.latitude, location.unit, zoneUnit);
    location.unit = zoneUnit;
}

// `position` is in the zone's unit.
bool Contains(const CZone& zone, const ZoneLocation& position) {
    return position.latitude + kBorderTolerance >= zone.southWest.latitude &&
           position.latitude - kBorderTolerance <= zone.northEast.latitude &&
           position.longitude + kBorderTolerance >= zone.southWest.longitude &&
           position.longitude - kBorderTolerance <= zone.northEast.longitude;
}

}  // namespace

ZoneLocation LocationOf(const CCoor& point) {
    if (point.type == Geographic && IsGreenwich(point.sys.meridian))
        return {point.longitude, point.latitude, point.unit, false};
    // A projected point that its projection takes back: radians from
    // Greenwich, as ToGeographic leaves it.
    if (point.type == Projected && point.sys.projection != nullptr) {
        GeographicPoint g;
        if (UnprojectProjected(ProjectionParametersOf(*point.sys.projection), point.easting,
                               point.northing, g) == 0)
            return {g.longitude, g.latitude, Radian, true};
    }
    CCoor copy = point;
    if (copy.type != Geographic) ToGeographic(copy, nullptr);
    ToGreenwich(copy, nullptr);
    return {copy.longitude, copy.latitude, copy.unit, false};
}

bool LocationsOfProjected(const CPrc& projection, const double* eastings,
                          const double* northings, int count, ZoneLocation* locations) {
    constexpr int kChunk = 64;
    GeographicPoint g[kChunk];
    const ProjectionParameters parameters = ProjectionParametersOf(projection);
    for (int first = 0; first < count; first += kChunk) {
        const int n = count - first < kChunk ? count - first : kChunk;
        if (UnprojectProjectedMany(parameters, eastings + first, northings + first, n, g) != 0)
            return false;
        for (int i = 0; i < n; ++i)
            locations[first + i] = {g[i].longitude, g[i].latitude, Radian, true};
    }
    return true;
}

bool IsInZone(const CZone& zone, const CCoor& point) {
    ZoneLocation position = LocationOf(point);
    ExpressIn(position, zone.unit);
    return Contains(zone, position);
}

namespace {

const CZone& ZoneOf(const CZone& zone) { return zone; }
const CZone& ZoneOf(const CZone* zone) { return *zone; }

int SystemIdOf(const CCoor& point) { return point.sys.system ? point.sys.system->id : 0; }

// The extent test of ZoneStatus over the whole list or the zones of the
// point's system; `examined` takes the last zone of the point's system that
// was examined (null when none was).
template <class Zones>
int Status(const CCoor& point, ZoneLocation position, const Zones& zones,
           const CZone*& examined) {
    const int systemId = SystemIdOf(point);
    const CPrc* projection = point.sys.projection;
    int status = 0;
    for (const auto& entry : zones) {
        const CZone& zone = ZoneOf(entry);
        if (zone.systemKey != systemId) continue;
        ExpressIn(position, zone.unit);
        examined = &zone;
        if (!Contains(zone, position)) continue;
        if (projection == nullptr || zone.projectionKey == 0) {
            status = 1;
        } else if (zone.projectionKey == projection->id) {
            return 2;
        }
    }
    return status;
}

}  // namespace

int ZoneStatus(CZone& key, const CCoor& point, const CatalogueList<CZone>& zones, CZone& matched) {
    if (zones.empty()) return 1;
    key.systemKey = point.sys.system ? point.sys.system->id : 0;
    // The zone examined last is copied into `key` and `matched` once, when
    // the search ends.
    const CZone* examined = nullptr;
    const int status = Status(point, LocationOf(point), zones, examined);
    if (examined != nullptr) {
        matched = *examined;
        key = *examined;
    }
    return status;
}

int ZoneStatus(const CCoor& point, const CatalogueList<CZone>& zones) {
    if (zones.empty()) return 1;
    const CZone* examined = nullptr;
    return Status(point, LocationOf(point), zones, examined);
}

int ZoneStatus(const CCoor& point, const ZoneLocation& location,
               const CatalogueList<CZone>& zones) {
    if (zones.empty()) return 1;
    const CZone* examined = nullptr;
    return Status(point, location, zones, examined);
}

SystemZones ZonesOfSystem(const CatalogueList<CZone>& zones, const CCoor& point) {
    SystemZones found;
    found.list = &zones;
    found.systemId = SystemIdOf(point);
    const CPrc* projection = point.sys.projection;
    found.projectionId = projection != nullptr ? projection->id : 0;
    bool oneUnit = true;
    for (const CZone& zone : zones) {
        if (zone.systemKey != found.systemId) continue;
        if (!found.zones.empty() && zone.unit != found.zones.front()->unit) oneUnit = false;
        found.zones.push_back(&zone);
        if (projection == nullptr || zone.projectionKey == 0 ||
            zone.projectionKey == projection->id)
            found.deciding.push_back(&zone);
    }
    if (oneUnit && !found.zones.empty()) found.unit = found.zones.front()->unit;
    return found;
}

int ZoneStatus(const CCoor& point, const ZoneLocation& location, const SystemZones& zones) {
    if (SystemIdOf(point) != zones.systemId) return ZoneStatus(point, location, *zones.list);
    if (zones.list->empty()) return 1;
    const CZone* examined = nullptr;
    const CPrc* projection = point.sys.projection;
    if (zones.unit >= 0 && (projection != nullptr ? projection->id : 0) == zones.projectionId) {
        // The other zones can neither contain the point for its projection
        // nor, being in the same unit, change how it is expressed.
        return Status(point, location, zones.deciding, examined);
    }
    return Status(point, location, zones.zones, examined);
}

ZoneLocation InZoneUnit(const CCoor& point, const ZoneLocation& location,
                        const SystemZones& zones) {
    ZoneLocation expressed = location;
    if (zones.unit >= 0 && SystemIdOf(point) == zones.systemId) ExpressIn(expressed, zones.unit);
    return expressed;
}
