#include "batch/catalogue_listing.h"

#include <algorithm>
#include <vector>

#include "batch/command_line.h"
#include "shared/codes.h"
#include "shared/labels.h"

namespace {

constexpr size_t kWidth = 80;
constexpr size_t kLabelColumn = 4;
constexpr size_t kValueColumn = 39;

// Characters of a UTF-8 text (continuation bytes are not counted).
size_t Characters(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// One line of an entry: its label, then the items joined by ", ", carried
// over to lines of their own, under the first item, past the width. Items
// that are lines (`oneByLine`) take one line each.
void AddLine(std::string& text, std::string_view label, const std::vector<std::string>& items,
             bool oneByLine = false) {
    std::string line = std::string(kLabelColumn, ' ') + std::string(label) + " :";
    const size_t labelWidth = Characters(line);
    line += std::string(labelWidth + 1 < kValueColumn ? kValueColumn - labelWidth : 1, ' ');
    const size_t column = Characters(line);
    if (items.empty()) {
        text += line + "aucun\n";
        return;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const bool last = i + 1 == items.size();
        const std::string item = items[i] + (last || oneByLine ? "" : ",");
        const bool fresh = Characters(line) == column;
        if (!fresh && (oneByLine || Characters(line) + 1 + Characters(item) > kWidth)) {
            text += line + "\n";
            line = std::string(column, ' ');
        } else if (!fresh) {
            line += ' ';
        }
        line += item;
    }
    text += line + "\n";
}

std::string Item(int id, std::string_view name) {
    return name.empty() ? std::to_string(id) : std::to_string(id) + " " + std::string(name);
}

// The systems that a transformation record of this kind joins to `system`,
// listed in either direction, once each, in catalogue order of the records;
// `needsGrid`: only those that a translation grid joins too, as a grid run
// needs one.
std::vector<std::string> JoinedSystems(const Catalogue& catalogue, const CReg& system, int kind,
                                       bool needsGrid = false) {
    std::vector<const CReg*> joined;
    for (const CTsg& record : catalogue.transformations) {
        if (record.kind != kind || record.source == nullptr || record.target == nullptr) continue;
        const CReg* other = nullptr;
        if (record.sourceId == system.id) other = record.target;
        if (record.targetId == system.id) other = record.source;
        if (other != nullptr && other->id != system.id &&
            (!needsGrid || !TranslationGridsBetween(catalogue, system.id, other->id).empty()) &&
            std::find(joined.begin(), joined.end(), other) == joined.end()) {
            joined.push_back(other);
        }
    }
    std::vector<std::string> items;
    for (const CReg* other : joined) items.push_back(Item(other->id, other->name));
    return items;
}

std::string Dimension(int dimension) {
    if (dimension == 2) return "2D";
    if (dimension == 3) return "3D";
    return "dimension non précisée";
}

}  // namespace

const CReg* FindSystemByIdOrName(const Catalogue& catalogue, std::string_view key) {
    int id = 0;
    if (ReadCommandLineInteger(key, id)) {
        if (const CReg* system = FindById(catalogue.systems, id)) return system;
    }
    return FindByName(catalogue.systems, key);
}

std::string SystemListing(const Catalogue& catalogue, const CReg& system) {
    std::string text = std::to_string(system.id) + "  " + system.name + "  (" +
                       Dimension(system.dimension);
    if (system.ellipsoid != nullptr) text += ", ellipsoïde " + system.ellipsoid->name;
    if (system.meridian != nullptr) text += ", méridien " + system.meridian->name;
    text += ")\n";

    const std::vector<int> types = CoordTypesOf(catalogue, system.id);
    std::vector<std::string> items;
    for (int type : types) items.push_back(Item(type, CoordTypeLabel(type)));
    AddLine(text, "Types de coordonnées (-typcoor)", items);

    if (std::find(types.begin(), types.end(), Geographic) != types.end()) {
        items.clear();
        for (int unit : UnitsOf(catalogue, system.id)) {
            // A code without a label is shown by its number alone.
            items.push_back(*AngleUnitLabel(unit) ? Item(unit, AngleUnitLabel(unit))
                                                  : std::to_string(unit));
        }
        AddLine(text, "Unités d'angle", items, true);
        items.clear();
        for (const CLgo& meridian : catalogue.meridians) {
            items.push_back(Item(meridian.id, meridian.name));
        }
        AddLine(text, "Méridiens origines", items);
    }
    if (std::find(types.begin(), types.end(), Projected) != types.end()) {
        items.clear();
        for (const CPrc* projection : ProjectionsOf(catalogue, system.id)) {
            items.push_back(Item(projection->id, projection->name));
        }
        AddLine(text, "Projections", items, true);
    }

    items.clear();
    for (const CRea& vertical : catalogue.verticalSystems) {
        const bool served =
            std::any_of(catalogue.verticalGrids.begin(), catalogue.verticalGrids.end(),
                        [&](const CGr1dEntry& grid) {
                            return grid.systemId == system.id &&
                                   std::find(grid.verticalIds.begin(), grid.verticalIds.end(),
                                             vertical.id) != grid.verticalIds.end();
                        });
        if (served) items.push_back(Item(vertical.id, vertical.name));
    }
    AddLine(text, "Systèmes altimétriques (-alt)", items);
    AddLine(text, std::string("Transformation ") + TransfoKindLabel(StandardKind) + " vers",
            JoinedSystems(catalogue, system, StandardKind));
    AddLine(text, std::string("Transformation ") + TransfoKindLabel(GridKind) + " vers",
            JoinedSystems(catalogue, system, GridKind, true));
    return text;
}

std::string CatalogueListing(const Catalogue& catalogue) {
    std::string text;
    for (const CReg& system : catalogue.systems) text += SystemListing(catalogue, system) + "\n";
    if (catalogue.systems.empty()) text += "Aucun système géodésique dans le catalogue.\n\n";
    std::vector<std::string> items;
    for (const CRea& vertical : catalogue.verticalSystems) {
        items.push_back(Item(vertical.id, vertical.name));
    }
    text += "Systèmes altimétriques du catalogue :\n";
    if (items.empty()) text += "    aucun\n";
    for (const std::string& item : items) text += "    " + item + "\n";
    return text;
}

std::string UnknownSystemText(std::string_view key) {
    return "quorvel : le système géodésique « " + std::string(key) +
           " » n'existe pas dans le catalogue (ni comme identifiant, ni comme nom) !\n";
}
