#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "batch/command_line.h"
#include "catalogue/loader.h"
#include "grids/grid.h"
#include "runs/console_run.h"
#include "support/temp_dir.h"

// Console runs on the default installation's catalogue and grids, with the
// user's files in a folder of their own and a fixed time stamp.
class ConsoleRunFixture : public ::testing::Test {
protected:
    ConsoleRunFixture() {
        setenv("QUORVEL_TIME_STAMP", "2026-12-08 09:05:07", 1);
        EXPECT_FALSE(
            ReadCatalogue(QUORVEL_SOURCE_DIR "/data/catalogue.txt", catalogue).has_value());
    }
    ~ConsoleRunFixture() override { unsetenv("QUORVEL_TIME_STAMP"); }

    // Parses the arguments (the help text is "Aide de Quorvel") and runs
    // them; what the run writes to the console goes to `console`, its result
    // text to `result`.
    ConsoleRunOutcome Run(const std::vector<std::string>& arguments) {
        CQuorvelCommandLine line;
        std::string message;
        EXPECT_TRUE(ParseCommandLine(line, arguments, "Aide de Quorvel", message)) << message;
        console.clear();
        result.clear();
        const ConsoleRunEnvironment environment{
            catalogue,
            verticalGrid,
            [this](const std::string& name) {
                return name.empty() || name[0] == '/' ? name : folder.File(name);
            },
            [this](std::string_view text) { console += text; },
            nullptr,
            nullptr,
            QUORVEL_SOURCE_DIR "/data/"};
        return RunConsoleCommandLine(line, environment, result);
    }

    Catalogue catalogue;
    CGrille1D verticalGrid;
    TempDir folder;
    std::string console;
    std::string result;
};
