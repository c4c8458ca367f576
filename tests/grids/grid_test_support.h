#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "grids/grid.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"

// A folder of its own for each test, made the current directory while the
// test runs (grid file names are relative to it) and removed afterwards.
class GridFolder {
public:
    GridFolder() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir_.path());
    }
    ~GridFolder() { std::filesystem::current_path(previous_); }

    static void Write(const std::string& name, const std::string& bytes) {
        std::ofstream out(name, std::ios::binary);
        out << bytes;
    }
    static std::string Read(const std::string& name) { return TempDir::Read(name); }
    static bool Exists(const std::string& name) { return std::filesystem::exists(name); }
    // Names of the files in the folder, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir_.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    TempDir dir_;
    std::filesystem::path previous_;
};

// How many times a scripted progress window was stepped.
inline int StepsOf(const ScriptedInterface& ui) {
    int steps = 0;
    for (const auto& call : *ui.progress) steps += call.call == "stepit";
    return steps;
}

// An XML header naming only what the format cannot say.
inline std::string XmlHeader(const std::string& elements) {
    return "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n" + elements +
           "</GRID_HEADER>\n";
}
inline std::string BilinearXml() {
    return XmlHeader("\t<INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE>\n");
}
