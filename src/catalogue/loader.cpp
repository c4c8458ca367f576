#include "catalogue/loader.h"

#include <filesystem>
#include <fstream>

#include "shared/string_resources.h"
#include "shared/text_encoding.h"
#include "shared/user_interface.h"
#include "catalogue/field_scanner.h"

namespace {

// Most codes a "UNIT" line, and most vertical systems a "GR1D" line, can
// carry: the rest of the line is ignored, as any text after the last field.
constexpr int kMaxListedCodes = 16;

int DimensionOf(const std::string& word) {
    if (word == "2D") return 2;
    if (word == "3D") return 3;
    return 0;
}

// Reads up to `max` integers into `codes`.
void ReadCodes(FieldScanner& scan, int max, std::vector<int>& codes) {
    int code = 0;
    for (int i = 0; i < max && scan.Integer(code); ++i) codes.push_back(code);
}

// The bounds of a zone, in `unit`.
void SetBounds(CZone& zone, int unit, double west, double south, double east, double north) {
    zone.unit = unit;
    zone.southWest = {west, south};
    zone.northEast = {east, north};
}

bool ParseZone(std::string_view line, CZone& zone) {
    FieldScanner scan(line);
    std::string keyword;
    int unit = 0;
    double west = 0, south = 0, east = 0, north = 0;
    scan.Word(keyword) && scan.Integer(zone.systemKey) && scan.Integer(unit) && scan.Real(west) &&
        scan.Real(south) && scan.Real(east) && scan.Real(north);
    if (scan.Count() != 7) return false;
    zone.projectionKey = 0;
    SetBounds(zone, unit, west, south, east, north);
    return true;
}

bool ParseProjectionZone(std::string_view line, CProjPermission& permission, CZone& zone) {
    FieldScanner scan(line);
    std::string keyword;
    int unit = 0;
    double west = 0, south = 0, east = 0, north = 0;
    scan.Word(keyword) && scan.Integer(permission.systemId) &&
        scan.Integer(permission.projectionId) && scan.Integer(unit) && scan.Real(west) &&
        scan.Real(south) && scan.Real(east) && scan.Real(north);
    if (scan.Count() != 8) return false;
    zone.systemKey = permission.systemId;
    zone.projectionKey = permission.projectionId;
    SetBounds(zone, unit, west, south, east, north);
    return true;
}

bool ParseCoordTypes(std::string_view line, CTypCoorEntry& entry) {
    FieldScanner scan(line);
    std::string keyword;
    if (scan.Word(keyword) && scan.Integer(entry.systemId)) ReadCodes(scan, 3, entry.types);
    return scan.Count() >= 3;
}

bool ParseUnits(std::string_view line, CUnitEntry& entry) {
    FieldScanner scan(line);
    std::string keyword;
    if (scan.Word(keyword) && scan.Integer(entry.systemId)) {
        ReadCodes(scan, kMaxListedCodes, entry.units);
    }
    return scan.Count() >= 2;
}

bool ParseVerticalGrid(std::string_view line, CGr1dEntry& entry) {
    FieldScanner scan(line);
    std::string keyword;
    if (scan.Word(keyword) && scan.Word(entry.fileName) && scan.Integer(entry.systemId)) {
        ReadCodes(scan, kMaxListedCodes, entry.verticalIds);
    }
    return scan.Count() >= 3;
}

bool ParseTranslationGrid(std::string_view line, CGr3dEntry& entry) {
    FieldScanner scan(line);
    std::string keyword;
    scan.Word(keyword) && scan.Word(entry.fileName) && scan.Integer(entry.firstSystemId) &&
        scan.Integer(entry.secondSystemId);
    return scan.Count() >= 4;
}

bool StartsWith(std::string_view line, std::string_view keyword) {
    return line.substr(0, keyword.size()) == keyword;
}

template <class Record, class Parser>
LineOutcome Append(CatalogueList<Record>& list, Parser parse) {
    Record record;
    if (!parse(record)) return LineOutcome::Malformed;
    list.push_back(std::move(record));
    return LineOutcome::Added;
}

}  // namespace

bool ParseEllipsoid(std::string_view line, CElg& record) {
    FieldScanner scan(line);
    std::string keyword;
    scan.Word(keyword) && scan.Integer(record.id) && scan.Real(record.a) &&
        scan.Real(record.value2) && scan.Real(record.value3) && scan.Real(record.e2) &&
        scan.Name(record.name, 5);
    return scan.Count() >= 7;
}

bool ParseMeridian(std::string_view line, CLgo& record) {
    FieldScanner scan(line);
    std::string keyword;
    scan.Word(keyword) && scan.Integer(record.id) && scan.Integer(record.unit) &&
        scan.Real(record.longitude) && scan.Name(record.name, 5);
    return scan.Count() >= 5;
}

bool ParseSystem(std::string_view line, const CatalogueList<CElg>& ellipsoids,
                 const CatalogueList<CLgo>& meridians, CReg& record) {
    FieldScanner scan(line);
    std::string keyword, dimension;
    int ellipsoidId = 0, meridianId = 0;
    scan.Word(keyword) && scan.Integer(record.id) && scan.Integer(ellipsoidId) &&
        scan.Integer(meridianId) && scan.Word(dimension) && scan.Name(record.name, 5);
    if (scan.Count() < 6) return false;
    record.dimension = DimensionOf(dimension);
    record.ellipsoid = FindById(ellipsoids, ellipsoidId);
    record.meridian = FindById(meridians, meridianId);
    return record.ellipsoid && record.meridian;
}

bool ParseVerticalSystem(std::string_view line, CRea& record) {
    FieldScanner scan(line);
    std::string keyword;
    scan.Word(keyword) && scan.Integer(record.id) && scan.Name(record.name, 5);
    return scan.Count() >= 3;
}

bool ParseTransformation(std::string_view line, const CatalogueList<CReg>& systems, CTsg& record) {
    FieldScanner scan(line);
    std::string keyword;
    scan.Word(keyword);
    double* p = record.parameters;
    if (StartsWith(keyword, "TSG0")) {
        // Translation only: used to bring a point near a grid's system.
        scan.Integer(record.sourceId) && scan.Integer(record.targetId) && scan.Real(p[0]) &&
            scan.Real(p[1]) && scan.Real(p[2]);
        if (scan.Count() != 6) return false;
        record.id = 0;
        record.precisionClass = 0;
        record.kind = GridKind;
        for (int i = 3; i < 7; ++i) p[i] = 0;
    } else {
        scan.Integer(record.id) && scan.Integer(record.sourceId) && scan.Integer(record.targetId) &&
            scan.Integer(record.precisionClass) && scan.Real(p[0]) && scan.Real(p[1]) &&
            scan.Real(p[2]) && scan.Real(p[3]) && scan.Real(p[4]) && scan.Real(p[5]) &&
            scan.Real(p[6]);
        if (scan.Count() != 12) return false;
        record.kind = StandardKind;
    }
    record.source = FindById(systems, record.sourceId);
    record.target = FindById(systems, record.targetId);
    return record.source && record.target;
}

bool ParseProjection(std::string_view line, const CatalogueList<CElg>& ellipsoids,
                     const CatalogueList<CLgo>& meridians, CPrc& record) {
    FieldScanner scan(line);
    std::string keyword;
    int ellipsoidId = 0, meridianId = 0;
    scan.Word(keyword) && scan.Integer(record.id) && scan.Integer(record.lambertSubkind) &&
        scan.Integer(ellipsoidId) && scan.Real(record.falseEasting) &&
        scan.Real(record.falseNorthing) && scan.Integer(meridianId) && scan.Integer(record.unit) &&
        scan.Real(record.originLongitude) && scan.Real(record.originLatitude) &&
        scan.Real(record.scaleFactor) && scan.Real(record.firstParallel) &&
        scan.Real(record.secondParallel) && scan.Integer(record.attribute) &&
        scan.Integer(record.family) && scan.Name(record.name, 10);
    if (scan.Count() < 16) return false;
    record.ellipsoid = FindById(ellipsoids, ellipsoidId);
    record.meridian = FindById(meridians, meridianId);
    return record.ellipsoid && record.meridian;
}

LineOutcome AddCatalogueLine(std::string_view line, Catalogue& c) {
    if (line.empty() || line.front() == '*') return LineOutcome::Skipped;
    // The first keyword that the line starts with decides.
    if (StartsWith(line, "ELG")) {
        return Append(c.ellipsoids, [&](CElg& r) { return ParseEllipsoid(line, r); });
    }
    if (StartsWith(line, "LGO")) {
        return Append(c.meridians, [&](CLgo& r) { return ParseMeridian(line, r); });
    }
    if (StartsWith(line, "REG")) {
        return Append(c.systems,
                      [&](CReg& r) { return ParseSystem(line, c.ellipsoids, c.meridians, r); });
    }
    if (StartsWith(line, "REA")) {
        return Append(c.verticalSystems, [&](CRea& r) { return ParseVerticalSystem(line, r); });
    }
    if (StartsWith(line, "ZNE")) {
        return Append(c.systemZones, [&](CZone& r) { return ParseZone(line, r); });
    }
    if (StartsWith(line, "TSG")) {
        return Append(c.transformations,
                      [&](CTsg& r) { return ParseTransformation(line, c.systems, r); });
    }
    if (StartsWith(line, "PRC")) {
        return Append(c.projections,
                      [&](CPrc& r) { return ParseProjection(line, c.ellipsoids, c.meridians, r); });
    }
    if (StartsWith(line, "TYPCOOR")) {
        return Append(c.coordTypeEntries,
                      [&](CTypCoorEntry& r) { return ParseCoordTypes(line, r); });
    }
    if (StartsWith(line, "UNIT")) {
        return Append(c.unitEntries, [&](CUnitEntry& r) { return ParseUnits(line, r); });
    }
    if (StartsWith(line, "PROJ")) {
        CProjPermission permission;
        CZone zone;
        if (!ParseProjectionZone(line, permission, zone)) return LineOutcome::Malformed;
        c.projectionPermissions.push_back(permission);
        c.projectionZones.push_back(zone);
        return LineOutcome::Added;
    }
    if (StartsWith(line, "GR1D")) {
        return Append(c.verticalGrids, [&](CGr1dEntry& r) { return ParseVerticalGrid(line, r); });
    }
    if (StartsWith(line, "GR3D")) {
        return Append(c.translationGrids,
                      [&](CGr3dEntry& r) { return ParseTranslationGrid(line, r); });
    }
    return LineOutcome::Skipped;
}

std::optional<CatalogueFailure> ReadCatalogue(const std::string& path, Catalogue& catalogue) {
    std::error_code error;
    // A folder opens like a file on this platform but reads as nothing.
    if (std::filesystem::is_directory(path, error)) return CatalogueFailure{};
    std::ifstream file(path, std::ios::binary);
    if (!file) return CatalogueFailure{};
    int lineNumber = 0;
    std::string raw;
    while (true) {
        ++lineNumber;
        if (!std::getline(file, raw)) break;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string line = Latin1ToUtf8(raw);
        if (AddCatalogueLine(line, catalogue) == LineOutcome::Malformed) {
            return CatalogueFailure{CatalogueFailure::Malformed, lineNumber, line};
        }
    }
    if (file.bad()) return CatalogueFailure{};
    return std::nullopt;
}

std::string CatalogueFailureMessage(const std::string& path, const CatalogueFailure& failure) {
    if (failure.kind == CatalogueFailure::Unreadable) {
        return LoadString(IDS_CANNOT_READ_FILE) + "\n" + path;
    }
    // "%s \"%s\" :\n%s %d:\n\n\"%s\"" with texts of any length.
    return LoadString(IDS_ERROR_IN_FILE) + " \"" + path + "\" :\n" +
           LoadString(IDS_BAD_FORMAT_AT_LINE) + " " + std::to_string(failure.lineNumber) +
           ":\n\n\"" + failure.line + "\"";
}

bool LoadCatalogue(const std::string& path, Catalogue& catalogue, UserInterface& ui,
                   const std::string& caption) {
    std::optional<CatalogueFailure> failure = ReadCatalogue(path, catalogue);
    if (!failure) return true;
    ui.ShowError(CatalogueFailureMessage(path, *failure), caption);
    ui.Exit(1);
    return false;  // not reached: Exit does not return
}
