#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "support/temp_dir.h"

// The GeoTIFF grids that tests/grids/make_geotiff_grids.py makes with GDAL
// and PROJ from Debian's published grids. They are made once for each version
// of the script, in a folder of the temporary directory that the test
// programs share (made under another name and renamed when complete, so that
// two programs started together never read half a folder). Empty when GDAL's
// Python module or PROJ's tools are missing.
inline std::string GeoTiffGridFolder() {
    const std::string script = QUORVEL_SOURCE_DIR "/tests/grids/make_geotiff_grids.py";
    const std::string text = TempDir::Read(script);
    if (text.empty()) return "";
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    const std::string folder =
        (temp / ("quorvel-geotiff-" + std::to_string(std::hash<std::string>{}(text)))).string();
    std::error_code ignored;
    if (std::filesystem::exists(folder + "/done", ignored)) return folder;

    std::string making = (temp / "quorvel-geotiff-making-XXXXXX").string();
    if (!::mkdtemp(making.data())) return "";
    const std::string command = "/usr/bin/python3 '" + script + "' '" + making + "' > '" + making +
                                "/log.txt' 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", script.c_str(),
                     TempDir::Read(making + "/log.txt").c_str());
        std::filesystem::remove_all(making, ignored);
        return "";
    }
    std::ofstream(making + "/done") << "made\n";
    std::filesystem::rename(making, folder, ignored);
    if (ignored) std::filesystem::remove_all(making, ignored);  // another program made it first
    return std::filesystem::exists(folder + "/done") ? folder : "";
}
