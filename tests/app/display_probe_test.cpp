#include "app/display_probe.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "support/temp_dir.h"

namespace {

// A listening stream socket standing for a display server; closed with the
// object (a socket file stays behind, as a server that died leaves it).
class Listener {
public:
    // A local socket, by its file or by its abstract name.
    static std::optional<Listener> Unix(const std::string& path, bool abstract) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0;
        std::memcpy(address.sun_path + offset, path.data(), path.size());
        const auto length =
            static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        return Bound(AF_UNIX, reinterpret_cast<sockaddr*>(&address), length);
    }
    // TCP on the loopback address.
    static std::optional<Listener> Tcp(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return Bound(AF_INET, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    Listener(Listener&& other) noexcept : descriptor_(other.descriptor_) { other.descriptor_ = -1; }
    Listener& operator=(Listener&& other) noexcept {
        std::swap(descriptor_, other.descriptor_);
        return *this;
    }
    Listener(const Listener&) = delete;
    ~Listener() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }

private:
    explicit Listener(int descriptor) : descriptor_(descriptor) {}
    static std::optional<Listener> Bound(int family, sockaddr* address, socklen_t length) {
        const int descriptor = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (descriptor < 0) return std::nullopt;
        if (::bind(descriptor, address, length) != 0 || ::listen(descriptor, 4) != 0) {
            ::close(descriptor);
            return std::nullopt;
        }
        return Listener(descriptor);
    }
    int descriptor_;
};

// A display number that nothing serves yet, locally and on TCP, with a
// server of the test on it, locally (abstract name) and on the loopback.
struct FakeXServer {
    FakeXServer() {
        for (int n = 4700; n < 4800 && !local; ++n) {
            if (XDisplayReachable(":" + std::to_string(n))) continue;
            local = Listener::Unix("/tmp/.X11-unix/X" + std::to_string(n), true);
            tcp = Listener::Tcp(6000 + n);
            if (!tcp) {
                local.reset();
                continue;
            }
            number = std::to_string(n);
        }
    }
    std::string number;
    std::optional<Listener> local, tcp;
};

TEST(DisplayProbe, XDisplayNames) {
    FakeXServer server;
    ASSERT_TRUE(server.local && server.tcp) << "no free display number";
    const std::string n = server.number;
    const std::pair<std::string, bool> names[] = {
        {":" + n, true},
        {":" + n + ".0", true},
        {"unix:" + n, true},
        {"unix/:" + n, true},
        {"127.0.0.1:" + n, true},
        {"localhost:" + n + ".1", true},
        {"tcp/127.0.0.1:" + n, true},
        {"[127.0.0.1]:" + n, true},
        {"", false},
        {":", false},
        {"127.0.0.1", false},
        {":x" + n, false},
        {"127.0.0.1::" + n, false},  // DECnet
        {"carrier/:" + n, false},    // an unknown protocol
        {":99999999", false},
    };
    for (const auto& [name, reachable] : names) {
        EXPECT_EQ(XDisplayReachable(name), reachable) << name;
    }
    // The server gone: nothing answers any more.
    server.local.reset();
    server.tcp.reset();
    for (const std::string& name : {":" + n, "unix:" + n, "127.0.0.1:" + n}) {
        EXPECT_FALSE(XDisplayReachable(name)) << name;
    }
}

TEST(DisplayProbe, WaylandSockets) {
    TempDir runtime;
    std::optional<Listener> compositor = Listener::Unix(runtime.File("wayland-7"), false);
    ASSERT_TRUE(compositor);
    EXPECT_TRUE(WaylandDisplayReachable("wayland-7", runtime.path()));
    EXPECT_TRUE(WaylandDisplayReachable(runtime.File("wayland-7"), ""));
    EXPECT_FALSE(WaylandDisplayReachable("wayland-7", ""));
    EXPECT_FALSE(WaylandDisplayReachable("wayland-8", runtime.path()));
    EXPECT_FALSE(WaylandDisplayReachable("", runtime.path()));  // wayland-0
    // A socket file left by a compositor that ended.
    compositor.reset();
    ASSERT_TRUE(std::filesystem::exists(runtime.File("wayland-7")));
    EXPECT_FALSE(WaylandDisplayReachable("wayland-7", runtime.path()));
}

// Sets environment variables for one scope and gives the old values back.
class Environment {
public:
    void Set(const char* name, const std::optional<std::string>& value) {
        if (!saved_.count(name)) {
            const char* old = ::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) Set(name.c_str(), value);
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(DisplayProbe, TheDisplayQtWouldUse) {
    FakeXServer server;
    ASSERT_TRUE(server.local) << "no free display number";
    TempDir runtime;
    std::optional<Listener> compositor = Listener::Unix(runtime.File("wayland-7"), false);
    ASSERT_TRUE(compositor);
    const std::string liveX = ":" + server.number;
    const std::string deadX = "127.0.0.1:" + std::to_string(std::stoi(server.number) + 1);
    using Value = std::optional<std::string>;
    struct Case {
        Value platform, display, wayland, session;
        bool reachable;
    };
    const Case cases[] = {
        {{}, liveX, {}, {}, true},
        {{}, deadX, {}, {}, false},
        {{}, {}, {}, {}, false},
        {{}, deadX, "wayland-7", {}, false},  // Qt takes X outside a Wayland session
        {{}, deadX, "wayland-7", "wayland", true},
        {{}, deadX, "wayland-8", "wayland", false},
        {"xcb", liveX, {}, {}, true},
        {"xcb", deadX, "wayland-7", "wayland", false},
        {"wayland", liveX, "wayland-8", {}, false},
        {"wayland", {}, "wayland-7", {}, true},
        {"wayland-egl", {}, "wayland-7", {}, true},
        {"offscreen", {}, {}, {}, true},
        {"xcb:nograb", {}, {}, {}, false},
        {"xcb;wayland", deadX, "wayland-7", {}, true},  // the second of the list
        {"xcb;offscreen", deadX, {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platform.value_or("-") + " " + c.display.value_or("-") + " " +
                     c.wayland.value_or("-") + " " + c.session.value_or("-"));
        Environment environment;
        environment.Set("QT_QPA_PLATFORM", c.platform);
        environment.Set("DISPLAY", c.display);
        environment.Set("WAYLAND_DISPLAY", c.wayland);
        environment.Set("XDG_SESSION_TYPE", c.session);
        environment.Set("XDG_RUNTIME_DIR", runtime.path());
        environment.Set("WAYLAND_SOCKET", std::nullopt);
        EXPECT_EQ(DisplayReachable(), c.reachable);
    }
}

}  // namespace
