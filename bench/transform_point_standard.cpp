// Points per second of the standard transformation chain, projected to
// projected: NTF Lambert II étendu to RGF93 Lambert-93 with the default
// catalogue (inverse Lambert, geocentric conversion, similarity, closed-form
// return to geographic, forward Lambert), without vertical grid.
//
// Usage: bench_transform_point_standard [points [catalogue]]
// (default: 1 000 000 points, the source tree's data/catalogue.txt).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/loader.h"
#include "engine/coordinate_system.h"
#include "engine/transformation_chain.h"
#include "grids/grid.h"

int main(int argc, char** argv) {
    const long points = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::string path = argc > 2
                                 ? argv[2]
                                 : std::string(QUORVEL_SOURCE_DATA) + "/catalogue.txt";
    Catalogue catalogue;
    if (ReadCatalogue(path, catalogue)) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        return 1;
    }
    CCoor source, target;
    source.type = Projected;
    target.type = Projected;
    ResolveByIds(source.sys, 1, 2, 27572, 0, catalogue);
    ResolveByIds(target.sys, 4, 1, 2154, 0, catalogue);
    if (!source.sys.projection || !target.sys.projection) {
        std::fprintf(stderr, "NTF Lambert II étendu or Lambert-93 missing from %s\n", path.c_str());
        return 1;
    }

    // Points over a 400 km square around Paris, a fresh one at each call.
    CGrille1D noVerticalGrid;
    double checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < points; ++i) {
        source.easting = 400000 + (i % 1000) * 400.0;
        source.northing = 2200000 + (i / 1000 % 1000) * 400.0;
        CCoor result = target;
        TransformPointStandard(source, result, noVerticalGrid, catalogue);
        checksum += result.easting + result.northing;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "TransformPointStandard, NTF Lambert II étendu to Lambert-93: %ld points in "
        "%.3f s, %.0f points per second (checksum %.3f)\n",
        points, seconds, points / seconds, checksum / points);
    return 0;
}
