#include "catalogue/catalogue.h"

#include <algorithm>

namespace {

template <class Entry>
const Entry* FirstEntryOf(const CatalogueList<Entry>& list, int systemId) {
    for (const Entry& entry : list) {
        if (entry.systemId == systemId) return &entry;
    }
    return nullptr;
}

bool Contains(const std::vector<int>& set, int code) {
    return std::find(set.begin(), set.end(), code) != set.end();
}

}  // namespace

std::vector<int> CoordTypesOf(const Catalogue& catalogue, int systemId) {
    const CTypCoorEntry* entry = FirstEntryOf(catalogue.coordTypeEntries, systemId);
    return entry ? entry->types : std::vector<int>{};
}

std::vector<int> UnitsOf(const Catalogue& catalogue, int systemId) {
    const CUnitEntry* entry = FirstEntryOf(catalogue.unitEntries, systemId);
    return entry ? entry->units : std::vector<int>{};
}

bool OffersCoordType(const Catalogue& catalogue, int systemId, int coordType) {
    const CTypCoorEntry* entry = FirstEntryOf(catalogue.coordTypeEntries, systemId);
    return entry && Contains(entry->types, coordType);
}

bool OffersUnit(const Catalogue& catalogue, int systemId, int unit) {
    const CUnitEntry* entry = FirstEntryOf(catalogue.unitEntries, systemId);
    return entry && Contains(entry->units, unit);
}

std::vector<const CPrc*> ProjectionsOf(const Catalogue& catalogue, int systemId) {
    std::vector<const CPrc*> projections;
    for (const CProjPermission& permission : catalogue.projectionPermissions) {
        if (permission.systemId != systemId) continue;
        if (const CPrc* projection = FindById(catalogue.projections, permission.projectionId)) {
            projections.push_back(projection);
        }
    }
    return projections;
}

std::vector<const CGr1dEntry*> VerticalGridsFor(const Catalogue& catalogue, int firstSystemId,
                                                int secondSystemId, int verticalId) {
    std::vector<const CGr1dEntry*> grids;
    for (const CGr1dEntry& entry : catalogue.verticalGrids) {
        bool inSystem = entry.systemId == firstSystemId || entry.systemId == secondSystemId;
        if (inSystem && Contains(entry.verticalIds, verticalId)) grids.push_back(&entry);
    }
    return grids;
}

std::vector<const CGr3dEntry*> TranslationGridsBetween(const Catalogue& catalogue, int a, int b) {
    std::vector<const CGr3dEntry*> grids;
    for (const CGr3dEntry& entry : catalogue.translationGrids) {
        bool forward = entry.firstSystemId == a && entry.secondSystemId == b;
        bool backward = entry.firstSystemId == b && entry.secondSystemId == a;
        if (forward || backward) grids.push_back(&entry);
    }
    return grids;
}

std::string NoGridJoinsText(const std::string& departureName, const std::string& arrivalName) {
    return "Aucune grille de transformation ne relie les référentiels \"" + departureName +
           "\" et \"" + arrivalName + "\" !";
}

std::vector<const CZone*> SystemZonesOf(const Catalogue& catalogue, int systemId) {
    std::vector<const CZone*> zones;
    for (const CZone& zone : catalogue.systemZones) {
        if (zone.systemKey == systemId) zones.push_back(&zone);
    }
    return zones;
}

std::vector<const CZone*> ProjectionZonesOf(const Catalogue& catalogue, int systemId,
                                            int projectionId) {
    std::vector<const CZone*> zones;
    for (const CZone& zone : catalogue.projectionZones) {
        if (zone.systemKey == systemId && zone.projectionKey == projectionId) {
            zones.push_back(&zone);
        }
    }
    return zones;
}
