// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The game folder opened last, kept in the platform's per-user settings place (never in a game
// folder), so that a start from the desktop menu opens it again.
namespace LastFolder {

// The folder remembered, while it is still a folder that can be read; otherwise empty.
[[nodiscard]] QString recall();

// Remembers the folder, given as an absolute path.
void remember(const QString &folder);

}
