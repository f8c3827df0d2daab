#include "app/display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QThread>
#include <cstring>
#include <utility>

namespace {
// A reset takes some tens of milliseconds; a display that stays shut for a second is not there.
// (One slow to answer, a remote one, is tried once.)
constexpr int kX11RetryForMs = 1000;
constexpr int kX11RetryMs = 50;

bool canOpenWayland(const QByteArray& path) {
    sockaddr_un address{};
    if (path.size() >= static_cast<int>(sizeof address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return false;
    const bool open =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return open;
}
}  // namespace

bool DisplayConnector::canOpen(const DisplayTarget& target) {
    const QByteArray address = target.address.toLocal8Bit();
    if (target.kind == DisplayTarget::Wayland) return canOpenWayland(address);
    if (target.kind != DisplayTarget::X11) return true;
    QElapsedTimer trying;
    trying.start();
    for (;; QThread::msleep(kX11RetryMs)) {
        xcb_connection_t* connection = xcb_connect(address.constData(), nullptr);
        const int error = xcb_connection_has_error(connection);
        if (error == 0) {
            held_ << connection;
            return true;
        }
        xcb_disconnect(connection);
        // A name that cannot be parsed will not get better.
        if (error != XCB_CONN_ERROR || trying.elapsed() >= kX11RetryForMs) return false;
    }
}

void DisplayConnector::release() {
    for (xcb_connection_t* connection : std::exchange(held_, {}))
        xcb_disconnect(connection);
}
