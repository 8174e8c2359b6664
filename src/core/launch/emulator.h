// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "launch/process.h"

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace Emulator {

// The programs to try, in order: each of the emulator's programs first in the game folder, then
// on the search path. Only files the platform could start count, so a Windows O2EM.EXE kept
// beside the games does not hide o2em on Linux.
[[nodiscard]] QStringList candidates(const QString &workDir, const QString &searchPath);

// The warning's line when there is no candidate: the emulator there but not to be run, or where
// it was looked for.
[[nodiscard]] QString notFound(const QString &workDir);

// The warning's line for an emulator that ended at once, naming the program: a crash in words,
// else its last line on stderr, else its last line on stdout, else its exit status. A reason that
// names one of the options in `args` says which setting of the window that is.
[[nodiscard]] QString describe(const QString &program, const Process::Ending &ending, const QStringList &args);

// Called when a started emulator ends at once with a failure: the warning's line, the end of what
// the emulator printed (empty where it is not seen), and the command line it was given.
using OnFailure = std::function<void(const QString &message, const QString &output, const QString &command)>;

// Starts the first candidate that runs, detached, in workDir. Returns an empty string on
// success, otherwise a one-line message for the user that names the program that failed and
// why. When the one started ends at once with a failure, onFailure runs (while context lives).
[[nodiscard]] QString start(const QStringList &candidates, const QStringList &args, const QString &workDir,
                            QObject *context = nullptr, OnFailure onFailure = {});

}
