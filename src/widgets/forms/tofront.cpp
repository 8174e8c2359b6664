// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/tofront.h"

#include "forms/displayserver.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace Stacking {

namespace {

// How long a compositor may take to give a window the keyboard when asked to.
constexpr int ActivationMilliseconds = 400;

// Puts a window shown afresh back where it was once it is on the screen again: mutter maps an X11
// window again a title bar higher than it was, and honours a move after that.
class StayPut : public QObject
{
public:
    StayPut(QWidget *window, QPoint client)
        : QObject(window)
        , m_window(window)
        , m_client(client)
    {
        window->windowHandle()->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && m_window->windowHandle()->isExposed()) {
            if (const QPoint off = m_client - m_window->geometry().topLeft(); !off.isNull())
                m_window->move(m_window->pos() + off);
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
    QPoint m_client;
};

}

void showAfresh(QWidget *window)
{
    const QPoint client = window->geometry().topLeft();
    window->hide();
    window->show();
    new StayPut(window, client);
}

void afterFillingUndone(QWidget *window)
{
    if (DisplayServer::compositorDecides()) // after the event at hand, whose title bar may be the one going
        QMetaObject::invokeMethod(
            window, [window] { showAfresh(window); }, Qt::QueuedConnection);
}

void bringToFront(QWidget *window)
{
    const bool mayBeRefused = DisplayServer::compositorDecides() && window->isVisible() && !window->isActiveWindow();
    if (mayBeRefused && DisplayServer::nativeWayland()) {
        // Natively Qt asks for it with a token of the user's last input, which KWin honours,
        // leaving the window where it is; where it is refused (sway, Weston, mutter), a new
        // window, in front, replaces it.
        window->activateWindow();
        QTimer::singleShot(ActivationMilliseconds, window, [window] {
            if (window->isVisible() && !window->isActiveWindow())
                showAfresh(window);
        });
        return;
    }
    if (mayBeRefused)
        showAfresh(window);
    window->show();
    window->raise();
    window->activateWindow();
}

}
