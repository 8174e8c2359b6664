// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace Stacking {

// Makes the window the owner's transient, so the window manager keeps the two together
// (minimized, raised and stacked as one), unless the window does not hold the input and a click
// on the owner would give it the keyboard (Weston). releaseOwned() lets the owner's windows go
// before the owner closes, so that they can outlive it.
void setOwner(QWidget *window, const QWidget *owner);
void releaseOwned(const QWidget *owner);

}
