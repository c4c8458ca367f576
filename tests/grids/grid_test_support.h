#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "grids/grid.h"
#include "grids/grid_progress.h"
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

// The message of an opening of the grid, empty when it opened. A grid read
// node by node shows its progress through `progress` when there is one; `ui`
// is shown what the opening of a binary file tells the user.
inline std::string OpenMessage(CGrille& grid, int mode = ModeEnTete,
                               GridProgress* progress = nullptr, UserInterface* ui = nullptr) {
    std::string message;
    grid.Ouvrir(message, mode, progress, ui);
    return message;
}
inline std::string OpenMessage(CGrille& grid, const std::string& name, int mode = ModeEnTete) {
    grid.header.NAME = name;
    return OpenMessage(grid, mode);
}
// The same with the window's progress and boxes on `ui`.
inline std::string OpenMessage(CGrille& grid, int mode, UserInterface& ui) {
    WindowGridProgress progress(ui);
    return OpenMessage(grid, mode, &progress, &ui);
}
// What an opening with the console's progress writes to standard output.
inline std::string ConsoleOutput(CGrille& grid, int mode) {
    ConsoleGridProgress progress;
    testing::internal::CaptureStdout();
    OpenMessage(grid, mode, &progress);
    return testing::internal::GetCapturedStdout();
}

// Gives a grid whose header is set (REAL8 values) its node records in
// memory: value(s, k) for value k of the node stored at s, and code(s) when
// the nodes carry a precision code.
inline void HoldReal8Nodes(CGrille& g, const std::function<double(int64_t s, int k)>& value,
                           const std::function<int32_t(int64_t s)>& code) {
    const int n = g.header.VALUES_NUMBER;
    g.records.Reserve(g.header.NodeCount(), g.header.RecordSize());
    std::vector<unsigned char> record(static_cast<size_t>(g.header.RecordSize()));
    for (int64_t s = 0; s < g.header.NodeCount(); ++s) {
        for (int k = 0; k < n; ++k) StoreReal8LE(record.data() + 8 * k, value(s, k));
        if (g.header.CODE_PREC) StoreInt32LE(record.data() + 8 * n, code(s));
        g.records.Append(record.data());
    }
    g.onDisk = false;
    g.loaded = true;
}

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
