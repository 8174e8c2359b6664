// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace Stacking {

// Places the window over the centre of the owner, or of the screen when there is no owner,
// moved as needed to keep it on the screen; a window larger than the screen keeps its top
// left corner (title bar, menu) there.
void centre(QWidget *window, const QWidget *owner);

}
