// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading a folder's game files, the one place where Linux and Windows differ in how a folder
// is listed and how a file name's bytes become text: folderscan_unix.cpp and folderscan_win.cpp
// each implement it.

#include "common/names.h"

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace FolderScan {

// Not hidden by a leading dot, and ending in ".bin" in any letter case.
inline bool isGameName(const char *name, size_t len)
{
    if (len <= 4 || name[0] == '.')
        return false;
    const char *ext = name + len - 4;
    return ext[0] == '.' && (ext[1] | 0x20) == 'b' && (ext[2] | 0x20) == 'i' && (ext[3] | 0x20) == 'n';
}

// The emulator's own folder for the games, in any letter case.
inline bool isRomsName(const char *name, size_t len)
{
    return len == 4 && QLatin1String(name, 4).compare(Names::RomsFolder, Qt::CaseInsensitive) == 0;
}

// Receives the names read() finds, as bytes: first those of the folder itself, then, after
// enter() names each roms folder, those in it.
class Sink
{
public:
    virtual void add(const char *name, size_t len) = 0;
    virtual void enter(const char *romsFolder, size_t len) = 0;

protected:
    ~Sink() = default;
};

// Gives `sink` every game name of `folder`, and of a roms folder in it (the emulator looks
// there first), that is a regular file (or a link to one) and not hidden (on Windows: neither
// hidden nor a system file). A name may come twice, once from each. False when the folder
// itself cannot be read; an unreadable roms folder lists nothing.
bool read(const QString &folder, Sink &sink);

// A name's bytes as read() gives them, as text, and back: the file system's encoding on Linux,
// UTF-8 on Windows (whose names are UTF-16).
[[nodiscard]] QString decode(const QByteArray &name);
[[nodiscard]] QByteArray encode(const QString &name);

}
