// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/fixedsize.h"

#include "forms/displayserver.h"
#include "forms/tofront.h"

#include <QWidget>
#include <QWindow>

#include <memory>

namespace Stacking {

Qt::WindowFlags fixedWindowFlags(Qt::WindowFlags typeAndButtons)
{
    return Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint
        | typeAndButtons;
}

void keepNormal(QWidget *window)
{
    window->winId();
    QWindow *handle = window->windowHandle();
    QObject::connect(handle, &QWindow::windowStateChanged, window, [window, handle] {
        constexpr Qt::WindowStates filling = Qt::WindowMaximized | Qt::WindowFullScreen;
        if (!((window->windowState() | handle->windowStates()) & filling))
            return;
        if (window->windowState() & filling)
            window->setWindowState(window->windowState() & ~filling);
        if (handle->windowStates() & filling)
            handle->setWindowStates(handle->windowStates() & ~filling);
        afterFillingUndone(window);
    });
    // A compositor's command can stretch an X11 window past its size hints (sway's
    // "resize set", a KWin script), leaving an empty area: it is asked back to its size, though
    // not for ever against one that insists.
    if (!DisplayServer::isX11())
        return;
    auto refused = std::make_shared<int>(0);
    const auto keepSize = [window, refused] {
        const QSize fixed = window->minimumSize();
        if (fixed != window->maximumSize() || window->size() == fixed) {
            *refused = 0;
            return;
        }
        if (++*refused <= 3)
            QMetaObject::invokeMethod(
                window, [window, fixed] { window->resize(fixed); }, Qt::QueuedConnection);
    };
    QObject::connect(handle, &QWindow::widthChanged, window, keepSize);
    QObject::connect(handle, &QWindow::heightChanged, window, keepSize);
}

}
