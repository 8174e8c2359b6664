// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/fixedwindow.h"

#include "forms/colours.h"
#include "forms/fixedsize.h"
#include "forms/fonts.h"
#include "forms/ownership.h"
#include "forms/placement.h"
#include "forms/tofront.h"
#include "forms/twips.h"

#include <QPushButton>

using namespace Forms;

FixedWindow::FixedWindow(const char *name, const QString &title, int widthTwips, int heightTwips)
{
    setObjectName(QLatin1String(name));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setFont(defaultFont());
    setWindowFlags(Stacking::fixedWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint));
    setFixedSize(px(widthTwips), px(heightTwips));
    Stacking::keepNormal(this);
}

QPushButton *FixedWindow::addDefaultButton(const char *name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setDefault(true);
    return button;
}

void FixedWindow::place(const QWidget *owner)
{
    Stacking::centre(this, owner);
    Stacking::setOwner(this, owner);
    // The focus opens on the first control in the tab order that takes it.
    for (QWidget *w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus) {
            w->setFocus();
            break;
        }
    }
}

void FixedWindow::bringToFront()
{
    Stacking::bringToFront(this);
}

void FixedWindow::paintEvent(QPaintEvent *)
{
    drawLines(this, m_lines);
}
