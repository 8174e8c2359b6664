// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/nativeowner.h"

namespace NativeOwner {

// X11 and Wayland leave a transient window open when its parent closes: nothing more to tell.
void release(QWindow *) { }

}
