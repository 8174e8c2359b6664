// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyEvent>
#include <QListView>

// A list box with nothing selected takes the arrow keys as the platform's list boxes do: Down
// and Home select the first game, Up and End the last, so a lone game can be chosen without
// a mouse.
class GameListView : public QListView
{
public:
    using QListView::QListView;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const int rows = model()->rowCount();
        if (rows > 0 && !selectionModel()->hasSelection()
            && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
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
