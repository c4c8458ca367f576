#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "shared/platform.h"
#include "support/temp_dir.h"

TEST(Platform, CurrentDirectoryReadAndSet) {
    const auto start = GetCurrentDirectory();
    ASSERT_TRUE(start.has_value());
    TempDir dir;
    ASSERT_TRUE(SetCurrentDirectory(dir.path()));
    const auto now = GetCurrentDirectory();
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(std::filesystem::canonical(dir.path()).string(), *now);
    EXPECT_FALSE(SetCurrentDirectory(dir.File("absent")));
    EXPECT_FALSE(SetCurrentDirectory(""));
    EXPECT_EQ(*now, *GetCurrentDirectory());  // a failed change stays where it was
    ASSERT_TRUE(SetCurrentDirectory(*start));
}

TEST(Platform, CurrentDirectoryRemovedUnderTheProcess) {
    const auto start = GetCurrentDirectory();
    ASSERT_TRUE(start.has_value());
    {
        TempDir dir;
        const std::string gone = dir.File("gone");
        std::filesystem::create_directory(gone);
        ASSERT_TRUE(SetCurrentDirectory(gone));
        std::filesystem::remove(gone);
        EXPECT_FALSE(GetCurrentDirectory().has_value());
    }
    ASSERT_TRUE(SetCurrentDirectory(*start));
}

TEST(Platform, EnvironmentVariables) {
    ::setenv("QUORVEL_TEST_VALUE", "C:/ProgramData é", 1);
    EXPECT_EQ("C:/ProgramData é", GetEnvironmentVariable("QUORVEL_TEST_VALUE").value_or("?"));
    ::setenv("QUORVEL_TEST_VALUE", "", 1);
    EXPECT_EQ("", GetEnvironmentVariable("QUORVEL_TEST_VALUE").value_or("?"));
    ::unsetenv("QUORVEL_TEST_VALUE");
    EXPECT_FALSE(GetEnvironmentVariable("QUORVEL_TEST_VALUE").has_value());
    EXPECT_FALSE(GetEnvironmentVariable("").has_value());
    EXPECT_FALSE(GetEnvironmentVariable("A=B").has_value());
}

TEST(Platform, FileExistence) {
    TempDir dir;
    const std::string file = dir.Write("quorvel.ini", "[DATA]\n");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.File("absent.ini")));
    EXPECT_FALSE(FileExists(dir.path()));  // a folder is not a file
    EXPECT_FALSE(FileExists(""));
    std::filesystem::create_symlink(file, dir.File("link.ini"));
    EXPECT_TRUE(FileExists(dir.File("link.ini")));
    std::filesystem::create_symlink(dir.File("absent.ini"), dir.File("dangling.ini"));
    EXPECT_FALSE(FileExists(dir.File("dangling.ini")));
}
