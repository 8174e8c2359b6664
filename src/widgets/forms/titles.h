// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/version.h"

#include <QString>

// The windows' title bars.
namespace Title {
inline const QString Main = QStringLiteral("Quorix - Front-end for O2EM ver. " QUORIX_VERSION);
inline const QString Warning = QStringLiteral("Warning-Quorix");
inline const QString Keys = QStringLiteral("Keys- Quorix");
inline const QString About = QStringLiteral("About-Quorix ver " QUORIX_VERSION);
inline const QString ChooseFolder = QStringLiteral("Open Game Folder - Quorix");
inline const QString ChooseGames = QStringLiteral("Where are your games? - Quorix"); // at the first start
}
