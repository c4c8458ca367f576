#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

// The default catalogue is what scripts/make_catalogue writes from the EPSG
// registry of PROJ's data: writing it again gives the same bytes.
namespace {

const char* const kRegistry = "/usr/share/proj/proj.db";

TEST(CatalogueGeneration, RegeneratingTheDefaultCatalogueGivesTheSameFile) {
    if (!std::filesystem::exists(kRegistry)) GTEST_SKIP() << "no " << kRegistry;
    if (std::system("python3 -c 'import sqlite3' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no python3 with sqlite3";
    TempDir folder;
    const std::string written = folder.File("catalogue.txt");
    const std::string command = std::string("python3 '") + QUORVEL_SOURCE_DIR +
                                "/scripts/make_catalogue' '" + written + "' '" + kRegistry + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
    const std::string expected = TempDir::Read(QUORVEL_SOURCE_DIR "/data/catalogue.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(expected == TempDir::Read(written))
        << "data/catalogue.txt differs from scripts/make_catalogue's output";
}

}  // namespace
