// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace Stacking {

// While a modal window is open, a click on a window it blocks, or the keyboard given to one,
// brings it back to the front: a compositor raises the window clicked, blocked or not.
void holdInput(QWidget *modal);

}
