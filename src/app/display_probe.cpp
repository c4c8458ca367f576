#include "app/display_probe.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "shared/platform.h"

namespace {

constexpr int kXTcpPort = 6000;
constexpr int kTcpWaitMilliseconds = 5000;
constexpr const char* kXSocketFolder = "/tmp/.X11-unix/X";

// Connects to a local stream socket, by its file or by its abstract name
// (Linux), and closes the connection at once.
bool UnixSocketListening(const std::string& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;  // an abstract name starts with a zero byte
    if (path.empty() || path.size() + offset >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const socklen_t length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0) return false;
    const int result = ::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), length);
    // A server whose queue of connections is full is still there.
    const bool listening = result == 0 || errno == EAGAIN || errno == EINPROGRESS;
    ::close(descriptor);
    return listening;
}

// Connects to a TCP port of a host, waiting at most `milliseconds` for each
// of its addresses.
bool TcpPortListening(const std::string& host, int port, int milliseconds) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses) != 0) {
        return false;
    }
    bool listening = false;
    for (const addrinfo* a = addresses; a != nullptr && !listening; a = a->ai_next) {
        const int descriptor =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (descriptor < 0) continue;
        if (::connect(descriptor, a->ai_addr, a->ai_addrlen) == 0) {
            listening = true;
        } else if (errno == EINPROGRESS) {
            pollfd wait{descriptor, POLLOUT, 0};
            int error = 0;
            socklen_t size = sizeof error;
            listening = ::poll(&wait, 1, milliseconds) == 1 &&
                        ::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
                        error == 0;
        }
        ::close(descriptor);
    }
    ::freeaddrinfo(addresses);
    return listening;
}

std::string Environment(const char* name) { return GetEnvironmentVariable(name).value_or(""); }

}  // namespace

bool XDisplayReachable(const std::string& display) {
    // A socket path of its own, followed by ":number".
    if (!display.empty() && display.front() == '/') {
        return UnixSocketListening(display.substr(0, display.rfind(':')), false);
    }
    std::string protocol;
    std::string rest = display;
    if (const std::size_t slash = rest.find('/'); slash != std::string::npos) {
        protocol = rest.substr(0, slash);
        rest = rest.substr(slash + 1);
    }
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string::npos) return false;
    std::string host = rest.substr(0, colon);
    const std::string number = rest.substr(colon + 1, rest.find('.', colon) - colon - 1);
    if (number.empty() || number.size() > 5 ||
        number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    // "host::number" names a DECnet display, which nothing here reaches.
    if (!host.empty() && host.back() == ':') return false;
    const int displayNumber = std::stoi(number);
    if (kXTcpPort + displayNumber > 65535) return false;
    if (protocol == "unix" || (protocol.empty() && (host.empty() || host == "unix"))) {
        const std::string path = kXSocketFolder + number;
        return UnixSocketListening(path, true) || UnixSocketListening(path, false);
    }
    if (!protocol.empty() && protocol != "tcp" && protocol != "inet" && protocol != "inet6") {
        return false;
    }
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    if (host.empty()) host = "localhost";
    return TcpPortListening(host, kXTcpPort + displayNumber, kTcpWaitMilliseconds);
}

bool WaylandDisplayReachable(const std::string& name, const std::string& runtimeDirectory) {
    std::string socket = name.empty() ? "wayland-0" : name;
    if (socket.front() != '/') {
        if (runtimeDirectory.empty()) return false;
        socket = runtimeDirectory + "/" + socket;
    }
    return UnixSocketListening(socket, false);
}

bool DisplayReachable() {
    const auto x = [] { return XDisplayReachable(Environment("DISPLAY")); };
    const auto wayland = [] {
        // A connection handed over by the compositor that started the program.
        if (!Environment("WAYLAND_SOCKET").empty()) return true;
        return WaylandDisplayReachable(Environment("WAYLAND_DISPLAY"),
                                       Environment("XDG_RUNTIME_DIR"));
    };
    const std::string platforms = Environment("QT_QPA_PLATFORM");
    if (!platforms.empty()) {
        // Qt tries the platforms of the list in order, each possibly with
        // options after a colon.
        std::size_t start = 0;
        while (start <= platforms.size()) {
            std::size_t end = platforms.find(';', start);
            if (end == std::string::npos) end = platforms.size();
            const std::string entry = platforms.substr(start, end - start);
            const std::string name = entry.substr(0, entry.find(':'));
            start = end + 1;
            if (name.empty()) continue;
            if (name.rfind("xcb", 0) == 0) {
                if (x()) return true;
            } else if (name.rfind("wayland", 0) == 0) {
                if (wayland()) return true;
            } else {
                return true;
            }
        }
        return false;
    }
    if (x()) return true;
    return Environment("XDG_SESSION_TYPE") == "wayland" && wayland();
}
