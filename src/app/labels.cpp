#include "app/labels.h"

#include <iterator>
#include <string>

#include "app/string_resources.h"
#include "catalogue/codes.h"
#include "geodesy/angle_unit.h"

namespace {

template <size_t N>
const char* LabelAt(const char* const (&table)[N], int code) {
    if (code < 0 || static_cast<size_t>(code) >= N) return "";
    return table[code];
}

struct LabelCode {
    int stringId;
    int code;
};

// The reverse mappings compare with the string resources in a fixed order.
constexpr LabelCode kAngleUnitOrder[] = {
    {IDS_UNIT_PACKED_DMS, PackedDms},
    {IDS_UNIT_DECIMAL_DEGREE, DecimalDegree},
    {IDS_UNIT_PACKED_DM, PackedDm},
    {IDS_UNIT_GRADE, Grade},
    {IDS_UNIT_RADIAN, Radian},
    {IDS_UNIT_PACKED_HMS, PackedHms},
    {IDS_UNIT_DECIMAL_HOUR, DecimalHour},
    {IDS_UNIT_SECOND_OF_DEGREE, SecondOfDegree},
    {IDS_UNIT_SECOND_OF_HOUR, SecondOfHour},
};

constexpr LabelCode kCoordTypeOrder[] = {
    {IDS_TYPE_CARTESIAN, Cartesian},
    {IDS_TYPE_PROJECTED, Projected},
    {IDS_TYPE_GEOGRAPHIC, Geographic},
};

constexpr LabelCode kDataFormatOrder[] = {
    {IDS_FORMAT_NAME_XYZ, FormatNameXYZ},
    {IDS_FORMAT_NAME_EN_ALTITUDE, FormatNameENAltitude},
    {IDS_FORMAT_NAME_EN_HEIGHT, FormatNameENHeight},
    {IDS_FORMAT_NAME_LAT_LON_ALTITUDE, FormatNameLatLonAltitude},
    {IDS_FORMAT_NAME_LAT_LON_HEIGHT, FormatNameLatLonHeight},
    {IDS_FORMAT_NAME_LON_LAT_HEIGHT, FormatNameLonLatHeight},
    {IDS_FORMAT_NAME_LON_LAT_ALTITUDE, FormatNameLonLatAltitude},
    {IDS_FORMAT_XYZ, FormatXYZ},
    {IDS_FORMAT_EN_ALTITUDE, FormatENAltitude},
    {IDS_FORMAT_EN_HEIGHT, FormatENHeight},
    {IDS_FORMAT_LAT_LON_HEIGHT, FormatLatLonHeight},
    {IDS_FORMAT_LAT_LON_ALTITUDE, FormatLatLonAltitude},
    {IDS_FORMAT_LON_LAT_HEIGHT, FormatLonLatHeight},
    {IDS_FORMAT_LON_LAT_ALTITUDE, FormatLonLatAltitude},
};

template <size_t N>
int CodeOf(const LabelCode (&order)[N], std::string_view label) {
    if (label.empty()) return 0;
    for (const LabelCode& entry : order) {
        if (LoadString(entry.stringId) == label) return entry.code;
    }
    return 0;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

const char* AngleUnitLabel(int code) {
    return LabelAt(kAngleUnitLabels, code);
}
const char* DataFormatLabel(int code) {
    return LabelAt(kDataFormatLabels, code);
}
const char* CoordTypeLabel(int code) {
    return LabelAt(kCoordTypeLabels, code);
}
const char* TransfoKindLabel(int code) {
    return LabelAt(kTransfoKindLabels, code);
}

std::span<const char* const> FormatListOfType(int coordType) {
    switch (coordType) {
        case Cartesian:
            return kCartesianFormatList;
        case Geographic:
            return kGeographicFormatList;
        case Projected:
            return kProjectedFormatList;
        default:
            return {};
    }
}

int AngleUnitCode(std::string_view label) {
    return CodeOf(kAngleUnitOrder, label);
}
int CoordTypeCode(std::string_view label) {
    return CodeOf(kCoordTypeOrder, label);
}
int DataFormatCode(std::string_view label) {
    return CodeOf(kDataFormatOrder, label);
}

int DataFormatCoordType(int code) {
    if (code == FormatNameXYZ || code == FormatXYZ) return Cartesian;
    if (code >= FormatNameLonLatAltitude && code <= FormatLatLonHeight) return Geographic;
    if (code >= FormatNameENAltitude && code <= FormatENHeight) return Projected;
    return CoordNotSet;
}

int DataFormatVertical(int code) {
    const std::string_view label = DataFormatLabel(code);
    if (EndsWith(label, "Hauteur")) return EllipsoidalHeight;
    if (EndsWith(label, "Altitude")) return Altitude;
    return NoVertical;
}

bool DataFormatHasName(int code) {
    return std::string_view(DataFormatLabel(code)).substr(0, 3) == "Nom";
}

bool DataFormatLatitudeFirst(int code) {
    return std::string_view(DataFormatLabel(code)).find("Lat Lon") != std::string_view::npos;
}

bool DataFormatHasHeight(int code) {
    return EndsWith(DataFormatLabel(code), "Hauteur");
}
