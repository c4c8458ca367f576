#pragma once

#include <string_view>

// The console of batch mode: the terminal (or pipe, or file) the program
// was started with. Texts are UTF-8.

// The console is the standard output the process inherited: true when it is
// open. There is nothing to allocate.
bool OpenConsole();

// Flushes what was written; true when everything reached the console.
bool CloseConsole();

// Writes the text to standard output at once (flushed, so that it shows
// before a key wait and keeps its place among other output).
bool WriteConsole(std::string_view text);

// For a run whose points go to the standard output: keeps that output on a
// descriptor of its own, returned (-1 when it cannot), and sends what the
// console writes from then on to the error stream. RestoreConsole gives the
// standard output back and closes the kept descriptor.
int SendConsoleToErrorStream();
void RestoreConsole(int kept);

bool StdoutIsTerminal();
bool StdinIsTerminal();

// Sets the terminal window's title, only when standard output is a terminal
// (a pipe or a file never receives the escape sequence). Control characters
// of the title are left out so that it cannot carry terminal commands.
void SetConsoleTitle(std::string_view title);

// The "press a key" wait: when `fd` is a terminal, reads characters without
// echo, one at a time, until one is nonzero, and returns it. Returns -1 at
// once when `fd` is not a terminal and at end of input, so that a batch run
// never hangs in a script or in CI. The terminal settings are restored.
int WaitForKey(int fd = 0);
