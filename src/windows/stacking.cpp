// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/stacking.h"

#include <QGuiApplication>
#include <QWidget>

namespace Stacking {

// Whether a Wayland compositor decides the stacking: natively, or through XWayland.
static bool compositorDecides()
{
    static const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        || (QGuiApplication::platformName() == QLatin1String("xcb") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    return wayland;
}

static void showAfresh(QWidget *window)
{
    window->hide(); // the widget and its state stay; only the compositor's window is new
    window->show();
}

void afterFillingUndone(QWidget *window)
{
    if (compositorDecides()) // after the event at hand, whose title bar may be the one going
        QMetaObject::invokeMethod(window, [window] { showAfresh(window); }, Qt::QueuedConnection);
}

void bringToFront(QWidget *window)
{
    if (compositorDecides() && window->isVisible() && !window->isActiveWindow())
        showAfresh(window);
    window->show();
    window->raise();
    window->activateWindow();
}

}
