// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/stacking.h"

#include "forms/nativeowner.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstring>
#include <memory>

namespace Stacking {

// How long a compositor may take to give a window the keyboard when asked to.
constexpr int ActivationMilliseconds = 400;

// Whether Quorix speaks Wayland itself.
static bool nativeWayland()
{
    static const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    return wayland;
}

// Whether a Wayland compositor decides the stacking: natively, or through XWayland.
static bool compositorDecides()
{
    static const bool wayland = nativeWayland()
        || (QGuiApplication::platformName() == QLatin1String("xcb") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    return wayland;
}

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

static void showAfresh(QWidget *window)
{
    const QPoint client = window->geometry().topLeft(); // the widget and its state stay
    window->hide();
    window->show(); // only the compositor's window is new
    new StayPut(window, client);
}

void afterFillingUndone(QWidget *window)
{
    if (compositorDecides()) // after the event at hand, whose title bar may be the one going
        QMetaObject::invokeMethod(
            window, [window] { showAfresh(window); }, Qt::QueuedConnection);
}

Qt::WindowFlags fixedWindowFlags(Qt::WindowFlags typeAndButtons)
{
    return Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint
        | typeAndButtons;
}

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

void setOwner(QWidget *window, const QWidget *owner)
{
    if (!owner || !owner->windowHandle())
        return;
    // The owner stays usable beside it: it is a window of its own, placed and raised as such.
    if (window->windowModality() == Qt::NonModal && NativeOwner::ownedTakeKeyboard())
        return;
    window->winId(); // the native window, which is what the window manager is told about
    window->windowHandle()->setTransientParent(owner->windowHandle());
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
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
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

void bringToFront(QWidget *window)
{
    const bool mayBeRefused = compositorDecides() && window->isVisible() && !window->isActiveWindow();
    if (mayBeRefused && nativeWayland()) {
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
        // Only xcb names this type; its events come as the X server sent them.
        if (type != "xcb_generic_event_t" || !m_modal->isVisible())
            return false;
        const auto *event = static_cast<const unsigned char *>(message);
        // An X11 window manager gives the keyboard to the modal window when a window it blocks is
        // clicked; Qt, given the click, would take it for the window clicked (KWin then refuses to
        // hand it back). Qt drops such a click anyway.
        if (!compositorDecides() && blocked(QWidget::find(pressedOn(event))))
            return true;
        const QWidget *focused = QWidget::find(focusedOn(event));
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
    // The window given the keyboard, by the window manager or a client, not during a grab:
    // a FocusIn, its window after code, detail and sequence.
    static WId focusedOn(const unsigned char *event)
    {
        const bool focusIn = (event[0] & 0x7f) == 9, normal = event[8] == 0; // the top bit marks a sent event
        quint32 window = 0;
        if (focusIn && normal)
            std::memcpy(&window, event + 4, sizeof window);
        return window;
    }

    // The window a button is pressed or released on: a core event (the window at byte 12), or
    // XInput 2's, a generic event whose own type is at byte 8 and the window at byte 24.
    static WId pressedOn(const unsigned char *event)
    {
        const int code = event[0] & 0x7f;
        quint16 xiType = 0;
        if (code == 35)
            std::memcpy(&xiType, event + 8, sizeof xiType);
        quint32 window = 0;
        if (code == 4 || code == 5)
            std::memcpy(&window, event + 12, sizeof window);
        else if (code == 35 && (xiType == 4 || xiType == 5))
            std::memcpy(&window, event + 24, sizeof window);
        return window;
    }

    bool blocked(const QWidget *window) const { return window && window != m_modal && !m_modal->isAncestorOf(window); }

    void frontAgain()
    {
        m_pending = false;
        if (!m_modal->isVisible())
            return;
        if (compositorDecides()) {
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
