#include "shared/labels.h"

#include <array>
#include <iterator>
#include <string>
#include <string_view>

#include "shared/string_resources.h"
#include "shared/codes.h"
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

// What each layout's label says, read from the labels once, when the
// program is compiled: the runs ask for every point.
struct FormatTraits {
    int vertical = NoVertical;   // "Hauteur" 1, "Altitude" 2
    bool name = false;           // begins with "Nom"
    bool latitudeFirst = false;  // a "Lat Lon" layout
};

constexpr auto kFormatTraits = [] {
    std::array<FormatTraits, std::size(kDataFormatLabels)> traits{};
    for (std::size_t code = 0; code < traits.size(); ++code) {
        const std::string_view label = kDataFormatLabels[code];
        traits[code].vertical = label.ends_with("Hauteur")    ? EllipsoidalHeight
                                : label.ends_with("Altitude") ? Altitude
                                                              : NoVertical;
        traits[code].name = label.starts_with("Nom");
        traits[code].latitudeFirst = label.find("Lat Lon") != std::string_view::npos;
    }
    return traits;
}();

// The traits of a code outside the table are those of the empty label.
const FormatTraits& TraitsOf(int code) {
    static constexpr FormatTraits kNone{};
    if (code < 0 || static_cast<std::size_t>(code) >= kFormatTraits.size()) return kNone;
    return kFormatTraits[static_cast<std::size_t>(code)];
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
    return TraitsOf(code).vertical;
}

bool DataFormatHasName(int code) {
    return TraitsOf(code).name;
}

bool DataFormatLatitudeFirst(int code) {
    return TraitsOf(code).latitudeFirst;
}

bool DataFormatHasHeight(int code) {
    return TraitsOf(code).vertical == EllipsoidalHeight;
}
