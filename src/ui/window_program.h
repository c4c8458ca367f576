#pragma once

// The entry of the window module (libquorvel_window.so): start-up and the
// window, as the program runs them without arguments. Returns the exit code.
extern "C" int QuorvelWindowMain(int argc, char** argv);

// Its name, and the type the program calls it through.
inline constexpr const char* kWindowEntryName = "QuorvelWindowMain";
using WindowEntry = int (*)(int, char**);
