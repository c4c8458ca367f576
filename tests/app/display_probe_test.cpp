#include "app/display_probe.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "support/temp_dir.h"

namespace {

// A listening socket standing for a display server, or -1.
int Listen(int family, const void* address, std::size_t length) {
    const int descriptor = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::bind(descriptor, static_cast<const sockaddr*>(address), length) == 0 &&
        ::listen(descriptor, 4) == 0) {
        return descriptor;
    }
    ::close(descriptor);
    return -1;
}

// A local socket by its file, or by its abstract name (a leading zero byte).
int ListenUnix(const std::string& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + (abstract ? 1 : 0), path.data(), path.size());
    return Listen(AF_UNIX, &address, offsetof(sockaddr_un, sun_path) + abstract + path.size());
}

int ListenLoopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return Listen(AF_INET, &address, sizeof address);
}

// A display is reached only while its server listens, by each way of naming it.
TEST(DisplayProbe, ReachesOnlyAServerThatListens) {
    // A free display number, served locally (abstract name) and on the loopback.
    std::string n;
    int local = -1, tcp = -1;
    for (int number = 4700; number < 4800 && tcp < 0; ++number) {
        n = std::to_string(number);
        if (XDisplayReachable(":" + n) || XDisplayReachable("127.0.0.1:" + n)) continue;
        local = ListenUnix("/tmp/.X11-unix/X" + n, true);
        tcp = local < 0 ? -1 : ListenLoopback(6000 + number);
        if (tcp < 0 && local >= 0) ::close(local);
    }
    ASSERT_GE(tcp, 0) << "no free display number";
    for (const std::string& name :
         {":" + n, "unix:" + n + ".0", "unix/:" + n, "127.0.0.1:" + n, "tcp/localhost:" + n}) {
        EXPECT_TRUE(XDisplayReachable(name)) << name;
    }
    for (const std::string& name : {std::string(), ":" + n + "x", std::string("127.0.0.1"), "h::" + n}) {
        EXPECT_FALSE(XDisplayReachable(name)) << name;
    }
    ::close(local);
    ::close(tcp);
    EXPECT_FALSE(XDisplayReachable(":" + n));
    EXPECT_FALSE(XDisplayReachable("127.0.0.1:" + n));

    // Wayland: a compositor's socket, then the file it leaves when it ends.
    TempDir runtime;
    const int compositor = ListenUnix(runtime.File("wayland-7"), false);
    ASSERT_GE(compositor, 0);
    EXPECT_TRUE(WaylandDisplayReachable("wayland-7", runtime.path()));
    EXPECT_TRUE(WaylandDisplayReachable(runtime.File("wayland-7"), ""));
    EXPECT_FALSE(WaylandDisplayReachable("wayland-7", ""));
    ::close(compositor);
    EXPECT_FALSE(WaylandDisplayReachable("wayland-7", runtime.path()));
}

}  // namespace
