// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QMimeData;
class QWidget;

namespace FolderChoice {

// Asks for a game folder with the desktop's own folder chooser (Qt's where the platform has
// none), starting at `from`. The folder chosen, or empty when the user cancelled.
[[nodiscard]] QString ask(QWidget *parent, const QString &from);

// The first start's question, before any window: which folder holds the games, said in the
// chooser, which opens where the games most likely are in the `home` folder.
[[nodiscard]] QString askFirst(const QString &home);

// The folder being dragged from a file manager, or empty when it is not one folder.
[[nodiscard]] QString dropped(const QMimeData *data);

}
