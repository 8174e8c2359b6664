// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The names of the files Quorix deals with, written once.
namespace Names {

// The emulator as the command line names it, and the first program looked for.
inline const QString Emulator = QStringLiteral("O2EM.EXE");

// The BIOS image that lies among the games: listed, but not counted and not played.
inline const QString RomFile = QStringLiteral("O2ROM.BIN");

// The options, kept in the game folder.
inline const QString SettingsFile = QStringLiteral("quorix.cfg");

// The emulator's own folder for the games, inside the game folder (any letter case).
inline const QString RomsFolder = QStringLiteral("roms");

// The platform's per-user settings place (QSettings: the XDG config folder on Linux, the
// user's registry on Windows), and what is kept there: the game folder opened last.
inline const QString UserSettingsOrganisation = QStringLiteral("Quorix");
inline const QString UserSettingsApplication = QStringLiteral("Quorix");
inline const QString LastFolderKey = QStringLiteral("lastFolder");

}
