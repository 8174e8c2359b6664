// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/modalinput.h"

#include "forms/displayserver.h"
#include "forms/tofront.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace Stacking {

namespace {

// The X server's reports of the keyboard given to one of Quorix's windows. A click on a window
// that a modal one blocks gives that window the keyboard; Qt passes it on to the modal window
// and asks the window manager to activate that, which sway through XWayland only marks urgent,
// leaving the window clicked over it. (Qt drops the click itself; the press the X server
// reports is no sign, as it reports some presses on the modal window on its owner too.)
class BlockedInput : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit BlockedInput(QWidget *modal)
        : QObject(modal)
        , m_modal(modal)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~BlockedInput() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (!m_modal->isVisible())
            return false;
        // An X11 window manager gives the keyboard to the modal window when a window it blocks is
        // clicked; Qt, given the click, would take it for the window clicked (KWin then refuses to
        // hand it back). Qt drops such a click anyway.
        if (!DisplayServer::compositorDecides() && blocked(QWidget::find(DisplayServer::pressedOn(type, message))))
            return true;
        const QWidget *focused = QWidget::find(DisplayServer::focusedIn(type, message));
        // Showing the modal window afresh gives the keyboard to another one for a moment.
        if (focused == m_modal)
            m_remapping = false;
        else if (focused && !m_remapping && !m_pending) {
            m_pending = true;
            QMetaObject::invokeMethod(
                m_modal, [this] { frontAgain(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool blocked(const QWidget *window) const { return window && window != m_modal && !m_modal->isAncestorOf(window); }

    void frontAgain()
    {
        m_pending = false;
        if (!m_modal->isVisible())
            return;
        if (DisplayServer::compositorDecides()) {
            m_remapping = true;
            showAfresh(m_modal);
        }
        m_modal->raise();
        m_modal->activateWindow();
    }

    QWidget *m_modal;
    bool m_pending = false;   // brought to the front once the event at hand is done
    bool m_remapping = false; // shown afresh, and not yet given the keyboard
};

}

void holdInput(QWidget *modal)
{
    new BlockedInput(modal);
    // A compositor gives the keyboard to a blocked window that is clicked, natively. The About
    // takes it back after that hand-over, not during it: asked during it, Wine (and so, maybe,
    // Windows) lets the blocked window keep the keyboard.
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, modal, [modal](const QWindow *focused) {
        if (focused && focused != modal->windowHandle() && modal->isVisible())
            QMetaObject::invokeMethod(
                modal,
                [modal] {
                    if (modal->isVisible())
                        bringToFront(modal);
                },
                Qt::QueuedConnection);
    });
}

}
