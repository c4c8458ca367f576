#pragma once

#include <string>

// Whether the window can reach a display server, asked before Qt starts:
// Qt ends the program with an abort when its platform cannot connect to
// the display it was given, so the program checks first and says so itself.
// The checks only connect to the server's socket and close it again.

// An X display name, "[protocol/][host]:number[.screen]": whether its server
// accepts a connection. Without a host (or with "unix") the local socket of
// the display, /tmp/.X11-unix/X<number> (its abstract name first, then the
// file); with a host, TCP port 6000 + number, waited for at most a few
// seconds. An empty or malformed name reaches nothing.
bool XDisplayReachable(const std::string& display);

// A Wayland display: the socket `name` (WAYLAND_DISPLAY, "wayland-0" when
// empty) in `runtimeDirectory` (XDG_RUNTIME_DIR), or at `name` itself when
// it is absolute. A relative name without a runtime folder reaches nothing.
bool WaylandDisplayReachable(const std::string& name, const std::string& runtimeDirectory);

// The display Qt would connect to, from the environment as Qt reads it:
// each platform of QT_QPA_PLATFORM in turn ("xcb" needs the X display of
// DISPLAY, "wayland" the Wayland display; any other platform, such as
// "offscreen", needs no display server); without QT_QPA_PLATFORM the X
// display, or the Wayland display in a Wayland session (XDG_SESSION_TYPE).
bool DisplayReachable();
