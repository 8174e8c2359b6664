// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/nativeowner.h"

#include <QWindow>

#include <windows.h>

namespace NativeOwner {

// Windows hides and destroys an owned window with its owner; Qt would still count it as open,
// and the program would go on running with nothing on the screen.
void release(QWindow *window)
{
    if (window->handle())
        SetWindowLongPtrW(reinterpret_cast<HWND>(window->winId()), GWLP_HWNDPARENT, 0);
}

}
