// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Bringing an open window where the user can see it, with the keyboard.

class QWidget;

namespace Stacking {

// An X11 window manager does so on request, and so does KWin natively (Qt passes on a token of
// the user's last input). Other Wayland compositors (and XWayland on any) may only mark the
// window urgent; there the window is shown afresh, and every compositor maps a new window in
// front, with the keyboard, where it places new windows.
void bringToFront(QWidget *window);

// The window hidden and shown again, the widget and its state kept: only the compositor's window
// is new. It comes back where it was.
void showAfresh(QWidget *window);

// After a request to fill the screen was undone: where the compositor decides, a new window
// replaces the one that was asked, before the compositor can make it fill the screen (Weston
// ends a client whose maximized window keeps its size).
void afterFillingUndone(QWidget *window);

}
