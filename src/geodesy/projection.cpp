#include "geodesy/projection.h"

#include <bit>
#include <cstdint>

#include "geodesy/angle.h"
#include "geodesy/equal_area.h"
#include "geodesy/gauss_laborde.h"
#include "geodesy/lambert_conic.h"
#include "geodesy/plain_computation.h"
#include "geodesy/transverse_mercator.h"

namespace {

enum ProjectionFamily : int {
    LambertFamily = 1,
    TransverseMercatorFamily = 2,
    TransverseMercatorFamilyToo = 3,
    GaussLabordeFamily = 5,
    EqualAreaFamily = 6,
};

bool LambertConstants(const CPrc& r, LambertConic& c) {
    const double a = r.ellipsoid->a, e2 = r.ellipsoid->e2;
    const double lambdaM = RecordCentralLongitude(r);
    const double phi0 = RecordAngleToRadians(r.originLatitude, r.unit);
    switch (r.lambertSubkind) {
        case 1:
        case 2:
            c = LambertTangent(a, e2, lambdaM, phi0, r.scaleFactor, r.falseEasting,
                               r.falseNorthing);
            return true;
        case 3:
            c = LambertSecant(a, e2, lambdaM, phi0, RecordAngleToRadians(r.firstParallel, r.unit),
                              RecordAngleToRadians(r.secondParallel, r.unit), r.falseEasting,
                              r.falseNorthing);
            return true;
        default:
            return false;
    }
}

TransverseMercator MercatorConstants(const CPrc& r) {
    return TransverseMercatorConstants(r.ellipsoid->a, r.ellipsoid->e2, RecordCentralLongitude(r),
                                       RecordAngleToRadians(r.originLatitude, r.unit),
                                       r.scaleFactor, r.falseEasting, r.falseNorthing);
}

// Gauss-Laborde takes its angles through the full unit conversion and
// ignores the record's prime meridian.
GaussLaborde LabordeConstants(const CPrc& r) {
    return GaussLabordeConstants(r.ellipsoid->a, r.ellipsoid->e2,
                                 ConvertAngle(r.originLongitude, r.unit, Radian),
                                 ConvertAngle(r.originLatitude, r.unit, Radian), r.scaleFactor,
                                 r.falseEasting, r.falseNorthing);
}

EqualArea AzimuthalConstants(const CPrc& r) {
    return EqualAreaConstants(r.ellipsoid->a, r.ellipsoid->e2, RecordCentralLongitude(r),
                              ConvertAngle(r.originLatitude, r.unit, Radian), r.falseEasting,
                              r.falseNorthing);
}

// ---- Constants computed once per projection -------------------------------
//
// A file run projects every point with the same one or two records, and the
// constants of a family (isometric latitudes of the parallels, series
// coefficients) cost more than the projection of a point. They are kept for
// the few records last used, keyed by every value they are computed from,
// so that a record whose values differ (another record, or the same record
// changed) never gets constants that are not its own. The values are the
// ones computed at each call: the same functions on the same numbers.

// Every number the constants of a record depend on, compared bit for bit.
struct ConstantsKey {
    int family = 0, lambertSubkind = 0, unit = 0;
    int meridianKind = 0;  // 0 no prime meridian, 1 Greenwich, 2 another
    int meridianUnit = 0;
    std::uint64_t meridianLongitude = 0;
    std::uint64_t a = 0, e2 = 0;
    std::uint64_t originLongitude = 0, originLatitude = 0;
    std::uint64_t firstParallel = 0, secondParallel = 0, scaleFactor = 0;
    std::uint64_t falseEasting = 0, falseNorthing = 0;

    static std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

    static ConstantsKey Of(const CPrc& r) {
        ConstantsKey k;
        k.family = r.family;
        k.lambertSubkind = r.lambertSubkind;
        k.unit = r.unit;
        if (const CLgo* m = r.meridian) {
            k.meridianKind = m->id == 1 ? 1 : 2;
            k.meridianUnit = m->unit;
            k.meridianLongitude = Bits(m->longitude);
        }
        k.a = Bits(r.ellipsoid->a);
        k.e2 = Bits(r.ellipsoid->e2);
        k.originLongitude = Bits(r.originLongitude);
        k.originLatitude = Bits(r.originLatitude);
        k.firstParallel = Bits(r.firstParallel);
        k.secondParallel = Bits(r.secondParallel);
        k.scaleFactor = Bits(r.scaleFactor);
        k.falseEasting = Bits(r.falseEasting);
        k.falseNorthing = Bits(r.falseNorthing);
        return k;
    }

    // Whether `r` has these values, read from the record itself.
    bool Matches(const CPrc& r) const {
        if (r.family != family || r.lambertSubkind != lambertSubkind || r.unit != unit ||
            Bits(r.falseEasting) != falseEasting || Bits(r.falseNorthing) != falseNorthing ||
            Bits(r.originLatitude) != originLatitude ||
            Bits(r.originLongitude) != originLongitude || Bits(r.scaleFactor) != scaleFactor ||
            Bits(r.firstParallel) != firstParallel || Bits(r.secondParallel) != secondParallel ||
            Bits(r.ellipsoid->a) != a || Bits(r.ellipsoid->e2) != e2)
            return false;
        const CLgo* m = r.meridian;
        if (m == nullptr) return meridianKind == 0;
        return meridianKind == (m->id == 1 ? 1 : 2) && m->unit == meridianUnit &&
               Bits(m->longitude) == meridianLongitude;
    }

    bool operator==(const ConstantsKey&) const = default;
};

// The constants of one record, with the last inverse projection made with
// them: the runs ask for the geographic position of the same projected
// point several times (extent tests, grid selection, computation).
struct PreparedProjection {
    ConstantsKey key;
    const CPrc* record = nullptr;  // the record that last asked for them
    bool handled = false;          // a family (and Lambert subkind) with constants
    LambertConic lambert;
    TransverseMercator mercator;
    GaussLaborde laborde;
    EqualArea equalArea;
    bool inverseKept = false;
    std::uint64_t inverseEasting = 0, inverseNorthing = 0;
    GeographicPoint inverse;

    void Prepare(const CPrc& r, const ConstantsKey& k) {
        key = k;
        record = &r;
        inverseKept = false;
        switch (r.family) {
            case LambertFamily:
                handled = LambertConstants(r, lambert);
                break;
            case TransverseMercatorFamily:
            case TransverseMercatorFamilyToo:
                mercator = MercatorConstants(r);
                handled = true;
                break;
            case GaussLabordeFamily:
                laborde = LabordeConstants(r);
                handled = true;
                break;
            case EqualAreaFamily:
                equalArea = AzimuthalConstants(r);
                handled = true;
                break;
            default:
                handled = false;
                break;
        }
    }
};

// A few records per thread: a run uses its departure and arrival projections.
constexpr int kPreparedProjections = 4;

struct PreparedProjections {
    PreparedProjection slots[kPreparedProjections];
    int used = 0;
    int next = 0;
};

thread_local PreparedProjections prepared;

// A record not met last: the slot with its values, or a new slot that takes
// its constants.
[[gnu::noinline]] PreparedProjection& PrepareFor(const CPrc& record) {
    const ConstantsKey key = ConstantsKey::Of(record);
    for (int i = 0; i < prepared.used; ++i) {
        if (prepared.slots[i].key == key) {
            prepared.slots[i].record = &record;
            return prepared.slots[i];
        }
    }
    PreparedProjection& slot = prepared.slots[prepared.next];
    prepared.next = (prepared.next + 1) % kPreparedProjections;
    if (prepared.used < kPreparedProjections) ++prepared.used;
    slot.Prepare(record, key);
    return slot;
}

PreparedProjection& Prepared(const CPrc& record) {
    // The slot that this record used last, when its values are still the same.
    for (int i = 0; i < prepared.used; ++i) {
        PreparedProjection& slot = prepared.slots[i];
        if (slot.record == &record && slot.key.Matches(record)) return slot;
    }
    return PrepareFor(record);
}

// The family computations with prepared constants.
int Forward(const PreparedProjection& p, const CPrc& record, double lambda, double phi,
            ProjectedPoint& out) {
    if (!p.handled) return kProjectionNotHandled;
    switch (record.family) {
        case LambertFamily:
            out = LambertForward(p.lambert, lambda, phi);
            return 0;
        case TransverseMercatorFamily:
        case TransverseMercatorFamilyToo:
            out = TransverseMercatorForward(p.mercator, lambda, phi);
            return 0;
        case GaussLabordeFamily:
            out = GaussLabordeForward(p.laborde, lambda, phi);
            return 0;
        default:  // EqualAreaFamily
            out = EqualAreaForward(p.equalArea, lambda, phi);
            return 0;
    }
}

int Inverse(const PreparedProjection& p, const CPrc& record, double easting, double northing,
            GeographicPoint& out) {
    if (!p.handled) return kProjectionNotHandled;
    switch (record.family) {
        case LambertFamily:
            out = LambertInverse(p.lambert, easting, northing);
            return 0;
        case TransverseMercatorFamily:
        case TransverseMercatorFamilyToo:
            out = TransverseMercatorInverse(p.mercator, easting, northing);
            return 0;
        case GaussLabordeFamily:
            out = GaussLabordeInverse(p.laborde, easting, northing);
            return 0;
        default:  // EqualAreaFamily
            out = EqualAreaInverse(p.equalArea, easting, northing);
            return 0;
    }
}

}  // namespace

double RecordAngleToRadians(double value, int unit) {
    switch (unit) {
        case Radian:
        case Grade:
        case PackedDms:
            return ConvertAngle(value, unit, Radian);
        default:
            return ConvertAngle(value, DecimalDegree, Radian);
    }
}

double RecordCentralLongitude(const CPrc& record) {
    double lambdaM = RecordAngleToRadians(record.originLongitude, record.unit);
    if (record.meridian != nullptr && record.meridian->id != 1)
        lambdaM += RecordAngleToRadians(record.meridian->longitude, record.meridian->unit);
    return lambdaM;
}

int ProjectGeographic(const CPrc& record, double lambda, double phi, ProjectedPoint& out) {
    if (record.ellipsoid == nullptr) return kProjectionNotHandled;
    if (PlainComputation()) {
        PreparedProjection fresh;
        fresh.Prepare(record, ConstantsKey::Of(record));
        return Forward(fresh, record, lambda, phi, out);
    }
    return Forward(Prepared(record), record, lambda, phi, out);
}

int UnprojectProjected(const CPrc& record, double easting, double northing, GeographicPoint& out) {
    if (record.ellipsoid == nullptr) return kProjectionNotHandled;
    if (PlainComputation()) {
        PreparedProjection fresh;
        fresh.Prepare(record, ConstantsKey::Of(record));
        return Inverse(fresh, record, easting, northing, out);
    }
    PreparedProjection& p = Prepared(record);
    if (!p.handled) return kProjectionNotHandled;
    const std::uint64_t e = std::bit_cast<std::uint64_t>(easting);
    const std::uint64_t n = std::bit_cast<std::uint64_t>(northing);
    if (p.inverseKept && p.inverseEasting == e && p.inverseNorthing == n) {
        out = p.inverse;
        return 0;
    }
    const int status = Inverse(p, record, easting, northing, out);
    p.inverseKept = true;
    p.inverseEasting = e;
    p.inverseNorthing = n;
    p.inverse = out;
    return status;
}
