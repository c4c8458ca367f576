#include "shared/console.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

bool OpenConsole() {
    return ::fcntl(STDOUT_FILENO, F_GETFD) != -1;
}

bool CloseConsole() {
    return std::fflush(stdout) == 0;
}

bool WriteConsole(std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return std::fflush(stdout) == 0 && written;
}

int SendConsoleToErrorStream() {
    std::fflush(stdout);
    const int kept = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (kept < 0) return -1;
    if (::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        ::close(kept);
        return -1;
    }
    return kept;
}

void RestoreConsole(int kept) {
    if (kept < 0) return;
    std::fflush(stdout);
    ::dup2(kept, STDOUT_FILENO);
    ::close(kept);
}

bool StdoutIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

bool StdinIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

void SetConsoleTitle(std::string_view title) {
    if (!StdoutIsTerminal()) return;
    std::string sequence = "\033]0;";
    for (char c : title) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F) sequence.push_back(c);
    }
    sequence += "\007";
    WriteConsole(sequence);
}

int WaitForKey(int fd) {
    if (::isatty(fd) != 1) return -1;
    termios saved;
    if (::tcgetattr(fd, &saved) != 0) return -1;
    termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &raw) != 0) return -1;
    int key = -1;
    for (;;) {
        unsigned char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // end of input or a read error
        if (c != 0) {       // the zero before a function-key code is read past
            key = c;
            break;
        }
    }
    ::tcsetattr(fd, TCSANOW, &saved);
    return key;
}
