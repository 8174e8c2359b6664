// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How Quorix's windows stand on the desktop: their frames, where they open, whom they belong
// to, and how one is brought to the front.

#include <Qt>

class QWidget;

namespace Stacking {

// The flags of a window the user cannot resize: a title bar with only the buttons given.
[[nodiscard]] Qt::WindowFlags fixedWindowFlags(Qt::WindowFlags typeAndButtons);

// Places the window over the centre of the owner, or of the screen when there is no owner,
// moved as needed to keep it on the screen; a window larger than the screen keeps its top
// left corner (title bar, menu) there.
void centre(QWidget *window, const QWidget *owner);

// Makes the window the owner's transient, so the window manager keeps the two together
// (minimized, raised and stacked as one), unless the window does not hold the input and a click
// on the owner would give it the keyboard (Weston). releaseOwned() lets the owner's windows go
// before the owner closes, so that they can outlive it.
void setOwner(QWidget *window, const QWidget *owner);

// A fixed window stays normal whatever asks it to fill the screen (a title-bar button Qt draws
// on Weston, the compositor): its contents cannot grow, and a Wayland compositor ends a client
// whose maximized window keeps its size. As an X11 window it also keeps its size.
void keepNormal(QWidget *window);
void releaseOwned(const QWidget *owner);

// Brings an open window where the user can see it, with the keyboard. An X11 window manager
// does so on request, and so does KWin natively (Qt passes on a token of the user's last
// input). Other Wayland compositors (and XWayland on any) may only mark the window urgent;
// there the window is shown afresh, and every compositor maps a new window in front, with the
// keyboard, where it places new windows.
void bringToFront(QWidget *window);

// After a request to fill the screen was undone: where the compositor decides, a new window
// replaces the one that was asked, before the compositor can make it fill the screen (Weston
// ends a client whose maximized window keeps its size).
void afterFillingUndone(QWidget *window);

// While a modal window is open, a click on a window it blocks, or the keyboard given to one,
// brings it back to the front: a compositor raises the window clicked, blocked or not.
void holdInput(QWidget *modal);

}
