// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/nativeowner.h"

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace NativeOwner {

// X11 and Wayland leave a transient window open when its parent closes: nothing more to tell.
void release(QWindow *) { }

// The program at the other end of the Wayland display's socket, the compositor, as the kernel
// names it ("weston"); empty when there is none or it cannot be told. A Wayland client has no
// other way to know its compositor.
static QByteArray compositorName()
{
    QByteArray path = qgetenv("WAYLAND_DISPLAY");
    if (path.isEmpty())
        return {};
    if (!path.startsWith('/'))
        path = qgetenv("XDG_RUNTIME_DIR") + '/' + path;
    sockaddr_un address{};
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return {};
    ucred peer{};
    socklen_t size = sizeof peer;
    const bool known = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0
        && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.pid > 0;
    ::close(fd);
    if (!known)
        return {};
    QFile comm(QStringLiteral("/proc/%1/comm").arg(peer.pid));
    return comm.open(QIODevice::ReadOnly) ? comm.readAll().trimmed() : QByteArray();
}

// Weston's shell, natively and through its XWayland alike; the others activate the window clicked.
bool ownedTakeKeyboard()
{
    static const bool weston = compositorName() == "weston";
    return weston;
}

}
