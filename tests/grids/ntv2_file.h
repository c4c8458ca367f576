#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Writes small NTv2 grids, binary (either byte order) and text, for the
// tests. Limits in seconds, longitudes positive westwards as in the format;
// node values are generated from the node's column and line unless given.
struct Ntv2File {
    double sLat = 180000, nLat = 183600, eLong = -7200, wLong = 0, latInc = 1800, longInc = 1800;
    int32_t gsCount = -1;  // -1: the product of the counts
    int32_t numOrec = 11, numSrec = 11;
    std::string gsType = "SECONDS ";
    bool bigEndian = false;
    int subGrids = 1;
    // Records written in place of the usual ones (keyword, replacing keyword).
    std::string renameFrom, renameTo;

    int Columns() const { return static_cast<int>((wLong - eLong) / longInc + 0.5) + 1; }
    int Lines() const { return static_cast<int>((nLat - sLat) / latInc + 0.5) + 1; }
    // The four values of the node stored at s (records run from the
    // south-east corner westwards, rows south to north).
    static float Value(int s, int k) { return static_cast<float>(s * 0.25 + k * 0.01 + 1); }

    std::string Binary() const {
        std::string out;
        auto keyword = [&](const std::string& k) {
            std::string key = k == renameFrom ? renameTo : k;
            key.resize(8, ' ');
            out += key;
        };
        auto put = [&](const unsigned char* p, size_t n) {
            for (size_t i = 0; i < n; ++i)
                out += static_cast<char>(bigEndian ? p[n - 1 - i] : p[i]);
        };
        auto integer = [&](const std::string& k, int32_t v) {
            keyword(k);
            unsigned char b[4];
            std::memcpy(b, &v, 4);
            put(b, 4);
            out += std::string(4, '\0');
        };
        auto real = [&](const std::string& k, double v) {
            keyword(k);
            unsigned char b[8];
            std::memcpy(b, &v, 8);
            put(b, 8);
        };
        auto text = [&](const std::string& k, std::string v) {
            keyword(k);
            v.resize(8, ' ');
            out += v;
        };
        auto single = [&](float v) {
            unsigned char b[4];
            std::memcpy(b, &v, 4);
            put(b, 4);
        };
        integer("NUM_OREC", numOrec);
        integer("NUM_SREC", numSrec);
        integer("NUM_FILE", subGrids);
        text("GS_TYPE", gsType);
        text("VERSION", "NTv2.0");
        text("SYSTEM_F", "NTF");
        text("SYSTEM_T", "RGF93");
        real("MAJOR_F", 6378249.2);
        real("MINOR_F", 6356515.0);
        real("MAJOR_T", 6378137.0);
        real("MINOR_T", 6356752.314140);
        for (int extra = 11; extra < numOrec; ++extra) text("NUM_FILE", "");
        const int nodes = Columns() * Lines();
        for (int g = 0; g < subGrids; ++g) {
            text("SUB_NAME", g == 0 ? "FRANCE" : "SECOND");
            text("PARENT", "NONE");
            text("CREATED", "01/01/07");
            text("UPDATED", "");
            real("S_LAT", sLat);
            real("N_LAT", nLat);
            real("E_LONG", eLong);
            real("W_LONG", wLong);
            real("LAT_INC", latInc);
            real("LONG_INC", longInc);
            integer("GS_COUNT", gsCount < 0 ? nodes : gsCount);
            for (int s = 0; s < nodes; ++s)
                for (int k = 0; k < 4; ++k) single(g == 0 ? Value(s, k) : -999.0f);
        }
        text("END", "");
        return out;
    }

    std::string Text() const {
        char line[128];
        std::string out;
        auto add = [&](const char* format, auto v) {
            std::snprintf(line, sizeof line, format, v);
            out += line;
            out += "\r\n";
        };
        add("NUM_OREC %d", numOrec);
        add("NUM_SREC %d", numSrec);
        add("NUM_FILE %d", subGrids);
        add("GS_TYPE  %s", gsType.c_str());
        add("VERSION  %s", "NTv2.0");
        add("SYSTEM_F %s", "NTF");
        add("SYSTEM_T %s", "RGF93");
        add("MAJOR_F  %.3f", 6378249.2);
        add("MINOR_F  %.3f", 6356515.0);
        add("MAJOR_T  %.3f", 6378137.0);
        add("MINOR_T  %.6f", 6356752.314140);
        add("SUB_NAME %s", "FRANCE");
        add("PARENT   %s", "NONE");
        add("CREATED  %s", "01/01/07");
        add("UPDATED  %s", "01/01/07");
        add("S_LAT    %.6f", sLat);
        add("N_LAT    %.6f", nLat);
        add("E_LONG   %.6f", eLong);
        add("W_LONG   %.6f", wLong);
        add("LAT_INC  %.6f", latInc);
        add("LONG_INC %.6f", longInc);
        add("GS_COUNT %d", gsCount < 0 ? Columns() * Lines() : gsCount);
        for (int s = 0; s < Columns() * Lines(); ++s) {
            std::snprintf(line, sizeof line, "%.9g %.9g %.9g %.9g\r\n", Value(s, 0), Value(s, 1),
                          Value(s, 2), Value(s, 3));
            out += line;
        }
        out += "END\r\n";
        return out;
    }
};
