#pragma once

// Reader of the PROJ reference tables in tests/geodesy/reference (see
// make_reference.py there for how they were made).

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace reference {

inline std::string Path(const std::string& fileName) {
    return std::string(QUORVEL_SOURCE_DIR) + "/tests/geodesy/reference/" + fileName;
}

// Data lines split into numbers ('|' separators skipped), comments dropped;
// header lines "# key: values" are kept by key.
struct Table {
    std::vector<std::vector<double>> rows;
    std::vector<std::string> labels;  // first word of a row that starts with a word
    std::string grid;
    bool ok = false;
};

inline Table Read(const std::string& fileName) {
    Table t;
    std::ifstream in(Path(fileName));
    if (!in) return t;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("# grid:", 0) == 0) t.grid = line.substr(7);
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string word, label;
        std::vector<double> row;
        while (words >> word) {
            if (word == "|") continue;
            char* end = nullptr;
            const double v = std::strtod(word.c_str(), &end);
            if (*end != '\0') {
                label = word;
                continue;
            }
            row.push_back(v);
        }
        t.rows.push_back(row);
        t.labels.push_back(label);
    }
    t.ok = !t.rows.empty();
    return t;
}

// The points of a projection table's grid, in decimal degrees, in row order.
struct GridPoint {
    double lon, lat;
};

inline std::vector<GridPoint> GridPoints(const Table& t) {
    std::istringstream in(t.grid);
    double lon0, dlon, lat0, dlat;
    int nlon, nlat;
    std::vector<GridPoint> points;
    if (!(in >> lon0 >> dlon >> nlon >> lat0 >> dlat >> nlat)) return points;
    for (int j = 0; j < nlat; ++j)
        for (int i = 0; i < nlon; ++i) points.push_back({lon0 + i * dlon, lat0 + j * dlat});
    return points;
}

}  // namespace reference
