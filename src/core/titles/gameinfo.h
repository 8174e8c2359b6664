// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

namespace GameInfo {

// No file larger is read: the largest cartridge known is 16 KiB.
constexpr qint64 ReadLimit = 1 << 20;

// What the game list tells of its entry `name`, the file at `path`: the whole name, then the
// title, year and publisher and how to start it, as the cartridge table knows them; or what the
// file is when the table does not know it (its size, a BIOS image, too large, not to be read).
// Reads the file, within ReadLimit, each time it is called.
[[nodiscard]] QString describe(const QString &name, const QString &path);

}
