// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where Linux and Windows differ in how a window belongs to another: nativeowner_unix.cpp and
// nativeowner_win.cpp each implement it.

class QWindow;

namespace NativeOwner {

// Tells the system that `window` no longer belongs to its former owner, after Qt has been told
// (QWindow::setTransientParent(nullptr)). Qt passes a window's owner on only when it is shown.
void release(QWindow *window);

}
