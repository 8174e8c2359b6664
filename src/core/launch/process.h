// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Starting a program without waiting for it, and hearing of it when it fails at once. The one
// place where Linux and Windows differ in how a program is started: process_unix.cpp and
// process_win.cpp each implement it.

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace Process {

// How long after its start a program that ends is said to have failed at once.
constexpr int WatchMilliseconds = 3000;

// How a started program ended within the watch.
struct Ending {
    bool crashed = false; // ended by a signal (on Windows: by an exception)
    int code = 0;         // the exit status, or the signal or exception number
    QString crash;        // the crash in words ("segmentation fault"); empty when unknown
    QByteArray output;    // the end of what it printed, stdout and stderr together (where seen)
    QByteArray errors;    // the end of what it printed on stderr alone (where seen)
};

using OnEnd = std::function<void(const Ending &)>;

// The emulator's programs this system can run, in the order they are looked for: O2EM.EXE, and on
// Linux also the emulator's Linux build (o2em) and its SDL port (o2em2).
[[nodiscard]] QStringList emulatorPrograms();

// Whether the file at `path` is one the platform could start as a program: on Linux a regular
// file that may be run, on Windows any file (the loader decides).
[[nodiscard]] bool isProgram(const QString &path);

// Whether the file at `path` is a Windows program that this system cannot run (on Linux).
[[nodiscard]] bool isForeignProgram(const QString &path);

// The command line of `program` with `args`, as this system writes one: for the log, where
// a user may tie a failure to an option.
[[nodiscard]] QString commandText(const QString &program, const QStringList &args);

// The warning's line for a program that did not start, and why.
[[nodiscard]] inline QString couldNotStart(const QString &program, const QString &why)
{
    return QStringLiteral("%1 could not start: %2.").arg(QFileInfo(program).fileName(), why);
}

// Starts `program` with `args`, each of which reaches it as one argument whatever it holds,
// in `workDir`, not waited for, its window maximized where the platform lets us ask. The
// program outlives Quorix, and its output still reaches Quorix's own stdout and stderr.
// When it ends within WatchMilliseconds, `onEnd` runs once, in the event loop of `context`'s
// thread, unless `context` is gone by then. Returns an empty string once the program runs,
// otherwise a line for the user that names the program and why it could not start.
[[nodiscard]] QString start(const QString &program, const QStringList &args, const QString &workDir, QObject *context,
                            OnEnd onEnd);

}
