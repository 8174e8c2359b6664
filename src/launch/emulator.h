// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/names.h"

#include <QString>
#include <QStringList>

namespace Emulator {

// Said when there is nothing to start; short enough for the warning window's one line.
inline const QString NotFound = Names::NoEmulator;

// The programs to try, in order: O2EM.EXE in the working folder, then on the search path, then
// the Linux name o2em in the same two places. Elsewhere than on Windows only regular files
// that may be run count, so a Windows O2EM.EXE kept beside the games does not hide o2em.
[[nodiscard]] QStringList candidates(const QString &workDir, const QString &searchPath);

// Starts the first candidate that runs, detached, in workDir, asking for a maximized window
// where the platform lets us. Returns an empty string on success, otherwise a one-line
// message for the user that names the program that failed and why.
[[nodiscard]] QString start(const QStringList &candidates, const QStringList &arguments, const QString &workDir);

}
