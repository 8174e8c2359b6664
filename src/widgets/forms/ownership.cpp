// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/ownership.h"

#include "forms/displayserver.h"
#include "forms/nativeowner.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace Stacking {

void setOwner(QWidget *window, const QWidget *owner)
{
    if (!owner || !owner->windowHandle())
        return;
    // The owner stays usable beside it: it is a window of its own, placed and raised as such.
    if (window->windowModality() == Qt::NonModal && DisplayServer::ownedTakeKeyboard())
        return;
    window->winId(); // the native window, which is what the window manager is told about
    window->windowHandle()->setTransientParent(owner->windowHandle());
}

void releaseOwned(const QWidget *owner)
{
    const QWindow *handle = owner->windowHandle();
    if (!handle)
        return;
    // A window with an owner does not keep the program running once the last other closes.
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->transientParent() == handle) {
            window->setTransientParent(nullptr);
            NativeOwner::release(window);
        }
    }
}

}
