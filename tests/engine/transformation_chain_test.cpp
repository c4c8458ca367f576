#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/test_catalogue.h"
#include "engine/coordinate_operations.h"
#include "engine/grid_transformation.h"
#include "engine/precision.h"
#include "engine/transformation_chain.h"
#include "geodesy/angle.h"
#include "geodesy/similarity.h"

namespace {

class Chain : public ::testing::Test {
protected:
    TestCatalogue cat;
    CGrille1D noGrid;
    CGrille1D grid;

    int Standard(const CCoor& source, CCoor& target, CGrille1D& vertical) {
        return TransformPointStandard(source, target, vertical, cat.catalogue);
    }
};

}  // namespace

// ---- Vertical steps ---------------------------------------------------------

// Same system: no change of system; with a grid of that system both vertical
// steps run, each giving the altitude of the ellipsoidal height.
TEST_F(Chain, SameSystemRunsBothVerticalSteps) {
    MakeVerticalGrid(grid, cat.rgf93->id);
    CCoor source = cat.Geographic(cat.rgf93, cat.greenwich, DecimalDegree, 2, 46, 300, 1);
    source.precision = 3;
    CCoor target = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    EXPECT_EQ(0, Standard(source, target, grid));
    EXPECT_NEAR(300 - GridN(2, 46), target.altitude, 1e-9);
    EXPECT_DOUBLE_EQ(300, target.height);
    EXPECT_EQ(88888888, target.verticalPrecision);
    EXPECT_EQ(3, target.precision);  // no change of system: the source's code
    EXPECT_EQ(EllipsoidalHeight, target.verticalKind);
}

TEST_F(Chain, WithoutVerticalValueThePointSitsOnTheGridSurface) {
    MakeVerticalGrid(grid, cat.rgf93->id);
    CCoor source = cat.Geographic(cat.rgf93, cat.greenwich, DecimalDegree, 2, 46, 999, 0);
    CCoor target = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    Standard(source, target, grid);
    EXPECT_NEAR(GridN(2, 46), target.height, 1e-9);
    // No applicable grid: on the ellipsoid.
    Standard(source, target, noGrid);
    EXPECT_EQ(0, target.height);
    // A grid of another system is not applicable.
    MakeVerticalGrid(grid, cat.wgs84->id);
    Standard(source, target, grid);
    EXPECT_EQ(0, target.height);
}

// A vertical grid that gives its unknown value at the point, on either side,
// fails the point instead of shifting it by the marker; elsewhere in the
// same grid the point is computed.
TEST_F(Chain, AnUnknownGeoidValueFailsThePoint) {
    MakeVerticalGrid(grid, cat.rgf93->id);
    grid.header.VALUE_UNK = GridN(2, 46);  // the node at 2°E 46°N has no value
    struct Case {
        double lon, lat;
        int status;
    } cases[] = {{2, 46, kUnknownGridValue},   {2.5, 46.5, kUnknownGridValue},
                 {1.01, 45.01, kUnknownGridValue}, {5.5, 48.5, 0},
                 {3.01, 46.5, 0}};
    for (const Case& c : cases) {
        for (int kind : {EllipsoidalHeight, Altitude}) {
            CCoor source = cat.Geographic(cat.rgf93, cat.greenwich, DecimalDegree, c.lon, c.lat,
                                          300, kind);
            CCoor target = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
            EXPECT_EQ(c.status, Standard(source, target, grid)) << c.lon << " " << c.lat;
        }
    }
    EXPECT_TRUE(UnknownGridValue(grid.header, std::nan("")));
    grid.header.VALUE_UNK_TO_ZERO = 1;  // unknown values then count as zeros
    EXPECT_FALSE(UnknownGridValue(grid.header, GridN(2, 46)));
}

// A translation grid over the vertical grid's lattice, of nodes in NTF:
// three geocentric translations (metres) or the four values of a shift grid
// (seconds); value k of the node at 2°E 46°N is `marker`.
void MakeTranslationGrid(CGrille3D& g, const TestCatalogue& cat, int values, int k,
                         double marker) {
    CGrille1D shape;
    MakeVerticalGrid(shape, cat.ntf->id);
    g.header = shape.header;
    g.header.VALUES_NUMBER = values;
    g.header.TRANSLATION.assign(static_cast<size_t>(values), 0.0);
    const int columns = g.header.N_COLUMNS;
    const double usual[2][4] = {{-168, -60, 320, 0}, {0.15, 2.1, 0.01, 0.01}};
    HoldReal8Nodes(
        g,
        [&](int64_t s, int v) {
            if (s == 5 * columns + 8 && v == k) return marker;
            return usual[values == 4][v] + 0.001 * static_cast<double>(s % columns);
        },
        [](int64_t) { return 0; });
    ZoneDeGrille(g.header, g.zone);
    g.zone.systemKey = cat.ntf->id;
}

// A translation grid, three-value or shift grid, that gives its unknown value
// (VALUE_UNK, or a value that is no number) at the point fails the point
// both ways, bilinear or spline; VALUE_UNK_TO_ZERO makes a marked node a
// zero, but a value that is no number stays unknown.
TEST_F(Chain, AnUnknownTranslationGridValueFailsThePoint) {
    const double nan = std::nan("");
    struct Grid {
        int values, k;
        double marker;
    } grids[] = {{3, 2, -999}, {3, 0, nan}, {4, 1, -999}, {4, 0, nan}};
    struct Point {
        double lon, lat;
        int bilinear, spline;
    } points[] = {{2, 46, kUnknownGridValue, kUnknownGridValue},
                  {2.5, 46.5, kUnknownGridValue, kUnknownGridValue},
                  {1.01, 45.01, kUnknownGridValue, kUnknownGridValue},
                  {3.01, 46.5, 0, kUnknownGridValue},
                  {5.5, 48.5, 0, 0}};
    for (const Grid& g : grids) {
        for (int toZero : {0, 1}) {
            for (int interpolation : {Bilineaire, Spline}) {
                CGrille3D translation;
                MakeTranslationGrid(translation, cat, g.values, g.k, g.marker);
                translation.header.VALUE_UNK = -999;
                translation.header.VALUE_UNK_TO_ZERO = toZero;
                translation.header.INTERPOLATION_TYPE = interpolation;
                translation.header.INTERPOLATION_ORDER = 4;
                for (const Point& p : points) {
                    for (bool fromNodes : {true, false}) {
                        SCOPED_TRACE(testing::Message()
                                     << g.values << " values, marker " << g.marker << " in "
                                     << g.k << ", to zero " << toZero << ", interpolation "
                                     << interpolation << ", " << p.lon << " " << p.lat
                                     << (fromNodes ? " forward" : " inverse"));
                        const CReg* from = fromNodes ? cat.ntf : cat.rgf93;
                        CCoor source = cat.Geographic(from, cat.greenwich, DecimalDegree, p.lon,
                                                      p.lat, 0, 0);
                        CCoor target = cat.Target(Geographic, fromNodes ? cat.rgf93 : cat.ntf,
                                                  cat.greenwich, DecimalDegree);
                        const int expected = toZero && !std::isnan(g.marker)       ? 0
                                             : interpolation == Bilineaire ? p.bilinear
                                                                           : p.spline;
                        EXPECT_EQ(expected, TransformPointGrid(source, target, noGrid,
                                                               translation, cat.catalogue));
                    }
                }
            }
        }
    }
}

// An altitude without a source-side grid serves as ellipsoidal height through
// the change of system; the target side then adds N to the altitude, which
// stays as typed.
TEST_F(Chain, AnAltitudeTakesTheTargetSidesN) {
    MakeVerticalGrid(grid, cat.rgf93->id);
    CCoor source = cat.Geographic(cat.ntf, cat.greenwich, DecimalDegree, 2, 46, 0, Altitude);
    source.altitude = 120;
    CCoor target = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    Standard(source, target, grid);
    EXPECT_EQ(120, target.altitude);
    EXPECT_NEAR(120 + GridN(target.longitude, target.latitude), target.height, 1e-9);
    EXPECT_EQ(88888888, target.verticalPrecision);

    // Without any grid the altitude passes as ellipsoidal height.
    CCoor plain = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    Standard(source, plain, noGrid);
    EXPECT_EQ(120, plain.altitude);
    // Through the change of ellipsoid the height moves by tens of metres.
    EXPECT_NEAR(120, plain.height, 100);
    EXPECT_GT(std::abs(plain.height - 120), 1);
}

// An ellipsoidal height gets its altitude on the target side only.
TEST_F(Chain, AnEllipsoidalHeightGetsItsAltitudeOnTheTargetSide) {
    MakeVerticalGrid(grid, cat.rgf93->id);
    CCoor source = cat.Geographic(cat.ntf, cat.greenwich, DecimalDegree, 2, 46, 250, 1);
    source.altitude = -1;
    CCoor target = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    Standard(source, target, grid);
    EXPECT_NEAR(target.height - GridN(target.longitude, target.latitude), target.altitude, 1e-9);
}

// The grid is read at the Greenwich longitude of a point typed from Paris.
TEST_F(Chain, TheVerticalGridIsReadAtTheGreenwichLongitude) {
    MakeVerticalGrid(grid, cat.ntf->id);
    CCoor source = cat.Geographic(cat.ntf, cat.paris, DecimalDegree, 1, 46, 500, 1);
    CCoor target = cat.Target(Geographic, cat.ntf, cat.paris, DecimalDegree);
    Standard(source, target, grid);
    EXPECT_NEAR(500 - GridN(1 + kParisDegrees, 46), target.altitude, 1e-9);
    EXPECT_NEAR(1, target.longitude, 1e-12);
    EXPECT_EQ(cat.paris, target.sys.meridian);
}

// ---- Change of system ---------------------------------------------------------

// RGF93 to NTF uses the NTF to RGF93 record inverted, with the exact inverse
// of its matrix: the direct formula brings the result back to the source.
TEST_F(Chain, ARecordListedTheOtherWayIsInverted) {
    CCoor source;
    source.type = Cartesian;
    source.x = 4201000.123;
    source.y = 177000.456;
    source.z = 4779000.789;
    source.sys.system = cat.rgf93;
    source.sys.meridian = cat.greenwich;
    const CCoor target = cat.Target(Cartesian, cat.ntf, cat.paris, Radian);

    CCoor moved = source;
    EXPECT_EQ(0, ApplyStandardTransformation(moved, target.sys, cat.catalogue));
    EXPECT_EQ(cat.ntf, moved.sys.system);
    EXPECT_EQ(5, moved.precision);
    const double* p = cat.ntfToRgf93->parameters;
    const Cartesian3 back =
        SimilarityDirect(p[0], p[1], p[2], p[3] * 1e-6, ConvertAngle(p[4], SecondOfDegree, Radian),
                         ConvertAngle(p[5], SecondOfDegree, Radian),
                         ConvertAngle(p[6], SecondOfDegree, Radian), moved.x, moved.y, moved.z);
    EXPECT_NEAR(source.x, back.x, 1e-8);
    EXPECT_NEAR(source.y, back.y, 1e-8);
    EXPECT_NEAR(source.z, back.z, 1e-8);
    EXPECT_GT(std::abs(moved.x - source.x), 100);

    // The whole chain returns to cartesian through geographic coordinates,
    // which costs well under a micrometre more.
    CCoor result = target;
    EXPECT_EQ(0, Standard(source, result, noGrid));
    EXPECT_NEAR(moved.x, result.x, 1e-5);
    EXPECT_NEAR(moved.y, result.y, 1e-5);
    EXPECT_NEAR(moved.z, result.z, 1e-5);
    EXPECT_EQ(5, result.precision);
}

// The standard step leaves the point as it was when no record joins the two
// systems.
TEST_F(Chain, TheStandardStepWithoutRecordChangesNothing) {
    CCoor point = cat.Geographic(cat.isolated, cat.greenwich, DecimalDegree, 2, 46, 100, 1);
    const CCoor before = point;
    CSysCoor ntf;
    ntf.system = cat.ntf;
    ntf.meridian = cat.paris;
    EXPECT_EQ(kNoTransformation, ApplyStandardTransformation(point, ntf, cat.catalogue));
    EXPECT_EQ(before.type, point.type);
    EXPECT_EQ(before.longitude, point.longitude);
    EXPECT_EQ(before.sys.system, point.sys.system);
}

TEST_F(Chain, ThePrecisionCodeOfTheRecordIsCarried) {
    CCoor source = cat.Geographic(cat.ntf, cat.paris, DecimalDegree, 0, 46, 0, 0);
    source.precision = 99;
    CCoor target = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    EXPECT_EQ(0, Standard(source, target, noGrid));
    EXPECT_EQ(cat.ntfToRgf93->precisionClass, target.precision);
    EXPECT_EQ("de 1 à 2m", PrecisionText(target.precision));
}

// No record joins the systems: 600, and the result is still written, from a
// point that never left its system.
TEST_F(Chain, NoRecordGives600) {
    CCoor source = cat.Geographic(cat.isolated, cat.greenwich, DecimalDegree, 2, 46, 100, 1);
    source.precision = 7;
    CCoor target = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    EXPECT_EQ(kNoTransformation, Standard(source, target, noGrid));
    EXPECT_EQ(cat.isolated, target.sys.system);
    EXPECT_NEAR(2, target.longitude, 1e-12);
    EXPECT_NEAR(46, target.latitude, 1e-12);
    EXPECT_EQ(7, target.precision);
}

// ---- Projections ------------------------------------------------------------

TEST_F(Chain, AnUnhandledSourceFamilyGives300) {
    CCoor source;
    source.type = Projected;
    source.easting = 600000;
    source.northing = 2200000;
    source.sys.system = cat.ntf;
    source.sys.meridian = cat.paris;
    source.sys.projection = cat.family4;
    CCoor target = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    EXPECT_EQ(kProjectionNotHandled, Standard(source, target, noGrid));
}

TEST_F(Chain, AnUnhandledTargetFamilyIsFlaggedNotReported) {
    CCoor source = cat.Geographic(cat.rgf93, cat.greenwich, DecimalDegree, 2, 46, 0, 0);
    CCoor target = cat.Target(Projected, cat.ntf, cat.paris, Radian, cat.family4);
    EXPECT_EQ(0, Standard(source, target, noGrid));
    EXPECT_TRUE(target.projectionError);
    EXPECT_EQ(cat.family4, target.sys.projection);
    EXPECT_EQ(Projected, target.type);
}

TEST_F(Chain, AProjectedTargetCarriesTheTargetProjection) {
    CCoor source = cat.Geographic(cat.ntf, cat.greenwich, DecimalDegree, 2.33722917, 46.8, 0, 0);
    CCoor target = cat.Target(Projected, cat.ntf, cat.paris, Radian, cat.lambert2e);
    source.sys.projection = cat.family4;
    EXPECT_EQ(0, Standard(source, target, noGrid));
    EXPECT_FALSE(target.projectionError);
    EXPECT_EQ(cat.lambert2e, target.sys.projection);
    EXPECT_NEAR(600000, target.easting, 1e-6);  // the projection's origin
    EXPECT_NEAR(2200000, target.northing, 1e-6);
}

// ---- Prime meridians -----------------------------------------------------------

// NTF from Paris to RGF93 from Paris: the result counts from Paris. (Were the
// working point still to name Paris after its return from cartesian, the
// arrival's change of meridian would do nothing and leave a Greenwich
// longitude labelled Paris.)
TEST_F(Chain, ParisToParisAcrossSystemsCountsFromParis) {
    CCoor source = cat.Geographic(cat.ntf, cat.paris, DecimalDegree, 0.5, 47, 0, 0);
    CCoor fromParis = cat.Target(Geographic, cat.rgf93, cat.paris, DecimalDegree);
    CCoor fromGreenwich = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    Standard(source, fromParis, noGrid);
    Standard(source, fromGreenwich, noGrid);
    EXPECT_EQ(cat.paris, fromParis.sys.meridian);
    EXPECT_EQ(cat.greenwich, fromGreenwich.sys.meridian);
    EXPECT_NEAR(fromGreenwich.longitude - kParisDegrees, fromParis.longitude, 1e-12);
    EXPECT_NEAR(fromGreenwich.latitude, fromParis.latitude, 1e-12);
    // A few seconds of datum shift, not a whole meridian.
    EXPECT_NEAR(0.5, fromParis.longitude, 0.01);
}

// A WGS84 point typed from Paris is shifted by Paris, not by WGS84's own
// Greenwich meridian.
TEST_F(Chain, AWgs84PointTypedFromParis) {
    CCoor source = cat.Geographic(cat.wgs84, cat.paris, DecimalDegree, 0.5, 47, 0, 0);
    CCoor target = cat.Target(Geographic, cat.wgs84, cat.greenwich, DecimalDegree);
    Standard(source, target, noGrid);
    EXPECT_NEAR(0.5 + kParisDegrees, target.longitude, 1e-12);
}

// Every arrival unit and both meridians give the same point.
TEST_F(Chain, EveryArrivalUnitAndMeridianAgree) {
    CCoor source = cat.Geographic(cat.ntf, cat.paris, Grade, 1.234, 52.1, 0, 0);
    CCoor reference = cat.Target(Geographic, cat.rgf93, cat.greenwich, DecimalDegree);
    Standard(source, reference, noGrid);
    for (int unit : {Radian, DecimalDegree, Grade, DecimalHour, SecondOfDegree, SecondOfHour,
                     PackedDms, PackedHms, PackedDm}) {
        for (const CLgo* meridian : {cat.greenwich, cat.paris}) {
            CCoor target = cat.Target(Geographic, cat.rgf93, meridian, unit);
            Standard(source, target, noGrid);
            EXPECT_EQ(unit, target.unit);
            EXPECT_EQ(meridian, target.sys.meridian);
            ToGreenwich(target, cat.greenwich);
            SetUnit(target, DecimalDegree);
            EXPECT_NEAR(reference.longitude, target.longitude, 1e-9) << unit << meridian->name;
            EXPECT_NEAR(reference.latitude, target.latitude, 1e-9) << unit << meridian->name;
        }
    }
}

// ---- The shared chain ---------------------------------------------------------

// The change of system is the caller's step: called only between different
// systems, its status is the chain's, and the grid variant sets the meridian
// before the unit.
TEST_F(Chain, TheChangeOfSystemIsPluggedIn) {
    int calls = 0;
    const SystemChange change = [&](CCoor& working, const CSysCoor& to) {
        ++calls;
        working.sys.system = to.system;
        working.precision = 42;
        return 1234;
    };
    CCoor source = cat.Geographic(cat.rgf93, cat.greenwich, DecimalDegree, 2, 46, 0, 0);
    CCoor same = cat.Target(Geographic, cat.rgf93, cat.paris, PackedDms);
    EXPECT_EQ(0, TransformPoint(source, same, noGrid, cat.catalogue, change,
                                GeographicArrival::MeridianThenUnit));
    EXPECT_EQ(0, calls);
    EXPECT_NEAR(DegreesToPackedDms(2 - kParisDegrees), same.longitude, 1e-12);

    CCoor other = cat.Target(Geographic, cat.wgs84, cat.greenwich, DecimalDegree);
    EXPECT_EQ(1234, TransformPoint(source, other, noGrid, cat.catalogue, change,
                                   GeographicArrival::MeridianThenUnit));
    EXPECT_EQ(1, calls);
    EXPECT_EQ(42, other.precision);
    EXPECT_EQ(cat.wgs84, other.sys.system);
}

TEST_F(Chain, TheNameAndCodesTravelWithThePoint) {
    CCoor source = cat.Geographic(cat.rgf93, cat.greenwich, DecimalDegree, 2, 46, 0, 0);
    source.name = "Borne 12";
    source.verticalPrecision = -999;
    CCoor target = cat.Target(Cartesian, cat.wgs84, cat.greenwich, Radian);
    target.name = "autre";
    Standard(source, target, noGrid);
    EXPECT_EQ("Borne 12", target.name);
    EXPECT_EQ(-999, target.verticalPrecision);
    EXPECT_EQ(10, target.precision);
    EXPECT_EQ(Cartesian, target.type);
}

// ---- Many points side by side -----------------------------------------------

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Every field that the chain writes, bit for bit.
void ExpectSamePoint(const CCoor& alone, const CCoor& side, int i) {
    for (const auto& [a, b] : {std::pair{alone.x, side.x}, {alone.y, side.y}, {alone.z, side.z},
                               {alone.longitude, side.longitude}, {alone.latitude, side.latitude},
                               {alone.height, side.height}, {alone.altitude, side.altitude},
                               {alone.easting, side.easting}, {alone.northing, side.northing},
                               {alone.convergence, side.convergence},
                               {alone.linearAlteration, side.linearAlteration}})
        EXPECT_TRUE(SameBits(a, b)) << i << ": " << a << " " << b;
    EXPECT_EQ(alone.type, side.type) << i;
    EXPECT_EQ(alone.unit, side.unit) << i;
    EXPECT_EQ(alone.sys.system, side.sys.system) << i;
    EXPECT_EQ(alone.sys.meridian, side.sys.meridian) << i;
    EXPECT_EQ(alone.sys.projection, side.sys.projection) << i;
    EXPECT_EQ(alone.projectionError, side.projectionError) << i;
    EXPECT_EQ(alone.convergenceUnit, side.convergenceUnit) << i;
    EXPECT_EQ(alone.precision, side.precision) << i;
    EXPECT_EQ(alone.verticalPrecision, side.verticalPrecision) << i;
    EXPECT_EQ(alone.name, side.name) << i;
}

}  // namespace

// TransformPointsStandard and TransformPointsGrid give each point exactly what
// TransformPointStandard and TransformPointGrid give it alone, status and
// arrival location included: sources projected, geographic from Greenwich
// and Paris in several units (packed ones too), targets of every type, with
// and without a geoid on either side, the same system, no transformation
// record, an unhandled target projection, and mixed targets in one call, for
// counts around the groups of four; the grid chain through a shift grid and
// through a grid of three translations.
TEST_F(Chain, ManyPointsSideBySideAreEachAlone) {
    CGrille1D geoid;
    MakeVerticalGrid(geoid, cat.rgf93->id);
    CGrille3D shifts, translations;
    MakeTranslationGrid(shifts, cat, 4, -1, 0);
    MakeTranslationGrid(translations, cat, 3, -1, 0);
    enum class Method { Standard, Shifts, Translations };
    std::vector<CCoor> sources, targets;
    for (int i = 0; i < 37; ++i) {
        const double lon = -4.5 + 0.37 * i, lat = 42.2 + 0.23 * i;
        const int kind = i % 3 == 0 ? Altitude : EllipsoidalHeight;
        CCoor source;
        switch (i % 5) {
            case 0:
                source = cat.Target(Projected, cat.ntf, cat.paris, Radian, cat.lambert2e);
                source.easting = 150000 + 21000.0 * i;
                source.northing = 1750000 + 23000.0 * i;
                source.height = 100 + i;
                source.verticalKind = kind;
                break;
            case 1:
                source = cat.Geographic(cat.ntf, cat.greenwich, DecimalDegree, lon, lat, 50 + i, kind);
                break;
            case 2:
                source = cat.Geographic(cat.ntf, cat.paris, Grade, lon / 0.9, lat / 0.9, 80, kind);
                break;
            case 3:
                source = cat.Geographic(cat.rgf93, cat.greenwich, DecimalDegree, lon, lat, 20, kind);
                SetUnit(source, PackedDms);
                break;
            default:
                source = cat.Geographic(cat.wgs84, cat.greenwich, DecimalDegree, lon, lat, 0, kind);
                SetUnit(source, PackedDm);
                break;
        }
        source.name = "P" + std::to_string(i);
        sources.push_back(source);
        CCoor target;
        switch (i % 7) {
            case 0:
            case 4:
                target = cat.Target(Projected, cat.ntf, cat.paris, Radian, cat.lambert2e);
                break;
            case 1:
                target = cat.Target(Geographic, cat.rgf93, cat.greenwich, PackedDms);
                break;
            case 2:
                target = cat.Target(Cartesian, cat.rgf93, cat.greenwich, Radian);
                break;
            case 3:
                target = cat.Target(Geographic, cat.ntf, cat.paris, Grade);
                break;
            case 5:
                target = cat.Target(Projected, cat.rgf93, cat.greenwich, Radian, cat.family4);
                break;
            default:
                target = cat.Target(Geographic, cat.isolated, cat.greenwich, DecimalDegree);
                break;
        }
        targets.push_back(target);
    }
    for (const Method method : {Method::Standard, Method::Shifts, Method::Translations}) {
        CGrille3D& translation = method == Method::Shifts ? shifts : translations;
        for (CGrille1D* vertical : {&noGrid, &geoid}) {
            for (const std::size_t count : {std::size_t{1}, std::size_t{4}, std::size_t{6}, sources.size()}) {
                for (std::size_t first = 0; first + count <= sources.size(); first += count) {
                    std::vector<CCoor> alone(targets.begin() + first, targets.begin() + first + count);
                    std::vector<CCoor> side = alone;
                    std::vector<ZoneLocation> aloneAt(count), sideAt(count);
                    std::vector<int> aloneStatus(count), sideStatus(count);
                    // The side-by-side chain uses up its sources: copies of them.
                    std::vector<CCoor> copies(sources.begin() + first, sources.begin() + first + count);
                    std::vector<CCoor*> from;
                    std::vector<CCoor*> to;
                    std::vector<ZoneLocation*> at;
                    for (std::size_t k = 0; k < count; ++k) {
                        aloneAt[k].unit = sideAt[k].unit = -1;
                        aloneStatus[k] =
                            method == Method::Standard
                                ? TransformPointStandard(sources[first + k], alone[k], *vertical,
                                                         cat.catalogue, &aloneAt[k])
                                : TransformPointGrid(sources[first + k], alone[k], *vertical,
                                                     translation, cat.catalogue, &aloneAt[k]);
                        from.push_back(&copies[k]);
                        to.push_back(&side[k]);
                        at.push_back(&sideAt[k]);
                    }
                    if (method == Method::Standard) {
                        TransformPointsStandard(from.data(), to.data(), static_cast<int>(count),
                                                *vertical, cat.catalogue, at.data(), sideStatus.data());
                    } else {
                        TransformPointsGrid(from.data(), to.data(), static_cast<int>(count), *vertical,
                                            translation, cat.catalogue, at.data(), sideStatus.data());
                    }
                    for (std::size_t k = 0; k < count; ++k) {
                        const int i = static_cast<int>(first + k);
                        SCOPED_TRACE(testing::Message() << "method " << static_cast<int>(method));
                        EXPECT_EQ(aloneStatus[k], sideStatus[k]) << i;
                        ExpectSamePoint(alone[k], side[k], i);
                        EXPECT_EQ(aloneAt[k].unit, sideAt[k].unit) << i;
                        EXPECT_TRUE(SameBits(aloneAt[k].longitude, sideAt[k].longitude)) << i;
                        EXPECT_TRUE(SameBits(aloneAt[k].latitude, sideAt[k].latitude)) << i;
                    }
                }
            }
        }
    }
}
