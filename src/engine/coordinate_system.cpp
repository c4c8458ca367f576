#include "engine/coordinate_system.h"

namespace {

// The lookups of one resolution, by id or by name.
template <class Lookup>
int Resolve(CSysCoor& sys, const Catalogue& catalogue, const Lookup& lookup) {
    sys = CSysCoor{};
    const CRea* vertical = lookup.vertical(catalogue.verticalSystems);
    sys.vertical = vertical ? vertical : NoVerticalSystem();
    if (catalogue.systems.empty() || catalogue.projections.empty()) return 0;

    sys.system = lookup.system(catalogue.systems);
    sys.meridian = lookup.meridian(catalogue.meridians);
    if (sys.meridian == nullptr && sys.system != nullptr && sys.system->meridian != nullptr)
        sys.meridian = FindById(catalogue.meridians, sys.system->meridian->id);
    sys.projection = lookup.projection(catalogue.projections);
    return sys.system && sys.meridian && sys.projection && vertical ? 1 : 0;
}

struct ByIds {
    int systemId, meridianId, projectionId, verticalId;
    const CReg* system(const CatalogueList<CReg>& l) const { return FindById(l, systemId); }
    const CLgo* meridian(const CatalogueList<CLgo>& l) const { return FindById(l, meridianId); }
    const CPrc* projection(const CatalogueList<CPrc>& l) const { return FindById(l, projectionId); }
    const CRea* vertical(const CatalogueList<CRea>& l) const { return FindById(l, verticalId); }
};

struct ByNames {
    std::string_view systemName, meridianName, projectionName, verticalName;
    const CReg* system(const CatalogueList<CReg>& l) const { return FindByName(l, systemName); }
    const CLgo* meridian(const CatalogueList<CLgo>& l) const { return FindByName(l, meridianName); }
    const CPrc* projection(const CatalogueList<CPrc>& l) const {
        return FindByName(l, projectionName);
    }
    const CRea* vertical(const CatalogueList<CRea>& l) const { return FindByName(l, verticalName); }
};

}  // namespace

const CRea* NoVerticalSystem() {
    static const CRea none;
    return &none;
}

int ResolveByIds(CSysCoor& sys, int systemId, int meridianId, int projectionId, int verticalId,
                 const Catalogue& catalogue) {
    return Resolve(sys, catalogue, ByIds{systemId, meridianId, projectionId, verticalId});
}

int ResolveByNames(CSysCoor& sys, std::string_view systemName, std::string_view meridianName,
                   std::string_view projectionName, std::string_view verticalName,
                   const Catalogue& catalogue) {
    return Resolve(sys, catalogue, ByNames{systemName, meridianName, projectionName, verticalName});
}
