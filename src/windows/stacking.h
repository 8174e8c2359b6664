// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace Stacking {

// Brings an open window where the user can see it, with the keyboard. An X11 window manager
// does so on request. A Wayland compositor (and XWayland on it) may only mark the window
// urgent, as Qt has no activation token for a window the user did not just touch; there the
// window is shown afresh, and every compositor maps a new window in front, with the keyboard.
void bringToFront(QWidget *window);

// After a request to fill the screen was undone: where the compositor decides, a new window
// replaces the one that was asked, before the compositor can make it fill the screen (Weston
// ends a client whose maximized window keeps its size).
void afterFillingUndone(QWidget *window);

// While a modal window is open, a click on a window it blocks, or the keyboard given to one,
// brings it back to the front: a compositor raises the window clicked, blocked or not.
void holdInput(QWidget *modal);

}
