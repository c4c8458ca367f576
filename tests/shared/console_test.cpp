#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "shared/console.h"

namespace {

// A pseudo-terminal pair: the program side (a terminal) and the keyboard side.
struct PseudoTerminal {
    int keyboard = -1;
    int terminal = -1;
    PseudoTerminal() {
        keyboard = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (keyboard < 0 || ::grantpt(keyboard) != 0 || ::unlockpt(keyboard) != 0) return;
        const char* name = ::ptsname(keyboard);
        if (name != nullptr) terminal = ::open(name, O_RDWR | O_NOCTTY);
    }
    ~PseudoTerminal() {
        if (terminal >= 0) ::close(terminal);
        if (keyboard >= 0) ::close(keyboard);
    }
};

}  // namespace

TEST(Console, KeyWaitReturnsAtOnceWhenInputIsNotATerminal) {
    int fds[2];
    ASSERT_EQ(0, ::pipe(fds));
    // The pipe holds a key and stays open: a wait that read it would still
    // return, but one that waited for more would hang; neither must happen.
    ASSERT_EQ(1, ::write(fds[1], "x", 1));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(-1, WaitForKey(fds[0]));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    char c = 0;
    EXPECT_EQ(1, ::read(fds[0], &c, 1));  // the key was not consumed
    ::close(fds[0]);
    ::close(fds[1]);
    const int devnull = ::open("/dev/null", O_RDONLY);
    EXPECT_EQ(-1, WaitForKey(devnull));
    ::close(devnull);
    EXPECT_EQ(-1, WaitForKey(-1));
}

TEST(Console, KeyWaitOnATerminalSkipsZeroesReadsWithoutEchoAndRestores) {
    PseudoTerminal pty;
    ASSERT_GE(pty.terminal, 0);
    termios before;
    ASSERT_EQ(0, ::tcgetattr(pty.terminal, &before));
    ASSERT_TRUE(before.c_lflag & ECHO);
    int key = 0;
    std::thread waiter([&] { key = WaitForKey(pty.terminal); });
    // Type only once the wait has switched the echo off.
    termios during = before;
    for (int i = 0; i < 500 && (during.c_lflag & ECHO); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::tcgetattr(pty.terminal, &during);
    }
    EXPECT_FALSE(during.c_lflag & ECHO);
    EXPECT_FALSE(during.c_lflag & ICANON);
    ASSERT_EQ(2, ::write(pty.keyboard, "\0k", 2));
    waiter.join();
    EXPECT_EQ('k', key);
    termios after;
    ASSERT_EQ(0, ::tcgetattr(pty.terminal, &after));
    EXPECT_EQ(before.c_lflag, after.c_lflag);
    // Nothing was echoed back to the screen side.
    ::fcntl(pty.keyboard, F_SETFL, O_NONBLOCK);
    char echoed[8];
    EXPECT_LE(::read(pty.keyboard, echoed, sizeof echoed), 0);
}

TEST(Console, TitleIsNotWrittenWhenOutputIsNotATerminal) {
    // Under CTest standard output is a pipe or a file.
    if (StdoutIsTerminal()) GTEST_SKIP() << "standard output is a terminal";
    testing::internal::CaptureStdout();
    SetConsoleTitle("Quorvel");
    EXPECT_TRUE(WriteConsole("Système é\n"));
    EXPECT_EQ("Système é\n", testing::internal::GetCapturedStdout());
    EXPECT_TRUE(OpenConsole());
    EXPECT_TRUE(CloseConsole());
}

TEST(Console, TitleOnATerminalCarriesNoControlCharacters) {
    PseudoTerminal pty;
    ASSERT_GE(pty.terminal, 0);
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ASSERT_GE(saved, 0);
    ASSERT_GE(::dup2(pty.terminal, STDOUT_FILENO), 0);
    SetConsoleTitle("Quo\033]vel\n\a é");
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    char screen[64] = {};
    const ssize_t n = ::read(pty.keyboard, screen, sizeof screen - 1);
    ASSERT_GT(n, 0);
    EXPECT_EQ("\033]0;Quo]vel é\007", std::string(screen, static_cast<size_t>(n)));
}
