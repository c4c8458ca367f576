// Queries per second of a grid read from its binary cache on disk (the way
// the runs use grids) against the same grid loaded into memory, for the
// bilinear and the spline interpolation; then the bilinear queries of the
// published formats read in place: NTv2 (one sub-grid, and a parent with
// finer children) and GTX;
// and the same NTv2 shifts as a GeoTIFF grid (tiles of 256 x 256, DEFLATE),
// written here with libtiff.
//
// Usage: bench_grid_queries [columns lines values queries]
// (default: a 1201 x 801 translation grid of 3 values, 2 000 000 queries).

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <tiffio.h>

#include "grids/grid.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// A native text grid over 5° W .. 7° E, 41° .. 49° N with smooth values.
void WriteGrid(const std::string& name, int columns, int lines, int values) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    const double step = 0.01;
    std::fprintf(f, "-5.0 %.2f 41.0 %.2f %.2f %.2f 4 0 %d 1", -5.0 + (columns - 1) * step,
                 41.0 + (lines - 1) * step, step, step, values);
    for (int k = 0; k < values; ++k) std::fprintf(f, " 0.0");
    std::fprintf(f, " grille de mesure\n");
    for (int l = 0; l < lines; ++l) {
        for (int c = 0; c < columns; ++c) {
            for (int k = 0; k < values; ++k)
                std::fprintf(f, "%.4f ",
                             -168.0 + 10 * k + std::sin(c * 0.01 + k) + std::cos(l * 0.013));
            std::fprintf(f, "%d\n", 1 + (c + l) % 5);
        }
    }
    std::fclose(f);
    std::FILE* x = std::fopen("mesure.xml", "wb");
    std::fprintf(x,
                 "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n"
                 "\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n</GRID_HEADER>\n");
    std::fclose(x);
}

// An NTv2 file over 5° W .. 10° E, 41° .. 52° N at a tenth of a degree, and
// `children` finer sub-grids (a fortieth of a degree) inside it.
void WriteNestedNtv2(const std::string& name, int children) {
    std::string out;
    auto key = [&](const char* k) {
        std::string text = k;
        text.resize(8, ' ');
        out += text;
    };
    auto integer = [&](const char* k, int32_t v) {
        key(k);
        out.append(reinterpret_cast<const char*>(&v), 4);
        out.append(4, '\0');
    };
    auto real = [&](const char* k, double v) {
        key(k);
        out.append(reinterpret_cast<const char*>(&v), 8);
    };
    auto text = [&](const char* k, const std::string& v) {
        key(k);
        std::string padded = v;
        padded.resize(8, ' ');
        out += padded;
    };
    integer("NUM_OREC", 11);
    integer("NUM_SREC", 11);
    integer("NUM_FILE", 1 + children);
    text("GS_TYPE", "SECONDS");
    text("VERSION", "NTv2.0");
    text("SYSTEM_F", "NTF");
    text("SYSTEM_T", "RGF93");
    real("MAJOR_F", 6378249.2);
    real("MINOR_F", 6356515.0);
    real("MAJOR_T", 6378137.0);
    real("MINOR_T", 6356752.314140);
    auto subGrid = [&](const std::string& subName, const char* parent, double west, double east,
                       double south, double north, double step) {
        const int columns = static_cast<int>(std::lround((east - west) / step)) + 1;
        const int lines = static_cast<int>(std::lround((north - south) / step)) + 1;
        text("SUB_NAME", subName);
        text("PARENT", parent);
        text("CREATED", "");
        text("UPDATED", "");
        real("S_LAT", south * 3600);
        real("N_LAT", north * 3600);
        real("E_LONG", -east * 3600);
        real("W_LONG", -west * 3600);
        real("LAT_INC", step * 3600);
        real("LONG_INC", step * 3600);
        integer("GS_COUNT", columns * lines);
        for (int l = 0; l < lines; ++l) {
            for (int c = columns - 1; c >= 0; --c) {
                const float shift[4] = {static_cast<float>(std::sin(l * 0.01)),
                                        static_cast<float>(std::cos(c * 0.01)), 0.01f, 0.01f};
                out.append(reinterpret_cast<const char*>(shift), sizeof shift);
            }
        }
    };
    subGrid("PARENT", "NONE", -5, 10, 41, 52, 0.1);
    for (int k = 0; k < children; ++k) {
        const double west = -4 + 3 * (k % 5), south = 42 + 3 * (k / 5 % 3);
        subGrid("CHILD" + std::to_string(k), "PARENT", west, west + 2, south, south + 2, 0.025);
    }
    key("END");
    out.append(8, ' ');
    std::FILE* f = std::fopen(name.c_str(), "wb");
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
}

// A published grid (or a written one) read in place, as the runs read it:
// bilinear queries per second at points spread over its zone.
void PublishedGrid(const char* label, const std::string& name, long queries) {
    CGrille grid;
    grid.header.NAME = name;
    std::string message;
    if (!grid.Ouvrir(message, ModeSurDisque)) {
        std::printf("%-28s not opened: %s\n", label, message.c_str());
        return;
    }
    std::mt19937_64 random(20240502);
    std::uniform_real_distribution<double> lon(grid.zone.southWest.longitude,
                                               grid.zone.northEast.longitude),
        lat(grid.zone.southWest.latitude, grid.zone.northEast.latitude);
    std::vector<double> values(static_cast<size_t>(grid.header.VALUES_NUMBER));
    std::vector<double> points(static_cast<size_t>(2 * queries));
    for (size_t i = 0; i < points.size(); i += 2)
        points[i] = lon(random), points[i + 1] = lat(random);
    int code = 0;
    double checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (size_t q = 0; q + 1 < points.size(); q += 2) {
        const double p[3] = {points[q], points[q + 1], 0};
        grid.Interpoler(UniteDegres, p, values.data(), code);
        checksum += values[0];
    }
    const double elapsed = Seconds(start);
    std::printf("%-28s on disk %12.0f queries/s   (%zu sub-grid(s), checksum %.3f)\n", label,
                static_cast<double>(queries) / elapsed,
                grid.header.subGrids.empty() ? size_t{1} : grid.header.subGrids.size(), checksum);
    grid.Fermer();
}

void WriteBilinearXml(const std::string& stem) {
    std::FILE* x = std::fopen((stem + ".xml").c_str(), "wb");
    std::fprintf(x,
                 "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n"
                 "\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n</GRID_HEADER>\n");
    std::fclose(x);
}

struct Result {
    double perSecond;
    double checksum;
};

Result Run(CGrille& g, const std::vector<double>& points, int mode) {
    std::vector<double> values(static_cast<size_t>(g.header.VALUES_NUMBER));
    int code = 0;
    double checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (size_t q = 0; q + 1 < points.size(); q += 2) {
        const double p[3] = {points[q], points[q + 1], 0};
        g.Interpoler_Mode(UniteDegres, p, values.data(), code, mode);
        checksum += values[0] + code;
    }
    const double elapsed = Seconds(start);
    return {static_cast<double>(points.size() / 2) / elapsed, checksum};
}

// The shifts of an open NTv2 grid as a GeoTIFF grid in PROJ's conventions:
// two bands (latitude_offset, longitude_offset positive eastwards, in
// arc-seconds), rows north to south, pixel-is-point georeferencing.
bool WriteGeoTiffShifts(const CGrille& ntv2, const std::string& name) {
    static const TIFFFieldInfo tags[] = {
        {33550, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelPixelScale")},
        {33922, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelTiepoint")},
        {34735, -1, -1, TIFF_SHORT, FIELD_CUSTOM, 1, 1, const_cast<char*>("GeoKeyDirectory")},
        {42112, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("GDALMetadata")},
    };
    TIFF* tif = TIFFOpen(name.c_str(), "w");
    if (!tif) return false;
    for (const TIFFFieldInfo& tag : tags) {
        if (!TIFFFindField(tif, tag.field_tag, TIFF_ANY)) TIFFMergeFieldInfo(tif, &tag, 1);
    }
    const GridHeader& h = ntv2.header;
    const uint32_t columns = static_cast<uint32_t>(h.N_COLUMNS), lines = static_cast<uint32_t>(h.N_LINES);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, columns);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, lines);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 2);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 32);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, 256);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, 256);
    const double scale[3] = {h.X_INC / 3600, h.Y_INC / 3600, 0};
    const double tie[6] = {0, 0, 0, h.X_MIN / 3600, h.Y_MAX / 3600, 0};
    const uint16_t keys[12] = {1, 1, 0, 2, 1024, 0, 1, 2, 1025, 0, 1, 2};
    TIFFSetField(tif, 33550, 3, scale);
    TIFFSetField(tif, 33922, 6, tie);
    TIFFSetField(tif, 34735, 12, keys);
    TIFFSetField(tif, 42112,
                 "<GDALMetadata><Item name=\"TYPE\">HORIZONTAL_OFFSET</Item>"
                 "<Item name=\"DESCRIPTION\" sample=\"0\" role=\"description\">latitude_offset</Item>"
                 "<Item name=\"UNITTYPE\" sample=\"0\" role=\"unittype\">arc-second</Item>"
                 "<Item name=\"DESCRIPTION\" sample=\"1\" role=\"description\">longitude_offset</Item>"
                 "<Item name=\"UNITTYPE\" sample=\"1\" role=\"unittype\">arc-second</Item>"
                 "<Item name=\"positive_value\" sample=\"1\">east</Item></GDALMetadata>");
    std::vector<float> tile(256 * 256);
    double values[4];
    int code = 0;
    bool written = true;
    for (uint16_t band = 0; band < 2; ++band) {
        for (uint32_t row = 0; row < lines; row += 256) {
            for (uint32_t column = 0; column < columns; column += 256) {
                for (uint32_t y = 0; y < 256; ++y) {
                    for (uint32_t x = 0; x < 256; ++x) {
                        ntv2.Lire_Noeud(static_cast<int>(column + x),
                                        static_cast<int>(lines - 1 - (row + y)), values, code);
                        tile[y * 256 + x] = static_cast<float>(band == 0 ? values[0] : -values[1]);
                    }
                }
                written = written && TIFFWriteTile(tif, tile.data(), column, row, 0, band) > 0;
            }
        }
    }
    TIFFClose(tif);
    return written;
}

// Bilinear shift queries per second over France on the NTv2 file and on
// its GeoTIFF form, both read from disk at each query.
void CompareShiftGrids(long queries) {
    const std::string published = "/usr/share/proj/ntf_r93.gsb";
    if (!std::filesystem::exists(published)) {
        std::printf("NTv2 and GeoTIFF: %s is not installed\n", published.c_str());
        return;
    }
    // The published formats above copied it already.
    std::filesystem::copy_file(published, "ntf_r93.gsb",
                               std::filesystem::copy_options::overwrite_existing);
    // NTv2 files carry no interpolation type.
    std::FILE* x = std::fopen("ntf_r93.xml", "wb");
    std::fprintf(x, "<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>\n");
    std::fclose(x);
    std::string message;
    CGrille ntv2;
    ntv2.header.NAME = "ntf_r93.gsb";
    if (!ntv2.Ouvrir(message, ModeSurDisque) || !WriteGeoTiffShifts(ntv2, "ntf_r93_shifts.tif")) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return;
    }
    CGrille geotiff;
    geotiff.header.NAME = "ntf_r93_shifts.tif";
    if (!geotiff.Ouvrir(message, ModeSurDisque)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return;
    }
    std::mt19937_64 random(20240502);
    std::uniform_real_distribution<double> lon(-5, 9), lat(42, 51);
    std::vector<double> points(static_cast<size_t>(2 * queries));
    for (size_t i = 0; i < points.size(); i += 2) points[i] = lon(random), points[i + 1] = lat(random);
    const Result a = Run(ntv2, points, Bilineaire);
    const Result b = Run(geotiff, points, Bilineaire);
    std::printf("shifts ntf_r93: NTv2 %12.0f queries/s   GeoTIFF (DEFLATE tiles) %12.0f queries/s   "
                "(%s results)\n",
                a.perSecond, b.perSecond,
                std::fabs(a.checksum - b.checksum) < 1e-6 * queries ? "same" : "DIFFERENT");
}

}  // namespace

int main(int argc, char** argv) {
    const int columns = argc > 1 ? std::atoi(argv[1]) : 1201;
    const int lines = argc > 2 ? std::atoi(argv[2]) : 801;
    const int values = argc > 3 ? std::atoi(argv[3]) : 3;
    const long queries = argc > 4 ? std::atol(argv[4]) : 2000000;

    std::string folder = (std::filesystem::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) return 1;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    auto start = std::chrono::steady_clock::now();
    WriteGrid("mesure.mnt", columns, lines, values);
    std::printf("grid: %d x %d nodes, %d values and a code per node\n", columns, lines, values);
    std::printf("text grid written in %.2f s\n", Seconds(start));

    std::string message;
    CGrille disk;
    disk.header.NAME = "mesure.mnt";
    start = std::chrono::steady_clock::now();
    if (!disk.Ouvrir(message, ModeSurDisque)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 1;
    }
    std::printf("binary cache made in %.2f s (%lld bytes)\n", Seconds(start),
                static_cast<long long>(std::filesystem::file_size("mesure.bin")));
    CGrille memory;
    memory.header.NAME = "mesure.mnt";
    start = std::chrono::steady_clock::now();
    if (!memory.Ouvrir(message, ModeEnMemoire)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 1;
    }
    std::printf("text grid loaded into memory in %.2f s\n", Seconds(start));

    // Points spread over the whole grid, the same for every run.
    std::mt19937_64 random(20240501);
    std::uniform_real_distribution<double> lon(disk.header.X_MIN, disk.header.X_MAX), lat(disk.header.Y_MIN, disk.header.Y_MAX);
    std::vector<double> points(static_cast<size_t>(2 * queries));
    for (size_t i = 0; i < points.size(); i += 2)
        points[i] = lon(random), points[i + 1] = lat(random);
    std::vector<double> fewer(points.begin(),
                              points.begin() + static_cast<long>(points.size() / 10));

    const struct {
        const char* name;
        int mode;
        const std::vector<double>* points;
    } runs[] = {{"bilinear", Bilineaire, &points}, {"spline 4", Spline, &fewer}};
    for (const auto& run : runs) {
        const Result onDisk = Run(disk, *run.points, run.mode);
        const Result inMemory = Run(memory, *run.points, run.mode);
        std::printf("%-9s on disk %12.0f queries/s   in memory %12.0f queries/s   (%s results)\n",
                    run.name, onDisk.perSecond, inMemory.perSecond,
                    onDisk.checksum == inMemory.checksum ? "same" : "DIFFERENT");
    }

    disk.Fermer();
    memory.Fermer();

    // Published formats read in place, bilinear: the NTF to RGF93 NTv2 grid,
    // the world EGM96 geoid as GTX, and an NTv2 file of a parent and 15
    // finer children.
    std::error_code missing;
    const std::string proj = "/usr/share/proj/";
    for (const char* published : {"ntf_r93.gsb", "egm96_15.gtx"})
        std::filesystem::copy_file(proj + published, published, missing);
    WriteBilinearXml("ntf_r93");
    WriteNestedNtv2("imbriquee.gsb", 15);
    WriteBilinearXml("imbriquee");
    PublishedGrid("NTv2 ntf_r93.gsb", "ntf_r93.gsb", queries);
    PublishedGrid("GTX egm96_15.gtx", "egm96_15.gtx", queries);
    PublishedGrid("NTv2 parent and 15 children", "imbriquee.gsb", queries);
    CompareShiftGrids(queries / 2);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    return 0;
}
