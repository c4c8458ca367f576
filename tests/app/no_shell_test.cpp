// The program never starts another program: no shell, no command line built
// from a user's text. The built executable does not even import a way of
// starting one (the help page goes to the desktop through Qt, which is
// handed a file URL).

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

TEST(NoShell, TheProgramImportsNoWayToStartAProcess) {
    std::FILE* listing = ::popen("nm -D --undefined-only '" QUORVEL_BINARY "' 2>/dev/null", "r");
    ASSERT_NE(nullptr, listing);
    std::string symbols;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, listing)) > 0;)
        symbols.append(buffer, got);
    const int status = ::pclose(listing);
    if (status != 0 && symbols.empty()) GTEST_SKIP() << "nm (binutils) is not available";
    // Sanity: the listing is the program's imports.
    ASSERT_NE(std::string::npos, symbols.find(" U ")) << symbols.substr(0, 200);
    const std::regex starter(
        R"(\b(system|popen|execl|execle|execlp|execv|execve|execvp|execvpe|fexecve|fork|vfork|)"
        R"(posix_spawn|posix_spawnp|wordexp)(@|\s|$))");
    std::smatch found;
    EXPECT_FALSE(std::regex_search(symbols, found, starter)) << found.str();
    EXPECT_EQ(std::string::npos, symbols.find("QProcess"));
}
