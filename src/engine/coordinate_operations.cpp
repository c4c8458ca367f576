#include "engine/coordinate_operations.h"

#include "geodesy/angle.h"

namespace {

// Packed notations cannot be added: longitudes are summed in the decimal unit
// of the same kind.
int WorkingUnit(int unit) {
    if (unit == PackedDms || unit == PackedDm) return DecimalDegree;
    if (unit == PackedHms) return DecimalHour;
    return unit;
}

double MeridianLongitude(const CLgo& meridian, int unit) {
    return ConvertAngle(meridian.longitude, meridian.unit, unit);
}

}  // namespace

const CLgo* FindGreenwich(const CatalogueList<CLgo>& meridians) {
    const CLgo* greenwich = nullptr;
    for (const CLgo& meridian : meridians)
        if (meridian.id == 1) greenwich = &meridian;
    return greenwich;
}

bool IsGreenwich(const CLgo* meridian) { return meridian == nullptr || meridian->id == 1; }

int SetUnit(CCoor& coordinate, int unit) {
    coordinate.longitude = ConvertAngle(coordinate.longitude, coordinate.unit, unit);
    coordinate.latitude = ConvertAngle(coordinate.latitude, coordinate.unit, unit);
    coordinate.unit = unit;
    return 0;
}

int ToGreenwich(CCoor& coordinate, const CLgo* greenwich) {
    const CLgo* meridian = coordinate.sys.meridian;
    if (IsGreenwich(meridian)) {
        if (meridian == nullptr) coordinate.sys.meridian = greenwich;
        return 0;
    }
    const int w = WorkingUnit(coordinate.unit);
    const double sum =
        MeridianLongitude(*meridian, w) + ConvertAngle(coordinate.longitude, coordinate.unit, w);
    coordinate.longitude = ConvertAngle(sum, w, coordinate.unit);
    coordinate.sys.meridian = greenwich;
    return 0;
}

int ChangeMeridian(CCoor& coordinate, const CLgo* meridian, const CLgo* greenwich) {
    if (meridian == coordinate.sys.meridian) return 0;
    ToGreenwich(coordinate, greenwich);
    if (IsGreenwich(meridian)) {
        if (meridian != nullptr) coordinate.sys.meridian = meridian;
        return 0;
    }
    const int w = WorkingUnit(coordinate.unit);
    const double difference =
        ConvertAngle(coordinate.longitude, coordinate.unit, w) - MeridianLongitude(*meridian, w);
    coordinate.longitude = ConvertAngle(difference, w, coordinate.unit);
    coordinate.sys.meridian = meridian;
    return 0;
}
