// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which display Quorix draws on, asked in this one place (displayserver_unix.cpp, displayserver_win.cpp):
// an X server, a Wayland compositor natively or through XWayland, and which compositor; and
// what the X server reports.

#include <QByteArray>
#include <QString>
#include <QWidget>

namespace DisplayServer {

// Before the application object exists.
// Why no window can open, said plainly before Qt tries (it would abort with a core dump); empty
// when one can. platformGiven: -platform on the command line names where to draw.
[[nodiscard]] QString missing(bool platformGiven);
// The platform for Qt when the user named none (-platform, QT_QPA_PLATFORM), or empty for Qt's own
// choice. Under GNOME that is XWayland: on its Wayland side mutter draws no title bars (Qt's own
// show minimize and maximize on every window and cut a short window's title) and does not centre
// a dialog on its owner; as an X11 window manager it does both.
[[nodiscard]] QByteArray preferredPlatform(bool platformGiven);

// Once it exists.
[[nodiscard]] bool isX11();             // drawn through an X server: X11 itself or XWayland
[[nodiscard]] bool nativeWayland();     // Quorix speaks Wayland itself
[[nodiscard]] bool compositorDecides(); // a Wayland compositor stacks the windows: natively or through XWayland
// A click on a window gives the keyboard to the windows it owns instead (Weston's shell, natively
// and through its XWayland), which leaves the owner unusable beside one that does not hold the input.
[[nodiscard]] bool ownedTakeKeyboard();

// What an event of Qt's X11 platform says, read through xcb's own types; 0 for any other event.
// The window given the keyboard by the window manager or a client, not during a grab (a FocusIn):
[[nodiscard]] WId focusedIn(const QByteArray &eventType, const void *message);
// The window a button is pressed or released on (a core event, or XInput 2's):
[[nodiscard]] WId pressedOn(const QByteArray &eventType, const void *message);

}
