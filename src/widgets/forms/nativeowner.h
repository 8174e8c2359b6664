// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where Linux and Windows differ in how a window belongs to another: nativeowner_unix.cpp and
// nativeowner_win.cpp each implement it.

class QWindow;

namespace NativeOwner {

// Tells the system that `window` no longer belongs to its former owner, after Qt has been told
// (QWindow::setTransientParent(nullptr)). Qt passes a window's owner on only when it is shown.
void release(QWindow *window);

// Whether a click on a window gives the keyboard to the windows it owns instead (Weston's shell
// does so), which leaves the owner unusable beside a window that does not hold the input.
[[nodiscard]] bool ownedTakeKeyboard();

}
