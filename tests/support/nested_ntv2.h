#pragma once

// Writes NTv2 files of nested sub-grids, binary (little-endian) and text,
// from the same description, for the tests that compare them with PROJ and
// with each other.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// One sub-grid: limits in degrees (eastwards) and its shifts in seconds of
// arc at a node, latitude then longitude (positive eastwards).
struct Sub {
    const char* name;
    const char* parent;
    double west, east, south, north, step;
    std::function<void(double lon, double lat, float& dLat, float& dLon)> shift;

    int Columns() const { return static_cast<int>(std::lround((east - west) / step)) + 1; }
    int Lines() const { return static_cast<int>(std::lround((north - south) / step)) + 1; }
    // The node shifts in file order (from the south-east corner westwards,
    // rows south to north), longitudes counted westwards as the file counts them.
    void EachNode(const std::function<void(float dLat, float dLonWest)>& node) const {
        for (int l = 0; l < Lines(); ++l) {
            for (int c = Columns() - 1; c >= 0; --c) {
                float dLat = 0, dLon = 0;
                shift(west + c * step, south + l * step, dLat, dLon);
                node(dLat, -dLon);
            }
        }
    }
};

// An NTv2 binary file, little-endian, of the sub-grids in order.
inline std::string Ntv2(const std::vector<Sub>& subs) {
    std::string out;
    auto key = [&](const char* k) {
        std::string s = k;
        s.resize(8, ' ');
        out += s;
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
    auto text = [&](const char* k, const char* v) {
        key(k);
        std::string s = v;
        s.resize(8, ' ');
        out += s;
    };
    auto single = [&](float v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    integer("NUM_OREC", 11);
    integer("NUM_SREC", 11);
    integer("NUM_FILE", static_cast<int32_t>(subs.size()));
    text("GS_TYPE", "SECONDS");
    text("VERSION", "NTv2.0");
    text("SYSTEM_F", "SUBA");
    text("SYSTEM_T", "SUBB");
    real("MAJOR_F", 6378137.0);
    real("MINOR_F", 6356752.314140);
    real("MAJOR_T", 6378137.0);
    real("MINOR_T", 6356752.314140);
    for (const Sub& s : subs) {
        text("SUB_NAME", s.name);
        text("PARENT", s.parent);
        text("CREATED", "20261210");
        text("UPDATED", "20261210");
        real("S_LAT", s.south * 3600);
        real("N_LAT", s.north * 3600);
        real("E_LONG", -s.east * 3600);
        real("W_LONG", -s.west * 3600);
        real("LAT_INC", s.step * 3600);
        real("LONG_INC", s.step * 3600);
        integer("GS_COUNT", s.Columns() * s.Lines());
        s.EachNode([&](float dLat, float dLonWest) {
            single(dLat);
            single(dLonWest);
            single(0.01f);
            single(0.01f);
        });
    }
    text("END", "");
    return out;
}

// The same sub-grids as an NTv2 text file ("%.9g" gives every single back
// exactly).
inline std::string Ntv2Text(const std::vector<Sub>& subs) {
    char line[320];
    std::snprintf(line, sizeof line,
                  "NUM_OREC 11\nNUM_SREC 11\nNUM_FILE %d\nGS_TYPE  SECONDS\nVERSION  NTv2.0\n"
                  "SYSTEM_F SUBA\nSYSTEM_T SUBB\n",
                  static_cast<int>(subs.size()));
    std::string out = line;
    out += "MAJOR_F  6378137.000\nMINOR_F  6356752.314140\nMAJOR_T  6378137.000\n"
           "MINOR_T  6356752.314140\n";
    for (const Sub& s : subs) {
        std::snprintf(line, sizeof line,
                      "SUB_NAME %s\nPARENT   %s\nCREATED  20261210\nUPDATED  20261210\n"
                      "S_LAT    %.6f\nN_LAT    %.6f\nE_LONG   %.6f\nW_LONG   %.6f\n",
                      s.name, s.parent, s.south * 3600, s.north * 3600, -s.east * 3600,
                      -s.west * 3600);
        out += line;
        std::snprintf(line, sizeof line, "LAT_INC  %.6f\nLONG_INC %.6f\nGS_COUNT %d\n",
                      s.step * 3600, s.step * 3600, s.Columns() * s.Lines());
        out += line;
        s.EachNode([&](float dLat, float dLonWest) {
            std::snprintf(line, sizeof line, "%.9g %.9g 0.01 0.01\n", dLat, dLonWest);
            out += line;
        });
    }
    return out + "END\n";
}

// The shifts of the tests' parent, and of a child that differs from it by
// half a second and more.
inline void ParentShift(double lon, double lat, float& dLat, float& dLon) {
    dLat = static_cast<float>(1.2 + 0.1 * lon - 0.05 * lat);
    dLon = static_cast<float>(-2.5 + 0.04 * lat + 0.02 * lon * lon);
}
inline void ChildShift(double lon, double lat, float& dLat, float& dLon) {
    ParentShift(lon, lat, dLat, dLon);
    dLat += static_cast<float>(0.5 + 0.3 * std::sin(3 * lon) * std::cos(2 * lat));
    dLon -= static_cast<float>(0.7 + 0.2 * (lat - 46));
}
// A parent over 1..5°E 45..49°N by half degrees and a child over 2..3°E
// 46..47°N by eighths of a degree.
inline std::vector<Sub> ParentAndChild() {
    return {{"PARENT1", "NONE", 1, 5, 45, 49, 0.5, ParentShift},
            {"CHILD1", "PARENT1", 2, 3, 46, 47, 0.125, ChildShift}};
}
// The shifts of a second grid of the top level, half a second and more from
// the parent's.
inline void SecondTopShift(double lon, double lat, float& dLat, float& dLon) {
    ParentShift(lon, lat, dLat, dLon);
    dLat -= static_cast<float>(0.8 + 0.1 * (lon - 2));
    dLon += static_cast<float>(0.6);
}
// Two grids of the top level that overlap, A over 0..4°E and B over 2..6°E
// (45..47°N by half degrees), and a child of B over 2.5..3.5°E 45.5..46.5°N
// by quarters of a degree, inside the overlap.
inline std::vector<Sub> OverlappingTopLevelGrids() {
    return {{"A", "NONE", 0, 4, 45, 47, 0.5, ParentShift},
            {"B", "NONE", 2, 6, 45, 47, 0.5, SecondTopShift},
            {"C", "B", 2.5, 3.5, 45.5, 46.5, 0.25, ChildShift}};
}
// An XML header of a text NTv2 grid, whose cache keeps the seconds.
inline const char* kNtv2TextXml =
    "<?xml version=\"1.0\"?>\n<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>"
    "<NODE_COORD_UNIT>SECONDS</NODE_COORD_UNIT><INC_UNIT>SECONDS</INC_UNIT></GRID_HEADER>\n";
