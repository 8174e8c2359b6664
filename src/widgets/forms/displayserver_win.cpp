// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/displayserver.h"

// Windows has its desktop and its own window manager: none of the cases of X11 and Wayland.
namespace DisplayServer {

QString missing(bool)
{
    return {};
}

QByteArray preferredPlatform(bool)
{
    return {};
}

bool isX11()
{
    return false;
}

bool nativeWayland()
{
    return false;
}

bool compositorDecides()
{
    return false;
}

bool ownedTakeKeyboard()
{
    return false; // a click on an owner activates the owner
}

WId focusedIn(const QByteArray &, const void *)
{
    return 0;
}

WId pressedOn(const QByteArray &, const void *)
{
    return 0;
}

}
