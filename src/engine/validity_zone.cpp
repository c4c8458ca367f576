#include "engine/validity_zone.h"

#include "engine/coordinate_operations.h"

namespace {

constexpr double kBorderTolerance = 1e-10;

// The point in geographic coordinates, longitude counted from Greenwich.
CCoor GreenwichGeographic(CCoor point) {
    if (point.type != Geographic) ToGeographic(point, nullptr);
    ToGreenwich(point, nullptr);
    return point;
}

// `point` is geographic, from Greenwich, in the zone's unit.
bool Contains(const CZone& zone, const CCoor& point) {
    return point.latitude + kBorderTolerance >= zone.southWest.latitude &&
           point.latitude - kBorderTolerance <= zone.northEast.latitude &&
           point.longitude + kBorderTolerance >= zone.southWest.longitude &&
           point.longitude - kBorderTolerance <= zone.northEast.longitude;
}

}  // namespace

bool IsInZone(const CZone& zone, const CCoor& point) {
    CCoor copy = GreenwichGeographic(point);
    if (copy.unit != zone.northEast.unit) SetUnit(copy, zone.northEast.unit);
    return Contains(zone, copy);
}

int ZoneStatus(CZone& key, CCoor point, const CatalogueList<CZone>& zones, CZone& matched) {
    CCoor copy = GreenwichGeographic(point);
    if (zones.empty()) return 1;
    key.systemKey = copy.sys.system ? copy.sys.system->id : 0;
    const int systemId = key.systemKey;
    const CPrc* projection = copy.sys.projection;
    int status = 0;
    for (const CZone& zone : zones) {
        if (zone.systemKey != systemId) continue;
        if (copy.unit != zone.northEast.unit) SetUnit(copy, zone.northEast.unit);
        matched = zone;
        key = zone;
        if (!Contains(zone, copy)) continue;
        if (projection == nullptr || zone.projectionKey == 0) {
            status = 1;
        } else if (zone.projectionKey == projection->id) {
            return 2;
        }
    }
    return status;
}
