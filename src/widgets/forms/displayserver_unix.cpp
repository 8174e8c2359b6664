// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/displayserver.h"

#include <QFile>
#include <QGuiApplication>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstring>

namespace DisplayServer {

namespace {

bool named(const char *variable)
{
    return !qEnvironmentVariableIsEmpty(variable);
}

// The program at the other end of the Wayland display's socket, the compositor, as the kernel
// names it ("weston"); empty when there is none or it cannot be told. A Wayland client has no
// other way to know its compositor.
QByteArray compositorName()
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

// The X server's events as Qt's xcb platform hands them on, the top bit of the type marking one
// sent by a client.
const xcb_generic_event_t *x11Event(const QByteArray &eventType, const void *message)
{
    return eventType == "xcb_generic_event_t" ? static_cast<const xcb_generic_event_t *>(message) : nullptr;
}

}

QString missing(bool platformGiven)
{
    if (platformGiven || named("QT_QPA_PLATFORM") || named("DISPLAY") || named("WAYLAND_DISPLAY"))
        return {};
    return QStringLiteral("no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)");
}

QByteArray preferredPlatform(bool platformGiven)
{
    if (platformGiven || named("QT_QPA_PLATFORM") || !named("DISPLAY") || !named("WAYLAND_DISPLAY"))
        return {};
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'));
    return desktops.contains(QLatin1String("GNOME"), Qt::CaseInsensitive) ? QByteArray("xcb") : QByteArray();
}

bool isX11()
{
    static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    return x11;
}

bool nativeWayland()
{
    static const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    return wayland;
}

bool compositorDecides()
{
    static const bool wayland = nativeWayland() || (isX11() && named("WAYLAND_DISPLAY"));
    return wayland;
}

bool ownedTakeKeyboard()
{
    static const bool weston = compositorName() == "weston";
    return weston;
}

WId focusedIn(const QByteArray &eventType, const void *message)
{
    const xcb_generic_event_t *event = x11Event(eventType, message);
    if (!event || (event->response_type & 0x7f) != XCB_FOCUS_IN)
        return 0;
    const auto *focus = reinterpret_cast<const xcb_focus_in_event_t *>(event);
    return focus->mode == XCB_NOTIFY_MODE_NORMAL ? focus->event : 0;
}

WId pressedOn(const QByteArray &eventType, const void *message)
{
    const xcb_generic_event_t *event = x11Event(eventType, message);
    const int type = event ? event->response_type & 0x7f : 0;
    if (type == XCB_BUTTON_PRESS || type == XCB_BUTTON_RELEASE)
        return reinterpret_cast<const xcb_button_press_event_t *>(event)->event;
    if (type != XCB_GE_GENERIC)
        return 0;
    const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
    if (generic->event_type != XCB_INPUT_BUTTON_PRESS && generic->event_type != XCB_INPUT_BUTTON_RELEASE)
        return 0;
    return reinterpret_cast<const xcb_input_button_press_event_t *>(event)->event;
}

}
