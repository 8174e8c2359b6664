// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyEvent>
#include <QListView>
#include <QWhatsThis>

// The game list as the platform's list boxes take the keys: with nothing selected, Down and Home
// select the first game, Up and End the last, so a lone game can be chosen without a mouse. And
// What's This (Shift+F1) tells of the current game what its tooltip tells the mouse.
class GameListView : public QListView
{
public:
    using QListView::QListView;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const int rows = model()->rowCount();
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        if (event->key() == Qt::Key_F1 && modifiers == Qt::ShiftModifier && currentIndex().isValid()) {
            const QRect item = visualRect(currentIndex());
            QWhatsThis::showText(viewport()->mapToGlobal(item.bottomLeft()),
                                 currentIndex().data(Qt::WhatsThisRole).toString(), this);
            return;
        }
        if (rows > 0 && !selectionModel()->hasSelection() && modifiers == Qt::NoModifier) {
            const int key = event->key();
            const int row = key == Qt::Key_Down || key == Qt::Key_Home ? 0
                : key == Qt::Key_Up || key == Qt::Key_End              ? rows - 1
                                                                       : -1;
            if (row >= 0) {
                setCurrentIndex(model()->index(row, 0));
                return;
            }
        }
        QListView::keyPressEvent(event);
    }
};
