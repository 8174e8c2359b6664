#pragma once

#include <QString>
#include <QStringList>

namespace GameList {

// The names of the folder's regular files (links to files included) ending in ".bin" in any
// letter case, hidden ones left out, sorted without regard to case. Names the file system
// cannot give back unchanged (bytes that are not valid text) are left out too: they could
// be shown, but never launched.
[[nodiscard]] QStringList scan(const QString &folder);

// The number the count box shows: every entry but the ROM file, which is not a game.
[[nodiscard]] inline int gameCount(int entries) { return entries - 1; }

}
