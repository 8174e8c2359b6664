// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window the user cannot resize: its title bar, and its size kept whatever asks for another.

#include <Qt>

class QWidget;

namespace Stacking {

// The flags of a window the user cannot resize: a title bar with only the buttons given.
[[nodiscard]] Qt::WindowFlags fixedWindowFlags(Qt::WindowFlags typeAndButtons);

// A fixed window stays normal whatever asks it to fill the screen (a title-bar button Qt draws
// on Weston, the compositor): its contents cannot grow, and a Wayland compositor ends a client
// whose maximized window keeps its size. As an X11 window it also keeps its size.
void keepNormal(QWidget *window);

}
