// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/colours.h"

#include <QDialog>
#include <QPointer>

#include <vector>

class QPushButton;

// A secondary window: a fixed client area with only a close box, the default font, rules drawn
// on its background, one instance at most, centred on its owner and kept with it, and
// discarded when closed, so the next opening loads it anew.
class FixedWindow : public QDialog
{
    Q_OBJECT

protected:
    FixedWindow(const char *name, const QString &title, int widthTwips, int heightTwips);

    // The window's default button (Enter).
    QPushButton *addDefaultButton(const char *name, const QString &caption, const QRect &geometry);

    // The rules on the background, drawn in the given order.
    void setLines(std::vector<Forms::Line> lines) { m_lines = std::move(lines); }

    // The one window of that kind, loaded centred on the owner when it is not open. A closed
    // window may linger hidden until its deferred deletion: that one is not used again.
    template <class Window>
    static Window *load(const QWidget *owner, Qt::WindowModality modality = Qt::NonModal)
    {
        QPointer<Window> &window = slot<Window>();
        if (!window || window->isHidden()) {
            window = new Window;
            window->setWindowModality(modality);
            window->place(owner);
        }
        return window;
    }

    // Shows it, loaded when it is not open; an open one comes to the front instead.
    template <class Window>
    static Window *open(const QWidget *owner)
    {
        Window *window = load<Window>(owner);
        window->bringToFront();
        return window;
    }

    void paintEvent(QPaintEvent *event) override;

private:
    template <class Window>
    static QPointer<Window> &slot()
    {
        static QPointer<Window> window;
        return window;
    }

    void place(const QWidget *owner);
    void bringToFront();

    std::vector<Forms::Line> m_lines;
};
