// Crops a GTX vertical grid (the format of the geoid grids that Debian's
// proj-data installs) to a rectangle at its own step and writes it as a
// native Quorvel text grid: one header line, then one height per line from
// the south-west corner eastwards along each row, rows south to north
// (layout 4, "SW2E2N").
//
// GTX: a 40-byte big-endian header (south latitude, west longitude, latitude
// step, longitude step as doubles, then rows and columns as 32-bit integers),
// followed by big-endian 32-bit reals row by row from the south.
//
//   gtx_crop IN.gtx OUT.mnt WEST EAST SOUTH NORTH "description"
//
// The limits are rounded onto the grid's nodes. Exit status 0 on success.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

uint64_t BigEndian(const unsigned char* p, int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

double Real8(const unsigned char* p) {
    const uint64_t bits = BigEndian(p, 8);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

float Real4(const unsigned char* p) {
    const uint32_t bits = static_cast<uint32_t>(BigEndian(p, 4));
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

int32_t Int4(const unsigned char* p) { return static_cast<int32_t>(BigEndian(p, 4)); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: %s IN.gtx OUT.mnt WEST EAST SOUTH NORTH DESCRIPTION\n", argv[0]);
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) {
        std::fprintf(stderr, "gtx_crop: cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<unsigned char> data;
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) data.insert(data.end(), chunk, chunk + got);
    std::fclose(in);
    if (data.size() < 40) {
        std::fprintf(stderr, "gtx_crop: %s is not a GTX grid\n", argv[1]);
        return 1;
    }
    const double south0 = Real8(&data[0]), west0 = Real8(&data[8]);
    const double dlat = Real8(&data[16]), dlon = Real8(&data[24]);
    const int32_t rows = Int4(&data[32]), columns = Int4(&data[36]);
    if (!(dlat > 0) || !(dlon > 0) || rows < 2 || columns < 2 ||
        data.size() < 40 + static_cast<size_t>(rows) * columns * 4) {
        std::fprintf(stderr, "gtx_crop: %s has an inconsistent header\n", argv[1]);
        return 1;
    }
    const double west = std::atof(argv[3]), east = std::atof(argv[4]);
    const double south = std::atof(argv[5]), north = std::atof(argv[6]);
    const long c0 = std::lround((west - west0) / dlon), c1 = std::lround((east - west0) / dlon);
    const long r0 = std::lround((south - south0) / dlat), r1 = std::lround((north - south0) / dlat);
    if (c0 < 0 || c1 >= columns || r0 < 0 || r1 >= rows || c1 <= c0 || r1 <= r0) {
        std::fprintf(stderr, "gtx_crop: the rectangle is not inside the grid\n");
        return 1;
    }
    const std::string temporary = std::string(argv[2]) + ".tmp";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "gtx_crop: cannot create %s\n", temporary.c_str());
        return 1;
    }
    std::fprintf(out, "%.6f %.6f %.6f %.6f %.6f %.6f 4 0 1 0 0 %s\r\n", west0 + c0 * dlon,
                 west0 + c1 * dlon, south0 + r0 * dlat, south0 + r1 * dlat, dlon, dlat, argv[7]);
    for (long r = r0; r <= r1; ++r) {
        for (long c = c0; c <= c1; ++c) {
            const float n = Real4(&data[40 + (static_cast<size_t>(r) * columns + c) * 4]);
            std::fprintf(out, "%.6f\r\n", static_cast<double>(n));
        }
    }
    if (std::fclose(out) != 0 || std::rename(temporary.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "gtx_crop: cannot write %s\n", argv[2]);
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
