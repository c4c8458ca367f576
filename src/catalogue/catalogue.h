#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/records.h"

// Every list of the parameter catalogue, each in file order. The application
// object owns one Catalogue for the whole run; records refer to one another
// through pointers into these lists, which appending never invalidates.
struct Catalogue {
    CatalogueList<CElg> ellipsoids;
    CatalogueList<CLgo> meridians;
    CatalogueList<CReg> systems;
    CatalogueList<CPrc> projections;
    CatalogueList<CRea> verticalSystems;
    CatalogueList<CTsg> transformations;
    CatalogueList<CZone> systemZones;      // "ZNE"
    CatalogueList<CZone> projectionZones;  // "PROJ"
    CatalogueList<CTypCoorEntry> coordTypeEntries;
    CatalogueList<CUnitEntry> unitEntries;
    CatalogueList<CProjPermission> projectionPermissions;
    CatalogueList<CGr1dEntry> verticalGrids;
    CatalogueList<CGr3dEntry> translationGrids;
};

// Two named records are the same record when their ids are equal or their
// names are equal (whole name, case counts).
template <class Record>
bool SameRecord(const Record& a, const Record& b) {
    return a.id == b.id || a.name == b.name;
}

// The first record of the list, in file order, with this id; null when none.
template <class Record>
const Record* FindById(const CatalogueList<Record>& list, int id) {
    for (const Record& record : list) {
        if (record.id == id) return &record;
    }
    return nullptr;
}

// The first record of the list, in file order, with exactly this name; null
// when none.
template <class Record>
const Record* FindByName(const CatalogueList<Record>& list, std::string_view name) {
    for (const Record& record : list) {
        if (record.name == name) return &record;
    }
    return nullptr;
}

// Coordinate types (CoordType codes) that system `systemId` offers: the set
// of its first "TYPCOOR" entry; empty when it has none.
std::vector<int> CoordTypesOf(const Catalogue& catalogue, int systemId);

// Angle units (AngleUnit codes) that system `systemId` offers for geographic
// coordinates: the set of its first "UNIT" entry; empty when it has none.
std::vector<int> UnitsOf(const Catalogue& catalogue, int systemId);

// Whether the set of CoordTypesOf / UnitsOf contains `code`.
bool OffersCoordType(const Catalogue& catalogue, int systemId, int coordType);
bool OffersUnit(const Catalogue& catalogue, int systemId, int unit);

// Projections that system `systemId` may use, in the order of its "PROJ"
// permissions; a permission naming an unknown projection is passed over.
std::vector<const CPrc*> ProjectionsOf(const Catalogue& catalogue, int systemId);

// Vertical grids positioned in one of the two systems that serve vertical
// system `verticalId`, in catalogue order.
std::vector<const CGr1dEntry*> VerticalGridsFor(const Catalogue& catalogue, int firstSystemId,
                                                int secondSystemId, int verticalId);

// Translation grids joining systems a and b, listed in either direction, in
// catalogue order.
std::vector<const CGr3dEntry*> TranslationGridsBetween(const Catalogue& catalogue, int a, int b);

// The refusal of a grid transformation between two different systems that
// no translation grid joins, naming both (one line, no line end).
std::string NoGridJoinsText(const std::string& departureName, const std::string& arrivalName);

// Validity zones of a system ("ZNE"), and of one projection of a system
// ("PROJ"), in catalogue order.
std::vector<const CZone*> SystemZonesOf(const Catalogue& catalogue, int systemId);
std::vector<const CZone*> ProjectionZonesOf(const Catalogue& catalogue, int systemId,
                                            int projectionId);
