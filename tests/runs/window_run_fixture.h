#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/loader.h"
#include "engine/coordinate.h"
#include "engine/coordinate_system.h"
#include "engine/grid_selection.h"
#include "grids/grid_progress.h"
#include "runs/output_point_file.h"
#include "runs/window_run_environment.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"

// The window's runs on the default installation (catalogue, NTv2 grid NTF
// to RGF93, EGM96 geoid cropped to France) with a scripted user, a log of
// their own and a fixed time stamp.
class WindowRunTest : public ::testing::Test {
protected:
    WindowRunTest() {
        setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1);
        EXPECT_FALSE(ReadCatalogue(kData + "catalogue.txt", catalogue).has_value());
        log.Open(folder.File("log.txt"));
    }
    ~WindowRunTest() override { unsetenv("QUORVEL_TIME_STAMP"); }

    // A record of the catalogue's systems; meridian 0 takes the system's own.
    CCoor Side(int system, int type, int unit = 2, int projection = 0, int meridian = 0,
               int vertical = 0) {
        CCoor point;
        point.type = type;
        point.unit = unit;
        ResolveByIds(point.sys, system, meridian, projection, vertical, catalogue);
        return point;
    }
    WindowRunEnvironment Environment() { return {grids, &log, ui, "Quorvel"}; }

    std::string LogText() {
        log.Flush();
        return TempDir::Read(folder.File("log.txt"));
    }
    static std::size_t Count(const std::string& text, const std::string& part) {
        std::size_t count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1)) {
            ++count;
        }
        return count;
    }
    const std::string kData = QUORVEL_SOURCE_DIR "/data/";
    Catalogue catalogue;
    CGrille1D verticalGrid;
    CGrille3D translationGrid;
    GridHeaderCache headers;
    ScriptedInterface ui;
    WindowGridProgress gridProgress{ui};  // as the application's window runs show it
    GridContext grids{catalogue, verticalGrid, translationGrid, headers, kData, &gridProgress};
    TempDir folder;
    Out_Fic log;
};
