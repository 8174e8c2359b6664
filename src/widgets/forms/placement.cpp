// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace Stacking {

void centre(QWidget *window, const QWidget *owner)
{
    QRect area;
    QMargins frameMargins; // what the window manager adds around a window, as far as it is known
    if (owner && owner->isVisible()) {
        // While it frames a window, KWin can report a frame smaller than the window (1 x 1).
        const QRect client = owner->geometry();
        area = owner->frameGeometry();
        if (area.contains(client))
            frameMargins = QMargins(client.left() - area.left(), client.top() - area.top(),
                                    area.right() - client.right(), area.bottom() - client.bottom());
        else
            area = client;
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    // Not framed yet, it will be as its owner is; till then its position is that of its contents.
    const bool framed = window->frameGeometry() != window->geometry();
    QRect frame = framed ? window->frameGeometry() : window->geometry() + frameMargins;
    frame.moveCenter(area.center());
    const QScreen *screen = QGuiApplication::screenAt(area.center());
    if (screen || (screen = QGuiApplication::primaryScreen())) {
        const QRect room = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), room.right()));
        frame.moveBottom(std::min(frame.bottom(), room.bottom()));
        frame.moveLeft(std::max(frame.left(), room.left()));
        frame.moveTop(std::max(frame.top(), room.top()));
    }
    window->move(frame.topLeft() + (framed ? QPoint() : QPoint(frameMargins.left(), frameMargins.top())));
}

}
